#include "win/Subclass.h"

#include <commctrl.h>

namespace win {

bool Subclass::Attach(HWND hwnd) {
    Detach();
    if (!SetWindowSubclass(hwnd, Procedure, 1, reinterpret_cast<DWORD_PTR>(this))) return false;
    hwnd_ = hwnd;
    return true;
}

void Subclass::Detach() {
    if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, Procedure, 1);
    hwnd_ = nullptr;
}

LRESULT Subclass::Default(UINT msg, WPARAM wp, LPARAM lp) {
    return DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                     DWORD_PTR data) {
    auto* self = reinterpret_cast<Subclass*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, Procedure, 1);
        self->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    // No exception may cross into the window manager.
    try {
        LRESULT result = 0;
        if (self->OnMessage(msg, wp, lp, result)) return result;
    } catch (...) {
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace win

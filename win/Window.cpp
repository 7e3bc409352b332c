#include "win/Window.h"

namespace win {

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle,
                    HWND parent) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing = {};
    if (!GetClassInfoExA(instance, className, &existing)) {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = className;
        if (!RegisterClassExA(&windowClass)) return false;
    }
    ExpectWindowFor(this);
    HWND hwnd = CreateWindowExA(exStyle, className, title, style, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, this);
    ExpectWindowFor(nullptr);
    return hwnd != nullptr;
}

void Window::Destroy() {
    if (Handle()) DestroyWindow(Handle());
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Attached* self = FromWindow(hwnd);
    if (!self) {
        Attached* given = nullptr;
        if (msg == WM_NCCREATE) {
            given = static_cast<Attached*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        }
        self = Attach(hwnd, given);
        if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (Deliver(self, msg, wp, lp, result)) return result;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace win

#include "win/Window.h"

namespace win {

bool Window::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                    HWND parent) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    if (!GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = className;
        if (!RegisterClassExW(&windowClass)) return false;
    }
    ExpectWindowFor(this);
    HWND hwnd = CreateWindowExW(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, this);
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
            given = static_cast<Attached*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        }
        self = Attach(hwnd, given);
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (Deliver(self, msg, wp, lp, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace win

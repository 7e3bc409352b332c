#include "app/Services.h"

namespace orvale {

int globalEnable = 1;
int exitRequested = 0;

namespace {

HWND g_hostFrame = nullptr;
HWND g_settingsWindow = nullptr;
const DWORD g_uiThread = GetCurrentThreadId();

struct HookLibrary {
    HMODULE module = nullptr;
    using HandOver = int(WINAPI*)(HHOOK);
    HandOver handOver = nullptr;
    HHOOK hook = nullptr;
    bool suspended = false;
} g_hookLibrary;

}  // namespace

void PumpedWait(unsigned ms) {
    const DWORD end = GetTickCount() + ms;
    // Compared as a signed difference so a wait across the 49.7-day wrap still ends.
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The quit belongs to the message loop; leave it there and stop waiting.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    }
}

bool LoadHookLibrary() {
    if (g_hookLibrary.module) return true;
    g_hookLibrary.module = LoadLibraryA("_ovdll.dll");
    if (!g_hookLibrary.module) return false;
    g_hookLibrary.handOver = reinterpret_cast<HookLibrary::HandOver>(
        reinterpret_cast<void*>(GetProcAddress(g_hookLibrary.module, "dllGetHookToDLL")));
    return true;
}

void SetMouseHook(bool on) {
    if (!on) {
        if (g_hookLibrary.hook) UnhookWindowsHookEx(g_hookLibrary.hook);
        g_hookLibrary.hook = nullptr;
        return;
    }
    if (g_hookLibrary.hook || !g_hookLibrary.module || g_hookLibrary.suspended) return;
    auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(g_hookLibrary.module, "OVDllMouseProc")));
    if (!procedure) return;
    g_hookLibrary.hook = SetWindowsHookExA(WH_MOUSE, procedure, g_hookLibrary.module, 0);
    if (g_hookLibrary.handOver) g_hookLibrary.handOver(g_hookLibrary.hook);
}

bool MouseHookInstalled() { return g_hookLibrary.hook != nullptr; }

void SuspendMouseHook(bool suspend) {
    if (suspend) SetMouseHook(false);
    g_hookLibrary.suspended = suspend;
    if (!suspend) SetMouseHook(true);
}

HWND HostFrameWindow() { return g_hostFrame; }
HWND SettingsWindowHandle() { return g_settingsWindow; }
DWORD UiThreadId() { return g_uiThread; }
void SetHostFrameWindow(HWND frame) { g_hostFrame = frame; }
void SetSettingsWindowHandle(HWND settings) { g_settingsWindow = settings; }

bool IsOwnThreadWindow(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == g_uiThread;
}

}  // namespace orvale

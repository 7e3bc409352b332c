// The hook library "_ovdll.dll". Orvale installs OVDllMouseProc as a global mouse hook; the
// system then loads this library into every process that receives mouse input. The
// procedure reports mouse-button presses and releases to Orvale's settings window (the
// dialog titled "Orvale") as a command whose identifier is the mouse message number, and
// always passes the event on, so the application still opens its context menu.
//
// Every mouse message of every application passes through here: anything that is not a
// button press or release costs one comparison. Reports are posted, never sent, so a busy
// Orvale can never stall another program's input.
#include <windows.h>

namespace {

// The hook handle handed over by Orvale. Only Orvale's own process ever learns it; other
// processes pass null to CallNextHookEx, which the system ignores anyway.
HHOOK g_hook = nullptr;

bool IsReportedButtonMessage(WPARAM message) {
    switch (message) {
    case WM_LBUTTONDOWN:    // 513
    case WM_LBUTTONUP:      // 514
    case WM_RBUTTONDOWN:    // 516
    case WM_NCLBUTTONDOWN:  // 161
    case WM_NCLBUTTONUP:    // 162
    case WM_NCRBUTTONDOWN:  // 164
        return true;
    default:
        return false;
    }
}

// The command's identifier is the mouse message number; its second parameter names the
// window the press is going to, so the program knows which window was right-clicked even
// when its menu is already on screen by the time the report is read.
void Report(WPARAM message, const MOUSEHOOKSTRUCT* info) {
    HWND orvale = FindWindowA("#32770", "Orvale");
    if (!orvale) return;
    LPARAM target = info ? reinterpret_cast<LPARAM>(info->hwnd) : 0;
    PostMessageA(orvale, WM_COMMAND, MAKEWPARAM(LOWORD(message), 0), target);
}

}  // namespace

extern "C" LRESULT CALLBACK OVDllMouseProc(int code, WPARAM wParam, LPARAM lParam) {
    // HC_NOREMOVE is a peek at a message that stays queued; it is reported once it is taken.
    if (code == HC_ACTION && IsReportedButtonMessage(wParam)) {
        Report(wParam, reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam));
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

extern "C" int WINAPI dllGetHookToDLL(HHOOK hook) {
    g_hook = hook;
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

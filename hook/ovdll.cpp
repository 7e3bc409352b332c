// The hook library "_ovdll.dll". Orvale installs OVDllMouseProc as a global mouse hook; the
// system then loads this library into every process that receives mouse input. The
// procedure reports mouse-button presses and releases to Orvale's settings window (the
// dialog titled "Orvale" of the process that installed the hook) as a command whose
// identifier is the mouse message number, and always passes the event on, so the
// application still opens its context menu.
//
// Every mouse message of every application passes through here: anything that is not a
// button press or release costs one comparison. Reports are posted, never sent, so a busy
// Orvale can never stall another program's input.
#include <windows.h>

namespace {

// The process that installed the hook, recorded when it hands over the hook handle. It lives
// in a section shared by every process that loads this library, so the hooked applications
// learn which "Orvale" dialog is the real settings window: a refused second copy's message
// box carries the same title and class.
#if defined(_MSC_VER)
#pragma section(".ovshare", read, write, shared)
__declspec(allocate(".ovshare")) DWORD g_orvaleProcess = 0;
#else
DWORD g_orvaleProcess __attribute__((section(".ovshare"), shared)) = 0;
#endif

// The hook handle handed over by Orvale. Only Orvale's own process ever learns it; other
// processes pass null to CallNextHookEx, which the system ignores anyway.
HHOOK g_hook = nullptr;

// The message reported for a mouse message, or 0 for none. A double-click is the second
// press of a quick pair and applications answer it as a press (a right double-click opens
// the context menu again), so it is reported as the press it is.
WPARAM ReportedMessage(WPARAM message) {
    switch (message) {
    case WM_LBUTTONDOWN:      // 513
    case WM_LBUTTONDBLCLK:    // 515
        return WM_LBUTTONDOWN;
    case WM_RBUTTONDOWN:      // 516
    case WM_RBUTTONDBLCLK:    // 518
        return WM_RBUTTONDOWN;
    case WM_NCLBUTTONDOWN:    // 161
    case WM_NCLBUTTONDBLCLK:  // 163
        return WM_NCLBUTTONDOWN;
    case WM_NCRBUTTONDOWN:    // 164
    case WM_NCRBUTTONDBLCLK:  // 166
        return WM_NCRBUTTONDOWN;
    case WM_LBUTTONUP:        // 514
    case WM_NCLBUTTONUP:      // 162
        return message;
    default:
        return 0;
    }
}

HWND FindSettingsWindow() {
    const DWORD orvale = g_orvaleProcess;
    if (!orvale) return nullptr;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(nullptr, candidate, "#32770", "Orvale")) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(candidate, &owner);
        if (owner == orvale) return candidate;
    }
    return nullptr;
}

// The command's identifier is the mouse message number; its second parameter names the
// window the press is going to, so the program knows which window was right-clicked even
// when its menu is already on screen by the time the report is read.
void Report(WPARAM message, const MOUSEHOOKSTRUCT* info) {
    HWND orvale = FindSettingsWindow();
    if (!orvale) return;
    LPARAM target = info ? reinterpret_cast<LPARAM>(info->hwnd) : 0;
    PostMessageA(orvale, WM_COMMAND, MAKEWPARAM(LOWORD(message), 0), target);
}

}  // namespace

extern "C" LRESULT CALLBACK OVDllMouseProc(int code, WPARAM wParam, LPARAM lParam) {
    // HC_NOREMOVE is a peek at a message that stays queued; it is reported once it is taken.
    if (code == HC_ACTION) {
        if (const WPARAM reported = ReportedMessage(wParam)) {
            Report(reported, reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam));
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

extern "C" int WINAPI dllGetHookToDLL(HHOOK hook) {
    g_hook = hook;
    g_orvaleProcess = GetCurrentProcessId();
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

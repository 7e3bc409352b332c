// The hook library "_ovdll.dll". Orvale installs OVDllMouseProc as a global mouse hook; the
// system then loads this library into every process that receives mouse input. The
// procedure reports mouse-button presses and releases to Orvale's settings window as a command
// whose identifier is the mouse message number, and always passes the event on, so the
// application still opens its context menu.
//
// Every mouse message of every application passes through here: anything that is not a
// button press or release costs one comparison. Reports are posted, never sent, so a busy
// Orvale can never stall another program's input.
//
// Where reports go is what the running Orvale has published for this user and session (see
// ReportTarget.h), never anything this library keeps: any program can load the library and call
// its entries, and none of that may silence the reports or take them.
#include <windows.h>

#include <cstdint>

#include "hook/ReportTarget.h"

namespace {

// This process's own hook handle: Orvale hands over the one it installed; in every other
// process it stays null, which CallNextHookEx ignores anyway.
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

// The record is named for the user and session of the process the library runs in: worked
// out once, at the first report, and never in DllMain, where asking for a token is not safe.
const std::wstring& OwnRecordName() {
    static const std::wstring name = orvale::OwnReportTargetName();
    return name;
}

// The command's identifier is the mouse message number; its second parameter names the
// window the press is going to, so the program knows which window was right-clicked even
// when its menu is already on screen by the time the report is read.
void Report(WPARAM message, const MOUSEHOOKSTRUCT* info) {
    orvale::ReportTarget target;
    if (!orvale::ReadReportTarget(OwnRecordName(), target)) return;
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(target.window));
    // The window may be gone and its number taken by another program's.
    DWORD owner = 0;
    if (!GetWindowThreadProcessId(window, &owner) || owner != target.processId) return;
    LPARAM pressed = info ? reinterpret_cast<LPARAM>(info->hwnd) : 0;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(LOWORD(message), 0), pressed);
}

}  // namespace

extern "C" LRESULT CALLBACK OVDllMouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0) return CallNextHookEx(g_hook, code, wParam, lParam);
    // HC_NOREMOVE is a peek at a message that stays queued; it is reported once it is taken.
    if (code == HC_ACTION) {
        if (const WPARAM reported = ReportedMessage(wParam)) {
            Report(reported, reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam));
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Keeps the hook handle for this process alone, whoever calls it.
extern "C" int WINAPI dllGetHookToDLL(HHOOK hook) {
    g_hook = hook;
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}

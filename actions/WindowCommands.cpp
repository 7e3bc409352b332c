#include "actions/WindowCommands.h"

#include "actions/KeySequence.h"
#include "win/ProgramWindows.h"
#include "win/PumpedWait.h"

namespace orvale {

namespace {

using win::PumpedWait;

// A window that has stopped reading its messages must not freeze the program: system
// commands are sent with a deadline and given up at once when the window is hung.
constexpr UINT kSystemCommandTimeoutMs = 2000;

// How long a window may take to come forward (another process activates it asynchronously).
constexpr unsigned kForegroundTimeoutMs = 1000;
// A window can take the activation only to hand it on, which it does as it answers the
// activation: once in front it is given this long to answer a message, and must then still be
// in front a moment later.
constexpr UINT kAnswerTimeoutMs = 250;
constexpr unsigned kSettleMs = 25;

void TapKey(BYTE vk) {
    SendKey(vk, 0);
    SendKey(vk, KEYEVENTF_KEYUP);
}

// Keys the user still holds would change the shortcut that follows.
void ReleaseModifiers() {
    SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
    SendKey(VK_MENU, KEYEVENTF_KEYUP);
    SendKey(VK_SHIFT, KEYEVENTF_KEYUP);
}

// The Start button: the window 10 pixels inside the taskbar's top-left corner. Anything there
// that is not a child of the taskbar (a window covering it) is left where it is.
HWND FindStartButton(HWND taskbar, const RECT& bar) {
    POINT inside = {bar.left + 10, bar.top + 10};
    HWND button = WindowFromPoint(inside);
    return button && GetParent(button) == taskbar ? button : nullptr;
}

// Positions are relative to the taskbar, the button's parent.
void MoveStartButton(HWND button, int x, int y) {
    SetWindowPos(button, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Whether `window` or a window of its family (its owner, the windows it owns) is in front.
bool InFront(HWND window) {
    HWND front = GetForegroundWindow();
    return front && GetAncestor(front, GA_ROOTOWNER) == GetAncestor(window, GA_ROOTOWNER);
}

// Waits, dispatching messages, until `window` is in front; false if it is not after `ms`.
bool WaitForForeground(HWND window, unsigned ms) {
    const DWORD start = GetTickCount();
    while (!InFront(window)) {
        if (GetTickCount() - start >= ms) return false;
        PumpedWait(1);
    }
    return true;
}

bool IsSwitchCandidate(HWND window, HWND start, HWND taskbar) {
    return window != start && window != GetDesktopWindow() && window != taskbar &&
           IsWindowVisible(window) && GetParent(window) == nullptr &&
           !win::IsOwnThreadWindow(window);
}

}  // namespace

void SendSystemCommand(HWND window, WPARAM command) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SYSCOMMAND, command, 0, SMTO_ABORTIFHUNG,
                        kSystemCommandTimeoutMs, &ignored);
}

void OpenStartMenu() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!IsWindow(taskbar)) return;
    SetForegroundWindow(taskbar);
    PumpedWait(100);

    RECT bar = {};
    GetWindowRect(taskbar, &bar);
    HWND button = FindStartButton(taskbar, bar);
    POINT cursor = {};
    GetCursorPos(&cursor);
    // The Start menu opens at its button, so the button goes to the pointer for a moment.
    if (button) MoveStartButton(button, cursor.x - bar.left - 16, cursor.y - bar.top - 42);

    ReleaseModifiers();
    SendKey(VK_CONTROL, 0);
    TapKey(VK_ESCAPE);
    SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
    PumpedWait(100);

    if (button) MoveStartButton(button, 0, 0);
}

void SwitchToNextWindow(HWND start, bool withWaits) {
    if (withWaits) PumpedWait(150);
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    HWND next = GetWindow(start, GW_HWNDNEXT);
    while (next && !IsSwitchCandidate(next, start, taskbar)) next = GetWindow(next, GW_HWNDNEXT);
    if (next) {
        if (IsIconic(next)) SendSystemCommand(next, SC_RESTORE);
        SetForegroundWindow(next);
    }
    if (withWaits) PumpedWait(350);
}

void SwitchToTaskWindow(HWND target, HWND next, const ActionContext& context) {
    if (context.hideBars) context.hideBars();
    if (target == context.MenuOwnerWindow) {
        // The window one is working in: put it away and bring up the next one.
        MinimizeTarget(target);
        if (!next) return;
        target = next;
    }
    if (!IsWindow(target)) return;
    if (IsIconic(target)) SendSystemCommand(target, SC_RESTORE);
    SetForegroundWindow(target);
}

void SendDocumentSwitch(DocumentDirection direction) {
    const bool backward = direction == DocumentDirection::Backward;
    ReleaseModifiers();
    SendKey(VK_CONTROL, 0);
    if (backward) SendKey(VK_SHIFT, 0);
    TapKey(VK_F6);
    if (backward) SendKey(VK_SHIFT, KEYEVENTF_KEYUP);
    SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
}

bool BringToFront(HWND window) {
    if (!IsWindow(window)) return false;
    SetForegroundWindow(window);
    PumpedWait(1);
    if (!WaitForForeground(window, kForegroundTimeoutMs)) return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
    PumpedWait(kSettleMs);
    return InFront(window);
}

// Alt+F4 goes to whatever is in front, so it is sent only once the window itself is: a window
// that is gone or cannot come forward must not cost another application its window.
void CloseTargetApplication(HWND window) {
    if (!BringToFront(window)) return;
    SendKey(VK_MENU, 0);
    TapKey(VK_F4);
    SendKey(VK_MENU, KEYEVENTF_KEYUP);
}

void MinimizeTarget(HWND window) {
    if (GetWindowLongW(window, GWL_STYLE) & WS_MINIMIZEBOX) SendSystemCommand(window, SC_MINIMIZE);
}

void ToggleMaximizeTarget(HWND window) {
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_MAXIMIZEBOX)) return;
    SendSystemCommand(window, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE);
}

void ToggleAlwaysOnTop(HWND window, LONG exStyle) {
    HWND layer = (exStyle & WS_EX_TOPMOST) ? HWND_NOTOPMOST : HWND_TOPMOST;
    SetWindowPos(window, layer, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace orvale

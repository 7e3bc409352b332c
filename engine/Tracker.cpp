#include "engine/Tracker.h"

#include <cwchar>

#include "engine/BarWindow.h"
#include "engine/HookClient.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

constexpr int kSearchTicksAfterRightPress = 60;
constexpr int kGraceTicks = 3;

TrackerState g_state;
bool g_globalEnable = true;

bool IsForeignWindow(HWND window) { return !win::IsOwnThreadWindow(window); }

bool IsVisibleWindow(HWND window) { return window && IsWindow(window) && IsWindowVisible(window); }

// Whether the window under a probe point is a popup menu of another program: a system menu
// window, or a window styled like an application-drawn popup menu.
bool LooksLikeForeignMenu(HWND window) {
    if (!window) return false;
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (!std::wcscmp(name, L"tooltips_class32") || !std::wcscmp(name, L"#32770") ||
        !std::wcscmp(name, L"Button")) {
        return false;
    }
    if (std::wcscmp(name, L"#32768") != 0) {
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
        const LONG required = WS_POPUP | WS_VISIBLE;
        const LONG excluded = WS_DISABLED | WS_SYSMENU | WS_THICKFRAME;
        if ((style & required) != required || (style & excluded) != 0) return false;
        if ((exStyle & WS_EX_TOPMOST) == 0 || IsBarWindow(window)) return false;
    }
    return IsForeignWindow(window);
}

void HideBarsAfterClickElsewhere() {
    POINT cursor;
    GetCursorPos(&cursor);
    // Only once a further tick has run since the tick that showed the bars.
    if (g_state.searchTicks < -2 && IsForeignWindow(WindowFromPoint(cursor))) {
        HideAllBars();
        g_state.menuWindow = nullptr;
    }
}

void ShowBarsBesideTrackedMenu() {
    if (!IsWindow(g_state.menuWindow)) return;
    g_state.MenuOwnerWindow = GetForegroundWindow();
    g_state.dismissPending = 0;
    ShowBarsForMenu(g_state.menuWindow, g_state.pointedWindow);
}

}  // namespace

const TrackerState& TrackerStateNow() { return g_state; }

bool GlobalEnable() { return g_globalEnable; }
void SetGlobalEnable(bool enabled) { g_globalEnable = enabled; }

bool FindMenuNearCursor(POINT p) {
    auto accept = [](POINT probe) {
        HWND window = WindowFromPoint(probe);
        if (!LooksLikeForeignMenu(window)) return false;
        g_state.menuWindow = window;
        return true;
    };
    // The cursor's own point is the first probe of every pass; it is the same point each
    // time, so it is asked once.
    if (accept(p)) return true;
    for (int d = 8; d <= 41; ++d) {
        const POINT corners[] = {
            {p.x - d, p.y - d}, {p.x + d, p.y - d}, {p.x + d, p.y + d}, {p.x - d, p.y + d}};
        for (const POINT& corner : corners) {
            if (accept(corner)) return true;
        }
    }
    return false;
}

void TrackerTick() {
    TrackerState& s = g_state;
    HWND foreground = GetForegroundWindow();
    if (foreground && IsForeignWindow(foreground)) s.LastForeignWindow = foreground;

    POINT cursor;
    GetCursorPos(&cursor);
    HWND underCursor = WindowFromPoint(cursor);

    bool found = false;
    if (g_globalEnable && (s.searchTicks >= 0 || s.foundGrace != 0)) {
        found = FindMenuNearCursor(cursor);
    }
    if (!found) s.pointedWindow = underCursor;

    // No hook while the cursor rests on a bar: its clicks are the bar's own.
    const bool onBar = IsBarWindow(underCursor) || IsBarWindow(GetParent(underCursor));
    SetMouseHook(!onBar);

    const bool menuVisible = IsVisibleWindow(s.menuWindow);
    if (!menuVisible) s.dismissPending = 1;
    if (menuVisible && s.searchTicks >= 0) {
        ShowBarsBesideTrackedMenu();
        s.searchTicks = -1;
    }
    --s.searchTicks;
    if (s.searchTicks < -1000) s.searchTicks = -1000;  // stays negative, never wraps

    if (found) {
        s.foundGrace = kGraceTicks;
    } else if (s.foundGrace > 0) {
        --s.foundGrace;
    }

    if (s.dismissPending && IsForeignWindow(underCursor)) {
        if (s.menuWindow) HideAllBars();
        s.menuWindow = nullptr;
    }
}

bool TrackerCommand(int id, HWND target) {
    switch (id) {
    case IDC_START_MENU_SEARCH:
        g_state.searchTicks = kSearchTicksAfterRightPress;
        return true;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
        // The window right-clicked is the one whose menu is about to open, even when the
        // pointer arrived there after the last tick.
        if (target && IsWindow(target) && !LooksLikeForeignMenu(target)) {
            g_state.pointedWindow = target;
        }
        PostMessageW(win::SettingsWindowHandle(), WM_COMMAND, IDC_START_MENU_SEARCH, 0);
        HideBarsAfterClickElsewhere();
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
        HideBarsAfterClickElsewhere();
        return true;
    default:
        return false;
    }
}

void NoteBarClicked() { g_state.dismissPending = 1; }

void NoteBarWindowCreated() {
    g_state.MenuOwnerWindow = GetForegroundWindow();
    g_state.dismissPending = 0;
}

void NoteSwitchStarted() { g_state.LastForeignWindow = g_state.MenuOwnerWindow; }

}  // namespace orvale

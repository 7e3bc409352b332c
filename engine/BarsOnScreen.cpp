#include "engine/BarsOnScreen.h"

#include <vector>

#include "engine/BarLayout.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "engine/HookClient.h"
#include "engine/TaskBar.h"
#include "model/WindowList.h"
#include "win/Dpi.h"
#include "win/ProgramWindows.h"

namespace orvale {

bool IsBarWindow(HWND window) {
    if (!window) return false;
    for (const auto& slot : BarTable) {
        if (slot && slot->Handle() == window) return true;
    }
    return false;
}

void QueueBarCommand(HWND bar, int command) {
    for (auto& slot : BarTable) {
        if (slot && bar && slot->Handle() == bar) slot->QueueCommand(command);
    }
}

void PressClosedMenuOverBars(int vk) {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    const HWND under = WindowFromPoint(cursor);
    for (auto& slot : BarTable) {
        if (!slot || !under) continue;
        if (slot->Handle() == under) {
            slot->PressClosedMenu(vk);
            return;
        }
        for (auto& button : slot->buttons) {
            if (button && button->HasWindow() && button->Handle() == under) {
                button->PressClosedMenu(vk);
                return;
            }
        }
    }
}

namespace {

// Shown and not moved away off-screen.
bool IsOnScreen(HWND bar) {
    RECT rect;
    return bar && IsWindowVisible(bar) && GetWindowRect(bar, &rect) && rect.left < win::kOffScreen;
}

}  // namespace

bool AnyBarOnScreen() {
    for (const auto& slot : BarTable) {
        if (slot && IsOnScreen(slot->Handle())) return true;
    }
    return false;
}

void HideBar(BarWindow& window) {
    SetWindowPos(window.Handle(), nullptr, win::kOffScreen, win::kOffScreen, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void HideAllBars() {
    for (auto& slot : BarTable) {
        if (slot && slot->Handle()) HideBar(*slot);
    }
    // The hook is off only while the cursor rests on a bar; with the bars gone it is needed
    // again at once, not a tick later, or a quick next right-click would go unheard.
    SetMouseHook(true);
}

namespace {

// Whether slot `number`'s bar takes part in this layout: it has a window and an enabled bar,
// and a context bar's window list accepts the window that was under the pointer.
bool SlotApplies(int number, HWND pointedWindow) {
    const auto& window = BarTable[number];
    if (!window || !window->Handle() || !window->bar || !window->bar->enabled) return false;
    if (number < kFirstContextBar) return true;
    return matches(windowLists[number - kFirstContextBar], pointedWindow);
}

// The bars stay inside the work area of the monitor that shows the menu.
RECT WorkAreaOf(HWND menu) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfo(MonitorFromWindow(menu, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return monitor.rcWork;
    }
    RECT desktop = {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &desktop, 0);
    return desktop;
}

LayoutBar DescribeForLayout(int number, const BarWindow& window) {
    RECT rect;
    GetWindowRect(window.Handle(), &rect);
    LayoutBar bar;
    bar.slot = number;
    bar.horizontal = window.IsHorizontal();
    bar.size = {rect.right - rect.left, rect.bottom - rect.top};
    bar.naturalWidth = window.NaturalWidth();
    bar.naturalHeight = window.NaturalHeight();
    bar.naturalLength = window.NaturalLength();
    return bar;
}

}  // namespace

RECT LayoutBars(HWND menu, HWND pointedWindow, UINT dpi) {
    std::vector<LayoutBar> applicable;
    for (int number = 0; number < kBarCount; ++number) {
        if (!SlotApplies(number, pointedWindow)) continue;
        BarWindow& bar = *BarTable[number];
        // Rare: only a menu on a monitor of another DPI than the last one's does it. The task
        // bar is built again with its windows (ShowBarsForMenu).
        if (bar.dpi != dpi && number != 0) BuildBar(bar, *bar.bar, dpi);
        applicable.push_back(DescribeForLayout(number, bar));
    }
    RECT menuRect;
    if (!GetWindowRect(menu, &menuRect)) return RECT{};
    BarLayoutResult layout = LayoutBarsAround(menuRect, applicable, WorkAreaOf(menu), dpi);
    for (const BarPlacement& placed : layout.placements) {
        if (!IsWindow(menu)) return RECT{};
        HWND bar = BarTable[placed.slot]->Handle();
        // Nothing of a bar's old place is on screen to be copied: it was moved away. The bar
        // keeps its place among the topmost windows for now (BringBarsToTop). A bar that comes
        // from off-screen leaves nothing behind to repaint, and it is painted once every bar
        // stands: redrawing as each one moves is most of what a move costs on some systems
        // (Wine), and the bars come on screen sooner without it.
        UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOZORDER;
        if (!IsOnScreen(bar)) flags |= SWP_NOREDRAW | SWP_DEFERERASE;
        const RECT& r = placed.rect;
        SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    }
    for (const BarPlacement& placed : layout.placements) {
        RedrawWindow(BarTable[placed.slot]->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (!IsWindow(menu)) return RECT{};
    // The menu belongs to another program: its thread does the resizing when it gets to it,
    // and nothing here waits for a thread that may have stopped answering.
    const RECT& m = layout.menu;
    SetWindowPos(menu, nullptr, 0, 0, m.right - m.left, m.bottom - m.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    return m;
}

namespace {

// Every bar on screen goes to the top of the topmost windows, above the menu that has just
// opened. Done once the bars and the menu are in place: changing a window's place among the
// others is the slow part of moving it on some systems (Wine), and the bars are on screen
// sooner when they move first.
void BringBarsToTop() {
    for (const auto& slot : BarTable) {
        if (!slot || !IsOnScreen(slot->Handle())) continue;
        SetWindowPos(slot->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

void ShowBarsForMenu(HWND menu, HWND pointedWindow) {
    // No bars while a bar editor is open: a press on one would ask for a second editor.
    if (!IsWindow(menu) || win::BarEditorWindow()) return;
    CreatePendingMenuBarWindows();
    RECT before;
    GetWindowRect(menu, &before);

    const UINT dpi = win::DpiForWindowsMonitor(menu);
    // The task bar is filled before the layout, so the layout sizes it for the windows it
    // now lists rather than for those of the previous menu, and at the menu's DPI.
    if (BarTable[0] && barDefs[0].enabled) {
        if (BarTable[0]->dpi != dpi) BuildBar(*BarTable[0], barDefs[0], dpi);
        FillTaskBar(*BarTable[0]);
    }
    const RECT after = LayoutBars(menu, pointedWindow, dpi);
    if (!IsWindow(menu) || IsRectEmpty(&after)) return;

    // The menu's old right and bottom margins are repainted, as its own thread gets to it: the
    // strips are only marked here.
    const LONG right = after.right - before.left;
    const LONG bottom = after.bottom - before.top;
    RECT strips[] = {{before.right - before.left - 10, 0, right, bottom},
                     {0, before.bottom - before.top - 10, right, bottom}};
    for (const RECT& strip : strips) {
        RedrawWindow(menu, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
    BringBarsToTop();
}

}  // namespace orvale

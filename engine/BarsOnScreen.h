// The bars as the user meets them: every bar window of the bar table at once, laid out around
// another program's menu, brought to the top, moved away again. What one bar is and holds is
// BarWindow's; which bars exist is BarTable's.
#pragma once

#include <windows.h>

namespace orvale {

class BarWindow;

// Whether `window` is one of the bar windows in BarTable.
bool IsBarWindow(HWND window);
// Queues `command` on the bar window `bar` if it is still one of BarTable's.
void QueueBarCommand(HWND bar, int command);
// A press of mouse button `vk` closed the menu beside the bars: the bar or button under the
// cursor, if any, takes it as its own (the menu owned the mouse, so it never came there).
void PressClosedMenuOverBars(int vk);
// Whether a bar window is on screen rather than moved away or not yet placed.
bool AnyBarOnScreen();

// Moves a bar off-screen to (10000, 10000); it stays a shown window.
void HideBar(BarWindow& window);
// Moves every bar away and puts the mouse hook back.
void HideAllBars();

// Shows every applicable bar around menu window `menu` and stretches the menu to meet them;
// context bars are chosen by `pointedWindow`, the window the menu was opened over. Everything
// is sized for the DPI of the menu's monitor.
void ShowBarsForMenu(HWND menu, HWND pointedWindow);
// Lays the applicable bars out around `menu` (used by ShowBarsForMenu) at `dpi`, the DPI of
// the menu's monitor, and has the menu stretched to meet them: a bar built at another DPI is
// built again at this one first. Returns the menu's rectangle as stretched, or an empty one
// when the menu is gone.
RECT LayoutBars(HWND menu, HWND pointedWindow, UINT dpi);

}  // namespace orvale

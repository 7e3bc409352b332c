// The context-menu tracker: after a reported right press it looks for a popup menu near the
// cursor on every 50 ms tick, shows the bars beside it once, and hides them again when the
// menu is gone and the cursor has left the program's windows, or on a click elsewhere.
#pragma once

#include <windows.h>

namespace orvale {

extern HWND menuWindow;         // the popup menu found last; bars are laid out around it
extern int searchTicks;         // >= 0 while a search runs (60 after a right press)
extern int foundGrace;          // 3 after each tick that found a menu, counted down
extern HWND pointedWindow;      // the window under the cursor before the menu was found
extern HWND MenuOwnerWindow;    // the foreground window when the bars were shown
extern HWND LastForeignWindow;  // the last foreground window of another thread
extern int dismissPending;      // hide the bars once the cursor leaves the program's windows

// Probes up to 170 points around `p` for a popup menu of another program; sets menuWindow to
// the first one found.
bool FindMenuNearCursor(POINT p);
// One 50 ms tick.
void TrackerTick();
// A command reported by the hook library (513, 514, 516, 161, 162, 164) or the search start
// (114); `target` is the window the press went to, when the hook library names it. Returns
// true when `id` is one of them.
bool TrackerCommand(int id, HWND target = nullptr);

}  // namespace orvale

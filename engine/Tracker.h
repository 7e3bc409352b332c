// The context-menu tracker: after a reported right press it looks for a popup menu near the
// cursor on every 50 ms tick, shows the bars beside it once, and hides them again when the
// menu is gone and the cursor has left the program's windows, or on a click elsewhere.
//
// Its state lives here alone. Other parts of the program read it through TrackerStateNow and
// change it only through the named events below; what an action needs of it (the menu's
// owner, the last foreign window) is handed to the action by its caller.
#pragma once

#include <windows.h>

namespace orvale {

struct TrackerState {
    HWND menuWindow = nullptr;         // the popup menu found last; bars are laid out around it
    int searchTicks = -1;              // >= 0 while a search runs (60 after a right press)
    int foundGrace = 0;                // 3 after each tick that found a menu, counted down
    HWND pointedWindow = nullptr;      // the window under the cursor before the menu was found
    HWND MenuOwnerWindow = nullptr;    // the foreground window when the bars were shown
    HWND LastForeignWindow = nullptr;  // the last foreground window of another thread
    int dismissPending = 0;            // hide the bars once the cursor leaves our windows
};

const TrackerState& TrackerStateNow();

// Bars appear beside menus only while set; toggled by the Enable command, never stored.
bool GlobalEnable();
void SetGlobalEnable(bool enabled);

// One 50 ms tick.
void TrackerTick();
// A command reported by the hook library (513, 514, 516, 161, 162, 164) or the search start
// (114); `target` is the window the press went to, when the hook library names it. Returns
// true when `id` is one of them.
bool TrackerCommand(int id, HWND target = nullptr);

// Probes up to 170 points around `p` for a popup menu of another program; the first one found
// becomes the tracked menu.
bool FindMenuNearCursor(POINT p);

// Events from the rest of the program.
// A bar was clicked or pressed: the bars go once the cursor has left the program's windows.
void NoteBarClicked();
// A bar window was created: its creation counts like a show for the menu's owner window.
void NoteBarWindowCreated();
// Switch Windows starts its walk from the menu's owner window.
void NoteSwitchStarted();

}  // namespace orvale

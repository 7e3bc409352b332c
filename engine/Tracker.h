// The context-menu tracker: after a reported right press it looks for a popup menu near the
// cursor, shows the bars beside it once, and hides them again when the menu is gone and the
// cursor has left the program's windows, or on a click elsewhere.
//
// It costs nothing while nothing happens. Its 50 ms tick runs only while it has something to
// watch: a search after a right press, a menu it found, bars on screen (which includes the
// cursor resting on a bar). At rest the program sleeps until the hook library reports a press,
// which wakes it at once. While a search runs the tracker also hears of every window that
// another program creates, so a menu gets its bars as soon as it shows rather than on the
// next tick.
//
// Its state lives here alone. Other parts of the program read it through TrackerStateNow and
// change it only through the named events below; what an action needs of it (the menu's
// owner, the last foreign window) is handed to the action by its caller.
#pragma once

#include <windows.h>

namespace orvale {

// Where the tracker stands since the last right press. A click elsewhere hides the bars only
// once a further tick has run after the one that showed them (Settled).
enum class TrackerPhase {
    Searching,  // a search runs; searchTicks counts the ticks left in it
    Ending,     // the search ends with this tick (the bars were shown, or its time is up); also
                // the phase before the first tick
    Ended,      // the tick that ended the search has run, or the bars were shown between ticks
    Settled,    // a further tick has run since: a click elsewhere may hide the bars
};

struct TrackerState {
    HWND menuWindow = nullptr;         // the popup menu found last; bars are laid out around it
    RECT menuPlace = {};               // where that menu stood when it was found
    TrackerPhase phase = TrackerPhase::Ending;
    int searchTicks = 0;               // ticks left in the search (61 after a right press)
    int foundGrace = 0;                // 3 after each tick that found a menu, counted down
    HWND pointedWindow = nullptr;      // the window right-clicked, or under the cursor on the
                                       // last tick of a search that found nothing
    HWND pressedWindow = nullptr;      // the top-level window the last right press went to,
                                       // which is never the menu that press opens
    HWND MenuOwnerWindow = nullptr;    // the foreground window when the bars were shown
    HWND LastForeignWindow = nullptr;  // the last foreground window of another thread
    int dismissPending = 0;            // hide the bars once the cursor leaves our windows
};

const TrackerState& TrackerStateNow();

// Bars appear beside menus only while set; toggled by the Enable command, never stored.
bool GlobalEnable();
void SetGlobalEnable(bool enabled);

// Starts the tracker's clock, a message-only window of its own, once the settings window
// exists; the clock is still until a report gives it something to do. StopTracker ends it.
void StartTracker();
void StopTracker();
// For the benchmark only, to compare against the tracker as it was: a tick every 50 ms
// whatever happens, and every probe point asked in turn. Called before StartTracker.
void UseFixedTickForBenchmark();

// One tick.
void TrackerTick();
// A command reported by the hook library (513, 514, 516, 161, 162, 164) or the search start
// (114); `target` is the window the press went to, when the hook library names it. Returns
// true when `id` is one of them.
bool TrackerCommand(int id, HWND target = nullptr);

// Looks for a popup menu of another program around `p` (MenuSearch.h); the first one found
// becomes the tracked menu. `shown`, a window that has just come on screen, is asked first.
bool FindMenuNearCursor(POINT p, HWND shown = nullptr);

// Events from the rest of the program.
// A bar was clicked or pressed: the bars go once the cursor has left the program's windows.
void NoteBarClicked();
// A bar window was created: its creation counts like a show for the menu's owner window.
void NoteBarWindowCreated();
// Switch Windows starts its walk from the menu's owner window.
void NoteSwitchStarted();
// A bar's action is about to run: the window in front now is the one it is meant for.
void NoteActionStarting();

}  // namespace orvale

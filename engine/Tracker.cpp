#include "engine/Tracker.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "engine/BarsOnScreen.h"
#include "engine/HookClient.h"
#include "engine/MenuSearch.h"
#include "engine/PressWatch.h"
#include "engine/TaskBar.h"
#include "resources/resource.h"
#include "win/Attached.h"
#include "win/ProgramWindows.h"
#include "win/Window.h"

namespace orvale {
namespace {

constexpr int kSearchTicksAfterRightPress = 61;
constexpr int kGraceTicks = 3;
constexpr UINT kTickMs = 50;
// A new window shows a few milliseconds after its creation; one that has not shown by then
// is left to the tick.
constexpr DWORD kWatchMs = 100;

TrackerState g_state;
bool g_globalEnable = true;
bool g_fixedTick = false;

bool IsForeignWindow(HWND window) { return !win::IsOwnThreadWindow(window); }

bool IsVisibleWindow(HWND window) { return window && IsWindow(window) && IsWindowVisible(window); }

// However the menu went (destroyed, hidden, faded out, moved away from the bars beside it), it
// is gone.
bool MenuStillThere(const TrackerState& s) {
    RECT now, overlap;
    return ShowsAnything(s.menuWindow) && GetWindowRect(s.menuWindow, &now) &&
           IntersectRect(&overlap, &now, &s.menuPlace);
}

// A press inside a menu (the one tracked, or any system menu) is no press on the window whose
// menu is about to open.
bool IsInsideMenu(HWND window) {
    const HWND root = GetAncestor(window, GA_ROOT);
    wchar_t name[8] = {};
    GetClassNameW(root, name, 8);
    return root == g_state.menuWindow || std::wcscmp(name, L"#32768") == 0;
}

void RememberForegroundWindow() {
    HWND foreground = GetForegroundWindow();
    if (foreground && IsForeignWindow(foreground)) g_state.LastForeignWindow = foreground;
}

bool IsSearching() { return g_globalEnable && g_state.phase == TrackerPhase::Searching; }

// Whether anything is left for a tick to do.
bool NeedsTicks() {
    const TrackerState& s = g_state;
    return s.phase == TrackerPhase::Searching || s.foundGrace != 0 ||
           MenuStillThere(s) || AnyBarOnScreen();
}

// The end of a tick: the search counts down, and the phases after it follow one another.
void CountTick(TrackerState& s) {
    switch (s.phase) {
    case TrackerPhase::Searching:
        if (--s.searchTicks > 0) return;
        s.searchTicks = 0;
        s.phase = TrackerPhase::Ending;
        return;
    case TrackerPhase::Ending:
        s.phase = TrackerPhase::Ended;
        return;
    case TrackerPhase::Ended:
    case TrackerPhase::Settled:
        s.phase = TrackerPhase::Settled;
        return;
    }
}

void SearchNow(HWND shown = nullptr);

// The tracker's clock: a message-only window whose timer is the tick. While a search runs it
// also hears of the windows that other programs create and show, and watches those that may
// be the menu until they are on screen.
class TrackerClock : public win::Window {
public:
    bool Start() { return Create(L"OrvaleTrackerClock", L"", 0, 0, HWND_MESSAGE); }
    ~TrackerClock() override { HearOfNewWindows(false); }

    void Tick(bool on) {
        if (on == ticking_) return;
        ticking_ = on;
        if (on) {
            SetTimer(Handle(), IDT_TRACKER_TICK, kTickMs, nullptr);
        } else {
            KillTimer(Handle(), IDT_TRACKER_TICK);
        }
    }

    void HearOfNewWindows(bool on) {
        if (on == (events_ != nullptr)) return;
        if (on) {
            events_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnEvent,
                                      0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        } else {
            UnhookWinEvent(events_);
            events_ = nullptr;
            watched_.clear();
        }
    }

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM /*lp*/, LRESULT& result) override {
        result = 0;
        if (msg == WM_TIMER && wp == IDT_TRACKER_TICK) {
            TrackerTick();
            return true;
        }
        if (msg == kLookAgain) {
            LookAtWatchedWindows();
            return true;
        }
        return false;
    }

private:
    static constexpr UINT kLookAgain = WM_APP + 1;

    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD, DWORD);
    void Watch(HWND window) {
        if (std::find(watched_.begin(), watched_.end(), window) == watched_.end()) {
            watched_.push_back(window);
        }
        watchEnd_ = GetTickCount() + kWatchMs;
        PostMessageW(Handle(), kLookAgain, 0, 0);
    }

    void LookAtWatchedWindows() {
        if (watched_.empty()) return;
        const auto shown = std::find_if(watched_.begin(), watched_.end(),
                                        [](HWND w) { return IsVisibleWindow(w); });
        if (shown != watched_.end() || !IsSearching() ||
            static_cast<LONG>(GetTickCount() - watchEnd_) > 0) {
            const HWND window = shown != watched_.end() ? *shown : nullptr;
            watched_.clear();
            if (window) SearchNow(window);
            return;
        }
        // Not on screen yet: look again after a millisecond, or sooner when another message
        // comes (a report, or the system telling that a window was shown). Some systems (Wine)
        // tell only of a window's creation, a few milliseconds before it shows.
        MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        PostMessageW(Handle(), kLookAgain, 0, 0);
    }

    bool ticking_ = false;
    HWINEVENTHOOK events_ = nullptr;
    std::vector<HWND> watched_;
    DWORD watchEnd_ = 0;
};

win::Owned<TrackerClock> g_clock;

void CALLBACK TrackerClock::OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                                    LONG child, DWORD, DWORD) {
    if (event != EVENT_OBJECT_CREATE && event != EVENT_OBJECT_SHOW) return;
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !g_clock || !IsSearching()) return;
    // The system calls the hook procedure: no exception may cross back into it.
    try {
        if (MayBecomeForeignMenu(window)) g_clock->Watch(window);
    } catch (...) {
    }
}

// Runs the clock only while a tick has something to do, and hears of new windows only while
// a search runs.
void Reschedule() {
    if (!g_clock) return;
    g_clock->HearOfNewWindows(!g_fixedTick && IsSearching());
    g_clock->Tick(g_fixedTick || NeedsTicks());
}

void HideBarsAfterClickElsewhere() {
    // Nothing to hide: the common case of a click at rest asks nothing more.
    if (!g_state.menuWindow && !AnyBarOnScreen()) return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (g_state.phase == TrackerPhase::Settled && IsForeignWindow(WindowFromPoint(cursor))) {
        HideAllBars();
        g_state.menuWindow = nullptr;
    }
}

// Presses on the bars are watched for while the bars stand beside the menu they were shown
// for: its program may own the mouse.
void WatchForPressesBesideMenu() {
    WatchPressesOnBars(g_state.menuWindow && AnyBarOnScreen());
}

void ShowBarsBesideTrackedMenu() {
    if (!IsWindow(g_state.menuWindow)) return;
    g_state.MenuOwnerWindow = GetForegroundWindow();
    g_state.dismissPending = 0;
    ShowBarsForMenu(g_state.menuWindow, g_state.pointedWindow);
    WatchForPressesBesideMenu();
}

// A search between ticks, for a menu that has just shown: it shows the bars as the tick that
// found the menu would have, without waiting for that tick.
void SearchNow(HWND shown) {
    if (!IsSearching()) return;
    POINT cursor;
    GetCursorPos(&cursor);
    if (!FindMenuNearCursor(cursor, shown)) return;
    g_state.foundGrace = kGraceTicks;
    RememberForegroundWindow();
    ShowBarsBesideTrackedMenu();
    // As after the tick that shows the bars: a click hides them only once another tick ran.
    g_state.phase = TrackerPhase::Ended;
    g_state.searchTicks = 0;
    Reschedule();
}

}  // namespace

const TrackerState& TrackerStateNow() { return g_state; }

bool GlobalEnable() { return g_globalEnable; }
void SetGlobalEnable(bool enabled) {
    g_globalEnable = enabled;
    Reschedule();
}

void StartTracker() {
    if (g_clock) return;
    g_clock = win::MakeOwned<TrackerClock>();
    if (!g_clock->Start()) {
        g_clock.reset();
        return;
    }
    Reschedule();
}

void StopTracker() {
    WatchPressesOnBars(false);
    g_clock.reset();
}

void UseFixedTickForBenchmark() { g_fixedTick = true; }

bool FindMenuNearCursor(POINT p, HWND shown) {
    const HWND pressed = g_state.pressedWindow;
    HWND menu = g_fixedTick ? ProbeForMenu(p, pressed) : SearchForMenuShown(p, shown, pressed);
    if (!menu) return false;
    g_state.menuWindow = menu;
    GetWindowRect(menu, &g_state.menuPlace);
    return true;
}

void TrackerTick() {
    TrackerState& s = g_state;
    RememberForegroundWindow();

    POINT cursor;
    GetCursorPos(&cursor);
    HWND underCursor = WindowFromPoint(cursor);

    bool found = false;
    if (g_globalEnable && (s.phase == TrackerPhase::Searching || s.foundGrace != 0)) {
        found = FindMenuNearCursor(cursor);
    }
    if (!found) s.pointedWindow = underCursor;

    // No hook while the cursor rests on a bar: its clicks are the bar's own.
    const bool onBar = IsBarWindow(underCursor) || IsBarWindow(GetParent(underCursor));
    SetMouseHook(!onBar);

    const bool menuVisible = MenuStillThere(s);
    if (!menuVisible) s.dismissPending = 1;
    if (menuVisible && s.phase == TrackerPhase::Searching) {
        ShowBarsBesideTrackedMenu();
        s.phase = TrackerPhase::Ending;
        s.searchTicks = 0;
    }
    CountTick(s);

    if (found) {
        s.foundGrace = kGraceTicks;
    } else if (s.foundGrace > 0) {
        --s.foundGrace;
    }

    if (s.dismissPending && IsForeignWindow(underCursor)) {
        if (s.menuWindow) HideAllBars();
        s.menuWindow = nullptr;
    }
    WatchForPressesBesideMenu();
    Reschedule();
}

bool TrackerCommand(int id, HWND target) {
    switch (id) {
    case IDC_START_MENU_SEARCH:
        g_state.phase = TrackerPhase::Searching;
        g_state.searchTicks = kSearchTicksAfterRightPress;
        Reschedule();
        if (!g_fixedTick && g_globalEnable) {
            // The menu may be on screen already when the report is read; if not, the time
            // until it opens goes to what the task bar will list.
            SearchNow();
            if (IsSearching()) PrepareTaskBar();
        }
        return true;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
        RememberForegroundWindow();
        // The window right-clicked is the one whose menu is about to open, even when the
        // pointer arrived there after the last tick.
        POINT cursor;
        GetCursorPos(&cursor);
        const HWND pressed = target && IsWindow(target) ? target : WindowFromPoint(cursor);
        g_state.pressedWindow = GetAncestor(pressed, GA_ROOT);
        if (target && IsWindow(target) && !IsInsideMenu(target)) {
            g_state.pointedWindow = target;
        } else if (!NeedsTicks()) {
            // No tick has kept it up to date: the window under the cursor, as a tick would.
            g_state.pointedWindow = WindowFromPoint(cursor);
        }
        PostMessageW(win::SettingsWindowHandle(), WM_COMMAND, IDC_START_MENU_SEARCH, 0);
        HideBarsAfterClickElsewhere();
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
        RememberForegroundWindow();
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

void NoteActionStarting() { RememberForegroundWindow(); }

}  // namespace orvale

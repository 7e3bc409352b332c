// The window commands against real windows of the test application, the shell's taskbar and
// windows the test creates itself.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Harness.h"
#include "actions/KeySequence.h"
#include "actions/WindowCommands.h"
#include "engine/Tracker.h"

using namespace testing_support;
using namespace orvale;

namespace {

bool NoModifierDown() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
        if (GetAsyncKeyState(vk) & 0x8000) return false;
    }
    return true;
}

bool IsTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Input reaches a window in order: once a key typed afterwards has arrived, anything typed
// before it has arrived too.
bool TypeMarkerInto(TestApp& app) {
    PlayKeySequence("z");
    return WaitUntil([&] { return app.LogContains("keydown 90 mods="); });
}

// A program just started comes to the front a little after its window appears.
bool SettledInFront(TestApp& newest) {
    return WaitUntil([&] {
        return newest.LogContains("activated") && GetForegroundWindow() == newest.Window();
    });
}

// A modeless dialog of this thread with a caption but no maximise box.
HWND CreatePlainDialog() {
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    dialog.header.x = 20;
    dialog.header.y = 20;
    dialog.header.cx = 120;
    dialog.header.cy = 60;
    DLGPROC procedure = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, nullptr,
                                      procedure, 0);
}

// Windows of another thread of this process, which Switch Windows must treat as foreign:
// an invisible top-level window and a visible popup that it owns.
class ForeignThreadWindows {
public:
    ForeignThreadWindows() {
        thread_ = std::thread([this] { Run(); });
        WaitUntil([&] { return ready_; });
    }
    ~ForeignThreadWindows() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND invisible = nullptr;
    HWND ownedPopup = nullptr;

private:
    void Run() {
        threadId_ = GetCurrentThreadId();
        invisible = CreateWindowExA(0, "STATIC", "Invisible", WS_OVERLAPPEDWINDOW, 50, 50, 200,
                                    100, nullptr, nullptr, nullptr, nullptr);
        ownedPopup = CreateWindowExA(0, "STATIC", "Owned popup", WS_POPUP | WS_BORDER, 60, 60,
                                     200, 100, invisible, nullptr, nullptr, nullptr);
        ShowWindow(ownedPopup, SW_SHOWNOACTIVATE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before `ready_`
        ready_ = true;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(ownedPopup);
        DestroyWindow(invisible);
    }
    std::thread thread_;
    DWORD threadId_ = 0;
    volatile bool ready_ = false;
};

void PlaceBelow(HWND window, HWND above) {
    SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// True when `lower` lies below `upper` in the z-order; `between` receives the windows that
// lie strictly between them.
bool IsBelow(HWND lower, HWND upper, std::vector<HWND>* between = nullptr) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == lower) return true;
        if (between) between->push_back(w);
    }
    return false;
}

// Keys seen by a low-level keyboard hook, and what the desktop looked like at Escape-down.
struct KeyWatch {
    std::vector<std::string> keys;
    HWND foregroundAtEscape = nullptr;
    RECT buttonAtEscape = {};
    HWND button = nullptr;
};
KeyWatch* g_watch = nullptr;

LRESULT CALLBACK WatchKeys(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && g_watch) {
        auto* key = reinterpret_cast<KBDLLHOOKSTRUCT*>(lp);
        const bool up = (key->flags & LLKHF_UP) != 0;
        g_watch->keys.push_back(std::to_string(key->vkCode) + (up ? " up" : " down"));
        if (key->vkCode == VK_ESCAPE && !up) {
            g_watch->foregroundAtEscape = GetForegroundWindow();
            GetWindowRect(g_watch->button, &g_watch->buttonAtEscape);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST(WindowCommands, MinimizeActsOnlyOnWindowsWithAMinimizeBox) {
    TestApp normal("Minimize me");
    TestApp boxless("No minimize box", "--nominbox");
    ASSERT_TRUE(normal.Started() && boxless.Started());

    MinimizeTarget(normal.Window());
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(normal.Window()) != 0; }));

    // The command is sent synchronously: had it gone out, the window would have logged it.
    MinimizeTarget(boxless.Window());
    EXPECT_FALSE(IsIconic(boxless.Window()));
    EXPECT_FALSE(boxless.LogContains("syscommand 61472"));
}

TEST(WindowCommands, MaximizeTogglesAndLeavesWindowsWithoutAMaximizeBoxAlone) {
    TestApp app("Maximize me");
    ASSERT_TRUE(app.Started());
    ToggleMaximizeTarget(app.Window());
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(app.Window()) != 0; }));
    ToggleMaximizeTarget(app.Window());
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(app.Window()) && !IsIconic(app.Window()); }));

    TestApp boxless("No maximize box", "--nomaxbox");
    ASSERT_TRUE(boxless.Started());
    ToggleMaximizeTarget(boxless.Window());
    EXPECT_FALSE(IsZoomed(boxless.Window()));
    EXPECT_FALSE(boxless.LogContains("syscommand 61488"));

    HWND dialog = CreatePlainDialog();
    ASSERT_NE(nullptr, dialog);
    const RECT before = WindowRect(dialog);
    ToggleMaximizeTarget(dialog);
    const RECT after = WindowRect(dialog);
    EXPECT_FALSE(IsZoomed(dialog));
    EXPECT_TRUE(EqualRect(&before, &after));
    DestroyWindow(dialog);
}

TEST(WindowCommands, AlwaysOnTopTwiceReturnsTheWindowToItsLayer) {
    TestApp app("On top");
    TestApp other("Beside it");
    ASSERT_TRUE(app.Started() && other.Started());
    ASSERT_TRUE(other.Activate());

    HWND window = app.Window();
    ASSERT_TRUE(IsBelow(window, other.Window()));
    ToggleAlwaysOnTop(window, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_TRUE(IsTopmost(window));
    EXPECT_TRUE(IsBelow(other.Window(), window)) << "topmost windows lie above all others";
    ToggleAlwaysOnTop(window, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_FALSE(IsTopmost(window));

    // A window that starts topmost ends topmost.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(IsTopmost(window));
    ToggleAlwaysOnTop(window, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_FALSE(IsTopmost(window));
    ToggleAlwaysOnTop(window, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_TRUE(IsTopmost(window));
}

TEST(WindowCommands, CloseApplicationSendsAltF4ToItsWindowOnly) {
    TestApp closing("Close me");
    TestApp stubborn("Refuses to close", "--ignore-close");
    ASSERT_TRUE(closing.Started() && stubborn.Started());
    ASSERT_TRUE(SettledInFront(stubborn));

    HWND closed = closing.Window();
    ASSERT_TRUE(closing.Activate());
    CloseTargetApplication(closed);
    EXPECT_TRUE(WaitUntil([&] { return closing.LogContains("destroyed"); }))
        << "Alt+F4 closes the window";
    // Wine now and then keeps a program alive after its last window is gone.
    closing.Proc().Kill();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(closed); }));

    ASSERT_TRUE(stubborn.Activate());
    CloseTargetApplication(stubborn.Window());
    EXPECT_TRUE(WaitUntil([&] { return stubborn.LogContains("close refused"); }));
    EXPECT_TRUE(stubborn.LogContains("syskeydown 115 mods=A"));
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000));

    // With its window gone, the command must not close whatever is in front instead.
    ASSERT_TRUE(stubborn.Activate());
    CloseTargetApplication(closed);
    ASSERT_TRUE(TypeMarkerInto(stubborn));
    int altF4 = 0;
    for (const std::string& line : stubborn.Log()) altF4 += line == "syskeydown 115 mods=A";
    EXPECT_EQ(1, altF4);
}

TEST(WindowCommands, DocumentSwitchSendsCtrlF6BothWaysToTheFocusedWindow) {
    TestApp app("Documents");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());

    // A Shift the user still holds is released first, so forward stays forward.
    keybd_event(VK_SHIFT, static_cast<BYTE>(MapVirtualKeyA(VK_SHIFT, 0)), 0, 0);
    SendDocumentSwitch(DocumentDirection::Forward);
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("keydown 117 mods=C"); }));
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000));

    SendDocumentSwitch(DocumentDirection::Backward);
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("keydown 117 mods=SC"); }));
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000));
}

TEST(WindowCommands, SwitchActivatesTheNextSuitableWindowAndRestoresIt) {
    HWND taskbar = EnsureDesktop();
    ASSERT_NE(nullptr, taskbar);
    TestApp start("Switch start");
    TestApp target("Switch target", "--minimized");
    ASSERT_TRUE(start.Started() && target.Started());
    ASSERT_TRUE(SettledInFront(target));
    ForeignThreadWindows foreign;
    HWND own = CreateWindowExA(0, "STATIC", "Own window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80,
                               80, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(foreign.invisible && foreign.ownedPopup && own);

    // Below the start: an owned popup, an invisible window, one of the program's own, the
    // taskbar, and then the minimised target.
    ASSERT_TRUE(start.Activate());
    PlaceBelow(foreign.ownedPopup, start.Window());
    PlaceBelow(foreign.invisible, foreign.ownedPopup);
    PlaceBelow(own, foreign.invisible);
    PlaceBelow(taskbar, own);
    PlaceBelow(target.Window(), taskbar);
    std::set<HWND> skipped = {foreign.ownedPopup, foreign.invisible, own, taskbar};
    std::vector<HWND> between;
    ASSERT_TRUE(IsBelow(target.Window(), start.Window(), &between));
    for (HWND w : between) {
        if (skipped.erase(w) == 0) {
            ASSERT_FALSE(IsWindowVisible(w)) << "unexpected window in between: " << ClassOf(w);
        }
    }
    ASSERT_TRUE(skipped.empty()) << "the z-order could not be arranged";
    ASSERT_TRUE(IsIconic(target.Window()));

    LastForeignWindow = start.Window();
    SwitchToNextWindow(true);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.Window(); }));
    EXPECT_FALSE(IsIconic(target.Window()));
    DestroyWindow(own);
}

TEST(WindowCommands, HungWindowDoesNotHoldUpTheProgram) {
    TestApp app("Hung");
    ASSERT_TRUE(app.Started());
    app.Hang(7000);
    ASSERT_TRUE(WaitUntil([&] { return IsHungAppWindow(app.Window()) != 0; }, 6500, 50));
    MinimizeTarget(app.Window());
    ToggleMaximizeTarget(app.Window());
    EXPECT_TRUE(IsHungAppWindow(app.Window())) << "the commands waited for the hung window";
}

// Wine's taskbar opens its Start menu only when the button is clicked, not on Ctrl+Escape, so
// the test watches what the command does: the keys it presses, where the button is meanwhile
// and that it is back at the taskbar's origin afterwards.
TEST(WindowCommands, StartMenuPressesCtrlEscapeWithTheButtonAtThePointer) {
    HWND taskbar = EnsureDesktop();
    ASSERT_NE(nullptr, taskbar);
    const RECT bar = WindowRect(taskbar);
    POINT inside = {bar.left + 10, bar.top + 10};
    KeyWatch watch;
    watch.button = WindowFromPoint(inside);
    ASSERT_EQ(taskbar, GetParent(watch.button)) << "no Start button in the taskbar";

    MoveMouse(400, 500);
    g_watch = &watch;
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleA(nullptr), 0);
    ASSERT_NE(nullptr, hook);
    OpenStartMenu();
    UnhookWindowsHookEx(hook);
    g_watch = nullptr;
    CloseMenus();

    const std::vector<std::string> expected = {"17 up",   "18 up",  "16 up",  "17 down",
                                               "27 down", "27 up", "17 up"};
    EXPECT_EQ(expected, watch.keys);
    EXPECT_EQ(taskbar, watch.foregroundAtEscape);
    EXPECT_EQ(400 - 16, watch.buttonAtEscape.left);
    EXPECT_EQ(500 - 42, watch.buttonAtEscape.top);
    const RECT after = WindowRect(watch.button);
    EXPECT_EQ(bar.left, after.left);
    EXPECT_EQ(bar.top, after.top);
    EXPECT_TRUE(NoModifierDown());
}

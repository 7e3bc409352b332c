// The window commands against real windows of the test application, the shell's taskbar and
// windows the test creates itself.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "Harness.h"
#include "actions/KeySequence.h"
#include "actions/WindowCommands.h"

using namespace testing_support;
using namespace orvale;

namespace {

bool IsTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A program just started comes to the front a little after its window appears.
bool SettledInFront(TestApp& newest) {
    return WaitUntil([&] {
        return newest.LogContains("activated") && GetForegroundWindow() == newest.Window();
    });
}

// Windows of another thread of this process, which Switch Windows must treat as foreign: an
// invisible top-level window and a visible popup that it owns.
class ForeignThreadWindows {
public:
    ForeignThreadWindows() : thread_([this] { Run(); }) {
        WaitUntil([&] { return threadId_ != 0; });
    }
    ~ForeignThreadWindows() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND invisible = nullptr, ownedPopup = nullptr;

private:
    void Run() {
        invisible = CreateWindowExA(0, "STATIC", "Invisible", WS_OVERLAPPEDWINDOW, 50, 50, 200,
                                    100, nullptr, nullptr, nullptr, nullptr);
        ownedPopup = CreateWindowExA(0, "STATIC", "Owned popup", WS_POPUP | WS_BORDER, 60, 60,
                                     200, 100, invisible, nullptr, nullptr, nullptr);
        ShowWindow(ownedPopup, SW_SHOWNOACTIVATE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the id is out
        threadId_ = GetCurrentThreadId();
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }  // the windows go with their thread
    std::atomic<DWORD> threadId_{0};
    std::thread thread_;
};

// Keys seen by a low-level keyboard hook, and where the Start button was at Escape-down.
std::string g_keys;
HWND g_startButton = nullptr;
RECT g_buttonAtEscape = {};

LRESULT CALLBACK WatchKeys(int code, WPARAM wp, LPARAM lp) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (code == HC_ACTION) {
        const bool up = (key->flags & LLKHF_UP) != 0;
        g_keys += std::to_string(key->vkCode) + (up ? " up, " : " down, ");
        if (key->vkCode == VK_ESCAPE && !up) GetWindowRect(g_startButton, &g_buttonAtEscape);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST(WindowCommands, StateCommandsActOnTheWindowAndNeverWaitForAHungOne) {
    TestApp app("Sized");
    ASSERT_TRUE(app.Started());
    HWND window = app.Window();
    ToggleMaximizeTarget(window);
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(window) != 0; }));
    ToggleMaximizeTarget(window);
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(window) && !IsIconic(window); }));
    ToggleAlwaysOnTop(window, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_TRUE(IsTopmost(window));
    ToggleAlwaysOnTop(window, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_FALSE(IsTopmost(window)) << "twice returns the window to its layer";
    MinimizeTarget(window);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) != 0; }));

    // A dialog has neither box. The commands are sent synchronously: nothing can follow later.
    HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", "Plain dialog",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 20, 20, 240,
                                  120, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dialog);
    MinimizeTarget(dialog);
    ToggleMaximizeTarget(dialog);
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_FALSE(IsZoomed(dialog));
    DestroyWindow(dialog);

    app.Hang(7000);
    ASSERT_TRUE(WaitUntil([&] { return IsHungAppWindow(window) != 0; }, 6500, 50));
    MinimizeTarget(window);
    ToggleMaximizeTarget(window);
    EXPECT_TRUE(IsHungAppWindow(window)) << "the commands waited for the hung window";
}

TEST(WindowCommands, CloseApplicationSendsAltF4ToItsOwnWindowOnly) {
    TestApp closing("Close me");
    TestApp front("Refuses to close", "--ignore-close");
    ASSERT_TRUE(closing.Started() && front.Started());
    ASSERT_TRUE(SettledInFront(front));

    HWND closed = closing.Window();
    ASSERT_TRUE(closing.Activate());
    CloseTargetApplication(closed);
    EXPECT_TRUE(WaitUntil([&] { return closing.LogContains("destroyed"); }));
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000));
    closing.Proc().Kill();  // Wine now and then keeps a program alive without its windows
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(closed); }));

    // With its window gone, the command must not close whatever is in front instead.
    ASSERT_TRUE(front.Activate());
    CloseTargetApplication(closed);
    // Input arrives in order: once a later key is in, an Alt+F4 sent before it would be too.
    PlayKeySequence(L"z");
    ASSERT_TRUE(WaitUntil([&] { return front.LogContains("keydown 90 mods="); }));
    EXPECT_FALSE(front.LogContains("syskeydown 115 mods=A"));
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
    TestApp start("Switch start");
    TestApp target("Switch target", "--minimized");
    ASSERT_TRUE(start.Started() && target.Started());
    ASSERT_TRUE(SettledInFront(target));
    ForeignThreadWindows foreign;
    HWND own = CreateWindowExA(0, "STATIC", "Own window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80,
                               80, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(taskbar && foreign.invisible && foreign.ownedPopup && own);

    // Below the start, in this order: an owned popup, an invisible window, one of the
    // program's own, the taskbar, and then the minimised target.
    ASSERT_TRUE(start.Activate());
    const HWND order[] = {start.Window(), foreign.ownedPopup, foreign.invisible, own, taskbar,
                          target.Window()};
    // Other programs' windows may come and go meanwhile: each step is asked again until it holds.
    for (int i = 1; i < 6; ++i) {
        ASSERT_TRUE(WaitUntil([&] {
            if (GetWindow(order[i - 1], GW_HWNDNEXT) == order[i]) return true;
            SetWindowPos(order[i], order[i - 1], 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return false;
        }, 2000)) << "z-order not arranged: " << ClassOf(GetWindow(order[i - 1], GW_HWNDNEXT))
                  << " \"" << TitleOf(GetWindow(order[i - 1], GW_HWNDNEXT)) << "\" after " << i - 1;
    }
    ASSERT_TRUE(IsIconic(target.Window()));

    SwitchToNextWindow(start.Window(), true);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.Window(); }));
    EXPECT_FALSE(IsIconic(target.Window()));
    DestroyWindow(own);
}

// Wine's taskbar opens its Start menu only when the button is clicked, not on Ctrl+Escape, so
// the test watches what the command does: the keys it presses, where the button is meanwhile
// and that it is back at the taskbar's origin afterwards.
TEST(WindowCommands, StartMenuPressesCtrlEscapeWithTheButtonAtThePointer) {
    HWND taskbar = EnsureDesktop();
    ASSERT_NE(nullptr, taskbar);
    const RECT bar = WindowRect(taskbar);
    g_startButton = WindowFromPoint({bar.left + 10, bar.top + 10});
    ASSERT_EQ(taskbar, GetParent(g_startButton)) << "no Start button in the taskbar";

    MoveMouse(400, 500);
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleA(nullptr), 0);
    ASSERT_NE(nullptr, hook);
    OpenStartMenu();
    UnhookWindowsHookEx(hook);
    CloseMenus();

    EXPECT_EQ("17 up, 18 up, 16 up, 17 down, 27 down, 27 up, 17 up, ", g_keys);
    EXPECT_EQ(400 - 16, g_buttonAtEscape.left);
    EXPECT_EQ(500 - 42, g_buttonAtEscape.top);
    EXPECT_EQ(bar.left, WindowRect(g_startButton).left);
    EXPECT_EQ(bar.top, WindowRect(g_startButton).top);
}

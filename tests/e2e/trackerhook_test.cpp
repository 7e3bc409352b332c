// The tracker switches the mouse hook off while the cursor rests on a bar and on again when it
// leaves: the tracker and a bar run in the test process, ticking on a 50 ms timer as in the
// program.
#include <gtest/gtest.h>

#include <windows.h>

#include "Harness.h"
#include "ModelBuilder.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "engine/HookClient.h"
#include "engine/Tracker.h"

using namespace orvale;
using namespace testing_support;

TEST(TrackerHook, HookIsOffWhileTheCursorRestsOnABarAndOnAgainAfterwards) {
    EnsureDesktop();
    ASSERT_TRUE(LoadHookLibrary()) << "the hook library beside the test";
    MakeBar(1, true, true, {106, 107});
    CreateMenuBarWindow(1);
    HWND bar = BarTable[1]->Handle();
    SetWindowPos(bar, HWND_TOPMOST, 400, 400, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { TrackerTick(); });

    MoveMouse(100, 100);
    EXPECT_TRUE(WaitUntil([] { return MouseHookInstalled(); }, 1000));
    RECT button = WindowRect(BarTable[1]->buttons[1]->Handle());
    MoveMouse((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    EXPECT_TRUE(WaitUntil([] { return !MouseHookInstalled(); }, 1000)) << "off on a button";
    RECT frame = WindowRect(bar);
    MoveMouse(frame.left + 1, frame.top + 1);
    EXPECT_FALSE(WaitUntil([] { return MouseHookInstalled(); }, 200)) << "still off on the frame";
    MoveMouse(frame.left - 30, frame.top - 30);
    EXPECT_TRUE(WaitUntil([] { return MouseHookInstalled(); }, 1000)) << "on again off the bar";

    KillTimer(nullptr, timer);
    SetMouseHook(false);
    DestroyAllBarWindows();
}

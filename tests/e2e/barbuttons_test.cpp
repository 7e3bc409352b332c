// Hover and clicks on the buttons of a bar that lives in the test process, driven by real
// mouse input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "Harness.h"
#include "ModelBuilder.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"

using namespace orvale;
using namespace testing_support;

namespace {

std::vector<int> g_commands;

// Records the commands a bar receives before the bar handles them.
LRESULT CALLBACK RecordCommands(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_COMMAND) g_commands.push_back(LOWORD(wp));
    return DefSubclassProc(hwnd, msg, wp, lp);
}

bool Received(int command) {
    return std::find(g_commands.begin(), g_commands.end(), command) != g_commands.end();
}

struct BarButtonsTest : ::testing::Test {
    void SetUp() override {
        EnsureDesktop();
        g_commands.clear();
        MakeBar(1, true, true, {106, 107});
        CreateMenuBarWindow(1);
        bar = BarTable[1].get();
        PlaceBar();
        SetWindowSubclass(bar->Handle(), RecordCommands, 7, 0);
        MoveMouse(100, 100);
    }
    void TearDown() override { DestroyAllBarWindows(); }

    // Running an item hides the bars; this puts the test's bar (back) on screen.
    void PlaceBar() {
        SetWindowPos(bar->Handle(), HWND_TOPMOST, 300, 300, 0, 0,
                     SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    POINT CentreOf(int index) const {
        RECT r = WindowRect(bar->buttons[index]->Handle());
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    BarWindow* bar = nullptr;
};

}  // namespace

TEST_F(BarButtonsTest, RaisedEdgeAndTooltipWhileTheCursorIsOverAButton) {
    BarButton& button = *bar->buttons[1];
    RECT r = WindowRect(button.Handle());
    const COLORREF face = ScreenPixel(r.left, r.top);

    POINT centre = CentreOf(1);
    MoveMouse(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return button.hot; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(r.left, r.top) != face; }, 2000))
        << "the raised edge is drawn";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(button.Tooltip()) != FALSE; }, 3000))
        << "the tooltip shows";

    MoveMouse(centre.x, r.bottom + 40);
    EXPECT_TRUE(WaitUntil([&] { return !button.hot; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(r.left, r.top) == face; }, 2000))
        << "and removed again";
    EXPECT_FALSE(bar->buttons[0]->hot);
}

TEST_F(BarButtonsTest, LeftClickSendsTheButtonsCommandAndRightClickTheEditCommand) {
    POINT second = CentreOf(1);
    LeftClick(second.x, second.y);
    EXPECT_TRUE(WaitUntil([&] { return Received(123); }, 3000)) << "Maximize/restore Window";

    g_commands.clear();
    PlaceBar();
    POINT first = CentreOf(0);
    RightClick(first.x, first.y);
    EXPECT_TRUE(WaitUntil([&] { return Received(132); }, 3000));
    EXPECT_FALSE(Received(122)) << "a right click does not run the item";
}

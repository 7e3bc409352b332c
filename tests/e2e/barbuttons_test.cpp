// Hover and clicks on the buttons of a bar that lives in the test process, driven by real
// mouse input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "Harness.h"
#include "ModelBuilder.h"
#include "engine/BarHandlers.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"

using namespace orvale;
using namespace testing_support;

namespace {

// What the bar handed on: the item types it ran, and -1 for an edit of the bar.
std::vector<int> g_commands;
constexpr int kEdit = -1;

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
        BarHandlers record;
        record.runItem = [](BarWindow&, ItemType type, const BarItem&) {
            g_commands.push_back(static_cast<int>(type));
        };
        record.editBar = [](BarDef&) { g_commands.push_back(kEdit); };
        SetBarHandlers(record);
        MoveMouse(100, 100);
    }
    void TearDown() override {
        DestroyAllBarWindows();
        SetBarHandlers({});
    }

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
    EXPECT_TRUE(WaitUntil([&] { return Received(107); }, 3000)) << "Maximize/restore Window";

    g_commands.clear();
    PlaceBar();
    POINT first = CentreOf(0);
    RightClick(first.x, first.y);
    EXPECT_TRUE(WaitUntil([&] { return Received(kEdit); }, 3000));
    EXPECT_FALSE(Received(106)) << "a right click does not run the item";
}

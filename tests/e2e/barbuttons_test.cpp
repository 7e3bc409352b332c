// Hover and clicks on the buttons of a bar that lives in the test process, driven by real
// mouse input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "Harness.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "model/BarModel.h"

using namespace orvale;
using namespace testing_support;

namespace {

std::vector<int> g_commands;

// Records the commands a bar receives before the bar handles them.
LRESULT CALLBACK RecordCommands(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_COMMAND) g_commands.push_back(LOWORD(wp));
    return DefSubclassProc(hwnd, msg, wp, lp);
}

class BarButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureDesktop();
        g_commands.clear();
        BarDef& def = barDefs[1];
        newBar(def, 1);
        def.enabled = 1;
        BarNode* header = appendNode(def);
        header->tag = static_cast<int32_t>(NodeTag::Header);
        header->number = 1;
        std::vector<BarNode*> runs = {adoptRun(def, makeItem(106)), adoptRun(def, makeItem(107))};
        relinkBar(def, "Test", runs);
        CreateMenuBarWindow(1);
        bar = BarTable[1].get();
        ASSERT_NE(nullptr, bar);
        SetWindowPos(bar->Handle(), HWND_TOPMOST, 300, 300, 0, 0,
                     SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        SetWindowSubclass(bar->Handle(), RecordCommands, 7, 0);
        MoveMouse(100, 100);
        PumpFor(50);
    }
    void TearDown() override {
        RemoveWindowSubclass(bar->Handle(), RecordCommands, 7);
        DestroyAllBarWindows();
    }

    POINT CentreOf(int index) const {
        RECT r = WindowRect(bar->buttons[index]->Handle());
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    bool Received(int command) const {
        for (int c : g_commands) {
            if (c == command) return true;
        }
        return false;
    }
    COLORREF PixelAt(int x, int y) const {
        HDC screen = GetDC(nullptr);
        COLORREF color = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        return color;
    }

    BarWindow* bar = nullptr;
};

}  // namespace

TEST_F(BarButtonsTest, RaisedEdgeAppearsWhileTheCursorIsOverAButtonAndGoesAfter) {
    BarButton& button = *bar->buttons[0];
    RECT r = WindowRect(button.Handle());
    const COLORREF face = PixelAt(r.left, r.top);

    POINT centre = CentreOf(0);
    MoveMouse(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return button.hot; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(r.left, r.top) != face; }, 2000))
        << "the raised edge is drawn";

    MoveMouse(centre.x, r.bottom + 40);
    EXPECT_TRUE(WaitUntil([&] { return !button.hot; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(r.left, r.top) == face; }, 2000))
        << "and removed again";
    EXPECT_FALSE(bar->buttons[1]->hot);
}

TEST_F(BarButtonsTest, LeftClickSendsTheButtonsCommandAndRightClickTheEditCommand) {
    POINT second = CentreOf(1);
    LeftClick(second.x, second.y);
    EXPECT_TRUE(WaitUntil([&] { return Received(123); }, 3000)) << "Maximize/restore Window";

    // Running an item hides the bars; bring this one back.
    g_commands.clear();
    SetWindowPos(bar->Handle(), HWND_TOPMOST, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    POINT first = CentreOf(0);
    RightClick(first.x, first.y);
    EXPECT_TRUE(WaitUntil([&] { return Received(132); }, 3000));
    EXPECT_FALSE(Received(122)) << "a right click does not run the item";
}

TEST_F(BarButtonsTest, PressReleasedOutsideTheButtonDoesNothing) {
    POINT first = CentreOf(0);
    MoveMouse(first.x, first.y);
    INPUT press = {};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    PumpFor(30);
    MoveMouse(first.x, first.y + 100);
    INPUT release = press;
    release.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &release, sizeof release);
    PumpFor(200);
    EXPECT_FALSE(Received(122));
}

TEST_F(BarButtonsTest, TooltipShowsTheCaptionAfterTheCursorRests) {
    POINT second = CentreOf(1);
    MoveMouse(second.x - 2, second.y);
    PumpFor(20);
    MoveMouse(second.x, second.y);
    HWND tip = bar->buttons[1]->Tooltip();
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(tip) != FALSE; }, 3000));
}

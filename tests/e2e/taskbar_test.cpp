// The menu task bar beside a real menu: which windows it lists, in which order, and what a
// click on one of its buttons does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"

using namespace testing_support;

namespace {

// The settings window, when a test opens it, stands clear of the windows the tests click: a
// press through the X server goes to what the X server has on top there, which under Wine's
// virtual desktop can be the settings window even after another window came to the front.
const char* kTaskBarOnly =
    "[options]\r\nx=600\r\ny=440\r\n[TaskBar+]\r\nen=1\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=0\r\nhoriz=1\r\nname=\r\n";

class TaskBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale.WriteSettings(kTaskBarOnly);
        ASSERT_TRUE(orvale.Start());
    }
    void TearDown() override { CloseMenus(); }

    HWND TaskBar() {
        HWND bar = nullptr;
        WaitUntil([&] {
            auto bars = orvale.VisibleBars();
            bar = bars.empty() ? nullptr : bars.front();
            return bar != nullptr;
        }, 3000);
        return bar;
    }

    std::vector<std::string> Titles(HWND bar) {
        std::vector<std::string> titles;
        for (HWND button : BarButtons(bar)) titles.push_back(TitleOf(button));
        return titles;
    }

    static bool Has(const std::vector<std::string>& titles, const std::string& title) {
        return std::find(titles.begin(), titles.end(), title) != titles.end();
    }

    void ClickButton(HWND bar, const std::string& title) {
        for (HWND button : BarButtons(bar)) {
            if (TitleOf(button) == title) return ClickCentre(button);
        }
        ADD_FAILURE() << "no button for " << title;
    }

    Orvale orvale;
};

}  // namespace

TEST_F(TaskBarTest, ListsOtherProgramsTitledWindowsInHandleOrderEveryTime) {
    TestApp alpha("Alpha Window", "--pos 100 100 300 250");
    TestApp beta("Beta Window", "--pos 450 100 300 250");
    TestApp tool("Tool Window", "--tool --pos 450 400 200 150");
    TestApp untitled("", "--pos 700 400 200 150");
    TestApp iconless("Iconless Window", "--pos 100 450 200 150", "testapp_noicon.exe");
    ASSERT_TRUE(iconless.Started() && untitled.Started() && tool.Started());
    // The program's own window is on the desktop too.
    ASSERT_NE(nullptr, ShowSettings(orvale));

    OpenContextMenu(alpha);
    HWND bar = TaskBar();
    ASSERT_NE(nullptr, bar);
    std::vector<std::string> first = Titles(bar);
    EXPECT_TRUE(Has(first, "Alpha Window"));
    EXPECT_TRUE(Has(first, "Beta Window"));
    EXPECT_FALSE(Has(first, "Tool Window")) << "tool windows are left off";
    EXPECT_FALSE(Has(first, "Iconless Window")) << "windows without an icon are left off";
    EXPECT_FALSE(Has(first, "")) << "untitled windows are left off";
    EXPECT_FALSE(Has(first, "OVE32BAR")) << "the program's own windows are left off";
    EXPECT_FALSE(Has(first, "Orvale")) << "its settings window, open beside them, too";

    // Largest handle first.
    std::vector<uintptr_t> handles;
    for (const std::string& title : first) {
        handles.push_back(reinterpret_cast<uintptr_t>(FindWindowA(nullptr, title.c_str())));
    }
    EXPECT_TRUE(std::is_sorted(handles.rbegin(), handles.rend()));

    // Buttons are 20 pixels, one below the other.
    std::vector<HWND> buttons = BarButtons(bar);
    for (size_t k = 0; k < buttons.size(); ++k) {
        EXPECT_EQ(20, WindowRect(buttons[k]).bottom - WindowRect(buttons[k]).top);
        if (k > 0) {
            EXPECT_EQ(WindowRect(buttons[k - 1]).bottom, WindowRect(buttons[k]).top);
        }
    }
    EXPECT_GE(WindowRect(bar).bottom - WindowRect(bar).top,
              static_cast<LONG>(20 * buttons.size())) << "the bar is long enough for them all";

    CloseMenus();
    ASSERT_TRUE(WaitUntil([&] { return orvale.VisibleBars().empty(); }, 3000));
    OpenContextMenu(beta);
    bar = TaskBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(first, Titles(bar)) << "same windows, same order";
}

TEST_F(TaskBarTest, FewerWindowsRemoveTheSurplusButtons) {
    TestApp alpha("Alpha Window");
    {
        TestApp beta("Beta Window", "--pos 500 100 300 250");
        OpenContextMenu(alpha);
        ASSERT_TRUE(Has(Titles(TaskBar()), "Beta Window"));
        CloseMenus();
        ASSERT_TRUE(WaitUntil([&] { return orvale.VisibleBars().empty(); }, 3000));
    }
    OpenContextMenu(alpha);
    HWND bar = TaskBar();
    ASSERT_TRUE(WaitUntil([&] { return !Has(Titles(bar), "Beta Window"); }, 3000));
    EXPECT_TRUE(Has(Titles(bar), "Alpha Window"));
}

TEST_F(TaskBarTest, HungWindowIsLeftOffWithoutHoldingUpTheBars) {
    TestApp hung("Hung Window", "--pos 500 100 300 250");
    ASSERT_TRUE(hung.Started());
    hung.Hang(8000);
    ASSERT_TRUE(WaitUntil([&] { return hung.LogContains("hang 8000"); }, 3000));
    Process notepad;
    const POINT spot = StartNotepad(notepad);
    ASSERT_NE(0, spot.x);

    // Twice: the second press asks nothing of the window that did not answer the first.
    for (int press = 0; press < 2; ++press) {
        CloseMenus();
        RightClick(spot.x, spot.y);
        // Waiting for the hung window would take eight seconds.
        HWND bar = TaskBar();
        ASSERT_NE(nullptr, bar) << press;
        std::vector<std::string> titles = Titles(bar);
        EXPECT_TRUE(Has(titles, "Untitled - Notepad")) << press;
        EXPECT_FALSE(Has(titles, "Hung Window")) << press;
    }
    EXPECT_TRUE(hung.Proc().Running() && IsWindow(hung.Window()));
}

TEST_F(TaskBarTest, ClickingAButtonActivatesItsWindowRestoringItWhenMinimised) {
    TestApp alpha("Alpha Window", "--pos 100 100 300 250");
    TestApp beta("Beta Window", "--pos 500 100 300 250 --minimized");
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(beta.Window()) != FALSE; }, 3000));

    OpenContextMenu(alpha);
    HWND bar = TaskBar();
    ASSERT_NE(nullptr, bar);
    ClickButton(bar, "Beta Window");
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(beta.Window()); }, 3000)) << "restored";
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == beta.Window(); }, 3000));
    EXPECT_TRUE(orvale.VisibleBars().empty()) << "the bars go away on a click";
}

TEST_F(TaskBarTest, ClickingTheMenuOwnersButtonMinimisesItAndActivatesTheNext) {
    TestApp alpha("Alpha Window", "--pos 100 100 300 250");
    TestApp beta("Beta Window", "--pos 500 100 300 250");
    OpenContextMenu(alpha);
    HWND bar = TaskBar();
    ASSERT_NE(nullptr, bar);
    std::vector<std::string> titles = Titles(bar);
    auto own = std::find(titles.begin(), titles.end(), "Alpha Window");
    ASSERT_NE(titles.end(), own);
    const bool last = own + 1 == titles.end();

    ClickButton(bar, "Alpha Window");
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(alpha.Window()) != FALSE; }, 3000));
    if (!last) {
        HWND next = FindWindowA(nullptr, (own + 1)->c_str());
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == next; }, 3000))
            << "the window of the next button comes up: " << *(own + 1);
    }
}

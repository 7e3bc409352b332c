// The real program beside real windows: bars appear by themselves beside context menus,
// stay while the user moves onto them, and go when the menu is gone or the user clicks
// elsewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

// Bar 1: horizontal, five built-in items. Bar 2: vertical, three. Bar 4 (list 0) and bar 5
// (list 1): context bars, one item each. The task bar is off.
std::string BarsSettings(const std::string& list0, const std::string& list1) {
    std::string ini =
        "[TaskBar+]\r\nen=0\r\nhoriz=0\r\n"
        "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Global\r\n"
        "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=103\r\n[menu+:01:02]\r\ntype=104\r\n"
        "[menu+:01:03]\r\ntype=105\r\n[menu+:01:04]\r\ntype=110\r\n[menu+:01:05]\r\ntype=0\r\n"
        "[Menu+02]\r\nen=1\r\nhoriz=0\r\nname=Side\r\n"
        "[menu+:02:00]\r\ntype=106\r\n[menu+:02:01]\r\ntype=107\r\n[menu+:02:02]\r\ntype=108\r\n"
        "[menu+:02:03]\r\ntype=0\r\n"
        "[Menu+04]\r\nen=1\r\nhoriz=1\r\nname=Matching\r\n"
        "[menu+:04:00]\r\ntype=102\r\n[menu+:04:01]\r\ntype=0\r\n"
        "[Menu+05]\r\nen=1\r\nhoriz=1\r\nname=Not matching\r\n"
        "[menu+:05:00]\r\ntype=103\r\n[menu+:05:01]\r\ntype=0\r\n";
    ini += "[wndctx0]\r\n0=" + list0 + "\r\n1=.\r\ninc=0\r\n";
    ini += "[wndctx1]\r\n0=" + list1 + "\r\n1=.\r\ninc=0\r\n";
    return ini;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool IsVerticalBar(HWND bar) {
    RECT r = WindowRect(bar);
    return Height(r) > Width(r);
}

class TrackerTest : public ::testing::Test {
protected:
    void StartWith(const std::string& settings) {
        orvale.WriteSettings(settings);
        ASSERT_TRUE(orvale.Start());
    }
    void TearDown() override {
        CloseMenus();
        MoveMouse(900, 100);
    }

    // Waits for `count` bars on screen; says what it saw instead when they do not come.
    ::testing::AssertionResult BarsShown(size_t count, DWORD timeoutMs = 3000) {
        if (WaitUntil([&] { return orvale.VisibleBars().size() == count; }, timeoutMs)) {
            return ::testing::AssertionSuccess();
        }
        POINT cursor;
        GetCursorPos(&cursor);
        RECT menu = WindowRect(VisibleMenu());
        return ::testing::AssertionFailure()
               << orvale.VisibleBars().size() << " bars on screen; cursor " << cursor.x << ","
               << cursor.y << "; menu " << menu.left << "," << menu.top << "-" << menu.right
               << "," << menu.bottom;
    }
    bool NoBarsFor(DWORD ms) {
        return !WaitUntil([&] { return !orvale.VisibleBars().empty(); }, ms);
    }

    Orvale orvale;
};

}  // namespace

TEST_F(TrackerTest, BarsAppearBesideTheTestApplicationsMenuLaidOutAroundIt) {
    StartWith(BarsSettings("tracker target", "nothing of the kind"));
    TestApp app("Tracker Target");
    ASSERT_TRUE(app.Started());
    HWND menu = OpenContextMenu(app);
    ASSERT_NE(nullptr, menu);
    ASSERT_TRUE(BarsShown(3)) << "global horizontal, global vertical and the matching context bar";

    std::vector<HWND> horizontal, vertical;
    for (HWND bar : orvale.VisibleBars()) (IsVerticalBar(bar) ? vertical : horizontal).push_back(bar);
    ASSERT_EQ(2u, horizontal.size());
    ASSERT_EQ(1u, vertical.size());
    std::sort(horizontal.begin(), horizontal.end(),
              [](HWND a, HWND b) { return WindowRect(a).top > WindowRect(b).top; });
    // The menu is stretched right after the last bar is shown.
    EXPECT_TRUE(WaitUntil([&] {
        return WindowRect(menu).right >= WindowRect(horizontal[0]).right &&
               WindowRect(menu).bottom >= WindowRect(vertical[0]).bottom;
    })) << "menu stretched to the bars";
    RECT m = WindowRect(menu);
    RECT h1 = WindowRect(horizontal[0]);  // bar 1, on the menu
    RECT h2 = WindowRect(horizontal[1]);  // bar 4, on bar 1
    RECT v = WindowRect(vertical[0]);
    EXPECT_EQ(5u, BarButtons(horizontal[0]).size());
    EXPECT_EQ(1u, BarButtons(horizontal[1]).size());
    EXPECT_EQ(m.top, h1.bottom);
    EXPECT_EQ(m.left, h1.left);
    EXPECT_EQ(h1.top, h2.bottom);
    EXPECT_EQ(Width(h1), Width(h2)) << "horizontal bars share one width";
    EXPECT_EQ(m.left, v.right);
    EXPECT_EQ(h2.top, v.top) << "vertical bar level with the top of the horizontal stack";
    EXPECT_EQ(m.bottom, v.bottom) << "the vertical bar reaches the menu's bottom";
    EXPECT_EQ(h1.right, m.right) << "the menu reaches the horizontal bars' right edge";

    // Each bar is drawn where it now stands: the face of its first button, not what was on
    // screen there before.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (HWND bar : orvale.VisibleBars()) {
        const RECT b = WindowRect(BarButtons(bar).front());
        EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(b.left + 1, b.top + 1) == face; }, 2000))
            << "bar at " << b.left << "," << b.top;
    }
}

TEST_F(TrackerTest, ACyrillicContextEntryMatchesTheTitleWithoutRegardToCase) {
    // A UTF-8 settings file; the entry in lower case, the window's title in upper case.
    StartWith("\xEF\xBB\xBF" + BarsSettings(u8"\u0431\u043B\u043E\u043A\u043D\u043E\u0442",
                                            "nothing of the kind"));
    TestApp app("Cyrillic Target");
    ASSERT_TRUE(app.Started());
    app.SetTitle(L"\u0411\u041B\u041E\u041A\u041D\u041E\u0422 - \u0442\u0435\u0441\u0442");
    ASSERT_NE(nullptr, OpenContextMenu(app));
    EXPECT_TRUE(BarsShown(3)) << "the two global bars and the matching context bar";
}

TEST_F(TrackerTest, BarsAppearBesideNotepadsMenu) {
    StartWith(BarsSettings("notepad", "nothing of the kind"));
    Process notepad;
    const POINT spot = StartNotepad(notepad);
    ASSERT_NE(0, spot.x);
    RightClick(spot.x, spot.y);
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
    EXPECT_TRUE(BarsShown(3)) << "the context bar for \"notepad\" comes too";
    CloseMenus();
}

TEST_F(TrackerTest, AQuickSecondRightClickOnTheSameSpotGetsBarsToo) {
    StartWith(BarsSettings("notepad", "nothing of the kind"));
    Process notepad;
    const POINT spot = StartNotepad(notepad);
    ASSERT_NE(0, spot.x);
    // Escape and the next right-click follow at once: that press arrives as a double-click.
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        RightClick(spot.x, spot.y);
        ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
        ASSERT_TRUE(BarsShown(3));
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(WaitUntil([] { return VisibleMenu() == nullptr; }, 3000));
        ASSERT_TRUE(BarsShown(0));
    }
}

TEST_F(TrackerTest, BarsBesideAMenuInTheBottomRightCornerStayInsideTheWorkArea) {
    StartWith(BarsSettings("tracker target", "nothing of the kind"));
    TestApp app("Tracker Target", "--pos 800 480 220 240");
    HWND menu = OpenContextMenu(app);
    ASSERT_NE(nullptr, menu);
    ASSERT_TRUE(BarsShown(3));
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(menu, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    for (HWND bar : orvale.VisibleBars()) {
        RECT r = WindowRect(bar);
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                    r.bottom <= work.bottom)
            << "bar " << r.left << "," << r.top << "-" << r.right << "," << r.bottom
            << " outside " << work.right << "," << work.bottom;
    }
}

TEST_F(TrackerTest, MenusWithoutARecentRightPressGetNoBars) {
    StartWith(BarsSettings("tracker", "x"));
    {
        TestApp app("Keyboard Menu");
        ASSERT_TRUE(app.Activate());
        keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(VK_F10, 0, 0, 0);
        keybd_event(VK_F10, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 5000));
        EXPECT_TRUE(NoBarsFor(1000)) << "a menu opened from the keyboard";
        CloseMenus();
    }
    {
        // Twice the search window, so slow ticks under load cannot stretch it that far.
        TestApp slow("Slow Menu", "--menu-delay 6500");
        ASSERT_TRUE(slow.Activate());
        POINT centre = slow.Centre();
        RightClick(centre.x, centre.y);
        ASSERT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }, 8000));
        EXPECT_TRUE(NoBarsFor(1000)) << "a menu opened more than 3 s after the right press";
        CloseMenus();
    }
}

TEST_F(TrackerTest, TheProgramsOwnTrayMenuGetsNoBars) {
    StartWith(BarsSettings("x", "y"));
    RECT taskbar = WindowRect(FindWindowA("Shell_TrayWnd", nullptr));
    // The notification area holds only this program's icon, at the right end.
    RightClick(taskbar.right - 10, (taskbar.top + taskbar.bottom) / 2);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        menu = VisibleMenu();
        DWORD pid = 0;
        if (menu) GetWindowThreadProcessId(menu, &pid);
        return menu && pid == orvale.Proc().Id();
    }, 5000)) << "the tray menu opens";
    EXPECT_TRUE(NoBarsFor(1000));
}

TEST_F(TrackerTest, BarsStayWhileTheCursorIsOnThemAndGoWhenItMovesAwayAfterTheMenu) {
    StartWith(BarsSettings("tracker", "x"));
    TestApp app("Tracker Target");
    OpenContextMenu(app);
    ASSERT_TRUE(BarsShown(3));

    // From the menu onto a bar: the bars stay.
    HWND bar = orvale.VisibleBars().front();
    RECT b = WindowRect(bar);
    MoveMouse((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    EXPECT_FALSE(WaitUntil([&] { return orvale.VisibleBars().size() != 3; }, 500));

    // The menu closes while the cursor rests on the bar: still there.
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(WaitUntil([] { return VisibleMenu() == nullptr; }, 3000));
    EXPECT_FALSE(WaitUntil([&] { return orvale.VisibleBars().empty(); }, 300));

    // Onto another application's window: gone.
    POINT centre = app.Centre();
    MoveMouse(centre.x, centre.y + 60);
    EXPECT_TRUE(BarsShown(0));
}

TEST_F(TrackerTest, LeftClickElsewhereHidesTheBars) {
    StartWith(BarsSettings("tracker", "x"));
    TestApp other("Other Window", "--pos 650 100 300 300");
    // An application-drawn menu stays open through a click elsewhere: the bars can only go
    // because of the click, never because a tick saw the menu gone.
    TestApp app("Tracker Target", "--pos 100 300 400 300 --custom-menu");
    ASSERT_TRUE(app.Activate());
    POINT centre = app.Centre();
    RightClick(centre.x, centre.y);
    ASSERT_TRUE(BarsShown(3));
    HWND menu = VisibleWindowOf(app.Proc(), "OrvaleTestMenu");
    ASSERT_NE(nullptr, menu);

    // A click counts once a tick has run after the one that showed the bars; one that comes
    // sooner is let pass, so the user clicks again.
    POINT elsewhere = other.Centre();
    EXPECT_TRUE(WaitUntil([&] {
        LeftClick(elsewhere.x, elsewhere.y);
        return orvale.VisibleBars().empty();
    }, 3000, 0));
    EXPECT_TRUE(IsWindowVisible(menu)) << "the menu is still open";
}

TEST_F(TrackerTest, NoBarsWhileDisabled) {
    StartWith(BarsSettings("tracker", "x"));
    PostMessageA(orvale.SettingsWindow(), WM_COMMAND, 32807, 0);  // Enable toggle
    TestApp app("Tracker Target");
    OpenContextMenu(app);
    EXPECT_TRUE(NoBarsFor(1000));
    CloseMenus();

    PostMessageA(orvale.SettingsWindow(), WM_COMMAND, 32807, 0);
    OpenContextMenu(app);
    EXPECT_TRUE(BarsShown(3)) << "enabled again";
}

TEST_F(TrackerTest, ApplicationDrawnPopupMenusGetBarsToo) {
    StartWith(BarsSettings("tracker", "x"));
    TestApp app("Tracker Target", "--custom-menu");
    ASSERT_TRUE(app.Activate());
    POINT centre = app.Centre();
    RightClick(centre.x, centre.y);
    EXPECT_TRUE(BarsShown(3));
}

TEST_F(TrackerTest, BarsGoWithAnApplicationsOwnMenuWindowOnceAClickOutsideHasClosedIt) {
    StartWith("[options]\r\nx=650\r\ny=100\r\n" + BarsSettings("tracker", "x"));
    HWND settings = ShowSettings(orvale);
    ASSERT_NE(nullptr, settings);
    TestApp other("Other Window", "--pos 650 450 300 250");
    // The menu windows applications draw for themselves, each closing on a press outside it in
    // its own way. A press on a window of ours leaves the bars until the cursor moves on to
    // another program, and then only the menu's closing can hide them.
    for (const char* style : {"topmost", "layered", "owned"}) {
        SCOPED_TRACE(style);
        TestApp app("Tracker Target", std::string("--pos 100 300 400 300 --popup-menu ") + style);
        ASSERT_TRUE(app.Activate());
        const POINT centre = app.Centre();
        RightClick(centre.x, centre.y);
        HWND menu = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (menu = VisibleWindowOf(app.Proc(), "OrvaleTestPopup")) != nullptr; }));
        ASSERT_TRUE(BarsShown(3));
        const RECT m = WindowRect(menu);
        const std::vector<HWND> bars = orvale.VisibleBars();
        EXPECT_TRUE(std::any_of(bars.begin(), bars.end(),
                                [&](HWND bar) { return WindowRect(bar).bottom == m.top; }))
            << "a bar on the menu's top edge";
        ClickCentre(GetDlgItem(settings, IDC_TAB_DESCRIPTION));
        ASSERT_TRUE(WaitUntil([&] { return app.LogContains("menu closed"); }));
        const POINT away = other.Centre();
        MoveMouse(away.x, away.y);
        EXPECT_TRUE(BarsShown(0));
    }
}

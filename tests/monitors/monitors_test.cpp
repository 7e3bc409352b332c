// Two monitors as a user has them (tests/monitors/two-monitors.conf): the first at (0, 0) and a
// smaller second one left of it, at negative coordinates. Bars beside a menu on the second
// monitor stay on it, at its edges too; the settings window saved where no monitor is any more
// opens on one that is; a bar's editor opens on that bar's monitor. Run by monitors.sh.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

// Bar 1 horizontal with five buttons, bar 2 vertical with three.
const char* const kBars =
    "[TaskBar+]\r\nen=0\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Across\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=103\r\n[menu+:01:02]\r\ntype=104\r\n"
    "[menu+:01:03]\r\ntype=105\r\n[menu+:01:04]\r\ntype=110\r\n[menu+:01:05]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=1\r\nhoriz=0\r\nname=Down\r\n"
    "[menu+:02:00]\r\ntype=106\r\n[menu+:02:01]\r\ntype=107\r\n[menu+:02:02]\r\ntype=108\r\n"
    "[menu+:02:03]\r\ntype=0\r\n";

struct Monitor {
    HMONITOR handle;
    RECT work;
    bool primary;
};

std::vector<Monitor> Monitors() {
    std::vector<Monitor> found;
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR m, HDC, RECT*, LPARAM lp) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        GetMonitorInfoA(m, &info);
        reinterpret_cast<std::vector<Monitor>*>(lp)->push_back(
            {m, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Inside(const RECT& r, const RECT& area) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
           r.bottom <= area.bottom;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string Pos(LONG x, LONG y, LONG width, LONG height) {
    return "--pos " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) +
           " " + std::to_string(height);
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override {
        for (const Monitor& m : Monitors()) (m.primary ? first : second) = m;
        ASSERT_EQ(2u, Monitors().size());
        ASSERT_LT(second.work.right, 1) << "the second monitor lies left of the first";
    }
    void TearDown() override {
        CloseMenus();
        MoveMouse(500, 400);
    }

    // Starts the program with the two bars and the settings window saved at (x, y).
    void Start(Orvale& orvale, LONG x = 100, LONG y = 100) {
        orvale.WriteSettings("[options]\r\nx=" + std::to_string(x) + "\r\ny=" + std::to_string(y) +
                             "\r\n" + kBars);
        ASSERT_TRUE(orvale.Start());
    }

    // Right-clicks `at` in a test application whose window is `window` and waits for its menu
    // and both bars.
    HWND MenuWithBars(Orvale& orvale, TestApp& app, POINT at) {
        if (!app.Activate()) return nullptr;
        RightClick(at.x, at.y);
        HWND menu = nullptr;
        if (!WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; })) return nullptr;
        return WaitUntil([&] { return orvale.VisibleBars().size() == 2; }, 3000) ? menu : nullptr;
    }

    Monitor first = {}, second = {};
};

}  // namespace

TEST_F(TwoMonitors, BarsBesideAMenuOnTheSecondMonitorStayInsideItsWorkAreaAndEditThere) {
    Orvale orvale;
    Start(orvale);
    const RECT s = second.work;
    const struct {
        const char* where;
        RECT window;  // left, top, width, height
        POINT click;
        bool edit;  // a right press on a button there opens the bar's editor
    } spots[] = {
        {"its middle", {s.left + 200, s.top + 150, 400, 300}, {s.left + 400, s.top + 300}, true},
        {"its left edge", {s.left, s.top + 200, 300, 250}, {s.left + 12, s.top + 300}, false},
        {"its top edge", {s.left + 200, s.top, 300, 250}, {s.left + 350, s.top + 40}, false},
        {"its bottom edge, higher than the first monitor's",
         {s.left + 200, s.bottom - 200, 300, 200}, {s.left + 350, s.bottom - 15}, false},
        {"its right edge, against the first monitor",
         {s.right - 300, s.top + 200, 300, 250}, {s.right - 12, s.top + 300}, false},
    };
    for (const auto& spot : spots) {
        SCOPED_TRACE(spot.where);
        const RECT& w = spot.window;
        TestApp app("Far Window", Pos(w.left, w.top, w.right, w.bottom));
        ASSERT_TRUE(app.Started());
        HWND menu = MenuWithBars(orvale, app, spot.click);
        ASSERT_NE(nullptr, menu) << orvale.VisibleBars().size() << " bars";
        EXPECT_EQ(second.handle, MonitorFromWindow(menu, MONITOR_DEFAULTTONULL));
        for (HWND bar : orvale.VisibleBars()) {
            EXPECT_TRUE(Inside(WindowRect(bar), s))
                << "bar " << Text(WindowRect(bar)) << ", work area " << Text(s);
        }
        if (spot.edit) {
            const RECT button = WindowRect(BarButtons(orvale.VisibleBars().front()).front());
            RightClick((button.left + button.right) / 2, (button.top + button.bottom) / 2);
            HWND editor = ProgramWindow(orvale, "Bar Properties");
            ASSERT_NE(nullptr, editor);
            EXPECT_TRUE(Inside(WindowRect(editor), s)) << "editor " << Text(WindowRect(editor));
            CloseMenus();  // the press that opened the editor may have left the menu open
            ClickCentre(GetDlgItem(editor, IDCANCEL));
            EXPECT_TRUE(Gone(editor));
        }
        CloseMenus();
        MoveMouse(500, 400);
        ASSERT_TRUE(WaitUntil([&] { return orvale.VisibleBars().empty(); }));
    }
}

TEST_F(TwoMonitors, TheSettingsWindowSavedWhereNoMonitorIsOpensOnOne) {
    const RECT s = second.work;
    const struct {
        const char* where;
        POINT saved;
        bool kept;
    } places[] = {
        {"on the second monitor", {s.left + 100, s.top + 100}, true},
        {"right of the first monitor", {3000, 200}, false},
        {"left of the second monitor", {s.left - 1500, 100}, false},
        {"below the second monitor, which is the shorter", {s.left + 100, s.bottom + 50}, false},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.where);
        Orvale orvale;
        Start(orvale, place.saved.x, place.saved.y);
        HWND settings = ShowSettings(orvale);
        ASSERT_NE(nullptr, settings);
        const RECT r = WindowRect(settings);
        EXPECT_TRUE(Inside(r, first.work) || Inside(r, second.work)) << Text(r);
        if (place.kept) {
            EXPECT_EQ(place.saved.x, r.left);
            EXPECT_EQ(place.saved.y, r.top);
        }
    }
}

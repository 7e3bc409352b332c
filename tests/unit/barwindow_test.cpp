// Bar windows built from a model, and laid out around a window of the test process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Harness.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "engine/Tracker.h"
#include "model/BarModel.h"
#include "model/WindowList.h"

using namespace orvale;
using namespace testing_support;

namespace {

void AddItem(BarDef& bar, int type, const ItemAttributes& attributes = {}) {
    std::vector<BarNode*> runs;
    for (const BarItem& item : items(bar)) runs.push_back(item.Node());
    runs.push_back(adoptRun(bar, makeItem(type, attributes)));
    relinkBar(bar, bar.Name(), runs);
}

void MakeBar(int number, bool horizontal, bool enabled) {
    BarDef& bar = barDefs[number];
    newBar(bar, number);
    bar.enabled = enabled ? 1 : 0;
    BarNode* header = appendNode(bar);
    header->tag = static_cast<int32_t>(NodeTag::Header);
    header->number = horizontal ? 1 : 0;
}

void MakeTaskBar(bool enabled) {
    newBar(barDefs[0], 0);
    barDefs[0].enabled = enabled ? 1 : 0;
    appendNode(barDefs[0])->tag = static_cast<int32_t>(NodeTag::Type);
}

ItemAttributes Application(const std::string& tt, const std::string& ipth) {
    ItemAttributes a;
    a.pth = "C:\\does\\not\\exist.exe";
    a.ipth = ipth;
    a.tt = tt;
    return a;
}

int ToolCount(HWND tooltip) {
    return static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
}

std::string ToolText(BarButton& button) {
    char text[256] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(button.Handle());
    tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
    tool.lpszText = text;
    SendMessageA(button.Tooltip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

RECT ClientRectIn(HWND child) {
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class BarWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        DestroyAllBarWindows();
        for (auto& list : windowLists) list = WindowList();
    }
};

}  // namespace

TEST_F(BarWindowTest, BuildBarMakesOneButtonPerItemWithIdsCaptionsAndTooltips) {
    MakeBar(1, true, true);
    AddItem(barDefs[1], 101, Application("Mail the boss", "no-such-icon-file.ico"));
    AddItem(barDefs[1], 102);
    AddItem(barDefs[1], 5);    // unknown: a gap
    AddItem(barDefs[1], 109);  // separator
    AddItem(barDefs[1], 101, Application("", "default"));
    CreateMenuBarWindow(1);
    ASSERT_TRUE(BarTable[1]);
    BarWindow& bar = *BarTable[1];

    EXPECT_EQ(5, bar.count);
    const int f = BarFrameWidth();
    RECT outer = WindowRect(bar.Handle());
    EXPECT_EQ(5 * 24 + 2 * f, outer.right - outer.left);
    EXPECT_EQ(24 + 2 * BarFrameHeight(), outer.bottom - outer.top);
    EXPECT_FALSE(IsWindowVisible(bar.Handle())) << "built hidden; shown by the layout";
    EXPECT_EQ("OVE32BAR", TitleOf(bar.Handle()));

    // Type 101 with an icon file that does not exist: still a working button.
    BarButton& item = *bar.buttons[0];
    ASSERT_TRUE(item.HasWindow());
    EXPECT_EQ(400, GetDlgCtrlID(item.Handle()));
    EXPECT_EQ("Mail the boss", TitleOf(item.Handle()));
    EXPECT_EQ(1, ToolCount(item.Tooltip()));
    EXPECT_EQ("Mail the boss", ToolText(item));
    EXPECT_TRUE(item.smallIcon);
    EXPECT_EQ(barDefs[1].nodes->next, item.item.Node());
    RECT r = ClientRectIn(item.Handle());
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(24, r.right);

    BarButton& start = *bar.buttons[1];
    EXPECT_EQ(119, GetDlgCtrlID(start.Handle()));
    EXPECT_EQ("Start Menu", ToolText(start));
    EXPECT_FALSE(start.smallIcon);
    EXPECT_EQ(24, ClientRectIn(start.Handle()).left);

    EXPECT_FALSE(bar.buttons[2]->HasWindow()) << "unknown types leave a gap";

    BarButton& separator = *bar.buttons[3];
    EXPECT_EQ(125, GetDlgCtrlID(separator.Handle()));
    EXPECT_EQ(0, ToolCount(separator.Tooltip())) << "no tooltip for a separator";
    EXPECT_EQ(72, ClientRectIn(separator.Handle()).left);

    EXPECT_EQ(0, ToolCount(bar.buttons[4]->Tooltip())) << "empty caption, no tool";
    EXPECT_EQ(404, GetDlgCtrlID(bar.buttons[4]->Handle()));
}

TEST_F(BarWindowTest, VerticalBarStacksButtonsDownwardsAndHoldsAtMost64) {
    MakeBar(2, false, true);
    for (int i = 0; i < 70; ++i) AddItem(barDefs[2], 106);
    CreateMenuBarWindow(2);
    BarWindow& bar = *BarTable[2];
    EXPECT_EQ(64, bar.count);
    RECT outer = WindowRect(bar.Handle());
    EXPECT_EQ(24 + 2 * BarFrameWidth(), outer.right - outer.left);
    EXPECT_EQ(64 * 24 + 2 * BarFrameHeight(), outer.bottom - outer.top);
    EXPECT_EQ(63 * 24, ClientRectIn(bar.buttons[63]->Handle()).top);
}

TEST_F(BarWindowTest, ItemIdsDoNotRunOutWhenBarsAreRebuiltManyTimes) {
    MakeBar(1, true, true);
    AddItem(barDefs[1], 101, Application("a", "default"));
    AddItem(barDefs[1], 101, Application("b", "default"));
    for (int i = 0; i < 250; ++i) {  // 500 type-101 buttons built in all
        DestroyBarWindow(1);
        CreateMenuBarWindow(1);
    }
    EXPECT_EQ(401, GetDlgCtrlID(BarTable[1]->buttons[1]->Handle()));
    EXPECT_NE(nullptr, BarTable[1]->FindButton(401));
}

TEST_F(BarWindowTest, LayoutPlacesApplicableBarsAroundTheMenuAndStretchesIt) {
    MakeTaskBar(false);  // disabled: its window exists but is never placed
    MakeBar(1, true, true);
    for (int i = 0; i < 8; ++i) AddItem(barDefs[1], 102);
    MakeBar(2, false, true);
    AddItem(barDefs[2], 106);
    MakeBar(4, true, true);  // context bar for list 0 ...
    AddItem(barDefs[4], 107);
    windowLists[0].entries = {"some other program"};  // ... which does not match
    MakeBar(5, false, true);  // context bar for list 1, which matches
    AddItem(barDefs[5], 108);
    windowLists[1].entries = {"LAYOUT target"};
    CreateTaskBarWindow();
    for (int n : {1, 2, 4, 5}) CreateMenuBarWindow(n);

    HWND target = CreateWindowExA(0, "STATIC", "Layout Target Window", WS_POPUP | WS_VISIBLE,
                                  600, 600, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND menu = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                300, 300, 120, 100, nullptr, nullptr, nullptr, nullptr);
    pointedWindow = target;
    ShowBarsForMenu(menu);

    const int f = BarFrameWidth();
    const int horizontalWidth = 8 * 24 + 2 * f;
    RECT h = WindowRect(BarTable[1]->Handle());
    EXPECT_EQ(300, h.left);
    EXPECT_EQ(300 - (24 + 2 * f), h.top);
    EXPECT_EQ(300 + horizontalWidth, h.right);
    EXPECT_TRUE(IsWindowVisible(BarTable[1]->Handle()));
    EXPECT_TRUE(GetWindowLongA(BarTable[1]->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    RECT v1 = WindowRect(BarTable[2]->Handle());
    RECT v2 = WindowRect(BarTable[5]->Handle());
    EXPECT_EQ(300, v1.right) << "first vertical bar meets the menu's left edge";
    EXPECT_EQ(h.top, v1.top);
    EXPECT_EQ(400, v1.bottom);
    EXPECT_EQ(v1.left, v2.right) << "matching context bar stacks to the left";

    EXPECT_FALSE(IsWindowVisible(BarTable[4]->Handle())) << "non-matching context bar";
    EXPECT_FALSE(IsWindowVisible(BarTable[0]->Handle())) << "disabled task bar";

    RECT m = WindowRect(menu);
    EXPECT_EQ(300 + horizontalWidth, m.right) << "menu stretched to the horizontal bar";
    EXPECT_EQ(400, m.bottom);
    EXPECT_EQ(nullptr, windowLists[1].rememberedWindow) << "forgotten after the test";

    HideAllBars();
    EXPECT_GE(WindowRect(BarTable[1]->Handle()).left, 10000);
    EXPECT_TRUE(IsWindowVisible(BarTable[1]->Handle())) << "hidden by moving, not by hiding";
    DestroyWindow(menu);
    DestroyWindow(target);
}

TEST_F(BarWindowTest, MenuThatIsGoneGetsNoBars) {
    MakeBar(1, true, true);
    AddItem(barDefs[1], 102);
    CreateMenuBarWindow(1);
    HWND menu = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    DestroyWindow(menu);
    ShowBarsForMenu(menu);
    EXPECT_FALSE(IsWindowVisible(BarTable[1]->Handle()));
}

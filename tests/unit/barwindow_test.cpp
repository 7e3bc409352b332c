// Bar windows built from a model, and laid out around a window of the test process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "Harness.h"
#include "ModelBuilder.h"
#include "engine/BarHandlers.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "engine/BarsOnScreen.h"
#include "model/WindowList.h"
#include "resources/resource.h"

using namespace orvale;
using namespace testing_support;

namespace {

ItemAttributes Application(const std::wstring& tt, const std::wstring& ipth) {
    ItemAttributes a;
    a.pth = L"C:\\does\\not\\exist.exe";
    a.ipth = ipth;
    a.tt = tt;
    return a;
}

// The tooltip text of a button, or "" when its tooltip has no tool.
std::string ToolText(BarButton& button) {
    if (SendMessageA(button.Tooltip(), TTM_GETTOOLCOUNT, 0, 0) == 0) return "";
    char text[256] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(button.Handle());
    tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
    tool.lpszText = text;
    SendMessageA(button.Tooltip(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

LONG LeftInBar(HWND button) {
    RECT rect = WindowRect(button);
    MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&rect), 2);
    return rect.left;
}

struct BarWindowTest : ::testing::Test {
    void TearDown() override {
        DestroyAllBarWindows();
        for (auto& list : windowLists) list = WindowList();
    }
};

}  // namespace

TEST_F(BarWindowTest, BuildBarMakesOneButtonPerItemWithIdsCaptionsAndTooltips) {
    // An icon file that does not exist, a built-in, an unknown type, a separator, no caption.
    MakeBar(1, true, true, {101, 102, 5, 109, 101},
            {Application(L"Mail the boss", L"no-such-icon-file.ico"),
             Application(L"", L"default")});
    CreateMenuBarWindow(1);
    BarWindow& bar = *BarTable[1];
    ASSERT_EQ(5, bar.count);
    RECT outer = WindowRect(bar.Handle());
    EXPECT_EQ(5 * 24 + 2 * bar.FrameWidth(), outer.right - outer.left);
    EXPECT_EQ(24 + 2 * bar.FrameHeight(), outer.bottom - outer.top);
    EXPECT_FALSE(IsWindowVisible(bar.Handle())) << "built hidden; shown by the layout";
    EXPECT_EQ("OVE32BAR", TitleOf(bar.Handle()));

    const struct {
        int id;  // 0: a gap without a button
        const char* caption;
        const char* tooltip;
    } expected[] = {{400, "Mail the boss", "Mail the boss"}, {119, "Start Menu", "Start Menu"},
                    {0, "", ""}, {125, "", ""}, {404, "", ""}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        BarButton& button = *bar.buttons[i];
        ASSERT_EQ(expected[i].id != 0, button.HasWindow());
        if (!button.HasWindow()) continue;
        EXPECT_EQ(expected[i].id, GetDlgCtrlID(button.Handle()));
        EXPECT_EQ(expected[i].caption, TitleOf(button.Handle()));
        EXPECT_EQ(expected[i].tooltip, ToolText(button));
        EXPECT_EQ(24 * i, LeftInBar(button.Handle()));
    }
    EXPECT_EQ(barDefs[1].nodes->next, bar.buttons[0]->item.Node()) << "the button runs its item";
    EXPECT_TRUE(bar.buttons[0]->smallIcon);
    EXPECT_FALSE(bar.buttons[1]->smallIcon);
}

TEST_F(BarWindowTest, VerticalBarHoldsAtMost64ButtonsAndIdsSurviveManyRebuilds) {
    MakeBar(2, false, true, std::vector<int>(70, 106));
    CreateMenuBarWindow(2);
    EXPECT_EQ(64, BarTable[2]->count);
    RECT outer = WindowRect(BarTable[2]->Handle());
    EXPECT_EQ(64 * 24 + 2 * BarTable[2]->FrameHeight(), outer.bottom - outer.top);

    // Item ids are numbered per bar: rebuilding past 400 item buttons still gives working ids.
    MakeBar(1, true, true, {101, 101}, {Application(L"a", L"default"), Application(L"b", L"default")});
    for (int i = 0; i < 201; ++i) {
        DestroyBarWindow(1);
        CreateMenuBarWindow(1);
    }
    EXPECT_NE(nullptr, BarTable[1]->FindButton(401));
}

TEST_F(BarWindowTest, ABarRebuiltFromInsideItsOwnCommandOrPressLeavesNoUseOfTheOldOne) {
    MakeBar(3, true, true, {106, 107});
    CreateMenuBarWindow(3);
    BarHandlers rebuild;
    int edits = 0;
    // What the bar editor does on OK: the bar's window is replaced by a new one.
    rebuild.editBar = [&](BarDef& def) {
        ++edits;
        DestroyBarWindow(def.number);
        CreateMenuBarWindow(def.number);
    };
    SetBarHandlers(rebuild);
    // The press comes as the mouse makes it: with the right button down in this thread's state.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_RBUTTON] = 0x80;
    SetKeyboardState(keys);
    for (int i = 0; i < 100; ++i) {
        HWND old = BarTable[3]->Handle();
        if (i % 2) {
            BarTable[3]->QueueCommand(IDC_BAR_EDIT);
            WaitUntil([&] { return !IsWindow(old); }, 2000, 1);
        } else {
            SendMessageA(old, WM_RBUTTONDOWN, 0, MAKELPARAM(1, 1));
        }
        ASSERT_FALSE(IsWindow(old)) << i;
        ASSERT_TRUE(IsWindow(BarTable[3]->Handle())) << i;
        ASSERT_EQ(2, BarTable[3]->count) << i;
    }
    EXPECT_EQ(100, edits);
    keys[VK_RBUTTON] = 0;
    SetKeyboardState(keys);
    SetBarHandlers({});
}

TEST_F(BarWindowTest, LayoutPlacesApplicableBarsAroundTheMenuAndStretchesIt) {
    MakeTaskBar(false);  // disabled: its window exists but is never placed
    MakeBar(1, true, true, std::vector<int>(8, 102));
    MakeBar(2, false, true, {106});
    MakeBar(4, true, true, {107});  // context bar of list 0, which does not match
    windowLists[0].entries = {L"some other program"};
    MakeBar(5, false, true, {108});  // context bar of list 1, which matches
    windowLists[1].entries = {L"LAYOUT target"};
    CreateTaskBarWindow();
    for (int n : {1, 2, 4, 5}) CreateMenuBarWindow(n);

    HWND target = CreateWindowExA(0, "STATIC", "Layout Target Window", WS_POPUP | WS_VISIBLE,
                                  600, 600, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND menu = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                300, 300, 120, 100, nullptr, nullptr, nullptr, nullptr);
    ShowBarsForMenu(menu, target);

    const int f = BarTable[1]->FrameWidth();
    RECT h = WindowRect(BarTable[1]->Handle());
    RECT v1 = WindowRect(BarTable[2]->Handle());
    RECT v2 = WindowRect(BarTable[5]->Handle());
    RECT m = WindowRect(menu);
    EXPECT_EQ(300, h.left);
    EXPECT_EQ(300 - (24 + 2 * f), h.top);
    EXPECT_TRUE(GetWindowLongA(BarTable[1]->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(300, v1.right) << "the first vertical bar meets the menu's left edge";
    EXPECT_EQ(h.top, v1.top);
    EXPECT_EQ(400, v1.bottom);
    EXPECT_EQ(v1.left, v2.right) << "the matching context bar stacks to its left";
    EXPECT_FALSE(IsWindowVisible(BarTable[4]->Handle())) << "the other context bar";
    EXPECT_FALSE(IsWindowVisible(BarTable[0]->Handle())) << "the disabled task bar";
    EXPECT_EQ(h.right, m.right) << "the menu stretched to the horizontal bar";

    HideAllBars();
    EXPECT_GE(WindowRect(BarTable[1]->Handle()).left, 10000);
    EXPECT_TRUE(IsWindowVisible(BarTable[1]->Handle())) << "hidden by moving, not by hiding";

    DestroyWindow(menu);
    ShowBarsForMenu(menu, target);  // a menu that is gone gets nothing
    EXPECT_GE(WindowRect(BarTable[1]->Handle()).left, 10000);
    DestroyWindow(target);
}

TEST_F(BarWindowTest, BarsShareOneTooltipEachAndTheirIconsByFileAndNumber) {
    const std::vector<ItemAttributes> items = {Application(L"Mail", L"email.ico"),
                                               Application(L"Web", L"www.ico"),
                                               Application(L"Mail again", L"email.ico")};
    MakeBar(1, true, true, {101, 101, 101, 109}, items);
    MakeBar(2, false, true, {101, 101, 101}, items);
    CreateMenuBarWindow(1);
    CreateMenuBarWindow(2);
    BarWindow& first = *BarTable[1];
    BarWindow& second = *BarTable[2];
    ASSERT_NE(nullptr, first.buttons[0]->Icon());
    EXPECT_EQ(first.buttons[0]->Icon(), first.buttons[2]->Icon()) << "the same file and number";
    EXPECT_EQ(first.buttons[0]->Icon(), second.buttons[0]->Icon()) << "across bars too";
    EXPECT_NE(first.buttons[0]->Icon(), first.buttons[1]->Icon());
    for (BarWindow* bar : {&first, &second}) {
        for (int i = 0; i < bar->count; ++i) EXPECT_EQ(bar->Tooltip(), bar->buttons[i]->Tooltip());
    }
    EXPECT_NE(first.Tooltip(), second.Tooltip());
    EXPECT_EQ(3, SendMessageA(first.Tooltip(), TTM_GETTOOLCOUNT, 0, 0)) << "the separator has none";

    // The icon lives while a button shows it.
    HICON shared = first.buttons[0]->Icon();
    DestroyBarWindow(1);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(shared, &info)) << "the second bar still shows it";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyBarWindow(2);
    EXPECT_FALSE(GetIconInfo(shared, &info));
}

TEST_F(BarWindowTest, BarsWaitingForTheirTurnAreBuiltWhenAMenuNeedsThem) {
    for (int n : {1, 2, 3}) MakeBar(n, true, true, {106});
    CreateMenuBarWindowsInTurn();
    CreateMenuBarWindow(2);  // Apply asks for a bar that is waiting: it keeps its turn
    EXPECT_FALSE(BarTable[2]) << "not built twice";
    DestroyBarWindow(3);  // disabled meanwhile
    barDefs[3].enabled = 0;

    HWND target = CreateWindowExA(0, "STATIC", "Target", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND menu = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 300, 120,
                                100, nullptr, nullptr, nullptr, nullptr);
    ShowBarsForMenu(menu, target);
    ASSERT_TRUE(BarTable[1] && BarTable[2]);
    EXPECT_FALSE(BarTable[3]);
    EXPECT_EQ(300, WindowRect(BarTable[1]->Handle()).left) << "placed beside the menu";
    DestroyWindow(menu);
    DestroyWindow(target);
}

TEST_F(BarWindowTest, ABarIsBuiltAtItsDpiAndBuiltAgainForAMenuOfAnotherDpi) {
    MakeBar(1, true, true, {101, 106}, {Application(L"Mail", L"email.ico")});
    CreateMenuBarWindow(1);
    BarWindow& bar = *BarTable[1];
    auto textHeight = [&] {
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(bar.Tooltip(), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    auto side = [&](int i) {
        const RECT r = WindowRect(bar.buttons[i]->Handle());
        return r.right - r.left;
    };
    LONG smallerText = 0;
    for (const UINT dpi : {96u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        BuildBar(bar, barDefs[1], dpi);
        const int size = 24 * static_cast<int>(dpi) / 96;
        RECT client = {};
        GetClientRect(bar.Handle(), &client);
        EXPECT_EQ(2 * size, client.right) << "buttons fill the bar inside its frame";
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(size, side(i));
            ICONINFO info = {};
            BITMAP image = {};
            ASSERT_TRUE(GetIconInfo(bar.buttons[i]->Icon(), &info));
            GetObjectA(info.hbmColor, sizeof image, &image);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            EXPECT_EQ(size * 2 / 3, image.bmWidth) << "the icon loaded at the size it is drawn";
        }
        EXPECT_GT(textHeight(), smallerText) << "tooltips grow too";
        smallerText = textHeight();
    }

    // Built at 96 DPI, shown beside a menu on a monitor at 200 %.
    BuildBar(bar, barDefs[1], 96);
    HWND menu = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 300, 40,
                                100, nullptr, nullptr, nullptr, nullptr);
    LayoutBars(menu, nullptr, 192);
    EXPECT_EQ(48, side(0));
    DestroyWindow(menu);
}

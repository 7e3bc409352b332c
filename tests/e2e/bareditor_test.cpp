// The ways into the bar editor in the real program, a right press on a bar and the settings
// window, and what a confirmed or cancelled editor leaves on the bar and in the file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "DialogDriver.h"
#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

const char* kTwoBars =
    "[TaskBar+]\r\nen=0\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=106\r\n[menu+:01:02]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=0\r\nhoriz=0\r\nname=Spare\r\n";

int Rows(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_BAR_ITEMS, LVM_GETITEMCOUNT, 0, 0));
}

bool Gone(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

class BarEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale.WriteSettings(kTwoBars);
        ASSERT_TRUE(orvale.Start());
    }
    void TearDown() override { CloseMenus(); }

    Orvale orvale;
};

}  // namespace

TEST_F(BarEditorTest, AWebPageAddedFromARightPressOnTheBarIsOnTheBarAndInTheFileCancelKeepsBoth) {
    TestApp app("Editor Target");
    ASSERT_TRUE(app.Started());
    auto barBesideTheNextMenu = [&]() -> HWND {
        CloseMenus();
        if (!OpenContextMenu(app)) return nullptr;
        WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000);
        return orvale.VisibleBars().size() == 1 ? orvale.VisibleBars().front() : nullptr;
    };
    // A right press on the bar opens its editor, the bar's window rebuilt by the OK before
    // included; a web page is added through "Add >>" and the editor ended with `button`.
    auto addWebPage = [&](int button) {
        HWND bar = barBesideTheNextMenu();
        ASSERT_NE(nullptr, bar);
        const std::vector<HWND> buttons = BarButtons(bar);
        RECT first = WindowRect(buttons.front());
        RightClick((first.left + first.right) / 2, (first.top + first.bottom) / 2);
        HWND editor = ProgramWindow(orvale, "Bar Properties");
        ASSERT_NE(nullptr, editor);
        EXPECT_EQ(buttons.size(), static_cast<size_t>(Rows(editor))) << "the editor of that bar";
        EXPECT_TRUE(orvale.VisibleBars().empty()) << "the bars go while the editor is open";
        ClickCentre(GetDlgItem(editor, IDC_BAR_ADD));
        HWND menu = ProgramMenu(orvale);
        ASSERT_NE(nullptr, menu);
        PickEntry(menu, 2);  // Web Page
        HWND page = ProgramWindow(orvale, "Open Web Page Properties");
        ASSERT_NE(nullptr, page);
        SetDlgItemTextW(page, IDC_ITEM_PTH, L"example.com/start");
        SetDlgItemTextW(page, IDC_ITEM_TT, L"Example site");
        ClickCentre(GetDlgItem(page, IDOK));
        ASSERT_TRUE(Gone(page));
        EXPECT_TRUE(WaitUntil([&] { return Rows(editor) == static_cast<int>(buttons.size()) + 1; }))
            << "a row for the page";
        ClickCentre(GetDlgItem(editor, button));
        ASSERT_TRUE(Gone(editor));
        if (button != IDOK) return;
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(bar); })) << "the bar is built afresh";
        EXPECT_TRUE(WaitUntil([&] { return orvale.BarWindows().size() == 2; }))
            << "the task bar and the new bar";
    };

    addWebPage(IDOK);
    HWND bar = barBesideTheNextMenu();
    ASSERT_NE(nullptr, bar);
    std::vector<HWND> buttons = BarButtons(bar);
    ASSERT_EQ(3u, buttons.size()) << "one more button";
    EXPECT_EQ("Example site", TitleOf(buttons[2])) << "its tooltip";
    EXPECT_EQ("www:", orvale.Setting("menu+:01:02", "dir"));
    EXPECT_EQ("example.com/start", orvale.Setting("menu+:01:02", "pth"));
    const std::string saved = ReadFile(orvale.SettingsFile());

    addWebPage(IDCANCEL);
    bar = barBesideTheNextMenu();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(3u, BarButtons(bar).size()) << "Cancel keeps the bar";
    EXPECT_EQ(saved, ReadFile(orvale.SettingsFile())) << "and the file";
}

TEST_F(BarEditorTest, TheSettingsWindowOpensTheEditorOfTheSelectedBarAndOfTheTaskBar) {
    HWND settings = ShowSettings(orvale);
    ASSERT_NE(nullptr, settings);
    // The second global bar by a double click on its row, the first by its button.
    HWND list = GetDlgItem(settings, IDC_GLOBAL_BARS);
    ClickItem(list, LB_GETITEMRECT, 1);
    ClickItem(list, LB_GETITEMRECT, 1);
    HWND editor = ProgramWindow(orvale, "Bar Properties");
    ASSERT_NE(nullptr, editor);
    wchar_t name[64] = {};
    GetDlgItemTextW(editor, IDC_BAR_NAME, name, 64);
    EXPECT_STREQ(L"Spare", name);
    ClickCentre(GetDlgItem(editor, IDCANCEL));
    ASSERT_TRUE(Gone(editor));

    ClickItem(list, LB_GETITEMRECT, 0);
    ClickCentre(GetDlgItem(settings, IDC_GLOBAL_SETTINGS));
    editor = ProgramWindow(orvale, "Bar Properties");
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(2, Rows(editor)) << "bar 1";
    ClickCentre(GetDlgItem(editor, IDCANCEL));
    ASSERT_TRUE(Gone(editor));

    // The task bar: its orientation is saved at once.
    ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, 2);
    ClickCentre(GetDlgItem(settings, IDC_TASKBAR_SETTINGS));
    HWND taskBar = ProgramWindow(orvale, "TaskBar");
    ASSERT_NE(nullptr, taskBar);
    HWND horizontal = GetDlgItem(taskBar, IDC_BAR_HORIZONTAL);
    const auto checked = [&] { return SendMessageW(horizontal, BM_GETCHECK, 0, 0) == BST_CHECKED; };
    ClickCentre(horizontal);
    ASSERT_TRUE(WaitUntil(checked, 3000)) << "one click ticks the box";
    ClickCentre(GetDlgItem(taskBar, IDOK));
    ASSERT_TRUE(Gone(taskBar));
    EXPECT_TRUE(WaitUntil([&] { return orvale.Setting("TaskBar+", "horiz") == "1"; }));
}

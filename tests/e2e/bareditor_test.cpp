// The ways into the bar editor in the real program, a right press on a bar and the settings
// window; what a confirmed or cancelled editor leaves on the bar and in the file; the editor
// from a bar with the keyboard, and the only bar editor while it is open.
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

// The test application where its menu, and the bar above it, stay clear of the editor in the
// middle of the screen: the release of a press on the bar falls on whatever is under the
// pointer then, the bar or the application beneath it.
const char* kBesideTheEditor = "--pos 20 300 300 250";

// The program's dialogs with this caption: a closed one is destroyed.
size_t Dialogs(Orvale& orvale, const char* caption) {
    return TopLevelWindows(orvale.Proc().Id(), "#32770", caption).size();
}

// The bar editor as a user opens it: one right press on the bar past its last button, while the
// other program's menu is still open.
HWND EditorFromTheBar(Orvale& orvale, TestApp& app) {
    if (!OpenContextMenu(app) ||
        !WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000)) {
        return nullptr;
    }
    const RECT bar = WindowRect(orvale.VisibleBars().front());
    RightClick(bar.right - 6, (bar.top + bar.bottom) / 2);
    HWND editor = nullptr;
    const bool foreground = WaitUntil([&] {
        editor = GetForegroundWindow();
        return TitleOf(editor) == "Bar Properties" && IsWindowVisible(editor);
    });
    return foreground ? editor : nullptr;
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
        EXPECT_EQ(buttons.size(), BarEditorRows(editor)) << "the editor of that bar";
        EXPECT_TRUE(WaitUntil([&] { return orvale.VisibleBars().empty(); }))
            << "the bars go once the press that opened the editor is over";
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
        EXPECT_TRUE(WaitUntil([&] { return BarEditorRows(editor) == buttons.size() + 1; }))
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
    EXPECT_EQ(2u, BarEditorRows(editor)) << "bar 1";
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

TEST_F(BarEditorTest, FromABarItHasTheKeyboardAndTheFirstClickAndStaysTheOnlyBarEditor) {
    TestApp app("Editor Target", kBesideTheEditor);
    ASSERT_TRUE(app.Started());
    HWND editor = EditorFromTheBar(orvale, app);
    ASSERT_NE(nullptr, editor);
    // Typed as soon as its caption shows it active; the first field's text is all selected.
    ASSERT_TRUE(TypeOnKeyboard("Renamed"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(editor, IDC_BAR_NAME) == L"Renamed"; }));
    EXPECT_EQ(L"", app.TypedText()) << "nothing for the program the user was in";
    ClickCentre(GetDlgItem(editor, IDC_BAR_ADD));
    EXPECT_NE(nullptr, ProgramMenu(orvale, 2000)) << "the first click opens the menu";
    CloseMenus();

    // The settings window stays usable; its task bar "Settings" asks for another bar's editor.
    HWND settings = ShowSettings(orvale);
    ASSERT_NE(nullptr, settings);
    ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, 2);
    ClickCentre(GetDlgItem(settings, IDC_TASKBAR_SETTINGS));
    EXPECT_EQ(editor, ProgramWindow(orvale, "Bar Properties")) << "the open one, in front";
    EXPECT_EQ(1u, Dialogs(orvale, "Bar Properties") + Dialogs(orvale, "TaskBar"));
    ASSERT_NE(nullptr, OpenContextMenu(app));
    EXPECT_FALSE(WaitUntil([&] { return !orvale.VisibleBars().empty(); }, 1500))
        << "no bar to press for a second editor meanwhile";
    CloseMenus();
    ClickCentre(GetDlgItem(editor, IDCANCEL));
    ASSERT_TRUE(Gone(editor));
    ASSERT_NE(nullptr, OpenContextMenu(app));
    EXPECT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000))
        << "back beside the next menu";
}

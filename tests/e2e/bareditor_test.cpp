// The ways into the bar editor in the real program: a right press on a bar, the settings
// window's "Settings" buttons and double clicks, and what a confirmed editor leaves behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

const char* kTwoBars =
    "[TaskBar+]\r\nen=0\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=106\r\n[menu+:01:02]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=0\r\nhoriz=0\r\nname=Spare\r\n";

class BarEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale.WriteSettings(kTwoBars);
        ASSERT_TRUE(orvale.Start());
    }
    void TearDown() override { CloseMenus(); }

    // The program's dialog with this caption, once it is on screen.
    HWND Dialog(const char* caption) {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == orvale.Proc().Id() && IsWindowVisible(w) && TitleOf(w) == caption) {
                    found = w;
                    return true;
                }
            }
            found = nullptr;
            return false;
        });
        return found;
    }
    bool Gone(HWND dialog) {
        return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    }
    // Opens the test application's menu and right-clicks the bar's first button.
    HWND RightPressOnTheBar(TestApp& app) {
        if (!OpenContextMenu(app)) return nullptr;
        if (!WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000)) return nullptr;
        HWND bar = orvale.VisibleBars().front();
        RECT button = WindowRect(BarButtons(bar).front());
        RightClick((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        return bar;
    }

    Orvale orvale;
};

// Picks entry `entry` (separators not counted) of the program's popup menu now on screen.
bool PickFromMenu(DWORD pid, int entry) {
    HWND menu = nullptr;
    if (!WaitUntil([&] {
            menu = VisibleMenu();
            DWORD owner = 0;
            if (menu) GetWindowThreadProcessId(menu, &owner);
            return menu && owner == pid;
        })) {
        return false;
    }
    for (int i = 0; i <= entry; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return WaitUntil([&] { return !IsWindowVisible(menu); });
}

int Rows(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_BAR_ITEMS);
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

}  // namespace

TEST_F(BarEditorTest, ARightPressOnABarOpensItsEditorAndOkRebuildsTheBarForTheNextPress) {
    TestApp app("Editor Target");
    ASSERT_TRUE(app.Started());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        HWND bar = RightPressOnTheBar(app);
        ASSERT_NE(nullptr, bar);
        HWND editor = Dialog("Bar Properties");
        ASSERT_NE(nullptr, editor);
        EXPECT_EQ(2, Rows(editor));
        EXPECT_TRUE(orvale.VisibleBars().empty()) << "the bars go while the editor is open";
        ClickCentre(GetDlgItem(editor, IDOK));
        ASSERT_TRUE(Gone(editor));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(bar); })) << "the bar is built afresh";
        EXPECT_TRUE(WaitUntil([&] { return orvale.BarWindows().size() == 2; }))
            << "the task bar and the new bar";
    }
}

TEST_F(BarEditorTest, TheSettingsWindowOpensTheEditorOfTheSelectedBarAndOfTheTaskBar) {
    HWND settings = orvale.SettingsWindow();
    PostMessageW(settings, WM_COMMAND, IDM_TRAY_SETTINGS, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(settings) && !IsIconic(settings); }));

    // The second global bar by a double click on its row, the first by its button.
    HWND list = GetDlgItem(settings, IDC_GLOBAL_BARS);
    RECT second = ItemRectOf(list, LB_GETITEMRECT, 1);
    const int x = (second.left + second.right) / 2, y = (second.top + second.bottom) / 2;
    LeftClick(x, y);
    LeftClick(x, y);
    HWND editor = Dialog("Bar Properties");
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(0, Rows(editor)) << "bar 2 has no items";
    wchar_t name[64] = {};
    GetDlgItemTextW(editor, IDC_BAR_NAME, name, 64);
    EXPECT_STREQ(L"Spare", name);
    ClickCentre(GetDlgItem(editor, IDCANCEL));
    ASSERT_TRUE(Gone(editor));

    ClickItem(list, LB_GETITEMRECT, 0);
    ClickCentre(GetDlgItem(settings, IDC_GLOBAL_SETTINGS));
    editor = Dialog("Bar Properties");
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(2, Rows(editor));
    ClickCentre(GetDlgItem(editor, IDCANCEL));
    ASSERT_TRUE(Gone(editor));

    // The task bar: its orientation is saved at once.
    ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, 2);
    ClickCentre(GetDlgItem(settings, IDC_TASKBAR_SETTINGS));
    HWND taskBar = Dialog("TaskBar");
    ASSERT_NE(nullptr, taskBar);
    ClickCentre(GetDlgItem(taskBar, IDC_BAR_HORIZONTAL));
    ClickCentre(GetDlgItem(taskBar, IDOK));
    ASSERT_TRUE(Gone(taskBar));
    EXPECT_TRUE(WaitUntil([&] { return orvale.Setting("TaskBar+", "horiz") == "1"; }));
}

TEST_F(BarEditorTest, AWebPageAddedThroughAddIsOnTheBarAndInTheFileAndCancelKeepsBoth) {
    TestApp app("Editor Target");
    ASSERT_TRUE(app.Started());
    // Adds a web page through "Add >>" and ends the bar editor with `button`.
    auto addWebPage = [&](int button) {
        ASSERT_NE(nullptr, RightPressOnTheBar(app));
        HWND editor = Dialog("Bar Properties");
        ASSERT_NE(nullptr, editor);
        const int rows = Rows(editor);
        ClickCentre(GetDlgItem(editor, IDC_BAR_ADD));
        ASSERT_TRUE(PickFromMenu(orvale.Proc().Id(), 2));  // Web Page
        HWND page = Dialog("Open Web Page Properties");
        ASSERT_NE(nullptr, page);
        SetDlgItemTextW(page, IDC_ITEM_PTH, L"example.com/start");
        SetDlgItemTextW(page, IDC_ITEM_TT, L"Example site");
        ClickCentre(GetDlgItem(page, IDOK));
        ASSERT_TRUE(Gone(page));
        EXPECT_TRUE(WaitUntil([&] { return Rows(editor) == rows + 1; })) << "a row for the page";
        ClickCentre(GetDlgItem(editor, button));
        ASSERT_TRUE(Gone(editor));
    };
    auto buttonsBesideTheNextMenu = [&] {
        CloseMenus();
        if (!OpenContextMenu(app) ||
            !WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000)) {
            return std::vector<HWND>();
        }
        std::vector<HWND> buttons = BarButtons(orvale.VisibleBars().front());
        CloseMenus();
        return buttons;
    };

    addWebPage(IDOK);
    std::vector<HWND> buttons = buttonsBesideTheNextMenu();
    ASSERT_EQ(3u, buttons.size()) << "one more button";
    EXPECT_EQ("Example site", TitleOf(buttons[2])) << "its tooltip";
    EXPECT_EQ("www:", orvale.Setting("menu+:01:02", "dir"));
    EXPECT_EQ("example.com/start", orvale.Setting("menu+:01:02", "pth"));
    const std::string saved = ReadFile(orvale.SettingsFile());

    addWebPage(IDCANCEL);
    EXPECT_EQ(3u, buttonsBesideTheNextMenu().size()) << "Cancel keeps the bar";
    EXPECT_EQ(saved, ReadFile(orvale.SettingsFile())) << "and the file";
}

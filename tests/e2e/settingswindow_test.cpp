// The settings window of the real program, used as a user uses it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

// Shows the settings window as the tray's "Settings..." does and waits until it is up and
// restored (a restore that a busy desktop lost is asked for again).
HWND ShowSettings(Orvale& orvale) {
    HWND settings = orvale.SettingsWindow();
    PostMessageA(settings, WM_COMMAND, IDM_TRAY_SETTINGS, 0);
    DWORD lastAsk = GetTickCount();
    WaitUntil([&] {
        RECT client = {};
        GetClientRect(settings, &client);
        // Restored, not just no longer marked minimised: the restore takes more than one step.
        if (IsWindowVisible(settings) && !IsIconic(settings) && client.right > 100) return true;
        if (GetTickCount() - lastAsk > 1000) {
            PostMessageA(settings, WM_COMMAND, IDM_TRAY_SETTINGS, 0);
            lastAsk = GetTickCount();
        }
        return false;
    }, 10000);
    return settings;
}

}  // namespace

TEST(SettingsWindow, AClickOnEachTabShowsItsControlsAndDescription) {
    Orvale orvale;
    orvale.WriteSettings("[options]\r\nx=100\r\ny=100\r\n");
    ASSERT_TRUE(orvale.Start());
    HWND settings = ShowSettings(orvale);
    ASSERT_TRUE(IsWindowVisible(settings));
    HWND tabs = GetDlgItem(settings, IDC_TABS);

    const struct {
        int tab;
        std::vector<int> shown;
        const char* description;
    } cases[] = {
        {1, {IDC_CONTEXT_BARS, IDC_CONTEXT_SETTINGS, IDC_CONTEXT_LIST_BUTTON},
         "Context menu bar appears next to context menu only in windows defined under "
         "\"Context\" button."},
        {2, {IDC_TASKBAR_ENABLE, IDC_TASKBAR_SETTINGS},
         "Menu TaskBar allows you to switch applications without necessity to move mouse."},
        {0, {IDC_GLOBAL_BARS, IDC_GLOBAL_SETTINGS},
         "Global menu bar appears next to context menu in all applications."},
    };
    const int tabControls[] = {IDC_GLOBAL_BARS, IDC_GLOBAL_SETTINGS, IDC_CONTEXT_BARS,
                               IDC_CONTEXT_SETTINGS, IDC_CONTEXT_LIST_BUTTON,
                               IDC_TASKBAR_ENABLE, IDC_TASKBAR_SETTINGS};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        ClickItem(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(c.tab));
        HWND description = GetDlgItem(settings, IDC_TAB_DESCRIPTION);
        EXPECT_TRUE(WaitUntil([&] { return TitleOf(description) == c.description; }));
        for (int id : tabControls) {
            bool wanted = std::find(c.shown.begin(), c.shown.end(), id) != c.shown.end();
            EXPECT_EQ(wanted, IsWindowVisible(GetDlgItem(settings, id)) != FALSE) << id;
        }
    }
}

namespace {

const char* kTwoGlobalBars =
    "[options]\r\nx=60\r\ny=60\r\n[TaskBar+]\r\nen=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=106\r\n[menu+:01:02]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=0\r\nhoriz=0\r\nname=Spare\r\n";

// What the notification area sends the program for a press on its icon.
void PressTrayIcon(HWND settings, UINT mouseMessage) {
    PostMessageW(settings, ORVALE_TRAY_MESSAGE, ORVALE_TRAY_ID, mouseMessage);
}

// The program's own popup menu on screen (the tray menu), or null.
HWND ProgramMenu(Orvale& orvale) {
    HWND menu = VisibleMenu();
    DWORD pid = 0;
    if (menu) GetWindowThreadProcessId(menu, &pid);
    return menu && pid == orvale.Proc().Id() ? menu : nullptr;
}

std::wstring ListRow(HWND list, int row) {
    wchar_t text[256] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    return text;
}

// The bar windows of bar 1 (five pixels wide per button are enough to tell them apart).
size_t BarsWithButtons(const Orvale& orvale, size_t buttons) {
    size_t found = 0;
    for (HWND bar : orvale.BarWindows()) found += BarButtons(bar).size() == buttons;
    return found;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale.WriteSettings(kTwoGlobalBars);
        ASSERT_TRUE(orvale.Start());
        settings = orvale.SettingsWindow();
    }
    void TearDown() override { CloseMenus(); }
    Orvale orvale;
    HWND settings = nullptr;
};

}  // namespace

TEST_F(SettingsWindowTest, EveryControlLiesInsideTheWindowAndTheRowsReadAsNumberedNames) {
    ShowSettings(orvale);
    ASSERT_TRUE(IsWindowVisible(settings) && !IsIconic(settings));
    RECT client = {};
    GetClientRect(settings, &client);
    MapWindowPoints(settings, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (HWND c = GetWindow(settings, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id == IDC_GLOBAL_ENABLE || id == IDC_TITLE_ANCHOR) continue;  // never shown
        RECT r = WindowRect(c);
        EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << "control " << id << " reaches " << r.right - client.right << " px right and "
            << r.bottom - client.bottom << " px below the client area";
    }
    HWND list = GetDlgItem(settings, IDC_GLOBAL_BARS);
    EXPECT_EQ(L"  1. Tools", ListRow(list, 0));
    EXPECT_EQ(L"  2. Spare", ListRow(list, 1));
    EXPECT_EQ(L"  3. ", ListRow(list, 2));
    EXPECT_EQ(L" 29. ", ListRow(GetDlgItem(settings, IDC_CONTEXT_BARS), 28));
}

TEST_F(SettingsWindowTest, ApplyAndCloseFollowTheChecksAndExitSaves) {
    ShowSettings(orvale);
    HWND list = GetDlgItem(settings, IDC_GLOBAL_BARS);
    auto toggleRow = [&](int row) {
        RECT r = ItemRectOf(list, LB_GETITEMRECT, static_cast<WPARAM>(row));
        LeftClick(r.left + 6, (r.top + r.bottom) / 2);  // on its check box
    };
    ASSERT_EQ(1u, BarsWithButtons(orvale, 2));
    toggleRow(0);
    ClickCentre(GetDlgItem(settings, IDC_APPLY));
    EXPECT_TRUE(WaitUntil([&] { return BarsWithButtons(orvale, 2) == 0; })) << "bar 1 removed";
    toggleRow(0);
    toggleRow(1);
    ClickCentre(GetDlgItem(settings, IDCANCEL));  // "Close" applies too
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(settings); }));
    EXPECT_TRUE(WaitUntil([&] { return BarsWithButtons(orvale, 2) == 1; }))
        << "bar 1 recreated with its items";
    EXPECT_EQ(3u, orvale.BarWindows().size()) << "the task bar, bar 1 and the empty bar 2";

    ShowSettings(orvale);
    ClickCentre(GetDlgItem(settings, IDC_EXIT));
    ASSERT_TRUE(orvale.Proc().WaitForExit(5000));
    EXPECT_EQ("1", orvale.Setting("Menu+01", "en"));
    EXPECT_EQ("1", orvale.Setting("Menu+02", "en"));
}

TEST_F(SettingsWindowTest, ARightThenLeftPressOnTheTrayIconOpensTheWindowAndNoMenu) {
    PressTrayIcon(settings, WM_RBUTTONDOWN);
    PressTrayIcon(settings, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(settings) && !IsIconic(settings); }));
    EXPECT_FALSE(WaitUntil([&] { return ProgramMenu(orvale) != nullptr; }, 500)) << "no menu";
}

TEST_F(SettingsWindowTest, EnableFromTheTrayMenuOrTheWindowMenuStopsAndStartsTheBars) {
    TestApp app("Enable Target");
    ASSERT_TRUE(app.Started());
    auto barsBesideAMenu = [&] {
        if (!OpenContextMenu(app)) return false;
        bool shown = WaitUntil([&] { return !orvale.VisibleBars().empty(); }, 1500);
        CloseMenus();
        MoveMouse(900, 100);
        WaitUntil([&] { return orvale.VisibleBars().empty(); });
        return shown;
    };
    ASSERT_TRUE(barsBesideAMenu());
    PostMessageW(settings, WM_COMMAND, IDM_ENABLE, 0);  // the tray menu's "Enable"
    EXPECT_FALSE(barsBesideAMenu()) << "no bars while disabled";

    ShowSettings(orvale);
    // Tools > Enable, as Alt+T and E give it.
    PostMessageW(settings, WM_SYSCOMMAND, SC_KEYMENU, L't');
    HWND tools = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tools = ProgramMenu(orvale)) != nullptr; }));
    PostMessageW(tools, WM_CHAR, L'e', 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(tools); }));
    ClickCentre(GetDlgItem(settings, IDCANCEL));
    EXPECT_TRUE(barsBesideAMenu()) << "enabled again";
}

TEST_F(SettingsWindowTest, TheWindowMenuShowsTheAboutBoxAndExits) {
    ShowSettings(orvale);
    // Opens a popup of the window menu by its underlined letter and picks an entry by its own,
    // as Alt and the letters do.
    auto choose = [&](wchar_t popup, wchar_t entry) {
        PostMessageW(settings, WM_SYSCOMMAND, SC_KEYMENU, popup);
        HWND opened = nullptr;
        if (!WaitUntil([&] { return (opened = ProgramMenu(orvale)) != nullptr; })) return false;
        PostMessageW(opened, WM_CHAR, entry, 0);
        return WaitUntil([&] { return !IsWindowVisible(opened); });
    };
    ASSERT_TRUE(choose(L'h', L'a'));  // Help > About Orvale
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        about = FindWindowW(L"#32770", L"About Orvale");
        return about && IsWindowVisible(about);
    }));
    bool versionShown = false;
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        versionShown |= TitleOf(c).rfind("Orvale version ", 0) == 0;
    }
    EXPECT_TRUE(versionShown);
    ClickCentre(GetDlgItem(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    ASSERT_TRUE(choose(L'f', L'x'));  // File > Exit
    EXPECT_TRUE(orvale.Proc().WaitForExit(5000));
    EXPECT_EQ("Tools", orvale.Setting("Menu+01", "name")) << "saved";
}

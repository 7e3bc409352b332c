// The settings window of the real program, used as a user uses it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <functional>
#include <set>

#include "DialogDriver.h"
#include "Harness.h"
#include "actions/ShellLink.h"
#include "actions/StartWithWindows.h"
#include "resources/resource.h"
#include "win/Text.h"

using namespace testing_support;

namespace {

const char* kTwoGlobalBars =
    "[options]\r\nx=60\r\ny=60\r\n[TaskBar+]\r\nen=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=106\r\n[menu+:01:02]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=0\r\nhoriz=0\r\nname=Spare\r\n";

// The bar windows with this many buttons (bar 1 has two, the others none).
size_t BarsWithButtons(const Orvale& orvale, size_t buttons) {
    size_t found = 0;
    for (HWND bar : orvale.BarWindows()) found += BarButtons(bar).size() == buttons;
    return found;
}

// Which entries of a menu on screen show a check mark, in order (separators not counted): an
// entry is a band of rows holding its text, and its mark is drawn in the strip left of the
// text, where nothing else is. Text and marks stand out from the row's background, which is
// another colour on the entry under the selection. Asked once the menu is painted: its text
// is on screen and the same at two looks in a row.
std::vector<bool> CheckMarks(HWND menu) {
    const RECT r = WindowRect(menu);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int strip = GetSystemMetrics(SM_CXMENUCHECK);
    std::vector<bool> marks, marksBefore;
    WaitUntil([&] {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        marksBefore = marks;
        marks.clear();
        int entryEnd = -100;  // the last row of text seen
        bool marked = false;
        // Inside the menu's frame; the strip is as wide as a check mark.
        for (int y = 3; y < height - 3; ++y) {
            int text = 0, mark = 0;
            const COLORREF background = GetPixel(dc, 3, y);
            for (int x = 4; x < width - 3; ++x) {
                const COLORREF c = GetPixel(dc, x, y);
                const int apart = std::abs(GetRValue(c) - GetRValue(background)) +
                                  std::abs(GetGValue(c) - GetGValue(background)) +
                                  std::abs(GetBValue(c) - GetBValue(background));
                if (apart > 192) ++(x < 3 + strip ? mark : text);
            }
            // A separator's line crosses the whole menu: it is no entry.
            if (text + mark > (width - 7) * 3 / 4) continue;
            if (text) {
                // A gap of a few rows lies inside a line of text; a wider one between entries.
                if (y - entryEnd > 4) {
                    if (!marks.empty()) marks.back() = marked;
                    marks.push_back(false);
                    marked = false;
                }
                entryEnd = y;
            }
            if (text) marked |= mark > 0;
        }
        if (!marks.empty()) marks.back() = marked;
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return !marks.empty() && marks == marksBefore;
    }, 2000);
    return marks;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvale.WriteSettings(kTwoGlobalBars);
        ASSERT_TRUE(orvale.Start());
        settings = orvale.SettingsWindow();
    }
    void TearDown() override { CloseMenus(); }

    // Opens the tray menu as a right press on the icon does; null when it does not show.
    HWND OpenTrayMenu() {
        PostMessageW(settings, ORVALE_TRAY_MESSAGE, ORVALE_TRAY_ID, WM_RBUTTONDOWN);
        return ProgramMenu(orvale);
    }

    // Opens a popup of the window menu by its underlined letter and picks an entry by its own,
    // as Alt and the letters do.
    bool ChooseFromWindowMenu(wchar_t popup, wchar_t entry) {
        PostMessageW(settings, WM_SYSCOMMAND, SC_KEYMENU, popup);
        HWND menu = ProgramMenu(orvale);
        if (!menu) return false;
        PostMessageW(menu, WM_CHAR, entry, 0);
        return WaitUntil([&] { return !IsWindowVisible(menu); });
    }

    Orvale orvale;
    HWND settings = nullptr;
};

}  // namespace

TEST_F(SettingsWindowTest, TheWholeWindowShowsWithNumberedRowsAndEachTabShowsItsOwnControls) {
    ASSERT_NE(nullptr, ShowSettings(orvale));
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
    EXPECT_EQ((std::vector<std::wstring>{L"  1. Tools", L"  2. Spare", L"  3. "}),
              ListRows(GetDlgItem(settings, IDC_GLOBAL_BARS)));
    EXPECT_EQ(L" 29. ", ListRows(GetDlgItem(settings, IDC_CONTEXT_BARS)).back());

    // A click on a tab shows its controls alone, and its description.
    const std::vector<int> pages[] = {
        {IDC_GLOBAL_BARS, IDC_GLOBAL_SETTINGS},
        {IDC_CONTEXT_BARS, IDC_CONTEXT_SETTINGS, IDC_CONTEXT_LIST_BUTTON},
        {IDC_TASKBAR_ENABLE, IDC_TASKBAR_SETTINGS}};
    const char* const subjects[] = {"Global menu bar ", "Context menu bar ", "Menu TaskBar "};
    for (int tab : {1, 2, 0}) {
        SCOPED_TRACE(tab);
        ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, static_cast<WPARAM>(tab));
        EXPECT_TRUE(WaitUntil([&] {
            return TitleOf(GetDlgItem(settings, IDC_TAB_DESCRIPTION)).rfind(subjects[tab], 0) == 0;
        }));
        for (int page = 0; page < 3; ++page) {
            for (int id : pages[page]) {
                EXPECT_EQ(page == tab, IsWindowVisible(GetDlgItem(settings, id)) != FALSE) << id;
            }
        }
    }
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

    // The context list's checks and the task bar's box are applied as the global list's are.
    ShowSettings(orvale);
    ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, 1);
    RECT row = ItemRectOf(GetDlgItem(settings, IDC_CONTEXT_BARS), LB_GETITEMRECT, 0);
    LeftClick(row.left + 6, (row.top + row.bottom) / 2);
    ClickCentre(GetDlgItem(settings, IDC_APPLY));
    EXPECT_TRUE(WaitUntil([&] { return orvale.BarWindows().size() == 4; })) << "bar 4 made";
    ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, 2);
    ClickCentre(GetDlgItem(settings, IDC_TASKBAR_ENABLE));
    ClickCentre(GetDlgItem(settings, IDCANCEL));
    {
        TestApp app("Settings Target");
        ASSERT_NE(nullptr, OpenContextMenu(app));
        EXPECT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 3; }, 3000))
            << "the task bar beside bars 1 and 2 (bar 4's list matches no window)";
        CloseMenus();
    }

    ShowSettings(orvale);
    ClickCentre(GetDlgItem(settings, IDC_EXIT));
    ASSERT_TRUE(orvale.Proc().WaitForExit(5000));
    EXPECT_EQ("1", orvale.Setting("Menu+01", "en"));
    EXPECT_EQ("1", orvale.Setting("Menu+02", "en"));
    EXPECT_EQ("1", orvale.Setting("Menu+04", "en"));
    EXPECT_EQ("1", orvale.Setting("TaskBar+", "en"));
}

TEST_F(SettingsWindowTest, ARightThenLeftPressOnTheTrayIconOpensTheWindowAndNoMenu) {
    // What the notification area sends the program for presses on its icon.
    PostMessageW(settings, ORVALE_TRAY_MESSAGE, ORVALE_TRAY_ID, WM_RBUTTONDOWN);
    PostMessageW(settings, ORVALE_TRAY_MESSAGE, ORVALE_TRAY_ID, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(settings) && !IsIconic(settings); }));
    EXPECT_EQ(nullptr, ProgramMenu(orvale, 500)) << "no menu";
}

TEST_F(SettingsWindowTest, EnableFromTheTrayMenuOrTheWindowMenuStopsAndStartsTheBars) {
    TestApp app("Enable Target");
    ASSERT_TRUE(app.Started());
    auto barsBesideAMenu = [&] {
        const bool opened = OpenContextMenu(app) != nullptr;
        EXPECT_TRUE(opened) << "the target's menu opens, with bars or without";
        if (!opened) return false;
        bool shown = WaitUntil([&] { return !orvale.VisibleBars().empty(); }, 1500);
        CloseMenus();
        MoveMouse(900, 100);
        WaitUntil([&] { return orvale.VisibleBars().empty(); });
        return shown;
    };
    ASSERT_TRUE(barsBesideAMenu());
    HWND menu = OpenTrayMenu();
    ASSERT_NE(nullptr, menu);
    EXPECT_TRUE(CheckMarks(menu).at(1)) << "Enable checked while bars are enabled";
    PickEntry(menu, 1);  // Enable
    EXPECT_FALSE(barsBesideAMenu()) << "no bars while disabled";
    ASSERT_NE(nullptr, menu = OpenTrayMenu());
    EXPECT_FALSE(CheckMarks(menu).at(1)) << "Enable unchecked while bars are disabled";
    CloseMenus();

    // The window's own copy of the flag follows the toggle: closing it keeps bars disabled.
    ASSERT_NE(nullptr, ShowSettings(orvale));
    ClickCentre(GetDlgItem(settings, IDCANCEL));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(settings); })) << "closed";
    EXPECT_FALSE(barsBesideAMenu()) << "still disabled after Close";
    ASSERT_NE(nullptr, ShowSettings(orvale));
    ASSERT_TRUE(ChooseFromWindowMenu(L't', L'e'));  // Tools > Enable
    ClickCentre(GetDlgItem(settings, IDCANCEL));
    EXPECT_TRUE(barsBesideAMenu()) << "enabled again";
    ASSERT_NE(nullptr, menu = OpenTrayMenu());
    EXPECT_TRUE(CheckMarks(menu).at(1)) << "and Enable checked again";
}

TEST_F(SettingsWindowTest, AnEverydaySaveThatFailsIsToldInPlainWords) {
    ASSERT_NE(nullptr, ShowSettings(orvale));
    // Another program holds the file open and shares it with nobody.
    HANDLE lock = CreateFileA(orvale.SettingsFile().c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    // A confirmed bar editor saves the bar's items at once.
    ClickCentre(GetDlgItem(settings, IDC_GLOBAL_SETTINGS));
    HWND editor = ProgramWindow(orvale, "Bar Properties");
    ASSERT_NE(nullptr, editor);
    ClickCentre(GetDlgItem(editor, IDOK));
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        return !MessageBoxText(orvale.Proc().Id(), &box, "could not save").empty();
    })) << "the user is told";
    CloseHandle(lock);
    if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SettingsWindowTest, TheTrayIconComesBackWhenTheTaskbarIsMadeAgain) {
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = settings;
    icon.uID = ORVALE_TRAY_ID;
    // Changing nothing of an icon succeeds exactly when the notification area holds it.
    auto iconShown = [&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; };
    ASSERT_TRUE(iconShown());
    // As when the taskbar's program ends: the icon is gone, then the new taskbar says so.
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_FALSE(iconShown());
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil(iconShown, 3000)) << "added again";
}

TEST_F(SettingsWindowTest, TheWindowMenuShowsTheAboutBoxAndExits) {
    ShowSettings(orvale);
    ASSERT_TRUE(ChooseFromWindowMenu(L'h', L'a'));  // Help > About Orvale
    HWND about = ProgramWindow(orvale, "About Orvale");
    ASSERT_NE(nullptr, about);
    bool versionShown = false;
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        versionShown |= TitleOf(c).rfind("Orvale version ", 0) == 0;
    }
    EXPECT_TRUE(versionShown);
    ClickCentre(GetDlgItem(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    ASSERT_TRUE(ChooseFromWindowMenu(L'f', L'x'));  // File > Exit
    EXPECT_TRUE(orvale.Proc().WaitForExit(5000));
    EXPECT_EQ("Tools", orvale.Setting("Menu+01", "name")) << "saved";
}

namespace {

// The names of the shortcuts in `folder`.
std::set<std::string> ShortcutNames(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.lnk").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(entry.cFileName); while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// The Startup folder's shortcuts as they were, put back at the end.
class StartupFolderKept {
public:
    StartupFolderKept()
        : folder_(win::Narrow(orvale::StartupFolder(true))), before_(ShortcutNames(folder_)) {}
    ~StartupFolderKept() {
        for (const std::string& name : ShortcutNames(folder_)) {
            if (!before_.count(name)) DeleteFileA((folder_ + "\\" + name).c_str());
        }
    }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
    std::set<std::string> before_;
};

}  // namespace

TEST_F(SettingsWindowTest, StartWithWindowsPutsAShortcutToThisCopyInTheStartupFolderAndTakesItAway) {
    StartupFolderKept kept;
    const std::string folder = kept.Folder();
    ASSERT_FALSE(folder.empty());
    const std::string copy = orvale.Folder().File("orvale.exe");
    // Another copy's shortcut already has the plain name; it is left as it is throughout.
    const std::string otherCopy = BinDir() + "\\orvale.exe";
    ASSERT_EQ(S_OK, orvale::WriteShellLink(win::Widen(otherCopy), L"",
                                           win::Widen(folder + "\\Orvale.lnk"), L""));
    ASSERT_NE(nullptr, ShowSettings(orvale));
    auto shortcutsToThisCopy = [&] {
        std::vector<std::string> names;
        for (const std::wstring& link :
             orvale::ShortcutsTo(win::Widen(folder), win::Widen(copy))) {
            names.push_back(win::Narrow(link.substr(link.find_last_of(L'\\') + 1)));
        }
        return names;
    };
    auto fromTray = [&] { PickEntry(OpenTrayMenu(), 2); };
    auto fromTools = [&] { ASSERT_TRUE(ChooseFromWindowMenu(L't', L's')); };
    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> shortcuts;  // those to this copy, after it
    } steps[] = {
        {"at first", [] {}, {}},
        {"the tray menu's entry", fromTray, {"Orvale (2).lnk"}},
        {"the Tools menu's entry", fromTools, {}},
        {"a shortcut the user made", [&] {
             orvale::WriteShellLink(win::Widen(copy), L"", win::Widen(folder + "\\Mine.lnk"), L"");
         }, {"Mine.lnk"}},
        {"the Tools menu's entry again", fromTools, {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_TRUE(WaitUntil([&] { return shortcutsToThisCopy() == step.shortcuts; }, 3000));
        EXPECT_EQ(win::Widen(otherCopy),
                  orvale::ShortcutTarget(win::Widen(folder + "\\Orvale.lnk")))
            << "the other copy's shortcut";
        const bool starts = !step.shortcuts.empty();
        HWND menu = OpenTrayMenu();
        ASSERT_NE(nullptr, menu);
        EXPECT_EQ(starts, CheckMarks(menu).at(2)) << "the tray menu's check mark";
        CloseMenus();
        PostMessageW(settings, WM_SYSCOMMAND, SC_KEYMENU, L't');
        ASSERT_NE(nullptr, menu = ProgramMenu(orvale));
        EXPECT_EQ(starts, CheckMarks(menu).at(1)) << "the Tools menu's check mark";
        CloseMenus();
    }
}

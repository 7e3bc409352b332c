// The release package as a user meets it. package_user.sh unpacks it into an empty folder of a
// fresh Wine prefix, sends the pages the shell opens to the recorder and runs this test there:
//   ORVALE_PACKAGE_DIR  the folder the package was unpacked into
//   ORVALE_SHELL_LOG    where the recorder notes what the shell gave it
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"

using namespace testing_support;

namespace {

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The program's icon is the only one in the notification area of this fresh prefix, which
// sits at the right end of the taskbar.
POINT TrayIcon() {
    RECT taskbar = WindowRect(EnsureDesktop());
    return {taskbar.right - 10, (taskbar.top + taskbar.bottom) / 2};
}

// Entries of the tray menu counted from the top, separators left out.
constexpr int kTrayHelp = 3;
constexpr int kTrayExit = 5;

// Right-clicks the tray icon and picks an entry with the arrow keys. The keys go to the menu
// itself: its menu loop reads them whichever window has the focus.
::testing::AssertionResult ChooseFromTrayMenu(int entry) {
    // A second right press within the double-click time is a double-click, which opens no menu.
    static DWORD lastClick = GetTickCount() - GetDoubleClickTime();
    const DWORD since = GetTickCount() - lastClick;
    if (since <= GetDoubleClickTime()) PumpFor(GetDoubleClickTime() - since + 50);
    POINT icon = TrayIcon();
    RightClick(icon.x, icon.y);
    lastClick = GetTickCount();
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = VisibleMenu()) != nullptr; }, 5000)) {
        return ::testing::AssertionFailure() << "no tray menu";
    }
    for (int i = 0; i < entry; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (WaitUntil([&] { return !IsWindowVisible(menu); }, 3000)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the tray menu stays open";
}

// Right-clicks in notepad's text and waits for its context menu.
bool OpenNotepadMenu(const Process& notepad) {
    HWND window = nullptr;
    if (!WaitUntil([&] { return (window = VisibleWindowOf(notepad, "Notepad")) != nullptr; },
                   10000)) {
        return false;
    }
    SetForegroundWindow(window);
    RECT text = WindowRect(FindWindowExA(window, nullptr, "Edit", nullptr));
    RightClick((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    return WaitUntil([] { return VisibleMenu() != nullptr; }, 5000);
}

// Every bar the program built comes beside notepad's menu: the starter bars all apply there.
::testing::AssertionResult AllBarsBesideNotepad(Orvale& orvale, const Process& notepad) {
    const size_t built = orvale.BarWindows().size();
    if (!OpenNotepadMenu(notepad)) return ::testing::AssertionFailure() << "no menu in notepad";
    const bool shown = WaitUntil([&] { return orvale.VisibleBars().size() == built; }, 3000);
    const size_t seen = orvale.VisibleBars().size();
    CloseMenus();
    if (shown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << seen << " of " << built << " bars on screen";
}

}  // namespace

TEST(Package, UnpackedIntoAnEmptyFolderItShowsBarsOpensItsHelpAndKeepsItsSettings) {
    const std::string folder = FromEnvironment("ORVALE_PACKAGE_DIR");
    const std::string shellLog = FromEnvironment("ORVALE_SHELL_LOG");
    ASSERT_FALSE(folder.empty());
    ASSERT_FALSE(FileExists(folder + "\\ov32data.ini")) << "the package holds no settings file";
    Process notepad;
    ASSERT_TRUE(notepad.Start("notepad.exe"));

    size_t bars = 0;
    {
        Orvale orvale(Orvale::Installed{folder});
        ASSERT_TRUE(orvale.Start());
        // The task bar's window and one per enabled bar of the starter settings, built in turn.
        size_t enabled = 1;
        for (int n = 1; n <= 32; ++n) {
            char section[16];
            std::snprintf(section, sizeof section, "Menu+%02d", n);
            enabled += orvale.Setting(section, "en") == "1";
        }
        EXPECT_GE(enabled, 3u) << "the starter settings enable bars";
        EXPECT_TRUE(WaitUntil([&] { return orvale.BarWindows().size() == enabled; }));
        bars = orvale.BarWindows().size();
        EXPECT_TRUE(AllBarsBesideNotepad(orvale, notepad));

        // F1 in the settings window, then Help in the tray menu: the shell is given the page
        // beside the program both times. F1 comes first, while nothing the shell started can
        // have taken the activation from the settings window.
        auto pageOpened = [&](size_t times) {
            size_t count = 0;
            for (const std::string& line : ReadLines(shellLog)) {
                if (line.find("\"" + folder + "\\ovehelp.htm\"") != std::string::npos) ++count;
            }
            return count == times;
        };
        POINT icon = TrayIcon();
        LeftClick(icon.x, icon.y);
        // Restored and in front: a minimised window would take F1 as a system key.
        HWND settings = orvale.SettingsWindow();
        ASSERT_TRUE(WaitUntil([&] {
            return GetForegroundWindow() == settings && !IsIconic(settings) &&
                   IsWindowVisible(settings);
        }));
        keybd_event(VK_F1, 0, 0, 0);
        keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
        EXPECT_TRUE(WaitUntil([&] { return pageOpened(1); }, 5000)) << "F1";
        ASSERT_TRUE(ChooseFromTrayMenu(kTrayHelp));
        EXPECT_TRUE(WaitUntil([&] { return pageOpened(2); }, 5000)) << "Help";

        ASSERT_TRUE(ChooseFromTrayMenu(kTrayExit));
        ASSERT_TRUE(orvale.Proc().WaitForExit(10000)) << "Exit ends the program";
    }

    Orvale again(Orvale::Installed{folder});
    ASSERT_TRUE(again.Start());
    EXPECT_TRUE(WaitUntil([&] { return again.BarWindows().size() == bars; }))
        << "the saved settings load the same bars";
    EXPECT_TRUE(AllBarsBesideNotepad(again, notepad));
}

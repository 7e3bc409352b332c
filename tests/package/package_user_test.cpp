// The release package as a user meets it. package_user.sh unpacks it into an empty folder of a
// fresh Wine prefix, sends the pages the shell opens to the recorder and runs this test there:
//   ORVALE_PACKAGE_DIR  the folder the package was unpacked into
//   ORVALE_SHELL_LOG    where the recorder notes what the shell gave it
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "DialogDriver.h"
#include "Harness.h"
#include "MacroStandIn.h"

using namespace testing_support;

namespace {

// The program's icon is the only one in the notification area of this fresh prefix, which
// sits at the right end of the taskbar.
POINT TrayIcon() {
    RECT taskbar = WindowRect(EnsureDesktop());
    return {taskbar.right - 10, (taskbar.top + taskbar.bottom) / 2};
}

// Right-clicks the tray icon and picks entry `entry` (separators not counted) of its menu.
bool ChooseFromTrayMenu(Orvale& orvale, int entry) {
    // A second right press within the double-click time is a double-click, which opens no menu.
    static DWORD lastClick = GetTickCount() - GetDoubleClickTime();
    const DWORD since = GetTickCount() - lastClick;
    if (since <= GetDoubleClickTime()) PumpFor(GetDoubleClickTime() - since + 50);
    POINT icon = TrayIcon();
    RightClick(icon.x, icon.y);
    lastClick = GetTickCount();
    HWND menu = ProgramMenu(orvale);
    if (menu) PickEntry(menu, entry);
    return menu && WaitUntil([&] { return !IsWindowVisible(menu); }, 3000);
}

// Every bar the program built comes beside notepad's menu: the starter bars all apply there.
::testing::AssertionResult AllBarsBesideNotepad(Orvale& orvale, const Process& notepad) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = VisibleWindowOf(notepad, "Notepad")) != nullptr; }, 10000);
    SetForegroundWindow(window);
    RECT text = WindowRect(FindWindowExA(window, nullptr, "Edit", nullptr));
    RightClick((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    if (!WaitUntil([] { return VisibleMenu() != nullptr; }, 5000)) {
        return ::testing::AssertionFailure() << "no menu in notepad";
    }
    const size_t built = orvale.BarWindows().size();
    const bool shown = WaitUntil([&] { return orvale.VisibleBars().size() == built; }, 3000);
    const size_t seen = orvale.VisibleBars().size();
    CloseMenus();
    if (shown) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << seen << " of " << built << " bars on screen";
}

}  // namespace

TEST(Package, UnpackedIntoAnEmptyFolderItShowsBarsOpensItsHelpAndKeepsItsSettings) {
    const char* folderVariable = std::getenv("ORVALE_PACKAGE_DIR");
    const char* logVariable = std::getenv("ORVALE_SHELL_LOG");
    ASSERT_TRUE(folderVariable && logVariable);
    const std::string folder = folderVariable, shellLog = logVariable;
    ASSERT_FALSE(FileExists(folder + "\\ov32data.ini")) << "the package holds no settings file";
    EXPECT_TRUE(FileExists(folder + "\\ovmacro.exe")) << "the macro tool";
    EXPECT_TRUE(FileExists(folder + "\\samples.brd")) << "its sample macros";
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
        EXPECT_EQ("\"" + folder + "\\ovmacro.exe\"", ExchangeValue("path"))
            << "the macro tool beside the program is the macro tool";

        // F1 in the settings window, then Help in the tray menu: the shell is given the page
        // beside the program both times. F1 first, while nothing the shell started can have
        // taken the activation; restored, since a minimised window takes F1 as a system key.
        auto pageOpened = [&](size_t times) {
            size_t count = 0;
            for (const std::string& line : ReadLines(shellLog)) {
                count += line.find("\"" + folder + "\\ovehelp.htm\"") != std::string::npos;
            }
            return count == times;
        };
        POINT icon = TrayIcon();
        LeftClick(icon.x, icon.y);
        HWND settings = orvale.SettingsWindow();
        ASSERT_TRUE(WaitUntil([&] {
            return GetForegroundWindow() == settings && !IsIconic(settings) &&
                   IsWindowVisible(settings);
        }));
        keybd_event(VK_F1, 0, 0, 0);
        keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
        EXPECT_TRUE(WaitUntil([&] { return pageOpened(1); }, 5000)) << "F1";
        ASSERT_TRUE(ChooseFromTrayMenu(orvale, 3)) << "Help";
        EXPECT_TRUE(WaitUntil([&] { return pageOpened(2); }, 5000)) << "Help";

        ASSERT_TRUE(ChooseFromTrayMenu(orvale, 5)) << "Exit";
        ASSERT_TRUE(orvale.Proc().WaitForExit(10000)) << "Exit ends the program";
    }

    Orvale again(Orvale::Installed{folder});
    ASSERT_TRUE(again.Start());
    EXPECT_TRUE(WaitUntil([&] { return again.BarWindows().size() == bars; }))
        << "the saved settings load the same bars";
    EXPECT_TRUE(AllBarsBesideNotepad(again, notepad));
}

// The settings window of the real program, used as a user uses it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

// Shows the settings window as the tray's "Settings..." does and waits until it is up.
HWND ShowSettings(Orvale& orvale) {
    HWND settings = orvale.SettingsWindow();
    PostMessageA(settings, WM_COMMAND, IDM_TRAY_SETTINGS, 0);
    WaitUntil([&] { return IsWindowVisible(settings) && !IsIconic(settings); });
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

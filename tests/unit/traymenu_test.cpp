// The tray menu's "Enable" shows the check mark exactly while bars are enabled.
#include <gtest/gtest.h>

#include <windows.h>

#include "DialogDriver.h"
#include "Harness.h"
#include "app/TrayIcon.h"
#include "resources/resource.h"

using namespace testing_support;

TEST(TrayMenu, EnableIsCheckedExactlyWhileBarsAreEnabled) {
    EnsureDesktop();
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
    for (bool enabled : {true, false, true}) {
        UINT state = 0;
        EXPECT_TRUE(PlayDialogs({{kMenu, [&](HWND menu) {
            auto popup = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            state = GetMenuState(popup, IDM_ENABLE, MF_BYCOMMAND);
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        }}}, [&] { orvale::TrayIcon().ShowMenu(owner, enabled); }))
            << "the menu did not open";
        EXPECT_EQ(enabled, (state & MF_CHECKED) != 0) << enabled;
    }
    DestroyWindow(owner);
}

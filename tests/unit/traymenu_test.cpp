// The tray menu's "Enable" shows the check mark exactly while bars are enabled.
#include <gtest/gtest.h>

#include <windows.h>

#include "Harness.h"
#include "app/TrayIcon.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

UINT g_enableState = 0;
bool g_seen = false;

// Looks at the open tray menu from a timer its menu loop dispatches, then closes it.
void CALLBACK InspectMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = VisibleMenu();
    if (!menu) return;
    auto popup = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    g_enableState = GetMenuState(popup, IDM_ENABLE, MF_BYCOMMAND);
    g_seen = true;
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

}  // namespace

TEST(TrayMenu, EnableIsCheckedExactlyWhileBarsAreEnabled) {
    EnsureDesktop();
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
    for (bool enabled : {true, false, true}) {
        g_seen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, InspectMenu);
        orvale::TrayIcon().ShowMenu(owner, enabled);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(g_seen) << "the menu did not open";
        EXPECT_EQ(enabled, (g_enableState & MF_CHECKED) != 0) << enabled;
    }
    DestroyWindow(owner);
}

// The hook library "_ovdll.dll" on its own: installed as a global mouse hook by this test, it
// reports another program's button presses to the dialog titled "Orvale" and passes them on.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

// The command parameters the library posted to the stand-in settings window, in order.
std::vector<WPARAM> g_reports;

INT_PTR CALLBACK RecordReports(HWND, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND) g_reports.push_back(wp);
    return msg == WM_COMMAND;
}

// Where the first such report stands; the number of reports when there is none.
size_t ReportAt(WPARAM report) {
    return std::find(g_reports.begin(), g_reports.end(), report) - g_reports.begin();
}

}  // namespace

TEST(HookLibrary, ReportsAnotherProgramsClicksToTheOrvaleDialogAndPassesThemOn) {
    HMODULE library = LoadLibraryA((BinDir() + "\\_ovdll.dll").c_str());
    ASSERT_NE(nullptr, library);
    // Both entries are exported under their exact names.
    auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "OVDllMouseProc")));
    auto handOver = reinterpret_cast<int(WINAPI*)(HHOOK)>(
        reinterpret_cast<void*>(GetProcAddress(library, "dllGetHookToDLL")));
    ASSERT_TRUE(proc && handOver);

    // Any hidden dialog will do as the settings window, once it is titled "Orvale".
    HWND reportWindow = CreateDialogParamA(GetModuleHandleA(nullptr),
                                           MAKEINTRESOURCEA(IDD_WINDOW_TITLE), nullptr,
                                           RecordReports, 0);
    ASSERT_TRUE(reportWindow && SetWindowTextA(reportWindow, "Orvale"));
    ASSERT_EQ(reportWindow, FindWindowA("#32770", "Orvale"));
    TestApp app("Hook Target");
    ASSERT_TRUE(app.Started() && app.Activate());
    HHOOK hook = SetWindowsHookExA(WH_MOUSE, proc, library, 0);
    ASSERT_NE(nullptr, hook);
    handOver(hook);

    const POINT centre = app.Centre();
    RightClick(centre.x, centre.y);
    EXPECT_TRUE(WaitUntil([] { return ReportAt(WM_RBUTTONDOWN) < g_reports.size(); }))
        << "a right press arrives as command 516, notification part 0";
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("menu open"); }))
        << "the press still reaches the application";
    // The application logs just before its menu appears; close the menu once it is there.
    EXPECT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }));
    CloseMenus();
    ASSERT_EQ(nullptr, VisibleMenu());

    g_reports.clear();
    LeftClick(centre.x, centre.y);
    EXPECT_TRUE(WaitUntil([] { return ReportAt(WM_LBUTTONUP) < g_reports.size(); }));
    EXPECT_LT(ReportAt(WM_LBUTTONDOWN), ReportAt(WM_LBUTTONUP)) << "513 before 514";
    UnhookWindowsHookEx(hook);
    DestroyWindow(reportWindow);
    FreeLibrary(library);
}

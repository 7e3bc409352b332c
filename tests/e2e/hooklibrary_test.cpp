// The hook library "_ovdll.dll" on its own: installed as a global mouse hook by this test, it
// reports another program's button presses to the dialog titled "Orvale" and passes them on.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Harness.h"

using namespace testing_support;

namespace {

using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);
using HandOver = int(WINAPI*)(HHOOK);

// The command parameters the library posted to the stand-in settings window, in order.
std::vector<WPARAM> g_reports;

INT_PTR CALLBACK RecordReports(HWND, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND) {
        g_reports.push_back(wp);
        return TRUE;
    }
    return msg == WM_INITDIALOG;
}

// A hidden modeless dialog of class "#32770" titled "Orvale": where the library reports to.
HWND CreateReportWindow() {
    std::vector<WORD> words(32, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION;
    dialog->cx = 100;
    dialog->cy = 40;
    // After the fixed part (18 bytes): no menu, the standard dialog class, the caption.
    static_assert(sizeof(DLGTEMPLATE) == 18, "DLGTEMPLATE is packed");
    WORD* next = reinterpret_cast<WORD*>(dialog + 1);
    *next++ = 0;
    *next++ = 0;
    for (const char* c = "Orvale";; ++c) {
        *next++ = static_cast<WORD>(*c);
        if (!*c) break;
    }
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog, nullptr, RecordReports,
                                      0);
}

bool Reported(WPARAM report) {
    return std::find(g_reports.begin(), g_reports.end(), report) != g_reports.end();
}

// The library loaded from the build folder, its hook installed for all threads.
class HookLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        library_ = LoadLibraryA((BinDir() + "\\_ovdll.dll").c_str());
        ASSERT_NE(nullptr, library_);
    }
    void TearDown() override {
        if (hook_) UnhookWindowsHookEx(hook_);
        if (reportWindow_) DestroyWindow(reportWindow_);
        FreeLibrary(library_);
    }

    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
    HWND reportWindow_ = nullptr;
};

}  // namespace

TEST_F(HookLibraryTest, ExportsBothEntriesByTheirExactNames) {
    EXPECT_NE(nullptr, GetProcAddress(library_, "OVDllMouseProc"));
    EXPECT_NE(nullptr, GetProcAddress(library_, "dllGetHookToDLL"));
}

TEST_F(HookLibraryTest, ReportsAnotherProgramsClicksAndPassesThemOn) {
    auto proc = reinterpret_cast<HookProc>(
        reinterpret_cast<void*>(GetProcAddress(library_, "OVDllMouseProc")));
    auto handOver = reinterpret_cast<HandOver>(
        reinterpret_cast<void*>(GetProcAddress(library_, "dllGetHookToDLL")));
    ASSERT_TRUE(proc && handOver);

    reportWindow_ = CreateReportWindow();
    ASSERT_NE(nullptr, reportWindow_);
    ASSERT_EQ(reportWindow_, FindWindowA("#32770", "Orvale"));

    TestApp app("Hook Target");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());

    hook_ = SetWindowsHookExA(WH_MOUSE, proc, library_, 0);
    ASSERT_NE(nullptr, hook_);
    handOver(hook_);

    POINT centre = app.Centre();
    g_reports.clear();
    RightClick(centre.x, centre.y);
    EXPECT_TRUE(WaitUntil([] { return Reported(WM_RBUTTONDOWN); }))
        << "a right press arrives as command 516, notification part 0";
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("menu open"); }))
        << "the press still reaches the application";
    // The application logs just before its menu appears; close the menu once it is there.
    EXPECT_TRUE(WaitUntil([] { return VisibleMenu() != nullptr; }));
    CloseMenus();
    ASSERT_EQ(nullptr, VisibleMenu());

    g_reports.clear();
    LeftClick(centre.x, centre.y);
    EXPECT_TRUE(WaitUntil([] { return Reported(WM_LBUTTONDOWN) && Reported(WM_LBUTTONUP); }));
    auto down = std::find(g_reports.begin(), g_reports.end(), WPARAM{WM_LBUTTONDOWN});
    auto up = std::find(g_reports.begin(), g_reports.end(), WPARAM{WM_LBUTTONUP});
    EXPECT_LT(down, up) << "press before release";
}

// The real program at rest, with no timer to look after its windows: its hidden windows stay
// hidden whoever shows them.
#include <gtest/gtest.h>

#include "Harness.h"

using namespace testing_support;

namespace {

HWND HostFrameOf(const Process& process) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", "OV32 Frame"); w;
         w = FindWindowExA(nullptr, w, "#32770", "OV32 Frame")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process.Id()) return w;
    }
    return nullptr;
}

}  // namespace

TEST(Rest, TheProgramsHiddenWindowsHideAgainWhenAnotherProgramShowsThem) {
    Orvale orvale;
    ASSERT_TRUE(orvale.Start());
    HWND frame = HostFrameOf(orvale.Proc());
    ASSERT_NE(nullptr, frame);
    const struct {
        const char* what;
        HWND window;
    } windows[] = {{"the settings window", orvale.SettingsWindow()}, {"the host frame", frame}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.what);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(w.window); }));
        ShowWindow(w.window, SW_SHOWNOACTIVATE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(w.window); }, 2000));
    }
}

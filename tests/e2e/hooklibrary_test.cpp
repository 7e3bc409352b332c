// The hook library "_ovdll.dll": it reports presses to the settings window that the running
// Orvale published (hook/ReportTarget.h), and to nothing else, whatever another program does
// with the library's entries.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <utility>
#include <vector>

#include "Harness.h"
#include "engine/HookClient.h"
#include "hook/ReportTarget.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

// The commands a stand-in settings window received: identifier and second parameter.
using Reports = std::vector<std::pair<WPARAM, LPARAM>>;
Reports g_reports;

// Commands from the dialog's own controls (its edit box tells of focus) are no reports.
INT_PTR CALLBACK RecordReports(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_COMMAND) return FALSE;
    if (!lp || !IsChild(dialog, reinterpret_cast<HWND>(lp))) g_reports.emplace_back(wp, lp);
    return TRUE;
}

// A hidden dialog titled "Orvale", as the settings window is, that records what it gets.
HWND StandInSettingsWindow() {
    g_reports.clear();
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr),
                                     MAKEINTRESOURCEA(IDD_WINDOW_TITLE), nullptr, RecordReports, 0);
    if (window) SetWindowTextA(window, "Orvale");
    return window;
}

// The library loaded as any program may load it, with its two entries under their exact names.
struct Library {
    explicit Library(const std::string& path) : module(LoadLibraryA(path.c_str())) {
        proc = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(module, "OVDllMouseProc")));
        handOver = reinterpret_cast<int(WINAPI*)(HHOOK)>(
            reinterpret_cast<void*>(GetProcAddress(module, "dllGetHookToDLL")));
    }
    ~Library() { FreeLibrary(module); }
    HMODULE module;
    HOOKPROC proc = nullptr;
    int(WINAPI* handOver)(HHOOK) = nullptr;
};

// Whether `process` has loaded a module from `folder`: an Orvale's hook library, which the
// system loads into a program once that Orvale's hook is installed and the program is clicked.
bool LoadsFrom(HANDLE process, const std::string& folder) {
    HMODULE modules[1024];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 1024; ++i) {
        char path[MAX_PATH] = {};
        GetModuleFileNameExA(process, modules[i], path, MAX_PATH);
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path,
                           static_cast<int>(folder.size()), folder.c_str(),
                           static_cast<int>(folder.size())) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

const char* kOneBar =
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=0\r\n";

}  // namespace

TEST(HookLibrary, ReportsEachButtonMessageAsItsPressOrReleaseToThePublishedWindow) {
    Library library(BinDir() + "\\_ovdll.dll");
    ASSERT_TRUE(library.proc && library.handOver);
    HWND settings = StandInSettingsWindow();
    ASSERT_NE(nullptr, settings);
    // Made known the way the program makes its settings window known.
    win::KernelHandle published = orvale::PublishReportTarget(settings);
    ASSERT_TRUE(published);

    const struct {
        int code;
        WPARAM message;
        WPARAM reported;  // 0: none
    } cases[] = {
        {HC_ACTION, WM_LBUTTONDOWN, WM_LBUTTONDOWN},        // 513
        {HC_ACTION, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN},      // 515
        {HC_ACTION, WM_RBUTTONDOWN, WM_RBUTTONDOWN},        // 516
        {HC_ACTION, WM_RBUTTONDBLCLK, WM_RBUTTONDOWN},      // 518
        {HC_ACTION, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN},    // 161
        {HC_ACTION, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONDOWN},  // 163
        {HC_ACTION, WM_NCRBUTTONDOWN, WM_NCRBUTTONDOWN},    // 164
        {HC_ACTION, WM_NCRBUTTONDBLCLK, WM_NCRBUTTONDOWN},  // 166
        {HC_ACTION, WM_LBUTTONUP, WM_LBUTTONUP},            // 514
        {HC_ACTION, WM_NCLBUTTONUP, WM_NCLBUTTONUP},        // 162
        {HC_NOREMOVE, WM_RBUTTONDOWN, 0},  // a peek at a press still queued: reported once taken
    };
    MOUSEHOOKSTRUCT info = {};
    info.hwnd = GetDesktopWindow();  // the window pressed, named in every report
    Reports expected;
    for (const auto& c : cases) {
        library.proc(c.code, c.message, reinterpret_cast<LPARAM>(&info));
        if (c.reported) expected.emplace_back(c.reported, reinterpret_cast<LPARAM>(info.hwnd));
    }
    // Posted after them from the same thread: once it is here, every report has arrived.
    constexpr WPARAM kLast = 999;
    PostMessageA(settings, WM_COMMAND, kLast, 0);
    expected.emplace_back(kLast, 0);
    EXPECT_TRUE(WaitUntil([] { return !g_reports.empty() && g_reports.back().first == kLast; }));
    EXPECT_EQ(expected, g_reports);
    DestroyWindow(settings);
}

TEST(HookLibrary, AnotherProgramCanNeitherTakeNorSilenceTheReports) {
    // Before Orvale starts, this program makes the record, naming a dialog of its own.
    HWND impostor = StandInSettingsWindow();
    ASSERT_NE(nullptr, impostor);
    win::KernelHandle squatted = orvale::PublishReportTarget(impostor);
    ASSERT_TRUE(squatted);
    Orvale orvale;
    orvale.WriteSettings(kOneBar);
    ASSERT_TRUE(orvale.Start());
    // While the record is another program's, Orvale installs no hook: its library does not
    // come into the program clicked. (The hook of a copy that ended earlier may go on
    // reporting under Wine, and to whatever the record names: no report here proves anything.)
    TestApp app("Hook Target");
    ASSERT_NE(nullptr, OpenContextMenu(app)) << "the press still reaches the application";
    EXPECT_FALSE(LoadsFrom(app.Proc().Handle(), orvale.Folder().Path()));
    CloseMenus();
    // Once the name is free, Orvale makes the record its own (on its next retry).
    squatted.Reset();
    g_reports.clear();
    orvale::ReportTarget target;
    EXPECT_TRUE(WaitUntil([&] {
        return orvale::ReadReportTarget(orvale::OwnReportTargetName(), target) &&
               target.processId == orvale.Proc().Id();
    }));
    EXPECT_EQ(orvale.SettingsWindow(), reinterpret_cast<HWND>(target.window));
    ASSERT_NE(nullptr, OpenContextMenu(app));
    EXPECT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000));
    CloseMenus();

    // The library from Orvale's folder, handed a hook of this program's own and a press.
    Library library(orvale.Folder().File("_ovdll.dll"));
    ASSERT_TRUE(library.proc && library.handOver);
    HHOOK own = SetWindowsHookExA(WH_MOUSE, library.proc, library.module, GetCurrentThreadId());
    library.handOver(own);
    MOUSEHOOKSTRUCT info = {};
    library.proc(HC_ACTION, WM_RBUTTONDOWN, reinterpret_cast<LPARAM>(&info));
    // Nor can the record be written by anybody but the program that made it.
    EXPECT_EQ(nullptr,
              OpenFileMappingW(FILE_MAP_WRITE, FALSE, orvale::OwnReportTargetName().c_str()));

    ASSERT_NE(nullptr, OpenContextMenu(app));
    EXPECT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000))
        << "bars beside the next menu";
    CloseMenus();
    // Every press since would have reached the impostor before these bars showed.
    EXPECT_EQ(Reports(), g_reports) << "reports that went to another program";
    EXPECT_TRUE(LoadsFrom(app.Proc().Handle(), orvale.Folder().Path())) << "the hook is in";
    UnhookWindowsHookEx(own);
    DestroyWindow(impostor);
}

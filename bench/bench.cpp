// Speed and cost figures of the bar engine. The tracker as it was (a 50 ms tick at all times,
// every probe point asked in turn: orvale_fixedtick.exe) runs beside the tracker as it is, in
// the same run, and the figures are printed side by side:
//   - from a context menu showing to all its bars on screen (the real program beside the test
//     application, over many menus; a thread of the bench's own watches both), median and 95th
//     percentile;
//   - the program at rest: CPU and wake-ups over 10 idle seconds, as the system counts them;
//   - the 3 s after a right press that opens no menu;
//   - one menu search that finds nothing, the probe against the search by candidates;
//   - private memory, GDI objects and windows after start and after 200 menus; start to the
//     tray icon; and a full configuration of 32 bars of 64 items: its start, its cost, and its
//     Exit from the tray menu, from the settings file written to the process ended (the times
//     the system recorded for both), median of five runs; and the same configuration at 150 %
//     (144 DPI), with the time from menu to bars beside it and its goals.
// Run everything with scripts/bench.sh [menus]; the full configuration alone, its Exit
// included, with scripts/bench.sh full; the menus beside windows that stopped answering alone
// with scripts/bench.sh hung [menus].
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Harness.h"
#include "Scale.h"
#include "engine/MenuSearch.h"

using namespace testing_support;

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(),
                                                  static_cast<int>(a.size()), b.data(),
                                                  static_cast<int>(b.size())) == CSTR_EQUAL;
}

// ---- The program as the system counts it -------------------------------------------------

// Under Wine the program is a Linux process, and Linux counts what Wine's answers to another
// process leave out or get wrong: CPU time to the nanosecond, how often its threads ran (every
// timer expiry is one such wake-up), and its resident private memory. Found through the drive
// Z: by the program file it runs.
// Elsewhere the process's own times stand in, without wake-ups.
class UnixView {
public:
    UnixView(const std::string& program, HANDLE process) : process_(process) {
        WaitUntil([&] { return Find(program); }, 3000, 50);
    }
    bool Found() const { return !dir_.empty(); }

    struct Sample {
        double cpuMs = 0;
        long long runs = 0;  // -1: not known
    };
    Sample Now() const {
        Sample sample;
        if (!Found()) return ProcessTimes();
        for (const std::string& task : Entries(dir_ + "\\task")) {
            std::ifstream in(dir_ + "\\task\\" + task + "\\schedstat");
            double runNs = 0, waitNs = 0;
            long long runs = 0;
            if (in >> runNs >> waitNs >> runs) {
                sample.cpuMs += runNs / 1e6;
                sample.runs += runs;
            }
        }
        return sample;
    }
    long PrivateKb() const {
        std::ifstream in(dir_ + "\\smaps_rollup");
        std::string key;
        std::getline(in, key);  // the range the figures below add up
        long value = 0, total = 0;
        while (in >> key >> value) {
            if (key == "Private_Clean:" || key == "Private_Dirty:") total += value;
            in.ignore(64, '\n');
        }
        return total;
    }

private:
    Sample ProcessTimes() const {
        FILETIME created, exited, kernel, user;
        if (!GetProcessTimes(process_, &created, &exited, &kernel, &user)) return {0, -1};
        auto ms = [](const FILETIME& t) {
            return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
        };
        return {ms(kernel) + ms(user), -1};
    }
    static std::vector<std::string> Entries(const std::string& folder) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            const char first = found.cFileName[0];
            if (first >= '0' && first <= '9') names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    bool Find(const std::string& program) {
        for (const std::string& pid : Entries("Z:\\proc")) {
            std::ifstream in("Z:\\proc\\" + pid + "\\cmdline", std::ios::binary);
            std::string first;
            std::getline(in, first, '\0');
            while (!first.empty() && first.back() == ' ') first.pop_back();
            if (SameText(first, program)) {
                dir_ = "Z:\\proc\\" + pid;
                return true;
            }
        }
        return false;
    }
    HANDLE process_;
    std::string dir_;
};

// CPU in ms and wake-ups (-1 when not known) since `from`.
struct Usage {
    double cpuMs = 0;
    long long runs = -1;
};
Usage UsageSince(const UnixView& view, const UnixView::Sample& from) {
    UnixView::Sample now = view.Now();
    return {now.cpuMs - from.cpuMs, now.runs < 0 ? -1 : now.runs - from.runs};
}

int TopLevelWindowCount(DWORD pid) {
    struct Count {
        DWORD pid;
        int windows;
    } count = {pid, 0};
    EnumWindows([](HWND hwnd, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == c->pid) ++c->windows;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

struct Resources {
    long privateKb = 0;
    int gdiObjects = 0;
    int topLevelWindows = 0;
    int windows = 0;
};
Resources ResourcesOf(Process& process, const UnixView& view) {
    Resources r;
    r.privateKb = view.Found() ? view.PrivateKb() : 0;
    if (!r.privateKb) {
        PROCESS_MEMORY_COUNTERS_EX memory = {};
        memory.cb = sizeof memory;
        auto* counters = reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory);
        if (GetProcessMemoryInfo(process.Handle(), counters, sizeof memory)) {
            r.privateKb = static_cast<long>(memory.PrivateUsage / 1024);
        }
    }
    r.gdiObjects = GdiObjectCount(process.Handle());
    r.topLevelWindows = TopLevelWindowCount(process.Id());
    r.windows = WindowCount(process.Id());
    return r;
}

// ---- Menu to bars --------------------------------------------------------------------------

// Watches, on a thread of its own so that the bench's own input cannot delay it, for a popup
// menu to show and then for all the program's bars to be on screen.
class MenuWatch {
public:
    explicit MenuWatch(std::vector<HWND> bars) : bars_(std::move(bars)) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~MenuWatch() {
        stop_ = true;
        WaitForSingleObject(thread_, 2000);
        CloseHandle(thread_);
    }
    void Arm() {
        menuAt_ = 0;
        barsAt_ = 0;
        armed_ = true;
    }
    // Milliseconds from the menu showing to the bars on screen; -1 when they did not come.
    double Latency(DWORD timeoutMs) {
        WaitUntil([&] { return barsAt_ > 0; }, timeoutMs, 5);
        armed_ = false;
        return barsAt_ > 0 ? barsAt_ - menuAt_ : -1;
    }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<MenuWatch*>(self)->Loop();
        return 0;
    }
    static bool MenuOnScreen() {
        for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
             menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
            if (IsWindowVisible(menu)) return true;
        }
        return false;
    }
    bool AllBarsOnScreen() const {
        for (HWND bar : bars_) {
            RECT r;
            if (!IsWindowVisible(bar) || !GetWindowRect(bar, &r) || r.left >= 5000) return false;
        }
        return true;
    }
    void Loop() {
        while (!stop_) {
            if (armed_) {
                const double now = NowMs();
                if (menuAt_ == 0 && MenuOnScreen()) menuAt_ = now;
                if (menuAt_ > 0 && barsAt_ == 0 && AllBarsOnScreen()) barsAt_ = now;
            }
            Sleep(1);
        }
    }

    std::vector<HWND> bars_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> armed_{false}, stop_{false};
    std::atomic<double> menuAt_{0}, barsAt_{0};
};

// ---- One program, today's tracker or the new one ----------------------------------------

const char* kSettings =
    "[TaskBar+]\r\nen=1\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Global\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=103\r\n[menu+:01:02]\r\ntype=106\r\n"
    "[menu+:01:03]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=1\r\nhoriz=0\r\nname=Side\r\n"
    "[menu+:02:00]\r\ntype=107\r\n[menu+:02:01]\r\ntype=108\r\n[menu+:02:02]\r\ntype=0\r\n";

struct TrackerFigures {
    bool started = false;
    double startMs = 0;
    Resources atStart, afterMenus;
    int menusOpened = 0;
    std::vector<double> latencies;
    Usage idle, searchWindow;
    double idleSeconds = 10, searchSeconds = 3.2;
};

// Starts the program; `fixedTick` runs today's tracker in its place. `dpi` is the desktop's
// scale the program starts at (96: 100 %).
bool StartProgram(Orvale& orvale, bool fixedTick, const std::string& settings, double& startMs,
                  DWORD dpi = 96) {
    if (fixedTick) {
        CopyFileA((BinDir() + "\\orvale_fixedtick.exe").c_str(),
                  orvale.Folder().File("orvale.exe").c_str(), FALSE);
    }
    orvale.WriteSettings(settings);
    const double start = NowMs();
    // Start returns once the settings window's start-up ran to its end: the tray icon is added
    // there, and the window then answers messages.
    {
        ScaleOfNewPrograms scale(dpi);
        if (!orvale.Start()) return false;
    }
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(orvale.SettingsWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
    startMs = NowMs() - start;
    return true;
}

// `watched`: the bars that come beside the menu; every bar of the program when none are given.
void OpenMenusAndTime(Orvale& orvale, TestApp& app, int menus, int timed, TrackerFigures& f,
                      std::vector<HWND> watched = {}) {
    MenuWatch watch(watched.empty() ? orvale.BarWindows() : std::move(watched));
    srand(14);
    for (int i = 0; i < menus; ++i) {
        app.Activate();
        POINT centre = app.Centre();
        // A pause of any length up to a tick, so the presses fall at every moment of today's
        // 50 ms tick, as a hand's would, rather than in step with the bench's own rhythm.
        PumpFor(static_cast<DWORD>(rand() % 50));
        watch.Arm();
        RightClick(centre.x - 60 + (i % 5) * 30, centre.y - 40 + (i % 3) * 30);
        const double latency = watch.Latency(5000);
        if (i < timed && latency >= 0) f.latencies.push_back(latency);
        CloseMenus();
        // Right of every press and below it: off the bars, which stand above and left of the
        // menu (a full configuration's reach across the screen), so that they go.
        MoveMouse(centre.x + 120, centre.y + 150);
        WaitUntil([&] { return orvale.VisibleBars().empty(); }, 5000, 5);
        ++f.menusOpened;
    }
}

// A window of the bench's own that opens no menu on a right click.
HWND CreateBlankWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrvaleBenchBlank";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    HWND blank = CreateWindowExA(0, "OrvaleBenchBlank", "Bench Blank",
                                 WS_POPUP | WS_VISIBLE | WS_BORDER, 700, 200, 280, 250, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    PumpFor(200);
    return blank;
}

TrackerFigures MeasureTracker(bool fixedTick, int timedMenus, int totalMenus) {
    TrackerFigures f;
    Orvale orvale;
    if (!StartProgram(orvale, fixedTick, kSettings, f.startMs)) return f;
    f.started = true;
    // The task bar and the two bars of kSettings, built as soon as the program is idle.
    WaitUntil([&] { return orvale.BarWindows().size() == 3; }, 5000, 5);
    UnixView view(orvale.Folder().File("orvale.exe"), orvale.Proc().Handle());
    f.atStart = ResourcesOf(orvale.Proc(), view);
    {
        TestApp app("Bench Target", "--pos 150 150 500 400");
        OpenMenusAndTime(orvale, app, totalMenus, timedMenus, f);
        f.afterMenus = ResourcesOf(orvale.Proc(), view);
    }

    MoveMouse(900, 60);  // over the bare desktop
    PumpFor(1000);
    UnixView::Sample before = view.Now();
    PumpFor(static_cast<DWORD>(f.idleSeconds * 1000));
    f.idle = UsageSince(view, before);

    HWND blank = CreateBlankWindow();
    RECT r = WindowRect(blank);
    before = view.Now();
    const double start = NowMs();
    RightClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PumpFor(static_cast<DWORD>(f.searchSeconds * 1000 - (NowMs() - start)));
    f.searchWindow = UsageSince(view, before);
    DestroyWindow(blank);
    return f;
}

// ---- Windows that stopped answering ---------------------------------------------------------

// From menu to bars with three windows on the desktop that stopped answering, beside the same
// without them: the first press finds out that they do not answer, the later ones ask them
// nothing.
void MeasureHungWindows(int menus) {
    std::printf("Three windows that stopped answering:\n");
    Orvale orvale;
    double startMs = 0;
    if (!StartProgram(orvale, false, kSettings, startMs)) {
        std::printf("  the program did not start\n");
        return;
    }
    WaitUntil([&] { return orvale.BarWindows().size() == 3; }, 5000, 5);
    TestApp app("Bench Target", "--pos 150 150 500 400");
    TrackerFigures without, first, later;
    OpenMenusAndTime(orvale, app, menus, menus, without);
    std::vector<std::unique_ptr<TestApp>> hung;
    for (int i = 0; i < 3; ++i) {
        hung.push_back(std::make_unique<TestApp>("Bench Hung " + std::to_string(i),
                                                 "--pos 680 " + std::to_string(100 + 150 * i) +
                                                     " 250 120"));
    }
    // The target comes to the front first: a window that stops answering while it is in front
    // holds up the activation of the next.
    app.Activate();
    for (auto& window : hung) {
        window->Hang(120000);
        WaitUntil([&] { return window->LogContains("hang 120000"); }, 3000);
    }
    OpenMenusAndTime(orvale, app, 1, 1, first);
    OpenMenusAndTime(orvale, app, menus, menus, later);
    const double plain = Percentile(without.latencies, 0.5);
    const double then = Percentile(later.latencies, 0.5);
    std::printf("  menu visible to all bars, median: %.1f ms without them, %.1f ms on the first "
                "press, %.1f ms from the second on (%+.0f %%)\n",
                plain, Percentile(first.latencies, 0.5), then, 100.0 * (then - plain) / plain);
    for (auto& window : hung) window->Proc().Kill();
}

// ---- A full configuration --------------------------------------------------------------

// 32 bars of 64 items: every other item attributed, with one of the four shipped icons.
std::string FullSettings() {
    const char* icons[] = {"www.ico", "email.ico", "kseq.ico", "macro.ico"};
    const char* kinds[] = {"www:", "mailto:", "kseq:", "macro:"};
    std::ostringstream ini;
    ini << "[TaskBar+]\r\nen=1\r\nhoriz=0\r\n";
    char section[32];
    for (int bar = 1; bar <= 32; ++bar) {
        std::snprintf(section, sizeof section, "Menu+%02d", bar);
        ini << "[" << section << "]\r\nen=1\r\nhoriz=" << (bar % 2) << "\r\nname=Bar " << bar
            << "\r\n";
        for (int item = 0; item <= 64; ++item) {
            std::snprintf(section, sizeof section, "menu+:%02d:%02d", bar, item);
            ini << "[" << section << "]\r\n";
            if (item == 64) {
                ini << "type=0\r\n";
            } else if (item % 2) {
                ini << "type=" << 102 + (item / 2) % 9 << "\r\n";
            } else {
                ini << "type=101\r\nwnd=\r\npth=item " << item << "\r\nipth=" << icons[item / 2 % 4]
                    << "\r\ninum=0\r\npar=\r\ndir=" << kinds[item / 2 % 4] << "\r\ntt=Item " << item
                    << "\r\n";
            }
        }
    }
    return ini.str();
}

// ---- Printing ----------------------------------------------------------------------------

void Row(const char* what, double today, double now, const char* unit, int decimals = 1) {
    char ratio[32] = "";
    if (now > 0) {
        std::snprintf(ratio, sizeof ratio, "%.1fx", today / now);
    } else if (today > 0) {
        std::snprintf(ratio, sizeof ratio, "all of it");
    }
    std::printf("  %-52s %10.*f %10.*f %-4s %s\n", what, decimals, today, decimals, now, unit,
                ratio);
}

void PrintResources(const char* when, const Resources& r) {
    std::printf("  %-30s %7.1f MB private, %4d GDI objects, %3d top-level windows (%d in all)\n",
                when, r.privateKb / 1024.0, r.gdiObjects, r.topLevelWindows, r.windows);
}

double Percent(const Usage& usage, double seconds) { return usage.cpuMs / (seconds * 10.0); }

// ---- Exit with a full configuration ---------------------------------------------------

// The last time the file was written, in 100 ns units of the system clock; 0 when missing.
ULONGLONG LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// Exit from the tray menu of a running program: from the settings file written to the process
// ended, in ms as the system recorded both moments; -1 when it did not save or did not end.
double SaveToEndMs(Orvale& orvale) {
    const ULONGLONG before = LastWrite(orvale.SettingsFile());
    PostMessageA(orvale.SettingsWindow(), WM_COMMAND, 32805, 0);  // tray "Exit"
    if (!orvale.Proc().WaitForExit(30000)) return -1;
    const ULONGLONG saved = LastWrite(orvale.SettingsFile());
    FILETIME created, exited, kernel, user;
    if (saved == before || !GetProcessTimes(orvale.Proc().Handle(), &created, &exited, &kernel,
                                            &user)) {
        return -1;
    }
    const ULONGLONG ended = (static_cast<ULONGLONG>(exited.dwHighDateTime) << 32) |
                            exited.dwLowDateTime;
    return (static_cast<double>(ended) - static_cast<double>(saved)) / 1e4;
}

// The bars that come beside a menu of `app` (a full configuration's context bars do not).
std::vector<HWND> BarsBesideAMenu(Orvale& orvale, TestApp& app) {
    app.Activate();
    POINT centre = app.Centre();
    RightClick(centre.x, centre.y);
    std::vector<HWND> shown;
    size_t before = 0;
    WaitUntil([&] {
        before = shown.size();
        shown = orvale.VisibleBars();
        PumpFor(100);
        return !shown.empty() && shown.size() == before;
    }, 5000, 10);
    CloseMenus();
    MoveMouse(centre.x + 120, centre.y + 150);
    WaitUntil([&] { return orvale.VisibleBars().empty(); }, 5000, 5);
    return shown;
}

// Goals: a full configuration holds well under the system's 10,000 GDI objects a process, and
// its bars come beside a menu within a tick of the tracker as it was (50 ms), at any scale.
constexpr int kGdiGoal = 1000;
constexpr double kMenuToBarsGoalMs = 50;

void MeasureFullConfiguration(DWORD dpi) {
    std::printf("A full configuration, 32 bars of 64 items, at %lu DPI (%lu %%):\n", dpi,
                dpi * 100 / 96);
    std::vector<double> exits;
    for (int run = 0; run < 5; ++run) {
        Orvale full;
        double startMs = 0;
        if (!StartProgram(full, false, FullSettings(), startMs, dpi)) {
            std::printf("  the program did not start\n");
            return;
        }
        const double start = NowMs() - startMs;
        // The bars are built one at a time while the program waits for work.
        WaitUntil([&] { return full.BarWindows().size() == 33; }, 30000, 20);
        const double builtMs = NowMs() - start;
        if (run == 0) {
            UnixView view(full.Folder().File("orvale.exe"), full.Proc().Handle());
            std::printf("  responsive %.0f ms after start, every bar built after %.0f ms\n",
                        startMs, builtMs);
            const Resources built = ResourcesOf(full.Proc(), view);
            PrintResources("with every bar built", built);
            TrackerFigures menus;
            {
                TestApp app("Bench Target", "--pos 150 150 500 400");
                const std::vector<HWND> beside = BarsBesideAMenu(full, app);
                OpenMenusAndTime(full, app, 30, 30, menus, beside);
                std::printf("  menu visible to its %zu bars: median %.1f ms, 95th percentile "
                            "%.1f ms (%zu menus; goal: median within %.0f ms)\n",
                            beside.size(), Percentile(menus.latencies, 0.5),
                            Percentile(menus.latencies, 0.95), menus.latencies.size(),
                            kMenuToBarsGoalMs);
            }
            const Resources after = ResourcesOf(full.Proc(), view);
            PrintResources("after 30 menus", after);
            const int gdi = std::max(built.gdiObjects, after.gdiObjects);
            std::printf("  GDI objects at most %d (goal: under %d): %s; menu to bars: %s\n", gdi,
                        kGdiGoal, gdi >= 0 && gdi < kGdiGoal ? "met" : "MISSED",
                        !menus.latencies.empty() &&
                                Percentile(menus.latencies, 0.5) <= kMenuToBarsGoalMs
                            ? "met"
                            : "MISSED");
        }
        const double exitMs = SaveToEndMs(full);
        if (exitMs >= 0) exits.push_back(exitMs);
    }
    std::printf("  Exit: saved to ended %.0f ms (median of %zu; %.0f to %.0f ms)\n",
                Percentile(exits, 0.5), exits.size(), Percentile(exits, 0), Percentile(exits, 1));
}

void MeasureFullConfigurations() {
    MeasureFullConfiguration(96);
    MeasureFullConfiguration(144);
}

}  // namespace

int main(int argc, char** argv) {
    EnsureDesktop();
    if (argc > 1 && std::string(argv[1]) == "full") {
        MeasureFullConfigurations();
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "hung") {
        MeasureHungWindows(argc > 2 ? std::max(10, std::atoi(argv[2])) : 30);
        return 0;
    }
    const int menus = argc > 1 ? std::max(20, std::atoi(argv[1])) : 30;
    const int totalMenus = std::max(menus, 200);

    std::printf("The tracker as it was (a 50 ms tick at all times, every probe point asked) "
                "and as it is:\n");
    TrackerFigures today = MeasureTracker(true, menus, menus);
    TrackerFigures now = MeasureTracker(false, menus, totalMenus);
    if (!today.started || !now.started) {
        std::printf("the program did not start\n");
        return 1;
    }

    POINT bare = {900, 60};
    auto costOf = [&](HWND (*search)(POINT)) {
        std::vector<double> times;
        for (int i = 0; i < 200; ++i) {
            const double start = NowMs();
            search(bare);
            times.push_back(NowMs() - start);
        }
        return Percentile(times, 0.5);
    };
    const double probe = costOf([](POINT p) { return orvale::ProbeForMenu(p); });
    const double candidates = costOf([](POINT p) { return orvale::SearchForMenu(p); });

    std::printf("  %-52s %10s %10s      %s\n", "", "as it was", "as it is", "ratio");
    Row("menu visible to all bars, median", Percentile(today.latencies, 0.5),
        Percentile(now.latencies, 0.5), "ms");
    Row("menu visible to all bars, 95th percentile", Percentile(today.latencies, 0.95),
        Percentile(now.latencies, 0.95), "ms");
    Row("at rest: CPU, % of a core (10 s)", Percent(today.idle, today.idleSeconds),
        Percent(now.idle, now.idleSeconds), "%", 3);
    if (now.idle.runs >= 0) {
        Row("at rest: wake-ups per second", today.idle.runs / today.idleSeconds,
            now.idle.runs / now.idleSeconds, "/s");
    }
    Row("search finding nothing (median of 200)", probe, candidates, "ms", 3);
    Row("3.2 s after a right press that opens no menu: CPU",
        Percent(today.searchWindow, today.searchSeconds),
        Percent(now.searchWindow, now.searchSeconds), "%", 2);
    Row("start to tray icon", today.startMs, now.startMs, "ms");
    std::printf("  (%zu and %zu menus timed)\n", today.latencies.size(), now.latencies.size());

    std::printf("The new program's cost:\n");
    PrintResources("after start", now.atStart);
    char when[64];
    std::snprintf(when, sizeof when, "after %d menus", now.menusOpened);
    PrintResources(when, now.afterMenus);

    // A bare window program under Wine, for what any program costs here.
    {
        const double start = NowMs();
        TestApp reference("Bench Reference", "--pos 600 400 200 150");
        const double startMs = NowMs() - start;
        UnixView view(BinDir() + "\\testapp.exe", reference.Proc().Handle());
        std::printf("  %-30s %7.1f MB private, started in %.0f ms\n", "the test application",
                    (view.Found() ? view.PrivateKb() : 0) / 1024.0, startMs);
    }

    MeasureHungWindows(menus);
    MeasureFullConfigurations();
    return 0;
}

// Speed and cost figures of the bar engine, measured under the shared desktop:
//   - from a context menu becoming visible to all its bars being on screen (the real program
//     beside the test application, over many menus): median and 95th percentile;
//   - one idle tracker tick and one full menu search that finds nothing (in this process);
//   - the real program's CPU time over 10 idle seconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Harness.h"
#include "engine/Tracker.h"

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
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

const char* kSettings =
    "[TaskBar+]\r\nen=1\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Global\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=103\r\n[menu+:01:02]\r\ntype=106\r\n"
    "[menu+:01:03]\r\ntype=0\r\n"
    "[Menu+02]\r\nen=1\r\nhoriz=0\r\nname=Side\r\n"
    "[menu+:02:00]\r\ntype=107\r\n[menu+:02:01]\r\ntype=108\r\n[menu+:02:02]\r\ntype=0\r\n";

void MenuToBarsLatency(Orvale& orvale, int menus) {
    TestApp app("Bench Target", "--pos 150 150 500 400");
    std::vector<double> latencies;
    for (int i = 0; i < menus; ++i) {
        app.Activate();
        POINT centre = app.Centre();
        RightClick(centre.x - 60 + (i % 5) * 30, centre.y - 40 + (i % 3) * 30);
        double visible = 0;
        if (!WaitUntil([&] { return VisibleMenu() != nullptr; }, 5000, 1)) continue;
        visible = NowMs();
        if (!WaitUntil([&] { return orvale.VisibleBars().size() == 3; }, 5000, 1)) continue;
        latencies.push_back(NowMs() - visible);
        CloseMenus();
        MoveMouse(centre.x, centre.y + 150);
        WaitUntil([&] { return orvale.VisibleBars().empty(); }, 5000, 5);
    }
    if (latencies.empty()) {
        std::printf("menu to bars: no menu got its bars\n");
        return;
    }
    std::printf("menu to bars (%zu menus): median %.1f ms, 95th percentile %.1f ms\n",
                latencies.size(), Percentile(latencies, 0.5), Percentile(latencies, 0.95));
}

void TickCosts() {
    MoveMouse(900, 60);  // over the bare desktop
    const int ticks = 2000;
    double start = NowMs();
    for (int i = 0; i < ticks; ++i) orvale::TrackerTick();
    double idle = (NowMs() - start) / ticks;

    POINT p = {900, 60};
    const int searches = 200;
    start = NowMs();
    for (int i = 0; i < searches; ++i) orvale::FindMenuNearCursor(p);
    double search = (NowMs() - start) / searches;
    std::printf("idle tick: %.3f ms; full menu search finding nothing: %.3f ms\n", idle, search);
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

}  // namespace

int main(int argc, char** argv) {
    int menus = argc > 1 ? std::max(20, std::atoi(argv[1])) : 30;
    EnsureDesktop();
    Orvale orvale;
    orvale.WriteSettings(kSettings);
    if (!orvale.Start()) {
        std::printf("the program did not start\n");
        return 1;
    }
    MenuToBarsLatency(orvale, menus);
    TickCosts();

    MoveMouse(900, 60);
    PumpFor(500);
    double before = CpuMs(orvale.Proc().Handle());
    PumpFor(10000);
    double after = CpuMs(orvale.Proc().Handle());
    std::printf("program CPU time over 10 idle seconds: %.1f ms\n", after - before);
    return 0;
}

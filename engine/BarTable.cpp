#include "engine/BarTable.h"

#include <algorithm>
#include <deque>

#include "engine/BarWindow.h"
#include "win/Dpi.h"

namespace orvale {

std::array<win::Owned<BarWindow>, kBarCount> BarTable;

namespace {

win::Owned<BarWindow> NewBarWindow(BarDef& def, bool taskBar) {
    auto window = win::MakeOwned<BarWindow>();
    if (!window->Create()) return nullptr;
    window->taskBar = taskBar ? 1 : 0;
    // Built for the monitor it was made on; a menu on a monitor of another DPI has it built again.
    BuildBar(*window, def, win::DpiForWindow(window->Handle()));
    return window;
}

// Bars waiting for their turn, and the timer that gives it: a timer's message comes only
// when no other message waits, so the program answers at once throughout.
std::deque<int> g_pending;
UINT_PTR g_turns = 0;

void StopTurns() {
    if (g_turns) KillTimer(nullptr, g_turns);
    g_turns = 0;
}

void CreateNextInTurn() {
    if (g_pending.empty()) {
        StopTurns();
        return;
    }
    const int number = g_pending.front();
    g_pending.pop_front();
    if (barDefs[number].enabled) CreateMenuBarWindow(number);
    if (g_pending.empty()) StopTurns();
}

// The system calls the timer procedure: no exception may cross back into it.
void CALLBACK OnTurnTimer(HWND, UINT, UINT_PTR, DWORD) {
    try {
        CreateNextInTurn();
    } catch (...) {
    }
}

}  // namespace

void CreateTaskBarWindow() {
    if (!BarTable[0]) BarTable[0] = NewBarWindow(barDefs[0], true);
}

void CreateMenuBarWindow(int number) {
    if (number < 1 || number >= kBarCount || BarTable[number]) return;
    // One waiting for its turn gets it soon enough (Apply at the start asks for every bar).
    if (std::find(g_pending.begin(), g_pending.end(), number) != g_pending.end()) return;
    BarTable[number] = NewBarWindow(barDefs[number], false);
}

void CreateMenuBarWindowsInTurn() {
    for (int number = 1; number < kBarCount; ++number) {
        if (barDefs[number].enabled) g_pending.push_back(number);
    }
    if (!g_pending.empty() && !g_turns) {
        g_turns = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTurnTimer);
    }
}

void CreatePendingMenuBarWindows() {
    StopTurns();
    while (!g_pending.empty()) CreateNextInTurn();
}

void DestroyBarWindow(int number) {
    if (number < 0 || number >= kBarCount) return;
    g_pending.erase(std::remove(g_pending.begin(), g_pending.end(), number), g_pending.end());
    BarTable[number].reset();
}

void DestroyAllBarWindows() {
    g_pending.clear();
    StopTurns();
    for (auto& slot : BarTable) slot.reset();
}

void LetGoOfAllBarWindows() {
    g_pending.clear();
    StopTurns();
    // Left to the end of the process on purpose: each window still reaches its object.
    for (auto& slot : BarTable) static_cast<void>(slot.release());
}

}  // namespace orvale

#include "engine/BarTable.h"

#include "engine/BarWindow.h"

namespace orvale {

std::array<win::Owned<BarWindow>, kBarCount> BarTable;

namespace {

win::Owned<BarWindow> NewBarWindow(BarDef& def, bool taskBar) {
    auto window = win::MakeOwned<BarWindow>();
    if (!window->Create()) return nullptr;
    window->taskBar = taskBar ? 1 : 0;
    BuildBar(*window, def);
    return window;
}

}  // namespace

void CreateTaskBarWindow() {
    if (!BarTable[0]) BarTable[0] = NewBarWindow(barDefs[0], true);
}

void CreateMenuBarWindow(int number) {
    if (number < 1 || number >= kBarCount || BarTable[number]) return;
    BarTable[number] = NewBarWindow(barDefs[number], false);
}

void DestroyBarWindow(int number) {
    if (number >= 0 && number < kBarCount) BarTable[number].reset();
}

void DestroyAllBarWindows() {
    for (auto& slot : BarTable) slot.reset();
}

}  // namespace orvale

#include "engine/BarTable.h"

namespace orvale {

class BarWindow {};

std::array<std::unique_ptr<BarWindow>, kBarCount> BarTable;

void CreateTaskBarWindow() {}
void CreateMenuBarWindow(int) {}
void DestroyBarWindow(int number) { BarTable[number].reset(); }
void DestroyAllBarWindows() {
    for (auto& slot : BarTable) slot.reset();
}

}  // namespace orvale

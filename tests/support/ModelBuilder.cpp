#include "ModelBuilder.h"

#include "model/SettingsFile.h"

using namespace orvale;

namespace testing_support {

BarDef& MakeBar(int number, bool horizontal, bool enabled, const std::vector<int>& types,
                const std::vector<ItemAttributes>& attributed) {
    BarDef& bar = barDefs[number];
    newBar(bar, number);
    bar.enabled = enabled ? 1 : 0;
    BarNode* header = appendNode(bar);
    header->tag = NodeTag::Header;
    header->number = horizontal ? 1 : 0;
    std::vector<BarNode*> runs;
    size_t next = 0;
    for (int type : types) {
        ItemAttributes a = type == 101 && next < attributed.size() ? attributed[next++] : ItemAttributes();
        runs.push_back(adoptRun(bar, makeItem(static_cast<ItemType>(type), a)));
    }
    relinkBar(bar, L"Test bar", runs);
    return bar;
}

BarDef& MakeTaskBar(bool enabled) {
    newBar(barDefs[0], 0);
    barDefs[0].enabled = enabled ? 1 : 0;
    appendNode(barDefs[0])->tag = NodeTag::Type;
    return barDefs[0];
}

TestSettings::TestSettings() { SetSettingsFolderForTesting(win::Widen(folder_.Path())); }
TestSettings::~TestSettings() { SetSettingsFolderForTesting(L""); }

void TestSettings::Write(const std::string& ini) {
    WriteFile(File(), ini);
    SetSettingsFolderForTesting(win::Widen(folder_.Path()));
}

}  // namespace testing_support

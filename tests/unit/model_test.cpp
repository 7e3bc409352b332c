// The bar model: item runs, relinking, the kind marker test and the icon rule.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Harness.h"
#include "model/BarModel.h"

using namespace orvale;
using namespace testing_support;

namespace {

constexpr int32_t kAttributed = static_cast<int32_t>(ItemType::Attributed);

using Strings = std::vector<std::string>;

// Each item of the bar as its pth (type 101) or its type number.
Strings Listed(const BarDef& bar) {
    Strings listed;
    for (const BarItem& item : items(bar)) {
        listed.push_back(item.IsAttributed() ? item.Pth() : std::to_string(item.Type()));
    }
    return listed;
}

auto Fields(const ItemAttributes& a) {
    return std::make_tuple(a.wnd, a.pth, a.ipth, a.inum, a.par, a.dir, a.tt);
}

}  // namespace

TEST(ItemKind, FirstMarkerInTestOrderDecidesWhereverItStands) {
    // Anywhere in dir, case-sensitive, colon included; the test order decides, not the place.
    const std::pair<const char*, ItemKind> cases[] = {
        {"mailto:", ItemKind::EMail},          {"C:\\Mail\\mailto:", ItemKind::EMail},
        {"www: then mailto:", ItemKind::EMail}, {"kseq:www:", ItemKind::WebPage},
        {"file:macro:kseq:", ItemKind::Macro}, {"file:kseq:", ItemKind::KeySequence},
        {"D:\\file:", ItemKind::SelectFile},   {"C:\\Tools", ItemKind::Application},
        {"MAILTO:", ItemKind::Application},    {"mailto", ItemKind::Application}};
    for (const auto& c : cases) EXPECT_EQ(c.second, itemKind(c.first)) << c.first;
    // The editors store a kind's marker; reading it back gives the same kind.
    for (ItemKind kind : {ItemKind::EMail, ItemKind::WebPage, ItemKind::Macro,
                          ItemKind::KeySequence, ItemKind::SelectFile, ItemKind::Application}) {
        EXPECT_EQ(kind, itemKind(kindMarker(kind)));
    }
}

TEST(MakeItem, AttributedRunHoldsSevenAttributeNodesInFixedOrderEveryOtherTypeOne) {
    const ItemAttributes a = {"Untitled - Notepad", "notepad.exe", "default", -3,
                              "readme.txt",         "C:\\",        "Notes"};
    ItemRun run = makeItem(kAttributed, a);
    Strings nodes;
    for (BarNode* n = run.First(); n; n = n->next) {
        nodes.push_back(std::to_string(n->tag) + ":" + n->text + ":" + std::to_string(n->number));
    }
    EXPECT_EQ((Strings{"1::101", "2:Untitled - Notepad:0", "3:notepad.exe:0", "4:default:0",
                       "5::-3", "6:readme.txt:0", "7:C:\\:0", "9:Notes:0"}),
              nodes);
    EXPECT_EQ(Fields(a), Fields(BarItem(run.First()).Attributes()));

    for (int32_t type : {102, 109, 110, 5, -7}) {
        ItemRun one = makeItem(type, a);
        EXPECT_TRUE(one.nodes.size() == 1 && one.First()->number == type) << type;
    }
}

TEST(RelinkBar, RebuildsTheListInTheGivenOrderAndItemsWalkRunsByPosition) {
    BarDef bar;
    newBar(bar, 4);
    BarNode* a = adoptRun(bar, makeItem(kAttributed, {"", "a.exe", "", 0, "", "", ""}));
    BarNode* b = adoptRun(bar, makeItem(104));
    // Readers step over the attribute nodes by position and never test their tags.
    ItemRun mislabelled = makeItem(kAttributed, {"", "c.exe", "", 0, "", "", ""});
    mislabelled.nodes[1]->tag = static_cast<int32_t>(NodeTag::Type);
    BarNode* c = adoptRun(bar, std::move(mislabelled));
    relinkBar(bar, "Old", {a, b, c});  // a bar without nodes gets its header
    EXPECT_EQ((Strings{"a.exe", "104", "c.exe"}), Listed(bar));
    EXPECT_EQ(static_cast<int32_t>(NodeTag::Header), bar.nodes->tag);
    const BarItem kept(c);

    relinkBar(bar, "New name", {c, a});
    EXPECT_EQ("New name", bar.Name());
    EXPECT_EQ((Strings{"c.exe", "a.exe"}), Listed(bar)) << "the last run ends the list";
    EXPECT_EQ("c.exe", kept.Pth()) << "a view taken before the relink still reads its item";

    relinkBar(bar, "New name", {a, b, a, c});
    EXPECT_EQ((Strings{"a.exe", "104", "c.exe"}), Listed(bar))
        << "a run given twice joins once; nothing after it is lost";
    relinkBar(bar, "Empty", {});
    EXPECT_EQ(nullptr, bar.nodes->next);
}

// Only ipth "default" (exactly) or empty means the shell's icon of pth; "Default" names a file.
TEST(LoadItemIcon, OnlyTheExactWordDefaultMeansTheIconOfPth) {
    TempDir folder;
    ASSERT_TRUE(CopyFileA((BinDir() + "\\www.ico").c_str(), folder.File("Default").c_str(),
                          FALSE));
    char previous[MAX_PATH] = {}, self[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    auto iconOf = [](const std::string& pth, const std::string& ipth) {
        ItemRun run = makeItem(kAttributed, {"", pth, ipth, 0, "", "", ""});
        HICON icon = loadItemIcon(BarItem(run.First()), true);
        if (icon) DestroyIcon(icon);
        return icon != nullptr;
    };
    const std::string missing = folder.File("no such program.exe");
    EXPECT_TRUE(iconOf(missing, "Default")) << "read from the file named Default";
    EXPECT_FALSE(iconOf(missing, "default") || iconOf(missing, "")) << "a missing pth's icon";
    EXPECT_TRUE(iconOf(self, "default")) << "the shell's icon of pth";
    SetCurrentDirectoryA(previous);
}

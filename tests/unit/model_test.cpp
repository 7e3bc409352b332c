// The bar model: item runs, relinking, the kind marker test and the icon rule.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "Harness.h"
#include "model/BarModel.h"

using namespace orvale;
using namespace testing_support;

namespace {

constexpr int32_t kAttributed = static_cast<int32_t>(ItemType::Attributed);

std::vector<int32_t> TypesOf(const BarDef& bar) {
    std::vector<int32_t> types;
    for (const BarItem& item : items(bar)) types.push_back(item.Type());
    return types;
}

// A menu bar with only its header.
void MakeMenuBar(BarDef& bar, int number, const std::string& name) {
    newBar(bar, number);
    BarNode* header = appendNode(bar);
    header->tag = static_cast<int32_t>(NodeTag::Header);
    header->text = name;
}

}  // namespace

TEST(ItemKind, FirstMarkerInTestOrderDecidesWhereverItStands) {
    EXPECT_EQ(ItemKind::EMail, itemKind("mailto:"));
    EXPECT_EQ(ItemKind::EMail, itemKind("C:\\Mail\\mailto:")) << "marker after other text";
    EXPECT_EQ(ItemKind::EMail, itemKind("www: then mailto:")) << "order, not position, decides";
    EXPECT_EQ(ItemKind::WebPage, itemKind("kseq:www:"));
    EXPECT_EQ(ItemKind::Macro, itemKind("file:macro:kseq:"));
    EXPECT_EQ(ItemKind::KeySequence, itemKind("file:kseq:"));
    EXPECT_EQ(ItemKind::SelectFile, itemKind("D:\\file:"));
    EXPECT_EQ(ItemKind::Application, itemKind(""));
    EXPECT_EQ(ItemKind::Application, itemKind("C:\\Program Files\\Tool"));
    EXPECT_EQ(ItemKind::Application, itemKind("MAILTO:")) << "the test is case-sensitive";
    EXPECT_EQ(ItemKind::Application, itemKind("mailto")) << "the colon belongs to the marker";

    for (ItemKind kind : {ItemKind::EMail, ItemKind::WebPage, ItemKind::Macro,
                          ItemKind::KeySequence, ItemKind::SelectFile}) {
        EXPECT_EQ(kind, itemKind(kindMarker(kind)));
    }
    EXPECT_STREQ("", kindMarker(ItemKind::Application));
}

TEST(MakeItem, AttributedItemHasSevenAttributeNodesInFixedOrder) {
    ItemAttributes a;
    a.wnd = "Untitled - Notepad";
    a.pth = "notepad.exe";
    a.ipth = "default";
    a.inum = -3;
    a.par = "readme.txt";
    a.dir = "C:\\";
    a.tt = "Notes";
    ItemRun run = makeItem(kAttributed, a);
    ASSERT_EQ(8u, run.nodes.size());

    const int32_t tags[] = {1, 2, 3, 4, 5, 6, 7, 9};
    BarNode* node = run.First();
    for (int32_t tag : tags) {
        ASSERT_NE(nullptr, node);
        EXPECT_EQ(tag, node->tag);
        node = node->next;
    }
    EXPECT_EQ(nullptr, node) << "a detached run ends at its tt node";

    BarItem item(run.First());
    EXPECT_EQ(kAttributed, item.Type());
    EXPECT_EQ("Untitled - Notepad", item.Wnd());
    EXPECT_EQ("notepad.exe", item.Pth());
    EXPECT_EQ("default", item.Ipth());
    EXPECT_EQ(-3, item.Inum());
    EXPECT_EQ("readme.txt", item.Par());
    EXPECT_EQ("C:\\", item.Dir());
    EXPECT_EQ("Notes", item.Tt());
    EXPECT_EQ(run.nodes.back().get(), item.Last());
}

TEST(MakeItem, EveryOtherTypeIsOneNodeWithoutAttributes) {
    for (int32_t type : {102, 103, 104, 105, 106, 107, 108, 109, 110, 5, -7}) {
        ItemRun run = makeItem(type, {"", "ignored", "ignored", 9, "", "mailto:", ""});
        ASSERT_EQ(1u, run.nodes.size()) << type;
        EXPECT_EQ(1, run.First()->tag);
        EXPECT_EQ(type, run.First()->number);
        BarItem item(run.First());
        EXPECT_EQ("", item.Pth()) << "a one-node item has no attributes";
        EXPECT_EQ(0, item.Inum());
        EXPECT_EQ(run.First(), item.Last());
    }
}

TEST(Items, WalkRunsByPositionFromTheNodeAfterTheHeader) {
    BarDef bar;
    MakeMenuBar(bar, 1, "Tools");
    EXPECT_TRUE(items(bar).empty());

    std::vector<BarNode*> runs;
    runs.push_back(adoptRun(bar, makeItem(102)));
    // Readers step over the seven attribute nodes by position and never test their tags,
    // so even an attribute node labelled like a Type node stays inside its item.
    ItemAttributes a;
    a.tt = "tooltip";
    ItemRun attributed = makeItem(kAttributed, a);
    attributed.nodes[1]->tag = static_cast<int32_t>(NodeTag::Type);
    runs.push_back(adoptRun(bar, std::move(attributed)));
    runs.push_back(adoptRun(bar, makeItem(109)));
    runs.push_back(adoptRun(bar, makeItem(5)));
    relinkBar(bar, "Tools", runs);

    std::vector<BarItem> list = items(bar);
    ASSERT_EQ(4u, list.size());
    EXPECT_EQ((std::vector<int32_t>{102, kAttributed, 109, 5}), TypesOf(bar));
    EXPECT_EQ("tooltip", list[1].Tt());
    EXPECT_EQ(runs[2], list[1].Last()->next);
}

TEST(Items, TaskBarListsNoItemsAndFindNodeFindsItsOrientation) {
    BarDef taskBar;
    newBar(taskBar, 0);
    BarNode* only = appendNode(taskBar);
    only->tag = static_cast<int32_t>(NodeTag::Type);
    only->number = 1;

    EXPECT_TRUE(items(taskBar).empty());
    EXPECT_EQ(only, findNode(taskBar, NodeTag::Type));
    EXPECT_TRUE(taskBar.IsHorizontal());
    EXPECT_EQ(nullptr, findNode(taskBar, NodeTag::Header));

    BarDef bar;
    MakeMenuBar(bar, 2, "Two");
    EXPECT_EQ(nullptr, findNode(bar, NodeTag::Type)) << "a bar without items";
    BarNode* first = adoptRun(bar, makeItem(kAttributed));
    BarNode* second = adoptRun(bar, makeItem(103));
    relinkBar(bar, "Two", {first, second});
    EXPECT_EQ(bar.nodes, findNode(bar, NodeTag::Header));
    EXPECT_EQ(first, findNode(bar, NodeTag::Type)) << "the first of several";
    EXPECT_EQ(first->next->next, findNode(bar, NodeTag::Pth));
}

TEST(RelinkBar, RebuildsTheListInTheGivenOrderAndDropsRunsNotGiven) {
    BarDef bar;
    MakeMenuBar(bar, 4, "Old");
    BarNode* a = adoptRun(bar, makeItem(kAttributed, {"", "a.exe", "", 0, "", "", ""}));
    BarNode* b = adoptRun(bar, makeItem(104));
    BarNode* c = adoptRun(bar, makeItem(kAttributed, {"", "c.exe", "", 0, "", "", ""}));
    relinkBar(bar, "Old", {a, b, c});
    BarItem kept(c);

    relinkBar(bar, "New name", {c, a});
    EXPECT_EQ("New name", bar.Name());
    std::vector<BarItem> list = items(bar);
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ("c.exe", list[0].Pth());
    EXPECT_EQ("a.exe", list[1].Pth());
    EXPECT_EQ(nullptr, list[1].Last()->next) << "the last run ends the list";
    EXPECT_EQ("c.exe", kept.Pth()) << "a view taken before the relink still reads its item";

    // A run given twice joins once; nothing after it is lost.
    relinkBar(bar, "New name", {a, b, a, c});
    ASSERT_EQ((std::vector<int32_t>{kAttributed, 104, kAttributed}), TypesOf(bar));
    EXPECT_EQ("c.exe", items(bar)[2].Pth());

    relinkBar(bar, "Empty", {});
    EXPECT_TRUE(items(bar).empty());
    EXPECT_EQ(nullptr, bar.nodes->next);
}

TEST(RelinkBar, GivesABarWithoutNodesAHeader) {
    BarDef bar;
    newBar(bar, 7);
    BarNode* run = adoptRun(bar, makeItem(110));
    relinkBar(bar, "Made", {run});
    ASSERT_NE(nullptr, bar.nodes);
    EXPECT_EQ(static_cast<int32_t>(NodeTag::Header), bar.nodes->tag);
    EXPECT_EQ("Made", bar.Name());
    EXPECT_FALSE(bar.IsHorizontal());
    EXPECT_EQ((std::vector<int32_t>{110}), TypesOf(bar));
}

// The icon rule: "default" (exactly) or empty means the shell's icon of pth; any other ipth,
// "Default" included, names the icon file.
TEST(LoadItemIcon, OnlyTheExactWordDefaultMeansTheIconOfPth) {
    TempDir folder;
    ASSERT_TRUE(CopyFileA((BinDir() + "\\www.ico").c_str(), folder.File("Default").c_str(),
                          FALSE));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

    auto iconOf = [](const std::string& pth, const std::string& ipth) {
        ItemRun run = makeItem(kAttributed, {"", pth, ipth, 0, "", "", ""});
        HICON icon = loadItemIcon(BarItem(run.First()), true);
        if (icon) DestroyIcon(icon);
        return icon != nullptr;
    };
    const std::string missing = folder.File("no such program.exe");
    EXPECT_TRUE(iconOf(missing, "Default")) << "read from the file named Default";
    EXPECT_FALSE(iconOf(missing, "default")) << "the marker: the icon of a missing pth";
    EXPECT_FALSE(iconOf(missing, "")) << "empty is the marker too";
    EXPECT_FALSE(iconOf(missing, folder.File("missing.ico")));

    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_TRUE(iconOf(self, "default")) << "the shell's icon of pth";
    EXPECT_TRUE(iconOf(missing, self)) << "icon 0 of the file ipth";

    SetCurrentDirectoryA(previous);
}

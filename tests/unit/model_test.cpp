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

constexpr ItemType kAttributed = ItemType::Attributed;

using Strings = std::vector<std::wstring>;

// Each item of the bar as its pth (type 101) or its type number.
Strings Listed(const BarDef& bar) {
    Strings listed;
    for (const BarItem& item : items(bar)) {
        listed.push_back(item.IsAttributed() ? item.Pth() : std::to_wstring(item.Node()->number));
    }
    return listed;
}

auto Fields(const ItemAttributes& a) {
    return std::make_tuple(a.wnd, a.pth, a.ipth, a.inum, a.par, a.dir, a.tt);
}

}  // namespace

TEST(ItemKind, FirstMarkerInTestOrderDecidesWhereverItStands) {
    // Anywhere in dir, case-sensitive, colon included; the test order decides, not the place.
    const std::pair<const wchar_t*, ItemKind> cases[] = {
        {L"mailto:", ItemKind::EMail},          {L"C:\\Mail\\mailto:", ItemKind::EMail},
        {L"www: then mailto:", ItemKind::EMail}, {L"kseq:www:", ItemKind::WebPage},
        {L"file:macro:kseq:", ItemKind::Macro}, {L"file:kseq:", ItemKind::KeySequence},
        {L"D:\\file:", ItemKind::SelectFile},   {L"C:\\Tools", ItemKind::Application},
        {L"MAILTO:", ItemKind::Application},    {L"mailto", ItemKind::Application}};
    for (const auto& c : cases) EXPECT_EQ(c.second, itemKind(c.first)) << win::Narrow(c.first);
    // The editors store a kind's marker; reading it back gives the same kind.
    for (ItemKind kind : {ItemKind::EMail, ItemKind::WebPage, ItemKind::Macro,
                          ItemKind::KeySequence, ItemKind::SelectFile, ItemKind::Application}) {
        EXPECT_EQ(kind, itemKind(kindMarker(kind)));
    }
}

TEST(MakeItem, AttributedRunHoldsSevenAttributeNodesInFixedOrderEveryOtherTypeOne) {
    const ItemAttributes a = {L"Untitled - Notepad", L"notepad.exe", L"default", -3,
                              L"readme.txt",         L"C:\\",        L"Notes"};
    ItemRun run = makeItem(kAttributed, a);
    Strings nodes;
    for (BarNode* n = run.First(); n; n = n->next) {
        nodes.push_back(std::to_wstring(static_cast<int32_t>(n->tag)) + L":" + n->text + L":" +
                        std::to_wstring(n->number));
    }
    EXPECT_EQ((Strings{L"1::101", L"2:Untitled - Notepad:0", L"3:notepad.exe:0", L"4:default:0",
                       L"5::-3", L"6:readme.txt:0", L"7:C:\\:0", L"9:Notes:0"}),
              nodes);
    EXPECT_EQ(Fields(a), Fields(BarItem(run.First()).Attributes()));

    for (int32_t type : {102, 109, 110, 5, -7}) {
        ItemRun one = makeItem(static_cast<ItemType>(type), a);
        EXPECT_TRUE(one.nodes.size() == 1 && one.First()->number == type) << type;
    }
}

TEST(RelinkBar, RebuildsTheListInTheGivenOrderAndItemsWalkRunsByPosition) {
    BarDef bar;
    newBar(bar, 4);
    BarNode* a = adoptRun(bar, makeItem(kAttributed, {L"", L"a.exe", L"", 0, L"", L"", L""}));
    BarNode* b = adoptRun(bar, makeItem(ItemType::NextDocument));
    // Readers step over the attribute nodes by position and never test their tags.
    ItemRun mislabelled = makeItem(kAttributed, {L"", L"c.exe", L"", 0, L"", L"", L""});
    mislabelled.nodes[1]->tag = NodeTag::Type;
    BarNode* c = adoptRun(bar, std::move(mislabelled));
    relinkBar(bar, L"Old", {a, b, c});  // a bar without nodes gets its header
    EXPECT_EQ((Strings{L"a.exe", L"104", L"c.exe"}), Listed(bar));
    EXPECT_EQ(NodeTag::Header, bar.nodes->tag);
    const BarItem kept(c);

    relinkBar(bar, L"New name", {c, a});
    EXPECT_EQ(L"New name", bar.Name());
    EXPECT_EQ((Strings{L"c.exe", L"a.exe"}), Listed(bar)) << "the last run ends the list";
    EXPECT_EQ(L"c.exe", kept.Pth()) << "a view taken before the relink still reads its item";

    relinkBar(bar, L"New name", {a, b, a, c});
    EXPECT_EQ((Strings{L"a.exe", L"104", L"c.exe"}), Listed(bar))
        << "a run given twice joins once; nothing after it is lost";
    relinkBar(bar, L"Empty", {});
    EXPECT_EQ(nullptr, bar.nodes->next);
}

// Only ipth "default" (exactly) or empty means the shell's icon of pth; "Default" names a file.
TEST(LoadItemIcon, OnlyTheExactWordDefaultMeansTheIconOfPth) {
    TempDir folder;
    ASSERT_TRUE(CopyFileA((BinDir() + "\\www.ico").c_str(), folder.File("Default").c_str(),
                          FALSE));
    wchar_t previous[MAX_PATH] = {}, self[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    auto iconOf = [](const std::wstring& pth, const std::wstring& ipth) {
        ItemRun run = makeItem(kAttributed, {L"", pth, ipth, 0, L"", L"", L""});
        HICON icon = loadItemIcon(BarItem(run.First()), true);
        if (icon) DestroyIcon(icon);
        return icon != nullptr;
    };
    const std::wstring missing = win::Widen(folder.File("no such program.exe"));
    EXPECT_TRUE(iconOf(missing, L"Default")) << "read from the file named Default";
    EXPECT_FALSE(iconOf(missing, L"default") || iconOf(missing, L"")) << "a missing pth's icon";
    EXPECT_TRUE(iconOf(self, L"default")) << "the shell's icon of pth";
    SetCurrentDirectoryW(previous);
}

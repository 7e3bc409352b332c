// "ov32data.ini": the loader and the savers, against files the tests write.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Harness.h"
#include "model/BarModel.h"
#include "model/SettingsFile.h"
#include "model/WindowList.h"

using namespace orvale;
using namespace testing_support;

namespace {

constexpr ItemType kAttributed = ItemType::Attributed;
using Strings = std::vector<std::string>;

// Every test has a settings file of its own, so parallel test programs never share one.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsFolderForTesting(win::Widen(folder_.Path()));
        loadModel();  // the empty model of a missing file
    }
    void TearDown() override { SetSettingsFolderForTesting(L""); }

    // Reads the file again, as the next start does.
    void Reload() const {
        openSettings();
        loadModel();
    }
    // A value as the profile functions read it from the file itself (after dropping what they
    // may keep of it in memory).
    std::string Raw(const std::string& section, const std::string& key) const {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
        char value[512] = {};
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value,
                                 path_.c_str());
        return value;
    }

    TempDir folder_;
    const std::string path_ = folder_.File(win::Narrow(kSettingsFileName));
};

// The model as text, so that a failing comparison shows what differs.
std::string Describe(const BarDef& bar) {
    std::string text = "en=" + std::to_string(bar.enabled) +
                       " horiz=" + std::to_string(bar.Orientation()) + " [" +
                       win::Narrow(bar.Name()) + "]";
    for (const BarItem& item : items(bar)) {
        const ItemAttributes a = item.Attributes();
        text += " | " + std::to_string(item.Node()->number);
        if (!item.IsAttributed()) continue;
        text += " [" + win::Narrow(a.wnd) + "][" + win::Narrow(a.pth) + "][" + win::Narrow(a.ipth) + "] " +
                std::to_string(a.inum) + " [" + win::Narrow(a.par) + "][" + win::Narrow(a.dir) + "][" +
                win::Narrow(a.tt) + "]";
    }
    return text;
}

std::string Describe(const WindowList& list) {
    std::string text = "inc=" + std::to_string(list.mode);
    for (const std::wstring& entry : list.entries) text += " [" + win::Narrow(entry) + "]";
    return text;
}

Strings Describe() {
    Strings lines;
    for (const BarDef& bar : barDefs) lines.push_back(Describe(bar));
    for (const WindowList& list : windowLists) lines.push_back(Describe(list));
    return lines;
}

std::vector<ItemRun> Runs(std::initializer_list<int32_t> types) {
    std::vector<ItemRun> runs;
    for (int32_t type : types) runs.push_back(makeItem(static_cast<ItemType>(type)));
    return runs;
}

// Replaces bar `number`'s settings and items.
void SetBar(int number, int enabled, int horiz, const std::wstring& name,
            std::vector<ItemRun> runs = {}) {
    BarDef& bar = barDefs[number];
    bar.enabled = enabled;
    bar.nodes->number = horiz;
    std::vector<BarNode*> firsts;
    for (ItemRun& run : runs) firsts.push_back(adoptRun(bar, std::move(run)));
    relinkBar(bar, name, firsts);
}

}  // namespace

TEST_F(SettingsFileTest, FromAMissingFileEveryKindOfItemBarAndListSurvivesSaveAndLoad) {
    // No file: every bar disabled, vertical, unnamed and empty; every list empty.
    Strings blank(kBarCount, "en=0 horiz=0 []");
    blank.resize(kBarCount + kWindowListCount, "inc=0");
    EXPECT_EQ(blank, Describe());

    barDefs[0].enabled = 1;
    barDefs[0].nodes->number = 1;  // the task bar's orientation lives in its single node

    // wnd, pth, ipth, inum, par, dir, tt of one item of every kind, then values the profile
    // reader would trim or unquote, or that hold its own syntax.
    const ItemAttributes attributed[] = {
        {L"", L"someone@example.com", L"email.ico", 0, L"", L"mailto:", L"Mail"},
        {L"", L"https://example.com/?a=1&b=2", L"www.ico", 0, L"", L"www:", L"Web page"},
        {L"", L"", L"macro.ico", 0, L"Weekly report", L"macro:", L"Macro"},
        {L"", L"<alt>f<alt>", L"kseq.ico", 0, L"", L"kseq:", L"File menu"},
        {L"", L"C:\\Docs", L"shell32.dll", 3, L"*.txt;*.ini", L"file:", L"Documents"},
        {L"Untitled - Notepad", L"notepad.exe", L"default", -1, L"readme.txt", L"C:\\Windows",
         L"Notes"},
        {L"\"quoted title\"", L"\"C:\\My App\\app.exe\"", L"\tTabbed.ico", -2147483647 - 1, L" -x ",
         L"C:\\Work ", L"  spaced  "},
        {L"'single'", L"\"", L"\"\"", 2147483647, L"a \"b\" c", L"x=y;z [s]", L"'"},
    };
    // One-node items between the attributed ones: position 2k + 1 holds attributed[k].
    const int32_t types[] = {102, 103, 104, 105, 106, 107, 108, 109, 110, 5, -7};
    std::vector<ItemRun> runs;
    for (size_t i = 0; i < 11; ++i) {
        runs.push_back(makeItem(static_cast<ItemType>(types[i])));
        if (i < 8) runs.push_back(makeItem(kAttributed, attributed[i]));
    }
    SetBar(1, 1, 1, L"Tools", std::move(runs));
    SetBar(2, 0, 2, L"  Padded name ", Runs({109}));
    SetBar(3, 0, 0, L"one\r\n[options]\r\nx=77\ntwo");
    SetBar(4, 0, 0, std::wstring(511, L'e'));
    SetBar(32, 1, 0, L"\"Last\"", Runs({110, 102}));
    windowLists[0] = {{L"notepad", L"", L" leading", L"trailing ", L"\"quoted\"", L"a=b"}, 0};
    windowLists[1] = {{std::wstring(511, L'l') + L"tail past the limit"}, 0};
    windowLists[3] = {{L"before", L".", L"after"}, 1};
    windowLists[28] = {{L"Word"}, 1};
    windowLists[31] = {{L"kept although no bar uses it"}, 1};
    ASSERT_FALSE(saveModel());

    // What is read back: line breaks as blanks, so they add no key or section; text cut to
    // 511 characters; an entry "." left out, so that the entries after it survive.
    barDefs[3].nodes->text = L"one  [options]  x=77 two";
    windowLists[1].entries[0].resize(511);
    windowLists[3].entries = {L"before", L"after"};
    const Strings expected = Describe();
    Reload();
    EXPECT_EQ(expected, Describe());
    EXPECT_EQ(barDefs[0].nodes, findNode(barDefs[0], NodeTag::Type));
    EXPECT_EQ("", Raw("options", "x"));
    EXPECT_EQ("-1", Raw("menu+:01:11", "inum")) << "signed decimal text";
    EXPECT_NE(std::string::npos, ReadFile(path_).find("\nname=Tools")) << "written as-is";
}

TEST_F(SettingsFileTest, HandWrittenFileReadsNumbersLikeAtoiGapsAsDefaultsAndThousandsOfItems) {
    std::string list = "[wndctx5]\r\n", bar;
    for (int i = 0; i < 3000; ++i) {
        list += std::to_string(i) + "=title " + std::to_string(i) + "\r\n";
        bar += "[" + win::Narrow(itemSection(6, i)) + "]\r\ntype=" +
               (i % 10 ? std::string("102\r\n") : "101\r\npth=" + std::to_string(i) + "\r\n");
    }
    WriteFile(path_, list + bar + "[menu+:01:00]\r\ntype=101abc\r\ninum=  -12xyz\r\npth=kept\r\n"
          "[menu+:01:01]\r\ntype=+102\r\n"
          "[menu+:01:02]\r\ntype=x\r\n"
          "[menu+:01:03]\r\ntype=103\r\n"
          "[Menu+02]\r\nen=7\r\nhoriz=2\r\nname=Two\r\n"
          "[menu+:02:00]\r\ntype=99999999999999999999\r\n"
          "[menu+:02:01]\r\ntype=-99999999999\r\n"
          "[menu+:02:02]\r\ntype=101\r\ninum=12345678901234567890\r\n"
          "[menu+:02:03]\r\npth=no type key here\r\n"
          "[menu+:02:04]\r\ntype=105\r\n"
          "[Menu+03]\r\nen=-1\r\nhoriz=\r\n"
          "[menu+:05:00]\r\ntype=101\r\n"
          "[wndctx0]\r\n0=first\r\n1=\r\n2=third\r\n3=.\r\n4=after the end\r\ninc=1\r\n"
          "[wndctx1]\r\n0=a\r\n1=b\r\n3=after a gap\r\n"
          "[wndctx2]\r\n1=no entry 0\r\n");
    Reload();
    // "x" reads as 0 and ends the list, as does a missing "type"; huge numbers are clamped.
    EXPECT_EQ("en=0 horiz=0 [] | 101 [][kept][] -12 [][][] | 102", Describe(barDefs[1]));
    EXPECT_EQ("en=1 horiz=2 [Two] | 2147483647 | -2147483648 | 101 [][][] 2147483647 [][][]",
              Describe(barDefs[2]));
    EXPECT_EQ("en=1 horiz=0 []", Describe(barDefs[3]));
    EXPECT_EQ("en=0 horiz=0 [] | 101 [][][] 0 [][][]", Describe(barDefs[5]));
    EXPECT_EQ("inc=1 [first] [] [third]", Describe(windowLists[0]));
    EXPECT_EQ("inc=0 [a] [b]", Describe(windowLists[1]));
    EXPECT_EQ("inc=0", Describe(windowLists[2]));

    const std::vector<BarItem> loaded = items(barDefs[6]);
    ASSERT_EQ(3000u, loaded.size());
    EXPECT_EQ(L"2990", loaded[2990].Pth());
    EXPECT_EQ(ItemType::StartMenu, loaded[2999].Type());
    ASSERT_EQ(3000u, windowLists[5].entries.size());
    EXPECT_EQ(L"title 2999", windowLists[5].entries.back());
}

TEST_F(SettingsFileTest, ShrinkingABarLeavesTheSectionsPastItsTerminatorUntouched) {
    SetBar(1, 1, 0, L"Bar", Runs({101, 102, 103, 104, 105}));
    ASSERT_FALSE(saveBarItems(1));
    SetBar(1, 1, 0, L"Bar", Runs({106, 107, 108}));
    ASSERT_FALSE(saveBarItems(1));
    EXPECT_EQ("0", Raw("menu+:01:03", "type"));
    EXPECT_EQ("105", Raw("menu+:01:04", "type"));
    Reload();
    EXPECT_EQ("en=0 horiz=0 [] | 106 | 107 | 108", Describe(barDefs[1]));
}

TEST_F(SettingsFileTest, GarbageLoadsWithoutHarmAndIsNoReasonNotToSave) {
    std::mt19937 random(20240607);
    std::string garbage =
        "[Menu+01\r\n=\r\n[]\r\n==x==\r\n[menu+:01:00]\r\ntype=101\r\n"
        "[menu+:01:01]\r\ntype=101\r\ntype=109\r\n[menu+:01:01]\r\ntype=102\r\n[wndctx0]\r\n0=" +
        std::string(100000, 'w') + "\r\n";
    for (int i = 0; i < 65536; ++i) garbage += static_cast<char>(random() & 0xFF);
    WriteFile(path_, garbage + std::string("\0\0[Menu+02]\0en=1\r\n", 18));
    Reload();
    EXPECT_NE(std::string::npos, Describe(barDefs[1]).find("] | 101 [][][] 0 [][][]"));
    EXPECT_EQ(std::wstring(511, L'w'), windowLists[0].entries.at(0));
    ASSERT_FALSE(saveModel());
    const Strings saved = Describe();
    Reload();
    EXPECT_EQ(saved, Describe());
}

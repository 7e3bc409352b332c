// "ov32data.ini": the loader, the savers and the access helpers, against files the tests write.
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

constexpr int32_t kAttributed = static_cast<int32_t>(ItemType::Attributed);

// Every test has a settings file of its own, so parallel test programs never share one.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsFolderForTesting(folder_.Path());
        loadModel();  // the empty model of a missing file
    }
    void TearDown() override { SetSettingsFolderForTesting(""); }

    std::string Path() const { return folder_.File(kSettingsFileName); }
    void Write(const std::string& text) {
        WriteFile(Path(), text);
        ForgetCachedFile();
    }
    // Loads the model from what is on disk. The profile services may keep the file parsed in
    // memory after writing it, which would hide how values come back from the text.
    void Reload() {
        ForgetCachedFile();
        loadModel();
    }
    void ForgetCachedFile() const {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, Path().c_str());
    }
    // A value as it stands in the file; "<missing>" when the key is not there.
    std::string Raw(const std::string& section, const std::string& key) const {
        char value[1024] = {};
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", value, sizeof value,
                                 Path().c_str());
        return value;
    }

    TempDir folder_;
};

// The whole model as text lines, so that a failing comparison shows what differs.
std::vector<std::string> Describe() {
    std::vector<std::string> lines;
    for (const BarDef& bar : barDefs) {
        lines.push_back("bar " + std::to_string(bar.number) + " en=" +
                        std::to_string(bar.enabled) + " horiz=" +
                        std::to_string(bar.Orientation()) + " name=[" + bar.Name() + "]");
        for (const BarItem& item : items(bar)) {
            std::string line = "  type=" + std::to_string(item.Type());
            if (item.IsAttributed()) {
                const ItemAttributes a = item.Attributes();
                line += " wnd=[" + a.wnd + "] pth=[" + a.pth + "] ipth=[" + a.ipth + "] inum=" +
                        std::to_string(a.inum) + " par=[" + a.par + "] dir=[" + a.dir +
                        "] tt=[" + a.tt + "]";
            }
            lines.push_back(line);
        }
    }
    for (size_t k = 0; k < windowLists.size(); ++k) {
        std::string line = "list " + std::to_string(k) + " inc=" +
                           std::to_string(windowLists[k].mode);
        for (const std::string& entry : windowLists[k].entries) line += " [" + entry + "]";
        lines.push_back(line);
    }
    return lines;
}

// Replaces bar `number`'s name and items with the given runs.
void SetBar(int number, int enabled, int horiz, const std::string& name,
            std::vector<ItemRun> runs) {
    BarDef& bar = barDefs[number];
    bar.enabled = enabled;
    bar.nodes->number = horiz;
    std::vector<BarNode*> firsts;
    for (ItemRun& run : runs) firsts.push_back(adoptRun(bar, std::move(run)));
    relinkBar(bar, name, firsts);
}

std::vector<ItemRun> Runs(std::initializer_list<int32_t> types) {
    std::vector<ItemRun> runs;
    for (int32_t type : types) runs.push_back(makeItem(type));
    return runs;
}

}  // namespace

TEST_F(SettingsFileTest, MissingFileLoadsEmptyModelAndTheFirstWriteCreatesTheFile) {
    ASSERT_FALSE(FileExists(Path()));
    for (int n = 0; n < kBarCount; ++n) {
        const BarDef& bar = barDefs[n];
        EXPECT_EQ(n, bar.number);
        EXPECT_EQ(0, bar.enabled);
        EXPECT_FALSE(bar.IsHorizontal());
        EXPECT_EQ("", bar.Name());
        EXPECT_TRUE(items(bar).empty());
    }
    ASSERT_NE(nullptr, findNode(barDefs[0], NodeTag::Type)) << "the task bar's single node";
    EXPECT_EQ(nullptr, barDefs[0].nodes->next);
    for (const WindowList& list : windowLists) {
        EXPECT_TRUE(list.entries.empty()) << "a list without \".\" ends at its first missing key";
        EXPECT_EQ(0, list.mode);
    }

    saveBarItems(0);
    saveBarItems(33);
    EXPECT_FALSE(FileExists(Path())) << "only menu bars 1 to 32 have item sections";

    saveModel();
    ASSERT_TRUE(FileExists(Path()));
    EXPECT_EQ("0", Raw("menu+:01:00", "type"));
    EXPECT_EQ(".", Raw("wndctx31", "0"));
    std::vector<std::string> saved = Describe();
    Reload();
    EXPECT_EQ(saved, Describe());
}

TEST_F(SettingsFileTest, EveryKindOfItemBarAndListSurvivesSaveAndLoad) {
    barDefs[0].enabled = 1;
    barDefs[0].nodes->number = 1;  // the task bar's orientation lives in its single node

    // wnd, pth, ipth, inum, par, dir, tt of one item of every kind, then values the profile
    // reader would trim or unquote, or that hold its own syntax.
    const ItemAttributes attributed[] = {
        {"", "someone@example.com", "email.ico", 0, "", "mailto:", "Mail"},
        {"", "https://example.com/?a=1&b=2", "www.ico", 0, "", "www:", "Web page"},
        {"", "", "macro.ico", 0, "Weekly report", "macro:", "Macro"},
        {"", "<alt>f<alt>", "kseq.ico", 0, "", "kseq:", "File menu"},
        {"", "C:\\Docs", "shell32.dll", 3, "*.txt;*.ini", "file:", "Documents"},
        {"Untitled - Notepad", "notepad.exe", "default", -1, "readme.txt", "C:\\Windows",
         "Notepad"},
        {"\"quoted title\"", "\"C:\\My App\\app.exe\"", "\tTabbed.ico", -2147483647 - 1, " -x ",
         "C:\\Work ", "  spaced  "},
        {"'single'", "\"", "\"\"", 2147483647, "a \"b\" c", "x=y;z [s]", "'"},
    };
    std::vector<ItemRun> runs;
    for (int i = 0; i < 6; ++i) runs.push_back(makeItem(kAttributed, attributed[i]));
    for (int32_t type : {102, 103, 104, 105, 106, 107, 108, 109, 110, 5, -7}) {
        runs.push_back(makeItem(type));
    }
    for (int i = 6; i < 8; ++i) runs.push_back(makeItem(kAttributed, attributed[i]));
    SetBar(1, 1, 1, "Tools", std::move(runs));
    SetBar(2, 0, 2, "  Padded name ", Runs({109}));
    SetBar(32, 1, 0, "\"Last\"", Runs({110, 102}));

    windowLists[0].entries = {"notepad", "", " leading", "trailing ", "\"quoted\"", "a=b"};
    windowLists[0].mode = 0;
    windowLists[28].entries = {"Word"};
    windowLists[28].mode = 1;
    windowLists[31].entries = {"kept although no bar uses it"};
    windowLists[31].mode = 1;

    saveModel();
    std::vector<std::string> saved = Describe();
    for (int n = 0; n < kBarCount; ++n) newBar(barDefs[n], n);
    for (WindowList& list : windowLists) list = WindowList();
    Reload();
    EXPECT_EQ(saved, Describe());

    EXPECT_EQ("-1", Raw("menu+:01:05", "inum")) << "signed decimal text";
    EXPECT_EQ("102", Raw("menu+:01:06", "type"));
    EXPECT_EQ("<missing>", Raw("menu+:01:06", "pth")) << "a one-node item writes only its type";
    EXPECT_EQ("0", Raw("menu+:01:19", "type")) << "the terminator";
    EXPECT_EQ(".", Raw("wndctx0", "6"));
}

TEST_F(SettingsFileTest, FileWrittenFromScratchFollowsTheWriteOrderAndKeepsPlainValues) {
    SetBar(1, 1, 1, "Tools", Runs({102}));
    windowLists[0].entries = {"notepad"};
    saveModel();
    const std::string text = ReadFile(Path());
    const std::vector<std::string> order = {"[TaskBar+]", "[menu+:01:00]", "[menu+:01:01]",
                                            "[Menu+01]",  "[menu+:02:00]", "[Menu+02]",
                                            "[Menu+32]",  "[wndctx0]",     "[wndctx31]"};
    size_t previous = 0;
    for (const std::string& section : order) {
        size_t at = text.find(section);
        ASSERT_NE(std::string::npos, at) << section;
        EXPECT_LE(previous, at) << section;
        previous = at;
    }
    EXPECT_NE(std::string::npos, text.find("name=Tools")) << "plain values are written as-is";
    EXPECT_NE(std::string::npos, text.find("0=notepad"));
}

TEST_F(SettingsFileTest, LineBreaksInAValueCannotAddKeysOrSections) {
    SetBar(1, 0, 0, "one\r\n[options]\r\nx=77\ntwo", {});
    saveModel();
    EXPECT_EQ(std::string::npos, ReadFile(Path()).find("\n[options]"));
    Reload();
    EXPECT_EQ("<missing>", Raw("options", "x"));
    EXPECT_EQ("one  [options]  x=77 two", barDefs[1].Name());
}

TEST_F(SettingsFileTest, ReadsNumbersLikeAtoi) {
    Write("[menu+:01:00]\r\ntype=101abc\r\ninum=  -12xyz\r\npth=kept\r\n"
          "[menu+:01:01]\r\ntype=+102\r\n"
          "[menu+:01:02]\r\ntype=x\r\n"
          "[menu+:01:03]\r\ntype=103\r\n"
          "[Menu+02]\r\nen=7\r\nhoriz=2\r\n"
          "[menu+:02:00]\r\ntype=99999999999999999999\r\n"
          "[menu+:02:01]\r\ntype=-99999999999\r\n"
          "[menu+:02:02]\r\ntype=101\r\ninum=12345678901234567890\r\n"
          "[Menu+03]\r\nen=-1\r\nhoriz=\r\n");
    loadModel();

    std::vector<BarItem> first = items(barDefs[1]);
    ASSERT_EQ(2u, first.size()) << "\"x\" reads as 0 and ends the list";
    EXPECT_EQ(101, first[0].Type()) << "101 followed by letters";
    EXPECT_EQ(-12, first[0].Inum());
    EXPECT_EQ("kept", first[0].Pth());
    EXPECT_EQ(102, first[1].Type());

    EXPECT_EQ(1, barDefs[2].enabled) << "any non-zero value becomes 1";
    EXPECT_EQ(2, barDefs[2].Orientation()) << "kept as read: any non-zero is horizontal";
    std::vector<BarItem> second = items(barDefs[2]);
    ASSERT_EQ(3u, second.size());
    EXPECT_EQ(2147483647, second[0].Type()) << "out of range numbers are clamped";
    EXPECT_EQ(-2147483647 - 1, second[1].Type());
    EXPECT_EQ(2147483647, second[2].Inum());
    EXPECT_EQ(1, barDefs[3].enabled);
    EXPECT_EQ(0, barDefs[3].Orientation()) << "an empty value reads as 0";
}

TEST_F(SettingsFileTest, MissingSectionsAndKeysReadAsTheirDefaults) {
    Write("[Menu+04]\r\nname=Only a name\r\n"
          "[menu+:04:00]\r\ntype=104\r\n"
          "[menu+:04:01]\r\npth=no type key here\r\n"
          "[menu+:04:02]\r\ntype=105\r\n"
          "[menu+:05:00]\r\ntype=101\r\n"
          "[wndctx2]\r\n0=only entry\r\n");
    loadModel();

    EXPECT_EQ(0, barDefs[4].enabled);
    EXPECT_FALSE(barDefs[4].IsHorizontal());
    EXPECT_EQ("Only a name", barDefs[4].Name());
    ASSERT_EQ(1u, items(barDefs[4]).size()) << "a missing \"type\" ends the list";

    // Bar 5's own section is missing; its item sections still load, and a type-101 item with
    // no attribute keys has empty attributes.
    EXPECT_EQ(0, barDefs[5].enabled);
    EXPECT_EQ("", barDefs[5].Name());
    std::vector<BarItem> fifth = items(barDefs[5]);
    ASSERT_EQ(1u, fifth.size());
    EXPECT_EQ("", fifth[0].Pth());
    EXPECT_EQ(0, fifth[0].Inum());

    EXPECT_TRUE(items(barDefs[6]).empty());
    EXPECT_EQ(std::vector<std::string>{"only entry"}, windowLists[2].entries);
    EXPECT_EQ(0, windowLists[2].mode);
}

TEST_F(SettingsFileTest, WindowListEndsAtDotOrAtItsFirstMissingKey) {
    Write("[wndctx0]\r\n0=first\r\n1=\r\n2=third\r\n3=.\r\n4=after the end\r\ninc=1\r\n"
          "[wndctx1]\r\n0=a\r\n1=b\r\n3=gap before me\r\ninc=0\r\n"
          "[wndctx2]\r\n1=no entry 0\r\n");
    loadModel();
    EXPECT_EQ((std::vector<std::string>{"first", "", "third"}), windowLists[0].entries)
        << "an empty value is an entry, \".\" ends the list";
    EXPECT_EQ(1, windowLists[0].mode);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), windowLists[1].entries);
    EXPECT_TRUE(windowLists[2].entries.empty());
}

TEST_F(SettingsFileTest, AnEntryThatIsADotIsLeftOutSoLaterEntriesSurvive) {
    windowLists[3].entries = {"before", ".", "after"};
    windowLists[3].mode = 1;
    saveModel();
    Reload();
    EXPECT_EQ((std::vector<std::string>{"before", "after"}), windowLists[3].entries);
    EXPECT_EQ(1, windowLists[3].mode);
}

TEST_F(SettingsFileTest, TextIsReadBackCutTo511Characters) {
    const std::string exact(511, 'e');
    const std::string longer = std::string(511, 'l') + "tail past the limit";
    const std::string quotedLong = "\"" + std::string(600, 'q') + "\"";
    SetBar(1, 0, 0, exact, {});
    SetBar(2, 0, 0, longer, {});
    windowLists[0].entries = {longer, quotedLong};
    saveModel();
    Reload();
    EXPECT_EQ(exact, barDefs[1].Name());
    EXPECT_EQ(longer.substr(0, 511), barDefs[2].Name());
    ASSERT_EQ(2u, windowLists[0].entries.size());
    EXPECT_EQ(longer.substr(0, 511), windowLists[0].entries[0]);
    EXPECT_EQ(511u, windowLists[0].entries[1].size());
}

TEST_F(SettingsFileTest, ShrinkingABarLeavesLaterSectionsUntouched) {
    std::vector<ItemRun> five;
    five.push_back(makeItem(kAttributed, {"", "old.exe", "", 0, "", "", "Old"}));
    for (int32_t type : {102, 103, 104}) five.push_back(makeItem(type));
    five.push_back(makeItem(kAttributed, {"", "fifth.exe", "", 0, "", "", "Fifth"}));
    SetBar(1, 1, 0, "Bar", std::move(five));
    saveBarItems(1);
    EXPECT_EQ("0", Raw("menu+:01:05", "type"));

    SetBar(1, 1, 0, "Bar", Runs({106, 107, 108}));
    saveBarItems(1);
    ForgetCachedFile();
    EXPECT_EQ("0", Raw("menu+:01:03", "type")) << "the terminator moves up";
    EXPECT_EQ("101", Raw("menu+:01:04", "type")) << "past the terminator nothing changes";
    EXPECT_EQ("fifth.exe", Raw("menu+:01:04", "pth"));
    EXPECT_EQ("106", Raw("menu+:01:00", "type"));
    EXPECT_EQ("old.exe", Raw("menu+:01:00", "pth")) << "old attribute keys stay";

    Reload();
    std::vector<BarItem> loaded = items(barDefs[1]);
    ASSERT_EQ(3u, loaded.size());
    EXPECT_FALSE(loaded[0].IsAttributed()) << "a one-node item reads no attribute keys";
    EXPECT_EQ(108, loaded[2].Type());
}

TEST_F(SettingsFileTest, GarbageFileLoadsWithoutHarm) {
    std::mt19937 random(20240607);
    std::string garbage = "[Menu+01\r\n=\r\n[]\r\n==x==\r\n[menu+:01:00]\r\ntype=101\r\n";
    garbage += "[wndctx0]\r\n0=" + std::string(100000, 'w') + "\r\n";
    garbage += "[menu+:01:01]\r\ntype=101\r\ntype=109\r\n[menu+:01:01]\r\ntype=102\r\n";
    for (int i = 0; i < 65536; ++i) garbage += static_cast<char>(random() & 0xFF);
    garbage += std::string("\0\0[Menu+02]\0en=1\r\n", 18);
    Write(garbage);

    loadModel();
    for (int n = 0; n < kBarCount; ++n) {
        EXPECT_EQ(n, barDefs[n].number);
        ASSERT_NE(nullptr, barDefs[n].nodes);
        EXPECT_TRUE(barDefs[n].enabled == 0 || barDefs[n].enabled == 1);
    }
    std::vector<BarItem> first = items(barDefs[1]);
    ASSERT_GE(first.size(), 1u);
    EXPECT_EQ(101, first[0].Type());
    EXPECT_EQ("", first[0].Pth()) << "a type-101 item without attribute keys";
    for (const WindowList& list : windowLists) {
        for (const std::string& entry : list.entries) EXPECT_LE(entry.size(), 511u);
    }

    // A garbage file is no reason not to save.
    saveModel();
    std::vector<std::string> saved = Describe();
    Reload();
    EXPECT_EQ(saved, Describe());
}

TEST_F(SettingsFileTest, ThousandsOfItemsAndEntriesLoad) {
    const int kItems = 3000;
    std::string text = "[Menu+03]\r\nen=1\r\nname=Long\r\n";
    for (int i = 0; i < kItems; ++i) {
        text += "[" + itemSection(3, i) + "]\r\n";
        if (i % 10 == 0) {
            text += "type=101\r\npth=item" + std::to_string(i) + ".exe\r\ninum=" +
                    std::to_string(-i) + "\r\n";
        } else {
            text += "type=102\r\n";
        }
    }
    text += "[wndctx5]\r\n";
    for (int j = 0; j < kItems; ++j) {
        text += std::to_string(j) + "=title " + std::to_string(j) + "\r\n";
    }
    text += std::to_string(kItems) + "=.\r\n";
    Write(text);

    loadModel();
    std::vector<BarItem> loaded = items(barDefs[3]);
    ASSERT_EQ(static_cast<size_t>(kItems), loaded.size());
    EXPECT_EQ("menu+:03:100", itemSection(3, 100)) << "positions past 99 take three digits";
    EXPECT_EQ("item2990.exe", loaded[2990].Pth());
    EXPECT_EQ(-2990, loaded[2990].Inum());
    EXPECT_EQ(102, loaded[2999].Type());
    ASSERT_EQ(static_cast<size_t>(kItems), windowLists[5].entries.size());
    EXPECT_EQ("title 2999", windowLists[5].entries.back());
}

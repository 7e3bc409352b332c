// The bar editor driven through its controls in the test process: the list, its buttons,
// dropped files, the item clipboard with macro copies, and what OK and Cancel leave behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "MacroStandIn.h"
#include "ModelBuilder.h"
#include "dialogs/BarEditor.h"
#include "dialogs/BarPropertiesDialog.h"
#include "engine/BarTable.h"
#include "engine/BarWindow.h"
#include "model/SettingsFile.h"
#include "resources/resource.h"

using namespace orvale;
using namespace testing_support;

namespace {

using Strings = std::vector<std::wstring>;

Strings Rows(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_BAR_ITEMS);
    Strings rows;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        wchar_t text[512] = {};
        ListView_GetItemText(list, i, 0, text, 512);
        rows.push_back(text);
    }
    return rows;
}

int Selected(HWND dialog) {
    return ListView_GetNextItem(GetDlgItem(dialog, IDC_BAR_ITEMS), -1, LVNI_SELECTED);
}

void SelectRow(HWND dialog, int row) {
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(GetDlgItem(dialog, IDC_BAR_ITEMS), row, both, both);
}

// Which of Properties, Remove, Up and Down are enabled, once the 100 ms timer that sets their
// states has made them `wanted` (or after a second, when it does not).
std::string Enabled(HWND dialog, const std::string& wanted) {
    std::string enabled;
    WaitUntil([&] {
        enabled.clear();
        const int buttons[] = {IDC_BAR_PROPERTIES, IDC_BAR_REMOVE, IDC_BAR_UP, IDC_BAR_DOWN};
        for (int i = 0; i < 4; ++i) {
            if (IsWindowEnabled(GetDlgItem(dialog, buttons[i]))) enabled += "PRUD"[i];
        }
        return enabled == wanted;
    }, 1000);
    return enabled;
}

// Hands the dialog one dropped file, as the shell does.
void DropFile(HWND dialog, const std::wstring& path) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    path.copy(reinterpret_cast<wchar_t*>(drop + 1), path.size());
    GlobalUnlock(memory);
    SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// Each item of the bar as its tooltip (type 101) or its type number.
Strings Items(const BarDef& bar) {
    Strings listed;
    for (const BarItem& item : items(bar)) {
        listed.push_back(item.IsAttributed() ? item.Tt() : std::to_wstring(item.Node()->number));
    }
    return listed;
}

class BarEditorTest : public ::testing::Test {
protected:
    void SetUp() override { TheItemClipboard() = ItemClipboard(); }
    void TearDown() override { DestroyAllBarWindows(); }
    // Runs the editor of bar `number` while `drive` works its dialog; EditBar's answer.
    bool Edit(int number, const DialogAction& drive) {
        bool confirmed = false;
        EXPECT_TRUE(PlayDialogs({{"Bar Properties", drive}},
                                [&] { confirmed = EditBar(barDefs[number]); }));
        return confirmed;
    }

    TestSettings settings_;
};

}  // namespace

TEST_F(BarEditorTest, RemoveUpDownAndCopyActOnlyWhereTheyCan) {
    MakeBar(2, false, true, {102, 103, 104});
    EXPECT_FALSE(Edit(2, [](HWND d) {
        EXPECT_EQ((Strings{L"Start Menu", L"Swap Windows", L"Next Document"}), Rows(d));
        EXPECT_EQ(-1, Selected(d));
        EXPECT_EQ("", Enabled(d, "")) << "nothing selected";
        Press(d, IDC_BAR_COPY);  // copies nothing
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_BAR_PASTE)));
        SelectRow(d, 0);
        EXPECT_EQ("RD", Enabled(d, "RD")) << "a built-in item has no properties; it is on top";
        Press(d, IDC_BAR_UP);
        EXPECT_EQ(0, Selected(d));
        Press(d, IDC_BAR_DOWN);
        EXPECT_EQ((Strings{L"Swap Windows", L"Start Menu", L"Next Document"}), Rows(d));
        EXPECT_EQ(1, Selected(d)) << "the selection moves with the item";
        Press(d, IDC_BAR_DOWN);
        EXPECT_EQ("RU", Enabled(d, "RU")) << "at the bottom";
        Press(d, IDC_BAR_DOWN);
        EXPECT_EQ(2, Selected(d));
        Press(d, IDC_BAR_REMOVE);
        EXPECT_EQ(1, Selected(d)) << "the new last row after removing the last";
        SelectRow(d, 0);
        Press(d, IDC_BAR_REMOVE);
        Press(d, IDC_BAR_REMOVE);
        EXPECT_TRUE(Rows(d).empty());
        EXPECT_EQ(-1, Selected(d)) << "nothing left to select";
        Press(d, IDCANCEL);
    }));
    EXPECT_EQ((Strings{L"102", L"103", L"104"}), Items(barDefs[2])) << "Cancel keeps the bar";
}

TEST_F(BarEditorTest, ItemsWithoutARowKeepTheirPlaceAndOkSavesTheBarAsItWas) {
    MakeBar(3, true, true, {102, 109, 106, 5, 110});
    ASSERT_FALSE(saveBarItems(3));
    const std::string before = ReadFile(settings_.File());
    EXPECT_TRUE(Edit(3, [](HWND d) {
        EXPECT_EQ((Strings{L"Start Menu", L"Minimize Window", L"Close Application"}), Rows(d));
        Press(d, IDOK);
    }));
    EXPECT_EQ((Strings{L"102", L"109", L"106", L"5", L"110"}), Items(barDefs[3]));
    EXPECT_EQ(before, ReadFile(settings_.File())) << "saved exactly as it was";
    ASSERT_TRUE(BarTable[3]) << "the bar has a new window";
    EXPECT_EQ(5, BarTable[3]->count);

    // Moving the item before a separator takes the separator along; the item after it keeps it.
    EXPECT_TRUE(Edit(3, [](HWND d) {
        SelectRow(d, 0);
        Press(d, IDC_BAR_DOWN);
        SelectRow(d, 2);
        Press(d, IDC_BAR_REMOVE);
        Press(d, IDOK);
    }));
    EXPECT_EQ((Strings{L"106", L"5", L"102", L"109"}), Items(barDefs[3]));
}

TEST_F(BarEditorTest, ADroppedFileBecomesAnApplicationItemAndABarTakesAtMost64Items) {
    MakeBar(1, true, true, std::vector<int>(62, 106));
    const std::wstring dropped = win::Widen(settings_.File("Quarterly Report.final.xlsx"));
    EXPECT_TRUE(Edit(1, [&](HWND d) {
        DropFile(d, dropped);
        EXPECT_EQ(L"Quarterly Report.final", Rows(d).back()) << "named without folder and type";
        EXPECT_EQ(62, Selected(d)) << "the new row is selected";
        Press(d, IDM_ADD_START_MENU);
        EXPECT_EQ(64u, Rows(d).size());
        EXPECT_TRUE(PressPlaying(d, IDM_ADD_ALWAYS_ON_TOP, {{"Orvale", Pressing(IDOK)}}))
            << "a 65th item is refused with a message";
        EXPECT_EQ(64u, Rows(d).size());
        Press(d, IDOK);
    }));
    const BarItem added = items(barDefs[1])[62];
    EXPECT_EQ(dropped + L"|default|", added.Pth() + L"|" + added.Ipth() + L"|" + added.Dir())
        << "an Application item";
    EXPECT_EQ(ItemType::StartMenu, items(barDefs[1])[63].Type());
}

TEST_F(BarEditorTest, PastedMacroCopiesGoOnCancelAndRemovedDefaultFileMacrosOnlyOnOk) {
    MacroStandIn tool;
    tool.Script("cpy", "result", "1");
    tool.Script("cpy", "strres", "copy1");
    // The third is an e-mail item by the launcher's rule (its first marker is "mailto:").
    MakeBar(4, true, true, {101, 101, 101},
            {{L"", L"C:\\team.brd", L"macro.ico", 0, L"Original", L"macro:", L"Original"},
             {L"", L"", L"macro.ico", 0, L"Mine", L"macro:", L"Mine"},
             {L"", L"", L"email.ico", 0, L"Letter", L"mailto:x@y.z macro:", L"Letter"}});
    EXPECT_FALSE(Edit(4, [](HWND d) {
        SelectRow(d, 0);
        Press(d, IDC_BAR_COPY);
        Press(d, IDC_BAR_PASTE);
        Press(d, IDC_BAR_PASTE);
        EXPECT_EQ(5u, Rows(d).size());
        SelectRow(d, 1);
        Press(d, IDC_BAR_REMOVE);  // a macro of the default file: deleted only on OK
        Press(d, IDCANCEL);
    }));
    const std::string standIn = tool.Program();
    EXPECT_EQ((std::vector<std::string>{standIn + " -cpy:Original C:\\team.brd",
                                        standIn + " -cpy:copy1 C:\\team.brd",
                                        standIn + " -del:copy1 C:\\team.brd",
                                        standIn + " -del:copy1 C:\\team.brd"}),
              tool.CommandLines())
        << "the second copy is made from the first; Cancel deletes both, not the original";
    EXPECT_EQ((Strings{L"Original", L"Mine", L"Letter"}), Items(barDefs[4]));

    EXPECT_TRUE(Edit(4, [](HWND d) {
        SelectRow(d, 2);
        Press(d, IDC_BAR_REMOVE);  // no macro, whatever else its dir holds
        SelectRow(d, 1);
        Press(d, IDC_BAR_REMOVE);
        SelectRow(d, 0);
        Press(d, IDC_BAR_REMOVE);  // another file's macro is never deleted
        Press(d, IDOK);
    }));
    ASSERT_EQ(5u, tool.CommandLines().size());
    EXPECT_EQ(0u, tool.CommandLines().back().find(standIn + " -del:Mine "));
    EXPECT_TRUE(Items(barDefs[4]).empty());

    // A copy the tool could not make pastes nothing, whatever "strres" says, and Cancel then
    // deletes nothing; the editor takes no input while the tool runs.
    tool.Script("cpy", "result", "0");
    tool.Script("cpy", "strres", "Unrelated");
    tool.Script("cpy", "wait", "300");
    static bool s_disabledMeanwhile = false;
    s_disabledMeanwhile = false;
    EXPECT_FALSE(Edit(4, [](HWND d) {
        static HWND s_dialog = d;
        s_dialog = d;
        const UINT_PTR look = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            s_disabledMeanwhile |= !IsWindowEnabled(s_dialog);
        });
        Press(d, IDC_BAR_PASTE);
        KillTimer(nullptr, look);
        EXPECT_TRUE(Rows(d).empty());
        EXPECT_TRUE(IsWindowEnabled(d));
        Press(d, IDCANCEL);
    }));
    EXPECT_TRUE(s_disabledMeanwhile);
    const std::vector<std::string> lines = tool.CommandLines();
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(standIn + " -cpy:copy1 C:\\team.brd", lines.back());
}

TEST_F(BarEditorTest, MacroFlowsAddOnlyWhatTheToolMadeAndDeleteWhatTheUserCancelled) {
    MacroStandIn tool;
    const struct {
        const char* name;
        int command;
        std::vector<const char*> made;  // the tool's commands, in order; the last answers 0 if
        bool toolFails;                 // `toolFails`, else each answers 1
        int editorButton;               // how the Macro Properties editor ends; 0: it never opens
    } flows[] = {
        {"empty macro refused", IDM_ADD_EMPTY_MACRO, {"add"}, true, 0},
        {"empty macro cancelled", IDM_ADD_EMPTY_MACRO, {"add", "del"}, false, IDCANCEL},
        {"empty macro", IDM_ADD_EMPTY_MACRO, {"add"}, false, IDOK},
        {"recording failed", IDM_ADD_RECORD_MACRO, {"new", "rec"}, true, 0},
        {"recorded, cancelled", IDM_ADD_RECORD_MACRO, {"new", "rec", "del"}, false, IDCANCEL},
        {"recorded", IDM_ADD_RECORD_MACRO, {"new", "rec"}, false, IDOK},
    };
    for (const auto& flow : flows) {
        SCOPED_TRACE(flow.name);
        for (const char* verb : flow.made) tool.Script(verb, "result", "1");
        if (flow.toolFails) tool.Script(flow.made.back(), "result", "0");
        const size_t before = tool.CommandLines().size();
        MakeBar(5, true, true, {});
        Edit(5, [&](HWND d) {
            const bool editorRan = PlayDialogs({{"Macro Properties", [&](HWND editor) {
                TypeInto(editor, IDC_ITEM_TT, L"Weekly");
                Press(editor, flow.editorButton);
            }}}, [&] { Press(d, flow.command); }, 3000);
            EXPECT_EQ(flow.editorButton != 0, editorRan);
            EXPECT_TRUE(IsWindowVisible(d)) << "the editor is back on screen";
            EXPECT_EQ(flow.editorButton == IDOK ? 1u : 0u, Rows(d).size());
            Press(d, IDOK);
        });
        const std::vector<std::string> lines = tool.CommandLines();
        ASSERT_EQ(before + flow.made.size(), lines.size());
        const size_t at = lines[before].find(":ov32mac");
        ASSERT_NE(std::string::npos, at) << lines[before];
        const std::string name = lines[before].substr(at + 1, lines[before].find(' ', at) - at - 1);
        for (size_t i = 0; i < flow.made.size(); ++i) {
            EXPECT_NE(std::string::npos,
                      lines[before + i].find(std::string(" -") + flow.made[i] + ":" + name + " "))
                << "every command is about the macro just made: " << lines[before + i];
        }
        if (flow.editorButton != IDOK) continue;
        ASSERT_EQ(1u, items(barDefs[5]).size());
        const BarItem item = items(barDefs[5]).front();
        EXPECT_EQ(win::Widen(name) + L"||macro:|Weekly",
                  item.Par() + L"|" + item.Pth() + L"|" + item.Dir() + L"|" + item.Tt())
            << "a macro of the default file";
    }
}

TEST_F(BarEditorTest, SelectMacroTakesTheChosenFileAndTheToolsAnswerAndWithoutTheToolExplains) {
    MacroStandIn tool;
    tool.Script("sel", "result", "1");
    tool.Script("sel", "strres", "Picked");
    MakeBar(6, true, true, {});
    EXPECT_TRUE(Edit(6, [&](HWND d) {
        EXPECT_TRUE(PressPlaying(d, IDM_ADD_SELECT_MACRO, {{"Macro file", [](HWND chooser) {
            TypeInto(chooser, IDC_MACRO_FILE_PATH, L"C:\\team.brd");
            Press(chooser, IDOK);
        }}, {"Macro Properties", Pressing(IDOK)}}));
        // The item editor's own Select Macro chooses again, from another file.
        EXPECT_TRUE(PressPlaying(d, IDM_ADD_SELECT_MACRO, {{"Macro file", [](HWND chooser) {
            TypeInto(chooser, IDC_MACRO_FILE_PATH, L"C:\\team.brd");
            Press(chooser, IDOK);
        }}, {"Macro Properties", [&](HWND properties) {
            tool.Script("sel", "strres", "Second");
            EXPECT_TRUE(PressPlaying(properties, IDC_ITEM_SELECT_MACRO, {{"Macro file",
                [](HWND chooser) {
                    TypeInto(chooser, IDC_MACRO_FILE_PATH, L"C:\\other.brd");
                    Press(chooser, IDOK);
                }}}));
            Press(properties, IDOK);
        }}}));
        Press(d, IDOK);
    }));
    EXPECT_EQ(tool.Program() + " -sel: C:\\other.brd", tool.CommandLines().back());
    ASSERT_EQ(2u, items(barDefs[6]).size());
    const BarItem item = items(barDefs[6])[0];
    EXPECT_EQ(L"Picked|C:\\team.brd", item.Par() + L"|" + item.Pth());
    const BarItem again = items(barDefs[6])[1];
    EXPECT_EQ(L"Second|C:\\other.brd", again.Par() + L"|" + again.Pth())
        << "the name and the file of one answer";

    SetExchangeValue("path", nullptr);  // the tool is not installed
    EXPECT_FALSE(Edit(6, [&](HWND d) {
        for (int command : {IDM_ADD_EMPTY_MACRO, IDM_ADD_RECORD_MACRO, IDM_ADD_SELECT_MACRO}) {
            EXPECT_TRUE(PressPlaying(d, command, {{"Macros", Pressing(IDCANCEL)}})) << command;
        }
        Press(d, IDCANCEL);
    }));
}

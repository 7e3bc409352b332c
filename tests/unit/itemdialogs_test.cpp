// The item editor with each of its templates and the dialogs it opens, driven through their
// controls; the macro buttons against the macro tool's stand-in; the folders of ">>".
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "MacroStandIn.h"
#include "ModelBuilder.h"
#include "ShellHandler.h"
#include "actions/KeySequence.h"
#include "actions/ShellFolders.h"
#include "dialogs/ItemPropertiesDialog.h"
#include "dialogs/MacroFileDialog.h"
#include "dialogs/MacrosInfoDialog.h"
#include "model/SettingsFile.h"
#include "resources/resource.h"
#include "win/Text.h"

using namespace orvale;
using namespace testing_support;

namespace {

const std::wstring kIconFile = win::Widen(BinDir() + "\\orvale.exe");
// The text fields and the controls that show them.
const std::pair<int, std::wstring ItemAttributes::*> kFields[] = {
    {IDC_ITEM_WND, &ItemAttributes::wnd}, {IDC_ITEM_PTH, &ItemAttributes::pth},
    {IDC_ITEM_PAR, &ItemAttributes::par}, {IDC_ITEM_DIR, &ItemAttributes::dir},
    {IDC_ITEM_TT, &ItemAttributes::tt}};

bool PreviewShown(HWND dialog) {
    return SendDlgItemMessageW(dialog, IDC_ITEM_ICON, STM_GETICON, 0, 0) != 0;
}

bool ShowsText(HWND dialog, const std::wstring& text) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (win::WindowText(child) == text) return true;
    }
    return false;
}

// The seven attributes in one line, for comparisons that show every difference at once.
std::wstring Line(const ItemAttributes& a) {
    return a.wnd + L"|" + a.pth + L"|" + a.ipth + L"|" + std::to_wstring(a.inum) + L"|" + a.par +
           L"|" + a.dir + L"|" + a.tt;
}

std::wstring FolderOf(HWND fileDialog) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(fileDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

}  // namespace

TEST(ItemPropertiesDialog, EachTemplateEditsItsKindsFieldsAndKeepsTheHiddenOnes) {
    const struct {
        int templateId;
        const char* caption;
        const wchar_t* dir;  // an Application's start-up directory, else the kind's marker
    } templates[] = {
        {IDD_ITEM_APPLICATION, "Application properties", L"C:\\start"},
        {IDD_ITEM_EMAIL, "Send E-mail Properties", L"mailto:"},
        {IDD_ITEM_WEB_PAGE, "Open Web Page Properties", L"www:"},
        {IDD_ITEM_MACRO, "Macro Properties", L"macro:"},
        {IDD_ITEM_KEY_SEQUENCE, "Key Sequence Properties", L"kseq:"},
        {IDD_ITEM_SELECT_FILE, "Select File properties", L"file:"},
    };
    for (const auto& t : templates) {
        SCOPED_TRACE(t.caption);
        EXPECT_EQ(t.templateId, ItemTemplateFor(itemKind(t.dir)));
        const ItemAttributes given = {L"Notes", L"C:\\x.exe", kIconFile, 3, L"-a", t.dir, L"Tip"};
        ItemPropertiesDialog dialog(t.templateId);
        dialog.values = given;
        ItemAttributes expected = given;
        EXPECT_EQ(IDOK, RunDriven(dialog, t.caption, [&](HWND d) {
            EXPECT_TRUE(PreviewShown(d)) << "the icon file's icon";
            EXPECT_EQ(t.templateId == IDD_ITEM_APPLICATION,
                      IsWindowVisible(GetDlgItem(d, IDC_ITEM_DIR)) != FALSE)
                << "a kind's marker is out of the user's reach";
            for (const auto& field : kFields) {
                if (!IsWindowVisible(GetDlgItem(d, field.first))) continue;
                EXPECT_EQ(given.*field.second, TextOf(d, field.first));
                TypeInto(d, field.first, expected.*field.second += L" new");
            }
            Press(d, IDOK);
        }));
        EXPECT_NE(Line(given), Line(expected)) << "fields to edit";
        EXPECT_EQ(Line(expected), Line(dialog.values)) << "the hidden fields come back unchanged";
    }
}

TEST(ItemPropertiesDialog, AKeySequenceOf129IsRefusedAndOf128WithAnAddedKeyIsKept) {
    const std::wstring keys(123, L'k');
    ItemPropertiesDialog dialog(IDD_ITEM_KEY_SEQUENCE);
    dialog.values.dir = L"kseq:";
    EXPECT_EQ(IDOK, RunDriven(dialog, "Key Sequence Properties", [&](HWND d) {
        TypeInto(d, IDC_ITEM_PTH, std::wstring(129, L'k'));
        EXPECT_TRUE(PressPlaying(d, IDOK, {{"Orvale", [](HWND box) {
            EXPECT_TRUE(ShowsText(
                box, L"The key sequence is too long.  Use macros for more complex tasks."));
            Press(box, IDOK);
        }}}));
        EXPECT_TRUE(IsWindowVisible(d)) << "refused: the dialog stays open";

        TypeInto(d, IDC_ITEM_PTH, keys);
        SendDlgItemMessageW(d, IDC_ITEM_PTH, EM_SETSEL, 0, 0);  // the caret at the start
        EXPECT_TRUE(PressPlaying(d, IDC_ITEM_SPECIAL_KEY, {{"Add Special Key", [](HWND add) {
            std::vector<std::wstring> table;
            for (const SpecialKey& key : SpecialKeyTable) table.push_back(key.name);
            EXPECT_EQ(table, ListRows(GetDlgItem(add, IDC_SPECIAL_KEYS))) << "in table order";
            Press(add, IDOK);  // the first, "Alt", is chosen at first
        }}}));
        EXPECT_EQ(keys + L"<alt>", TextOf(d, IDC_ITEM_PTH)) << "added at the end";
        Press(d, IDOK);
    }));
    EXPECT_EQ(keys + L"<alt>", dialog.values.pth);
    EXPECT_EQ(L"kseq:", dialog.values.dir);
}

TEST(ItemPropertiesDialog, BrowsingFillsThePathFromTheFolderMenusChoice) {
    TempDir folder;
    const std::wstring panel = win::Widen(folder.File("panel.cpl")),
                       program = win::Widen(BinDir() + "\\testapp.exe");
    ASSERT_TRUE(CopyFileW(program.c_str(), panel.c_str(), FALSE));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const struct {
        int entry;  // of the ">>" menu: "Control Panel Extensions", "Other ..."
        std::wstring ipth, chosen, startFolder;
        bool leftPreview;
        ItemAttributes expected;
    } cases[] = {
        {3, L"old.ico", panel, system, false,
         {L"W", L"control.exe", panel, 0, panel, L"C:\\start", L"T"}},
        {4, L"default", program, L"", true,
         {L"W", program, L"default", 2, L"", L"C:\\start", L"T"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        ItemPropertiesDialog dialog;
        dialog.values = {L"W", L"old.exe", c.ipth, 2, L"-old", L"C:\\start", L"T"};
        EXPECT_EQ(IDOK, RunDriven(dialog, "Application properties", [&](HWND d) {
            EXPECT_FALSE(PreviewShown(d)) << "neither old.ico nor old.exe has an icon";
            SetFocus(GetDlgItem(d, IDC_ITEM_PTH));
            TypeInto(d, IDC_ITEM_PTH, program);
            SetFocus(GetDlgItem(d, IDC_ITEM_TT));
            EXPECT_EQ(c.leftPreview, PreviewShown(d)) << "the path's icon once the field is left";
            const RECT button = WindowRect(GetDlgItem(d, IDC_ITEM_BROWSE));
            MoveMouse(button.left + 4, button.top + 4);  // the menu opens under the pointer
            EXPECT_TRUE(PressPlaying(d, IDC_ITEM_BROWSE,
                                     {{kMenu, [&](HWND menu) { PickEntry(menu, c.entry); }},
                                      {"Select", [&](HWND select) {
                                           if (!c.startFolder.empty()) {
                                               EXPECT_EQ(c.startFolder, FolderOf(select));
                                           }
                                           ChooseInFileDialog(select, c.chosen);
                                       }}}));
            EXPECT_EQ(c.expected.pth, TextOf(d, IDC_ITEM_PTH));
            EXPECT_TRUE(PreviewShown(d));
            Press(d, IDOK);
        }));
        EXPECT_EQ(Line(c.expected), Line(dialog.values));
    }
}

class MacroDialogs : public ::testing::Test {
protected:
    std::string Command(const std::string& rest) const { return tool.Program() + rest; }
    bool Choose(std::wstring& file, const DialogAction& drive) {
        bool chosen = false;
        EXPECT_TRUE(PlayDialogs({{"Macro file", drive}},
                                [&] { chosen = chooseMacroFile(nullptr, file); }));
        return chosen;
    }

    TestSettings settings;
    MacroStandIn tool;
};

TEST_F(MacroDialogs, TheStoredFileIsShownCancelWritesNothingAndTheSampleIsOfferedUntilAChoice) {
    const std::string ini = "[options]\r\nbrfile=C:\\gone\\old.brd\r\n";
    settings.Write(ini);
    std::wstring file = L"unchanged";
    EXPECT_FALSE(Choose(file, [](HWND d) {
        EXPECT_EQ(L"C:\\gone\\old.brd", TextOf(d, IDC_MACRO_FILE_PATH));
        EXPECT_TRUE(PressPlaying(d, IDC_MACRO_FILE_BROWSE, {{"Open", [](HWND open) {
            ChooseInFileDialog(open, L"C:\\new.brd");
        }}}));
        EXPECT_EQ(L"C:\\new.brd", TextOf(d, IDC_MACRO_FILE_PATH));
        Press(d, IDCANCEL);
    }));
    EXPECT_EQ(L"unchanged", file);
    EXPECT_EQ(ini, ReadFile(settings.File()));

    settings.Write("");  // no file chosen yet: the sample beside the tool, until one is
    const std::wstring sample = win::Widen(tool.Program().substr(0, tool.Program().rfind('\\'))) +
                                L"\\samples.brd";
    const std::wstring mine = L"D:\\macros\\mine.brd";
    const std::pair<std::wstring, std::wstring> rounds[] = {  // offered, typed
        {sample, L""}, {sample, mine}, {mine, mine}};
    for (const auto& round : rounds) {
        file.clear();
        EXPECT_TRUE(Choose(file, [&](HWND d) {
            EXPECT_EQ(round.first, TextOf(d, IDC_MACRO_FILE_PATH));
            TypeInto(d, IDC_MACRO_FILE_PATH, round.second);
            Press(d, IDOK);
        }));
        EXPECT_EQ(round.second, file);
        EXPECT_NE(std::string::npos,
                  ReadFile(settings.File()).find("brfile=" + win::Narrow(round.second) + "\r\n"))
            << "saved at once";
    }
}

TEST_F(MacroDialogs, TheSampleFileLiesInTheFolderOfTheToolsProgram) {
    const std::pair<std::wstring, std::wstring> cases[] = {  // the tool's command, the sample
        {L"C:\\Tools\\Brindle\\brindle.exe", L"C:\\Tools\\Brindle\\samples.brd"},
        {L"\"C:\\Program Files\\Brindle\\br.exe\" -q", L"C:\\Program Files\\Brindle\\samples.brd"},
        {L"brindle_standin", win::Widen(BinDir()) + L"\\samples.brd"},  // found on the search path
        {L"no_such_tool.exe", settingsPath(L"samples.brd")},     // this program's folder
        {L"", settingsPath(L"samples.brd")},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, SampleMacroFile(c.first)) << win::Narrow(c.first);
}

// Holds the tool's next `verb` command until `look` has seen the program while the tool runs.
class WhileToolRuns {
public:
    WhileToolRuns(MacroStandIn& tool, const std::string& verb, const TempDir& folder,
                  std::function<void()> look)
        : release_(folder.File(verb + ".go")) {
        DeleteFileA(release_.c_str());
        tool.Script(verb, "holduntil", release_);
        const size_t before = tool.CommandLines().size();
        watcher_ = std::thread([=, &tool] {
            if (WaitUntil([&] { return tool.CommandLines().size() > before; })) look();
            WriteFile(release_, "go");
        });
    }
    ~WhileToolRuns() { watcher_.join(); }

private:
    std::string release_;
    std::thread watcher_;
};

TEST_F(MacroDialogs, SelectTakesTheFileAndTheToolsAnswerAndEditRunsTheToolOnThem) {
    TempDir folder;
    settings.Write("[options]\r\nbrfile=C:\\macros\\daily.brd\r\n");
    tool.Script("sel", "result", "0");  // cancelled in the tool: nothing is taken
    tool.Script("sel", "strres", "Morning");
    ItemPropertiesDialog dialog(IDD_ITEM_MACRO);
    dialog.values.dir = L"macro:";
    std::atomic<bool> disabled{false};
    EXPECT_EQ(IDOK, RunDriven(dialog, "Macro Properties", [&](HWND d) {
        TypeInto(d, IDC_ITEM_TT, L"Typed first");
        EXPECT_TRUE(PressPlaying(d, IDC_ITEM_SELECT_MACRO, {{"Macro file", Pressing(IDOK)}}));
        EXPECT_EQ(L"", TextOf(d, IDC_ITEM_PTH) + TextOf(d, IDC_ITEM_PAR));
        tool.Script("sel", "result", "1");
        EXPECT_TRUE(PressPlaying(d, IDC_ITEM_SELECT_MACRO, {{"Macro file", Pressing(IDOK)}}));
        WhileToolRuns edit(tool, "edit", folder, [&] { disabled = !IsWindowEnabled(d); });
        Press(d, IDC_ITEM_EDIT_MACRO);
        EXPECT_TRUE(IsWindowEnabled(d));
        Press(d, IDOK);
    }));
    EXPECT_EQ(L"|C:\\macros\\daily.brd||0|Morning|macro:|Typed first", Line(dialog.values));
    EXPECT_TRUE(disabled) << "the dialog waits for the tool";
    EXPECT_EQ((std::vector<std::string>{Command(" -sel: C:\\macros\\daily.brd"),
                                        Command(" -sel: C:\\macros\\daily.brd"),
                                        Command(" -edit:Morning C:\\macros\\daily.brd")}),
              tool.CommandLines());
}

TEST_F(MacroDialogs, RecordMacroHidesTheDialogAndThreeOwnersAndARecordingClosesIt) {
    TempDir folder;
    // Four windows, each owned by the one before; the dialog is owned by the last.
    std::vector<HWND> owners;
    for (int i = 0; i < 4; ++i) {
        owners.push_back(CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE,
                                         20 + 30 * i, 20, 200, 100,
                                         owners.empty() ? nullptr : owners.back(), nullptr,
                                         nullptr, nullptr));
    }
    for (bool recorded : {true, false}) {
        SCOPED_TRACE(recorded);
        tool.Script("rec", "result", recorded ? "1" : "0");
        ItemPropertiesDialog dialog(IDD_ITEM_MACRO);
        dialog.values = {L"", L"C:\\m.brd", L"macro.ico", 0, L"Morning", L"macro:", L"T"};
        std::string hidden;  // one letter a window, dialog first: h hidden, v visible
        INT_PTR closed = -2;
        PlayDialogs({{"Macro Properties", [&](HWND d) {
            {
                WhileToolRuns record(tool, "rec", folder, [&] {
                    for (HWND w : {d, owners[3], owners[2], owners[1], owners[0]}) {
                        hidden += IsWindowVisible(w) ? 'v' : 'h';
                    }
                });
                Press(d, IDC_ITEM_RECORD_MACRO);
            }
            if (recorded) return;
            EXPECT_TRUE(IsWindowVisible(d)) << "a failed recording keeps the dialog";
            Press(d, IDCANCEL);
        }}}, [&] { closed = dialog.Run(owners[3]); });
        EXPECT_EQ("hhhhv", hidden);
        EXPECT_EQ(recorded ? IDOK : IDCANCEL, closed);
        for (HWND owner : owners) EXPECT_TRUE(IsWindowVisible(owner)) << "shown again";
    }
    EXPECT_EQ(std::vector<std::string>(2, Command(" -rec:Morning C:\\m.brd")), tool.CommandLines());
    DestroyWindow(owners[0]);  // and the windows it owns
}

TEST(MacrosInformation, TheHomePageButtonOpensTheHelpPageAtItsMacrosSection) {
    TestSettings beside;  // the program's folder, as far as the page is concerned
    ASSERT_TRUE(CopyBeside("shell_recorder.exe", beside.Folder()));
    const std::string pages = ClassOfFileType(".htm");
    ASSERT_FALSE(pages.empty());
    ShellHandler opener(pages, "\"" + beside.File("shell_recorder.exe") + "\" \"%1\"", false);

    const std::string address = win::Narrow(MacrosHelpAddress());
    EXPECT_EQ(0u, address.find("file:///")) << address;
    EXPECT_EQ(address.size() - 19, address.find("/ovehelp.htm#macros")) << address;
    EXPECT_TRUE(PlayDialogs({{"Macros", [&](HWND d) {
        Press(d, IDC_MACROS_HOME_PAGE);
        EXPECT_TRUE(WaitUntil([&] {
            const std::vector<std::string> lines = ReadLines(beside.File("shell_recorder.log"));
            return !lines.empty() && lines[0].find(address) != std::string::npos;
        })) << "the browser is given the whole address";
        Press(d, IDCANCEL);
    }}}, [] { ShowMacrosInformation(nullptr); }));
}

TEST(SpecialFolders, TheShellsAnswerWinsAndTheOldLayoutIsTheFallback) {
    using K = SpecialFolder;
    const FolderFacts shell = {L"D:\\Users\\ann\\Menu", L"C:\\WINNT", L"ann", true},
                      nt = {L"", L"C:\\WINNT", L"ann", true},
                      ntNobody = {L"", L"C:\\WINNT", L"", true},
                      win95 = {L"", L"C:\\WIN", L"", false},
                      win95User = {L"", L"C:\\WIN", L"bob", false};
    const struct {
        K kind;
        FolderFacts facts;
        const wchar_t* folder;
    } cases[] = {
        {K::ProgramFiles, shell, L"D:\\Users\\ann\\Menu"},
        {K::StartMenu, nt, L"C:\\WINNT\\Profiles\\ann\\Start Menu"},
        {K::StartMenu, ntNobody, L"C:\\WINNT\\Profiles\\All Users\\Start Menu"},
        {K::System, nt, L"C:\\WINNT\\System32"},
        {K::ProgramFiles, nt, L"C:\\Program Files"},
        {K::StartMenu, win95, L"C:\\WIN\\Start Menu"},
        {K::Desktop, win95User, L"C:\\WIN\\Profiles\\bob\\Desktop"},
        {K::System, win95, L"C:\\WIN\\System"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.folder, SpecialFolderFrom(c.kind, c.facts));
    // On this system the shell answers, with folders that exist.
    for (K kind : {K::Desktop, K::StartMenu, K::Windows, K::System, K::ProgramFiles}) {
        const DWORD attributes = GetFileAttributesW(SpecialFolderPath(kind).c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_DIRECTORY))
            << win::Narrow(SpecialFolderPath(kind));
    }
}

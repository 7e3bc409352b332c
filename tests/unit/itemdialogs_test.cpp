// The item editor with each of its templates, and the dialogs it opens: Add Special Key,
// "Macro file" and "Macros", driven through their controls; the macro buttons against the
// macro tool's stand-in; the folders the ">>" menu starts in.
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
#include "ShellHandler.h"
#include "actions/KeySequence.h"
#include "actions/ShellFolders.h"
#include "dialogs/ItemPropertiesDialog.h"
#include "dialogs/MacroFileDialog.h"
#include "dialogs/MacrosInfoDialog.h"
#include "dialogs/AddKeyDialog.h"
#include "model/SettingsFile.h"
#include "resources/resource.h"
#include "win/Text.h"

using namespace orvale;
using namespace testing_support;

namespace {

const std::wstring kIconFile = Wide(BinDir() + "\\orvale.exe");
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

// Presses button `id` of `dialog` and plays `answer` on the dialog it opens; false if none.
bool PressAnswering(HWND dialog, int id, const std::string& caption, const DialogAction& answer) {
    return PlayDialogs({{caption, answer}}, [&] { Press(dialog, id); });
}
const DialogAction kPressOk = [](HWND d) { Press(d, IDOK); };

// The seven attributes in one line, for comparisons that show every difference at once.
std::wstring Line(const ItemAttributes& a) {
    return a.wnd + L"|" + a.pth + L"|" + a.ipth + L"|" + std::to_wstring(a.inum) + L"|" + a.par +
           L"|" + a.dir + L"|" + a.tt;
}

// Picks entry `index` (separators not counted) of the next popup menu of this thread with the
// keys, through the menu's message queue. Home first: the menu opens under the pointer, which
// may already have chosen an entry.
UINT g_index = 0;
void CALLBACK PickFromMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM found) -> BOOL {
        if (ClassOf(window) != "#32768" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&menu));
    if (!menu) return;
    KillTimer(nullptr, timer);
    PostMessageW(menu, WM_KEYDOWN, VK_HOME, 0);
    for (UINT i = 0; i < g_index; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}
void PickMenuEntry(UINT index) {
    g_index = index;
    SetTimer(nullptr, 0, 20, PickFromMenu);
}

std::wstring FolderOf(HWND fileDialog) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(fileDialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

// Settings of the test's own, in a folder that starts empty.
class SettingsFolder {
public:
    SettingsFolder() { SetSettingsFolderForTesting(Wide(folder_.Path())); }
    ~SettingsFolder() { SetSettingsFolderForTesting(L""); }
    std::string File(const std::string& name = "ov32data.ini") const { return folder_.File(name); }
    void Write(const std::string& ini) {
        WriteFile(File(), ini);
        SetSettingsFolderForTesting(Wide(folder_.Path()));
    }

private:
    TempDir folder_;
};

}  // namespace

// ---- The item editor ----------------------------------------------------------------------

TEST(ItemPropertiesDialog, EachTemplateEditsItsKindsFieldsAndKeepsTheHiddenOnes) {
    const struct {
        int templateId;
        const char* caption;
        const wchar_t* dir;  // an Application's start-up directory, else the kind's marker
        std::vector<int> shown;
    } templates[] = {
        {IDD_ITEM_APPLICATION, "Application properties", L"C:\\start",
         {IDC_ITEM_WND, IDC_ITEM_PTH, IDC_ITEM_PAR, IDC_ITEM_DIR, IDC_ITEM_TT}},
        {IDD_ITEM_EMAIL, "Send E-mail Properties", L"mailto:", {IDC_ITEM_PTH, IDC_ITEM_TT}},
        {IDD_ITEM_WEB_PAGE, "Open Web Page Properties", L"www:", {IDC_ITEM_PTH, IDC_ITEM_TT}},
        {IDD_ITEM_MACRO, "Macro Properties", L"macro:", {IDC_ITEM_TT}},
        {IDD_ITEM_KEY_SEQUENCE, "Key Sequence Properties", L"kseq:", {IDC_ITEM_PTH, IDC_ITEM_TT}},
        {IDD_ITEM_SELECT_FILE, "Select File properties", L"file:",
         {IDC_ITEM_PTH, IDC_ITEM_PAR, IDC_ITEM_TT}},
    };
    for (const auto& t : templates) {
        SCOPED_TRACE(t.caption);
        EXPECT_EQ(t.templateId, ItemTemplateFor(itemKind(t.dir)));
        const ItemAttributes given = {L"Notes", L"C:\\x.exe", kIconFile, 3, L"-a", t.dir, L"Tip"};
        ItemPropertiesDialog dialog(t.templateId);
        dialog.values = given;
        ItemAttributes expected = given;
        std::vector<int> shown;
        EXPECT_EQ(IDOK, RunDriven(dialog, t.caption, [&](HWND d) {
            EXPECT_TRUE(PreviewShown(d)) << "the icon file's icon";
            for (const auto& field : kFields) {
                if (!IsWindowVisible(GetDlgItem(d, field.first))) continue;
                shown.push_back(field.first);
                EXPECT_EQ(given.*field.second, TextOf(d, field.first));
                TypeInto(d, field.first, given.*field.second + L" new");
                expected.*field.second += L" new";
            }
            Press(d, IDOK);
        }));
        EXPECT_EQ(t.shown, shown);
        EXPECT_EQ(Line(expected), Line(dialog.values)) << "the hidden fields come back unchanged";
    }
}

TEST(ItemPropertiesDialog, AKeySequenceOf129IsRefusedAndOf128WithAnAddedKeyIsKept) {
    const std::wstring message =
        L"The key sequence is too long.  Use macros for more complex tasks.";
    const std::wstring keys(123, L'k');
    ItemPropertiesDialog dialog(IDD_ITEM_KEY_SEQUENCE);
    dialog.values.dir = L"kseq:";
    EXPECT_EQ(IDOK, RunDriven(dialog, "Key Sequence Properties", [&](HWND d) {
        TypeInto(d, IDC_ITEM_PTH, std::wstring(129, L'k'));
        EXPECT_TRUE(PressAnswering(d, IDOK, "Orvale", [&](HWND box) {
            EXPECT_TRUE(ShowsText(box, message));
            Press(box, IDOK);
        }));
        EXPECT_TRUE(IsWindowVisible(d)) << "refused: the dialog stays open";

        TypeInto(d, IDC_ITEM_PTH, keys);
        SendDlgItemMessageW(d, IDC_ITEM_PTH, EM_SETSEL, 0, 0);  // the caret at the start
        EXPECT_TRUE(PressAnswering(d, IDC_ITEM_SPECIAL_KEY, "Add Special Key", [](HWND keys) {
            std::vector<std::wstring> listed, table;
            wchar_t name[64];
            for (WPARAM i = 0; SendDlgItemMessageW(keys, IDC_SPECIAL_KEYS, LB_GETTEXT, i,
                                                   reinterpret_cast<LPARAM>(name)) != LB_ERR;
                 ++i) {
                listed.push_back(name);
            }
            for (const SpecialKey& key : SpecialKeyTable) table.push_back(key.name);
            EXPECT_EQ(table, listed) << "in the table's order, not sorted";
            Press(keys, IDOK);  // the first, "Alt", is chosen at first
        }));
        EXPECT_EQ(keys + L"<alt>", TextOf(d, IDC_ITEM_PTH)) << "added at the end";
        Press(d, IDOK);
    }));
    EXPECT_EQ(keys + L"<alt>", dialog.values.pth);
    EXPECT_EQ(L"kseq:", dialog.values.dir);
}

TEST(ItemPropertiesDialog, BrowsingFillsThePathFromTheFolderMenusChoice) {
    TempDir folder;
    const std::wstring panel = Wide(folder.File("panel.cpl")),
                       program = Wide(BinDir() + "\\testapp.exe");
    ASSERT_TRUE(CopyFileW(program.c_str(), panel.c_str(), FALSE));
    const ItemAttributes given = {L"W", L"old.exe", L"old.ico", 2, L"-old", L"C:\\start", L"T"};
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const struct {
        const char* entry;
        UINT index;
        std::wstring ipth, chosen, startFolder;
        bool leftPreview;
        ItemAttributes expected;
    } cases[] = {
        {"Control Panel Extensions", 3, L"old.ico", panel, system, false,
         {L"W", L"control.exe", panel, 0, panel, L"C:\\start", L"T"}},
        {"Other ...", 4, L"default", program, L"", true,
         {L"W", program, L"default", 2, L"", L"C:\\start", L"T"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        ItemPropertiesDialog dialog;
        dialog.values = given;
        dialog.values.ipth = c.ipth;
        EXPECT_EQ(IDOK, RunDriven(dialog, "Application properties", [&](HWND d) {
            EXPECT_FALSE(PreviewShown(d)) << "neither old.ico nor old.exe has an icon";
            SetFocus(GetDlgItem(d, IDC_ITEM_PTH));
            TypeInto(d, IDC_ITEM_PTH, program);
            SetFocus(GetDlgItem(d, IDC_ITEM_TT));
            EXPECT_EQ(c.leftPreview, PreviewShown(d)) << "the path's icon once the field is left";
            const RECT button = WindowRect(GetDlgItem(d, IDC_ITEM_BROWSE));
            MoveMouse(button.left + 4, button.top + 4);  // the menu opens under the pointer
            PickMenuEntry(c.index);
            EXPECT_TRUE(PressAnswering(d, IDC_ITEM_BROWSE, "Select", [&](HWND select) {
                if (!c.startFolder.empty()) { EXPECT_EQ(c.startFolder, FolderOf(select)); }
                ChooseInFileDialog(select, c.chosen);
            }));
            EXPECT_EQ(c.expected.pth, TextOf(d, IDC_ITEM_PTH));
            EXPECT_TRUE(PreviewShown(d));
            Press(d, IDOK);
        }));
        EXPECT_EQ(Line(c.expected), Line(dialog.values));
    }
}

// ---- The macro file and the macro buttons --------------------------------------------------

class MacroDialogs : public ::testing::Test {
protected:
    std::wstring ToolFolder() const {
        return Wide(tool.Program().substr(0, tool.Program().find_last_of('\\') + 1));
    }
    std::string Command(const std::string& rest) const { return tool.Program() + rest; }
    bool Choose(std::wstring& file, const DialogAction& drive) {
        bool chosen = false;
        EXPECT_TRUE(PlayDialogs({{"Macro file", drive}},
                                [&] { chosen = chooseMacroFile(nullptr, file); }));
        return chosen;
    }

    SettingsFolder settings;
    MacroStandIn tool;
};

TEST_F(MacroDialogs, TheStoredFileIsShownAndCancelWritesNothing) {
    const std::string ini = "[options]\r\nbrfile=C:\\gone\\old.brd\r\n";
    settings.Write(ini);
    std::wstring file = L"unchanged";
    EXPECT_FALSE(Choose(file, [](HWND d) {
        EXPECT_EQ(L"C:\\gone\\old.brd", TextOf(d, IDC_MACRO_FILE_PATH));
        EXPECT_TRUE(PressAnswering(d, IDC_MACRO_FILE_BROWSE, "Open",
                                   [](HWND open) { ChooseInFileDialog(open, L"C:\\new.brd"); }));
        EXPECT_EQ(L"C:\\new.brd", TextOf(d, IDC_MACRO_FILE_PATH));
        Press(d, IDCANCEL);
    }));
    EXPECT_EQ(L"unchanged", file);
    EXPECT_EQ(ini, ReadFile(settings.File()));
}

TEST_F(MacroDialogs, TheSampleFileIsOfferedUntilAFileIsConfirmedAndEmptyIsStoredAsIs) {
    const std::wstring sample = ToolFolder() + L"samples.brd";
    const struct {
        std::wstring offered, typed;
    } rounds[] = {{sample, L""}, {sample, L"D:\\macros\\mine.brd"},
                  {L"D:\\macros\\mine.brd", L"D:\\macros\\mine.brd"}};
    for (const auto& round : rounds) {
        std::wstring file;
        EXPECT_TRUE(Choose(file, [&](HWND d) {
            EXPECT_EQ(round.offered, TextOf(d, IDC_MACRO_FILE_PATH));
            TypeInto(d, IDC_MACRO_FILE_PATH, round.typed);
            Press(d, IDOK);
        }));
        EXPECT_EQ(round.typed, file);
        EXPECT_NE(std::string::npos,
                  ReadFile(settings.File()).find("brfile=" + Ansi(round.typed) + "\r\n"))
            << "saved at once";
    }
}

TEST_F(MacroDialogs, TheSampleFileLiesInTheFolderOfTheToolsProgram) {
    const struct {
        std::wstring command, sample;
    } cases[] = {
        {L"C:\\Tools\\Brindle\\brindle.exe", L"C:\\Tools\\Brindle\\samples.brd"},
        {L"\"C:\\Program Files\\Brindle\\br.exe\" -q", L"C:\\Program Files\\Brindle\\samples.brd"},
        {L"brindle_standin", Wide(BinDir()) + L"\\samples.brd"},  // found on the search path
        {L"no_such_tool.exe", settingsPath(L"samples.brd")},     // this program's folder
        {L"", settingsPath(L"samples.brd")},
    };
    for (const auto& c : cases) EXPECT_EQ(c.sample, SampleMacroFile(c.command)) << Ansi(c.command);
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
    tool.Script("sel", "result", "0");  // the answer is taken whatever the result
    tool.Script("sel", "strres", "Morning");
    ItemPropertiesDialog dialog(IDD_ITEM_MACRO);
    dialog.values.dir = L"macro:";
    std::atomic<bool> disabled{false};
    EXPECT_EQ(IDOK, RunDriven(dialog, "Macro Properties", [&](HWND d) {
        TypeInto(d, IDC_ITEM_TT, L"Typed first");
        EXPECT_TRUE(PressAnswering(d, IDC_ITEM_SELECT_MACRO, "Macro file", kPressOk));
        WhileToolRuns edit(tool, "edit", folder, [&] { disabled = !IsWindowEnabled(d); });
        Press(d, IDC_ITEM_EDIT_MACRO);
        EXPECT_TRUE(IsWindowEnabled(d));
        Press(d, IDOK);
    }));
    EXPECT_EQ(L"|C:\\macros\\daily.brd||0|Morning|macro:|Typed first", Line(dialog.values));
    EXPECT_TRUE(disabled) << "the dialog waits for the tool";
    EXPECT_EQ((std::vector<std::string>{Command(" -sel: C:\\macros\\daily.brd"),
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
    for (const char* result : {"1", "0"}) {
        SCOPED_TRACE(result);
        tool.Script("rec", "result", result);
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
            if (result == std::string("0")) {
                EXPECT_TRUE(IsWindowVisible(d)) << "a failed recording keeps the dialog";
                Press(d, IDCANCEL);
            }
        }}}, [&] { closed = dialog.Run(owners[3]); });
        EXPECT_EQ("hhhhv", hidden);
        EXPECT_EQ(result == std::string("1") ? IDOK : IDCANCEL, closed);
        for (HWND owner : owners) EXPECT_TRUE(IsWindowVisible(owner)) << "shown again";
    }
    EXPECT_EQ(std::vector<std::string>(2, Command(" -rec:Morning C:\\m.brd")), tool.CommandLines());
    for (auto owner = owners.rbegin(); owner != owners.rend(); ++owner) DestroyWindow(*owner);
}

// ---- "Macros" and the help page ------------------------------------------------------------

TEST(MacrosInformation, TheHomePageButtonOpensTheHelpPageAtItsMacrosSection) {
    SettingsFolder beside;  // the program's folder, as far as the page is concerned
    const std::string recorder = beside.File("shell_recorder.exe");
    ASSERT_TRUE(CopyBeside("shell_recorder.exe", recorder.substr(0, recorder.rfind('\\'))));
    const std::string pages = ClassOfFileType(".htm");
    ASSERT_FALSE(pages.empty());
    ShellHandler opener(pages, "\"" + recorder + "\" \"%1\"", false);

    const std::wstring address = MacrosHelpAddress();
    EXPECT_EQ(0u, address.find(L"file:///")) << Ansi(address);
    EXPECT_EQ(address.size() - 19, address.find(L"/ovehelp.htm#macros")) << Ansi(address);
    EXPECT_TRUE(PlayDialogs({{"Macros", [&](HWND d) {
        Press(d, IDC_MACROS_HOME_PAGE);
        EXPECT_TRUE(WaitUntil([&] {
            std::vector<std::string> lines = ReadLines(beside.File("shell_recorder.log"));
            return !lines.empty() && lines[0].find(Ansi(address)) != std::string::npos;
        })) << "the browser is given the whole address";
        Press(d, IDCANCEL);
    }}}, [] { ShowMacrosInformation(nullptr); }));
}

// ---- The folders of the ">>" menu ----------------------------------------------------------

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
}

TEST(SpecialFolders, EveryFolderOfTheMenuExistsOnThisSystem) {
    for (SpecialFolder kind : {SpecialFolder::Desktop, SpecialFolder::StartMenu,
                               SpecialFolder::Windows, SpecialFolder::System,
                               SpecialFolder::ProgramFiles}) {
        const std::wstring folder = SpecialFolderPath(kind);
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_DIRECTORY))
            << Ansi(folder);
    }
}

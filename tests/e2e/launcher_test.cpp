// Every kind of bar button, clicked beside a real menu of the test application in the real
// program: what reaches the shell, the window, the macro tool or the file dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Harness.h"
#include "MacroStandIn.h"
#include "ShellHandler.h"

using namespace testing_support;

namespace {

struct Item {
    int type = 101;
    std::string wnd, pth, ipth = "default", par, dir, tt = "item";
    int inum = 0;
};

Item Attributed(const std::string& pth, const std::string& dir, const std::string& par = "",
                const std::string& wnd = "") {
    Item item;
    item.pth = pth;
    item.dir = dir;
    item.par = par;
    item.wnd = wnd;
    return item;
}

Item BuiltIn(int type) {
    Item item;
    item.type = type;
    return item;
}

std::string Settings(const std::vector<Item>& items) {
    std::string ini = "[TaskBar+]\r\nen=0\r\nhoriz=0\r\n[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Run\r\n";
    int position = 0;
    for (const Item& item : items) {
        char section[32];
        std::snprintf(section, sizeof section, "[menu+:01:%02d]\r\n", position++);
        ini += section;
        ini += "type=" + std::to_string(item.type) + "\r\n";
        if (item.type != 101) continue;
        ini += "wnd=" + item.wnd + "\r\npth=" + item.pth + "\r\nipth=" + item.ipth +
               "\r\ninum=" + std::to_string(item.inum) + "\r\npar=" + item.par +
               "\r\ndir=" + item.dir + "\r\ntt=" + item.tt + "\r\n";
    }
    char end[32];
    std::snprintf(end, sizeof end, "[menu+:01:%02d]\r\ntype=0\r\n", position);
    return ini + end;
}

// A file extension that opens with the recorder.
class FileType {
public:
    FileType(const std::string& extension, const std::string& command)
        : extension_(extension), progId_("OrvaleTest" + extension.substr(1)),
          handler_(progId_, command, false) {
        RegSetValueA(HKEY_CLASSES_ROOT, extension_.c_str(), REG_SZ, progId_.c_str(),
                     static_cast<DWORD>(progId_.size()));
    }
    ~FileType() { RegDeleteTreeA(HKEY_CLASSES_ROOT, extension_.c_str()); }

private:
    std::string extension_, progId_;
    ShellHandler handler_;
};

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureDesktop();
        recorder_ = work.File("shell_recorder.exe");
        ASSERT_TRUE(CopyFileA((BinDir() + "\\shell_recorder.exe").c_str(), recorder_.c_str(), FALSE));
    }
    void TearDown() override { CloseMenus(); }

    std::string RecorderCommand() const { return "\"" + recorder_ + "\" \"%1\""; }
    std::vector<std::string> Recorded() const { return ReadLines(work.File("shell_recorder.log")); }
    bool RecordedLine(const std::string& fragment) const {
        for (const std::string& line : Recorded()) {
            if (line.find(fragment) != std::string::npos) return true;
        }
        return false;
    }

    // `utf8`: the items' texts are UTF-8 and the file says so with its byte order mark.
    void Start(const std::vector<Item>& items, bool utf8 = false) {
        orvale.WriteSettings((utf8 ? "\xEF\xBB\xBF" : "") + Settings(items));
        ASSERT_TRUE(orvale.Start());
    }

    // Opens the menu of `app`, waits for the bar and clicks its button number `index`.
    void ClickItem(TestApp& app, int index) {
        ASSERT_NE(nullptr, OpenContextMenu(app));
        ASSERT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000));
        std::vector<HWND> buttons = BarButtons(orvale.VisibleBars().front());
        ASSERT_LT(static_cast<size_t>(index), buttons.size());
        ClickCentre(buttons[index]);
        EXPECT_TRUE(WaitUntil([&] { return orvale.VisibleBars().empty(); }, 3000))
            << "a click hides the bars";
    }

    // Nothing was launched by the clicks before: item `index` launches the recorder with
    // "done", and once its launch has come, one that a click before it made would have too.
    void ExpectOnlyTheLaunchThatFollows(TestApp& app, int index) {
        ClickItem(app, index);
        ASSERT_TRUE(WaitUntil([&] { return RecordedLine(" done"); }, 5000));
        EXPECT_EQ(1u, Recorded().size()) << "nothing is launched when a window is found";
    }

    TempDir work;
    std::string recorder_;
    Orvale orvale;
};

}  // namespace

TEST_F(LauncherTest, ApplicationStartsTheProgramWithItsParametersInItsStartupDirectory) {
    std::string startup = work.File("start here");
    CreateDirectoryA(startup.c_str(), nullptr);
    Start({Attributed(recorder_, startup, "first \"second word\"")});
    const std::string own = CurrentFolderOf(orvale.Proc().Handle());
    ASSERT_NE("", own);
    TestApp target("Launch Target");
    ClickItem(target, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Recorded().empty(); }, 5000));
    std::string line = Recorded().front();
    EXPECT_NE(std::string::npos, line.find("first \"second word\"")) << line;
    EXPECT_NE(std::string::npos, line.find("cwd=" + startup)) << line;
    EXPECT_EQ(own, CurrentFolderOf(orvale.Proc().Handle())) << "the program's own stays";
}

TEST_F(LauncherTest, ApplicationActivatesAWindowByTitleExactMatchFirstThenIgnoringCase) {
    Start({Attributed(recorder_, "", "", "Report"), Attributed(recorder_, "", "", "quarterly"),
           Attributed(recorder_, "", "done")});
    TestApp exact("Report", "--pos 600 400 300 200 --minimized");
    TestApp substring("Report Draft", "--pos 600 100 300 200");  // higher in the z-order
    TestApp other("Quarterly Figures", "--pos 500 250 300 200");
    TestApp target("Launch Target");
    ClickItem(target, 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == exact.Window(); }, 3000));
    EXPECT_FALSE(IsIconic(exact.Window())) << "restored";
    ClickItem(target, 1);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.Window(); }, 3000));
    ExpectOnlyTheLaunchThatFollows(target, 2);
}

TEST_F(LauncherTest, WebPageAndEMailReachTheShellAsAddresses) {
    ShellHandler scheme("orvtest", RecorderCommand(), true);
    ShellHandler http("http", RecorderCommand(), true);
    ShellHandler mailto("mailto", RecorderCommand(), true);
    Start({Attributed("ORVTEST://Some/Page", "www:"), Attributed("Example.COM/Start", "www:"),
           Attributed("someone@example.com", "mailto:")});
    TestApp target("Launch Target");
    ClickItem(target, 0);
    EXPECT_TRUE(WaitUntil([&] { return RecordedLine("orvtest://some/page"); }, 5000));
    ClickItem(target, 1);
    EXPECT_TRUE(WaitUntil([&] { return RecordedLine("http://example.com/start"); }, 5000));
    ClickItem(target, 2);
    EXPECT_TRUE(WaitUntil([&] { return RecordedLine("mailto:someone@example.com"); }, 5000));
}

TEST_F(LauncherTest, KeySequenceTypesIntoTheWindowThatOwnedTheMenu) {
    Start({Attributed("Hello, World 42!", "kseq:")});
    TestApp target("Launch Target");
    ClickItem(target, 0);
    EXPECT_TRUE(WaitUntil([&] { return target.TypedText() == L"Hello, World 42!"; }, 5000))
        << testing::PrintToString(target.TypedText());
}

TEST_F(LauncherTest, TextBeyondTheCodePageIsTypedAndFindsItsWindowByTitle) {
    Start({Attributed(u8"Gr\u00FC\u00DFe, \u041F\u0440\u0438\u0432\u0435\u0442!", "kseq:"),
           Attributed(recorder_, "", "", u8"\u043E\u0442\u0447\u0451\u0442"),
           Attributed(recorder_, "", "done")},
          /*utf8=*/true);
    TestApp report("Report");
    report.SetTitle(L"\u041E\u0422\u0427\u0401\u0422 - May");
    TestApp target("Launch Target");
    ClickItem(target, 0);
    const std::wstring typed = L"Gr\u00FC\u00DFe, \u041F\u0440\u0438\u0432\u0435\u0442!";
    EXPECT_TRUE(WaitUntil([&] { return target.TypedText() == typed; }, 5000))
        << testing::PrintToString(target.TypedText());
    ClickItem(target, 1);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == report.Window(); }, 3000))
        << "the title item finds the window whatever the case of its Cyrillic letters";
    ExpectOnlyTheLaunchThatFollows(target, 2);
}

TEST_F(LauncherTest, MacroItemRunsTheMacroToolWithoutWaiting) {
    MacroStandIn tool;
    Start({Attributed("C:\\macros\\daily.brd", "macro:", "Morning")});
    TestApp target("Launch Target");
    ClickItem(target, 0);
    ASSERT_TRUE(WaitUntil([&] { return !tool.CommandLines().empty(); }, 5000));
    EXPECT_EQ(tool.Program() + " -run:Morning C:\\macros\\daily.brd", tool.CommandLines().front());
}

TEST_F(LauncherTest, SelectFileOpensTheDialogInItsFolderAndOpensTheChosenFile) {
    FileType type(".orvfile", RecorderCommand());
    std::string folder = work.File("documents");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFile(folder + "\\chosen.orvfile", "x");
    WriteFile(folder + "\\other.txt", "x");
    Start({Attributed(folder, "file:", "*.orvfile")});
    const std::string own = CurrentFolderOf(orvale.Proc().Handle());
    TestApp target("Launch Target");
    ClickItem(target, 0);

    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = FindWindowA("#32770", "Open");
        return dialog && IsWindowVisible(dialog);
    }, 5000)) << "the open-file dialog appears";
    // The dialog lists the item's folder through the item's filter: one of its two files.
    HWND view = FindWindowExA(FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr),
                              nullptr, "SysListView32", nullptr);
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) == 1; }, 3000));
    // A bare name typed into the file-name box is taken in that folder.
    HWND nameBox = FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr);
    HWND nameEdit = nameBox ? FindWindowExA(FindWindowExA(nameBox, nullptr, "ComboBox", nullptr),
                                            nullptr, "Edit", nullptr)
                            : GetDlgItem(dialog, 0x480);
    ASSERT_NE(nullptr, nameEdit);
    SendMessageA(nameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("chosen.orvfile"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return RecordedLine("chosen.orvfile"); }, 5000));
    EXPECT_TRUE(RecordedLine(folder + "\\chosen.orvfile"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 3000));
    EXPECT_EQ(own, CurrentFolderOf(orvale.Proc().Handle())) << "not the folder browsed to";
}

TEST_F(LauncherTest, WindowCommandsActOnTheMenusOwner) {
    Start({BuiltIn(106), BuiltIn(107), BuiltIn(108), BuiltIn(104), BuiltIn(110), BuiltIn(105)});
    TestApp target("Launch Target", "--pos 200 150 400 300");

    ClickItem(target, 1);  // Maximize/restore
    EXPECT_TRUE(WaitUntil([&] { return IsZoomed(target.Window()) != FALSE; }, 3000));
    ClickItem(target, 1);
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(target.Window()); }, 3000));

    ClickItem(target, 2);  // Always on Top
    EXPECT_TRUE(WaitUntil([&] {
        return (GetWindowLongA(target.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }, 3000));
    ClickItem(target, 2);
    EXPECT_TRUE(WaitUntil([&] {
        return (GetWindowLongA(target.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0;
    }, 3000));

    ClickItem(target, 3);  // Next Document: Ctrl+F6
    EXPECT_TRUE(WaitUntil([&] { return target.LogContains("keydown 117 mods=C"); }, 3000));
    ClickItem(target, 5);  // Previous Document: Ctrl+Shift+F6
    EXPECT_TRUE(WaitUntil([&] { return target.LogContains("keydown 117 mods=SC"); }, 3000));

    ClickItem(target, 0);  // Minimize
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(target.Window()) != FALSE; }, 3000));
    ShowWindow(target.Window(), SW_RESTORE);

    ClickItem(target, 4);  // Close Application: Alt+F4
    EXPECT_TRUE(target.Proc().WaitForExit(5000));
}

TEST_F(LauncherTest, SwitchWindowsActivatesTheWindowBelowTheMenusOwner) {
    Start({BuiltIn(103)});
    TestApp below("Below", "--pos 500 300 300 200");
    TestApp target("Launch Target", "--pos 100 100 400 300");
    ClickItem(target, 0);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == below.Window(); }, 3000));
}

TEST_F(LauncherTest, CommandsAndPressesThatAnotherProgramPostsRunNothing) {
    Start({Attributed(recorder_, ""), BuiltIn(110), BuiltIn(106), Attributed(recorder_, "", "real")});
    TestApp target("Launch Target");
    ASSERT_NE(nullptr, OpenContextMenu(target));  // the target owns the menu beside the bar
    ASSERT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000));
    HWND bar = orvale.VisibleBars().front();
    CloseMenus();
    // The command numbers of every button a bar can hold, and a click's messages on each
    // button, as any program on the desktop can post them.
    // The bar's edit command (132) goes last: the editor it would open holds up what follows.
    for (int id = 400; id < 404; ++id) PostMessageA(bar, WM_COMMAND, id, 0);
    for (int id = 133; id >= 115; --id) PostMessageA(bar, WM_COMMAND, id == 132 ? 133 : id, 0);
    for (HWND button : BarButtons(bar)) {
        PostMessageA(button, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PostMessageA(button, WM_COMMAND, BN_CLICKED, 0);
    }
    PostMessageA(bar, WM_COMMAND, 132, 0);
    // A real click comes after them: once it has run, so would they have.
    ClickItem(target, 3);
    ASSERT_TRUE(WaitUntil([&] { return RecordedLine(" real"); }, 5000));
    EXPECT_EQ(1u, Recorded().size()) << "only the real click launched anything";
    EXPECT_TRUE(target.Proc().Running() && !IsIconic(target.Window()))
        << "neither Close Application nor Minimize Window ran";
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Bar Properties")) << "nor the bar's editor";
}

TEST_F(LauncherTest, ShortcutFallbackRunsWhenTheShellCannotOpenAPathAndLeavesNoShortcut) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);

    std::string file = work.File("no association.orvnothing");
    WriteFile(file, "x");
    Start({Attributed(file, "")});
    TestApp target("Launch Target");

    // Watch the temporary folder for the shortcut coming and going.
    HANDLE folder = CreateFileA(temp, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, folder);
    std::vector<std::string> added, removed;
    alignas(DWORD) char buffer[8192];
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto arm = [&] {
        ResetEvent(overlapped.hEvent);
        ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                              nullptr, &overlapped, nullptr);
    };
    auto collect = [&] {
        DWORD bytes = 0;
        if (WaitForSingleObject(overlapped.hEvent, 0) != WAIT_OBJECT_0) return;
        if (GetOverlappedResult(folder, &overlapped, &bytes, FALSE) && bytes) {
            for (auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer);;
                 info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(
                     reinterpret_cast<char*>(info) + info->NextEntryOffset)) {
                std::string name;
                for (DWORD i = 0; i < info->FileNameLength / sizeof(WCHAR); ++i) {
                    name += static_cast<char>(info->FileName[i]);
                }
                if (info->Action == FILE_ACTION_ADDED) added.push_back(name);
                if (info->Action == FILE_ACTION_REMOVED) removed.push_back(name);
                if (!info->NextEntryOffset) break;
            }
        }
        arm();
    };
    // A shortcut of a name of its own ("orvale-<random>.lnk") came and went.
    auto cameAndWent = [&] {
        for (const std::string& name : added) {
            if (name.rfind("orvale-", 0) == 0 && name.size() > 40 &&
                std::find(removed.begin(), removed.end(), name) != removed.end()) {
                return true;
            }
        }
        return false;
    };
    arm();
    ClickItem(target, 0);
    EXPECT_TRUE(WaitUntil([&] {
        collect();
        return cameAndWent();
    }, 5000)) << "a shortcut was written and removed";
    CancelIo(folder);
    DWORD ignored = 0;
    GetOverlappedResult(folder, &overlapped, &ignored, TRUE);
    CloseHandle(overlapped.hEvent);
    CloseHandle(folder);
}

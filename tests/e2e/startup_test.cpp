// Start-up, single instance and shutdown of the real program under the shared desktop.
#include <gtest/gtest.h>

#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

const char* kOneBar =
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=0\r\n";

}  // namespace

TEST(Startup, EmptySettingsFileRunsAndExitWritesTheModel) {
    Orvale orvale;
    orvale.WriteSettings("");
    ASSERT_TRUE(orvale.Start());
    HWND settings = orvale.SettingsWindow();
    // Minimising may show the window for a moment; the next tick hides it for good.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(settings); }, 1000))
        << "the settings window hides itself at start";
    EXPECT_EQ("", ReadFile(orvale.SettingsFile())) << "nothing is written before exit";

    // Shown from the tray it stands at (0, 0); moving it stores its place.
    PostMessageA(settings, WM_COMMAND, 32806, 0);  // tray "Settings..."
    EXPECT_TRUE(WaitUntil([&] {
        return IsWindowVisible(settings) && !IsIconic(settings) && WindowRect(settings).left == 0;
    }));
    SetWindowPos(settings, nullptr, 120, 96, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return orvale.Setting("options", "x") == "120"; }));
    EXPECT_EQ("96", orvale.Setting("options", "y"));

    DWORD code = 99;
    ASSERT_TRUE(orvale.Exit());
    orvale.Proc().WaitForExit(1000, &code);
    EXPECT_EQ(0u, code);
    ASSERT_TRUE(FileExists(orvale.SettingsFile()));
    EXPECT_EQ("0", orvale.Setting("TaskBar+", "en"));
    EXPECT_EQ("0", orvale.Setting("Menu+32", "en"));
    EXPECT_EQ("0", orvale.Setting("menu+:32:00", "type"));
    EXPECT_EQ(".", orvale.Setting("wndctx31", "0"));
}

TEST(Startup, FirstStartWithoutSettingsFileWritesTheStarterSettingsAndShowsTheirBars) {
    Orvale orvale;
    ASSERT_TRUE(orvale.Start());
    // The starter settings are the program's own resource, which this test carries too.
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_STARTER_SETTINGS), RT_RCDATA);
    ASSERT_NE(nullptr, found);
    const std::string starter(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                              SizeofResource(nullptr, found));
    EXPECT_EQ(starter, ReadFile(orvale.SettingsFile()));
    EXPECT_TRUE(WaitUntil([&] { return orvale.BarWindows().size() > 1; }))
        << "bars beside the task bar's window are enabled";
}

TEST(Startup, SecondCopyShowsTheMessageAndEnds) {
    Orvale first;
    ASSERT_TRUE(first.Start());

    Process second;
    ASSERT_TRUE(second.Start("\"" + first.Folder().File("orvale.exe") + "\"",
                             first.Folder().Path()));
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        return MessageBoxText(second.Id(), &box) == "\"Orvale\" is already running.";
    }));
    EXPECT_TRUE(second.Running());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(5000, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(first.Proc().Running()) << "the first copy goes on";
}

TEST(Startup, ARefusedCopysMessageBoxTakesNoReportsAndOutlivesTheFirstCopyHarmlessly) {
    Orvale first;
    first.WriteSettings(kOneBar);
    ASSERT_TRUE(first.Start());
    Process refused;
    ASSERT_TRUE(refused.Start("\"" + first.Folder().File("orvale.exe") + "\"",
                              first.Folder().Path()));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return !MessageBoxText(refused.Id(), &box).empty(); }));

    // The box is a dialog titled "Orvale" too; the clicks still reach the first copy.
    TestApp app("Beside The Box");
    ASSERT_NE(nullptr, OpenContextMenu(app));
    EXPECT_TRUE(WaitUntil([&] { return first.VisibleBars().size() == 1; }, 3000))
        << "bars beside the menu while the box is open";
    CloseMenus();

    ASSERT_TRUE(first.Exit());
    Orvale next;
    EXPECT_TRUE(next.Start()) << "the box of a refused copy does not refuse the next start";
    EXPECT_TRUE(refused.Running()) << "the box was still open";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(refused.WaitForExit(5000));
}

TEST(Startup, AWindowTitledOrvaleThatIsNotADialogDoesNotBlockStartUp) {
    TestApp impostor("Orvale");
    ASSERT_TRUE(impostor.Started());
    Orvale orvale;
    ASSERT_TRUE(orvale.Start()) << "the program must start beside a non-dialog \"Orvale\"";
}

TEST(Startup, MissingHookLibraryDoesNotStopStartUp) {
    Orvale orvale(/*withHookLibrary=*/false);
    orvale.WriteSettings(kOneBar);
    ASSERT_TRUE(orvale.Start());
    ASSERT_TRUE(orvale.Exit());
    EXPECT_EQ("Tools", orvale.Setting("Menu+01", "name"));
}

TEST(Startup, QueryEndSessionSavesTheModelAndAllowsShutdown) {
    Orvale orvale;
    orvale.WriteSettings(kOneBar);
    ASSERT_TRUE(orvale.Start());
    // Remove the file: only a save can bring it back.
    DeleteFileA(orvale.SettingsFile().c_str());
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(orvale.SettingsWindow(), WM_QUERYENDSESSION, 0, 0,
                                    SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(TRUE, static_cast<BOOL>(answer));
    EXPECT_EQ("Tools", orvale.Setting("Menu+01", "name"));
    EXPECT_EQ("102", orvale.Setting("menu+:01:00", "type"));
    EXPECT_TRUE(orvale.Proc().Running()) << "the program keeps running until Windows ends it";
}

TEST(Startup, ExitWithTheSettingsFileLockedSavesOnRetryAndOffersNoRetryForAFileNeverRead) {
    Orvale orvale;
    orvale.WriteSettings(kOneBar);
    ASSERT_TRUE(orvale.Start());
    // Another program holds the file open and shares it with nobody.
    HANDLE lock = CreateFileA(orvale.SettingsFile().c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    PostMessageA(orvale.SettingsWindow(), WM_COMMAND, 32805, 0);  // tray "Exit"

    HWND box = nullptr;
    std::string text;
    ASSERT_TRUE(WaitUntil([&] {
        text = MessageBoxText(orvale.Proc().Id(), &box, "could not save");
        return !text.empty();
    }));
    EXPECT_NE(std::string::npos, text.find(orvale.SettingsFile())) << "names the file: " << text;
    EXPECT_TRUE(orvale.Proc().Running()) << "waits for the user";

    CloseHandle(lock);
    ClickCentre(GetDlgItem(box, IDRETRY));
    DWORD code = 99;
    ASSERT_TRUE(orvale.Proc().WaitForExit(5000, &code)) << "retried, saved and ended";
    EXPECT_EQ(0u, code);
    EXPECT_EQ("0", orvale.Setting("TaskBar+", "en")) << "the retry wrote the whole model";
    EXPECT_EQ("Tools", orvale.Setting("Menu+01", "name"));
    EXPECT_TRUE(FileExists(orvale.SettingsFile() + ".bak")) << "the previous file is kept";

    // Locked from the start: the file was never read, so it is never saved over, and a retry
    // could never succeed.
    Orvale unread;
    unread.WriteSettings(kOneBar);
    lock = CreateFileA(unread.SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    ASSERT_TRUE(unread.Launch());
    ASSERT_TRUE(WaitUntil([&] {
        return !MessageBoxText(unread.Proc().Id(), &box, "could not read").empty();
    }, 15000));
    ClickCentre(GetDlgItem(box, IDOK));
    ASSERT_TRUE(unread.WaitForStartUp());
    CloseHandle(lock);
    PostMessageA(unread.SettingsWindow(), WM_COMMAND, 32805, 0);  // tray "Exit"
    ASSERT_TRUE(WaitUntil([&] {
        text = MessageBoxText(unread.Proc().Id(), &box, "not saved");
        return !text.empty();
    }));
    EXPECT_NE(std::string::npos, text.find("leaves that file as it was")) << text;
    EXPECT_EQ(nullptr, GetDlgItem(box, IDRETRY)) << "no Retry that cannot succeed";
    ClickCentre(GetDlgItem(box, IDOK));
    ASSERT_TRUE(unread.Proc().WaitForExit(5000, &code));
    EXPECT_EQ(kOneBar, ReadFile(unread.SettingsFile()));
}

TEST(Startup, DamagedSettingsFileLoadsAndIsKept) {
    Orvale orvale;
    std::string garbage = "\x01\x02[[[Menu+01\r\nen=99999999999999999999\r\n[Menu+02]\r\nen=x\r\n"
                          "horiz=-2147483649\r\nname=" + std::string(3000, 'n') + "\r\n"
                          "[menu+:02:00]\r\ntype=101abc\r\npth=\r\n[menu+:02:01]\r\ntype=7\r\n"
                          "[wndctx0]\r\n0=a\r\n5=b\r\n";
    orvale.WriteSettings(garbage);
    ASSERT_TRUE(orvale.Start());
    EXPECT_EQ(garbage, ReadFile(orvale.SettingsFile())) << "a file that exists is never replaced";
    ASSERT_TRUE(orvale.Exit());
    EXPECT_EQ("101", orvale.Setting("menu+:02:00", "type"));
    EXPECT_EQ("7", orvale.Setting("menu+:02:01", "type"));
    EXPECT_EQ("0", orvale.Setting("menu+:02:02", "type"));
    EXPECT_EQ("a", orvale.Setting("wndctx0", "0"));
    EXPECT_EQ(".", orvale.Setting("wndctx0", "1"));
}

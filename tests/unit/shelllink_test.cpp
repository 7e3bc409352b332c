// Shortcuts written through the shell's link object read back through the same interfaces,
// and the temporary-shortcut fallback starts its target, never a shortcut it did not write, and
// leaves no shortcut behind.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "Harness.h"
#include "actions/ShellLink.h"
#include "win/Handles.h"

using namespace testing_support;

namespace {

// The shortcut's target and arguments as the shell reads them; empty when it cannot load it.
std::pair<std::string, std::string> ReadLink(const std::string& linkPath) {
    win::ComScope com;
    win::ComPtr<IShellLinkA> link;
    win::ComPtr<IPersistFile> file;
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
    char target[MAX_PATH] = {}, arguments[1024] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, link.Out())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Out())) &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
        link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
        link->GetArguments(arguments, sizeof arguments);
    }
    return {target, arguments};
}

// A copy of the shell's recorder: it logs its command line and its current folder.
class Shortcut : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyBeside("shell_recorder.exe", folder_.Path())); }
    TempDir folder_;
    const std::string target_ = folder_.File("shell_recorder.exe");
};

}  // namespace

TEST_F(Shortcut, AWrittenShortcutReadsBackAndAFailedSaveIsReported) {
    std::string linkPath = folder_.File("tool.lnk");
    EXPECT_EQ(S_OK,
              orvale::WriteShellLink(win::Widen(target_), L"-x \"a b\" c", win::Widen(linkPath), L"A tool"));
    auto [target, arguments] = ReadLink(linkPath);
    EXPECT_EQ(0, lstrcmpiA(target_.c_str(), target.c_str())) << target;
    EXPECT_EQ("-x \"a b\" c", arguments);

    const std::string absent = folder_.File("absent\\x.lnk");
    EXPECT_TRUE(FAILED(orvale::WriteShellLink(win::Widen(target_), L"", win::Widen(absent), L"")));
    // Too long for the shell's path: refused rather than saved under a shortened name.
    std::string tooLong = folder_.File(std::string(300, 'n') + ".lnk");
    EXPECT_TRUE(FAILED(orvale::WriteShellLink(win::Widen(target_), L"", win::Widen(tooLong), L"")));
}

TEST_F(Shortcut, TheFallbackRunsOnlyTheShortcutItJustWroteInTheStartUpFolderAndRemovesIt) {
    // A temporary folder of this test's own, holding a shortcut that another program left
    // under the name the fallback once used and holds open, so that it cannot be written over;
    // it starts the recorder in a folder of its own.
    TempDir temp, stale, startup;
    ASSERT_TRUE(CopyBeside("shell_recorder.exe", stale.Path()));
    const std::string planted = temp.File("sct.lnk");
    ASSERT_EQ(S_OK, orvale::WriteShellLink(win::Widen(stale.File("shell_recorder.exe")), L"stale",
                                           win::Widen(planted), L""));
    win::KernelHandle held(CreateFileA(planted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    char savedTmp[MAX_PATH] = {}, savedTemp[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", savedTmp, MAX_PATH);
    GetEnvironmentVariableA("TEMP", savedTemp, MAX_PATH);
    SetEnvironmentVariableA("TMP", temp.Path().c_str());
    SetEnvironmentVariableA("TEMP", temp.Path().c_str());

    orvale::OpenViaTemporaryShortcut(win::Widen(target_), L"first second",
                                     win::Widen(startup.Path()));
    SetEnvironmentVariableA("TMP", savedTmp);
    SetEnvironmentVariableA("TEMP", savedTemp);
    const std::string log = folder_.File("shell_recorder.log");
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(log).empty(); })) << "the target was not started";
    const std::string line = ReadLines(log).front();
    EXPECT_NE(std::string::npos, line.find("first second | cwd=" + startup.Path())) << line;
    EXPECT_TRUE(ReadLines(stale.File("shell_recorder.log")).empty()) << "the stale shortcut ran";
    // Nothing is left in the temporary folder but what was planted there.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(temp.File("*.lnk").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_STREQ("sct.lnk", found.cFileName);
    EXPECT_FALSE(FindNextFileA(search, &found)) << found.cFileName;
    FindClose(search);
}

// Shortcuts written through the shell's link object read back through the same interfaces,
// and the temporary-shortcut fallback starts its target and leaves no shortcut behind.
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

// A copy of the macro tool's stand-in: it logs the command line it is started with.
class Shortcut : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyBeside("brindle_standin.exe", folder_.Path())); }
    TempDir folder_;
    const std::string target_ = folder_.File("brindle_standin.exe");
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

TEST_F(Shortcut, TheTemporaryShortcutStartsTheTargetAndIsRemoved) {
    orvale::OpenViaTemporaryShortcut(win::Widen(target_), L"first second");
    std::string log = folder_.File("brindle_standin.log");
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(log).empty(); })) << "the target was not started";
    std::string line = ReadLines(log).front();
    EXPECT_NE(std::string::npos, line.find("brindle_standin.exe")) << line;
    EXPECT_EQ(" first second", line.substr(line.size() - 13)) << line;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    EXPECT_FALSE(FileExists(std::string(temp) + "sct.lnk"));
}

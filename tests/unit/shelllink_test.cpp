// Shortcuts written through the shell's link object read back through the same interfaces,
// and the temporary-shortcut fallback starts its target and leaves no shortcut behind.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "Harness.h"
#include "actions/ShellLink.h"
#include "win/Handles.h"

using namespace testing_support;

namespace {

struct LinkContents {
    HRESULT loaded = E_FAIL;
    std::string target, arguments, description;
};

LinkContents ReadLink(const std::string& linkPath) {
    win::ComScope com;
    LinkContents contents;
    win::ComPtr<IShellLinkA> link;
    win::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) {
        return contents;
    }
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
    contents.loaded = file->Load(widePath, STGM_READ);
    char text[1024] = {};
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    contents.target = text;
    link->GetArguments(text, sizeof text);
    contents.arguments = text;
    link->GetDescription(text, sizeof text);
    contents.description = text;
    return contents;
}

std::string TemporaryShortcut() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "sct.lnk";
}

}  // namespace

TEST(WriteShellLink, TheShortcutReadsBackWithTargetArgumentsAndDescription) {
    TempDir folder;
    ASSERT_TRUE(CopyBeside("brindle_standin.exe", folder.Path()));
    std::string target = folder.File("brindle_standin.exe");
    std::string linkPath = folder.File("tool.lnk");

    EXPECT_EQ(S_OK, orvale::WriteShellLink(target, "-x \"a b\" c", linkPath, "A tool"));
    LinkContents contents = ReadLink(linkPath);
    ASSERT_EQ(S_OK, contents.loaded);
    EXPECT_EQ(0, lstrcmpiA(target.c_str(), contents.target.c_str())) << contents.target;
    EXPECT_EQ("-x \"a b\" c", contents.arguments);
    EXPECT_EQ("A tool", contents.description);
}

TEST(WriteShellLink, AFailedSaveIsReportedAndWritesNothing) {
    TempDir folder;
    std::string inMissingFolder = folder.File("absent\\x.lnk");
    EXPECT_TRUE(FAILED(orvale::WriteShellLink("C:\\windows\\notepad.exe", "", inMissingFolder,
                                              "")));
    EXPECT_FALSE(FileExists(inMissingFolder));

    std::string tooLong = folder.File(std::string(300, 'n') + ".lnk");
    EXPECT_TRUE(FAILED(orvale::WriteShellLink("C:\\windows\\notepad.exe", "", tooLong, "")));
}

TEST(OpenViaTemporaryShortcut, StartsTheTargetWithItsArgumentsAndRemovesTheShortcut) {
    // A copy of the macro tool's stand-in logs the command line it is started with.
    TempDir folder;
    ASSERT_TRUE(CopyBeside("brindle_standin.exe", folder.Path()));
    std::string target = folder.File("brindle_standin.exe");
    std::string log = folder.File("brindle_standin.log");

    orvale::OpenViaTemporaryShortcut(target, "first second");
    ASSERT_TRUE(WaitUntil([&] { return !ReadLines(log).empty(); }))
        << "the target was not started";
    std::string line = ReadLines(log).front();
    EXPECT_NE(std::string::npos, line.find("brindle_standin.exe")) << line;
    EXPECT_EQ(" first second", line.substr(line.size() - 13)) << line;
    EXPECT_FALSE(FileExists(TemporaryShortcut()));
}

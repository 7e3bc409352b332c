// The macro tool interface against the stand-in tool, run as a real process: the command
// lines it receives, the answers read back from the exchange file, and the pumped wait.
#include <gtest/gtest.h>

#include <climits>
#include <ctime>

#include "Harness.h"
#include "MacroStandIn.h"
#include "actions/MacroTool.h"
#include "model/SettingsFile.h"

using namespace testing_support;
using orvale::ExchangeFile;
using orvale::MacroVerb;

namespace {

// Every test runs in a fresh current directory (which the search path includes) with its own
// copy of the stand-in recorded as the macro tool.
class MacroTool : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        savedDirectory_ = cwd;
        ASSERT_TRUE(SetCurrentDirectoryA(workDir_.Path().c_str()));
    }
    void TearDown() override { SetCurrentDirectoryA(savedDirectory_.c_str()); }

    // Puts an "ov32mac.brd" into the current directory and returns its full path.
    std::string PlaceDefaultMacroFile() {
        std::string path = workDir_.File(orvale::kDefaultMacroFileName);
        WriteFile(path, "");
        return path;
    }
    std::string LastCommandLine() const {
        std::vector<std::string> lines = tool_.CommandLines();
        return lines.empty() ? std::string() : lines.back();
    }

    MacroStandIn tool_;
    TempDir workDir_;

private:
    std::string savedDirectory_;
};

bool NothingOnSearchPath(const char* name) {
    char found[512];
    return SearchPathA(nullptr, name, nullptr, sizeof found, found, nullptr) == 0;
}

// A message-only window of the test thread that releases the held stand-in when it handles
// the message posted to it.
struct Releaser {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
        if (message == WM_APP) {
            handled = true;
            WriteFile(*releaseFile, "");
            return 0;
        }
        return DefWindowProcA(hwnd, message, wp, lp);
    }
    static bool handled;
    static const std::string* releaseFile;
};
bool Releaser::handled = false;
const std::string* Releaser::releaseFile = nullptr;

}  // namespace

TEST(MacroCommandLine, JoinsThePiecesAsTheyAreWithoutQuotes) {
    EXPECT_EQ("C:\\Brindle\\br.exe -run:My macro C:\\My Files\\a b.brd",
              orvale::MacroCommandLine("C:\\Brindle\\br.exe", orvale::kRunVerbText, "My macro",
                                       "C:\\My Files\\a b.brd"));
    EXPECT_EQ(" -sel: x.brd", orvale::MacroCommandLine("", " -sel:", "", "x.brd"));
}

TEST(ExchangeFileAccessors, ReadLikeAtoiWithDefaultsAndIgnoreUnknownProducts) {
    ExchangeFileBackup backup;
    SetExchangeValue("result", nullptr);
    SetExchangeValue("strres", nullptr);
    SetExchangeValue("path", nullptr);
    EXPECT_EQ(0, ExchangeFile::ReadResult(0));
    EXPECT_EQ("", ExchangeFile::ReadStrres(0));
    EXPECT_EQ("", ExchangeFile::ReadPath(0));

    const std::pair<const char*, int> parsed[] = {
        {"12abc", 12}, {"abc", 0}, {"-3", -3}, {"99999999999", INT_MAX}};
    for (const auto& [text, value] : parsed) {
        SetExchangeValue("result", text);
        EXPECT_EQ(value, ExchangeFile::ReadResult(0)) << text;
    }
    ExchangeFile::WriteResult(0, 0);
    EXPECT_EQ("0", ExchangeValue("result"));

    SetExchangeValue("strres", "picked");
    EXPECT_EQ("picked", ExchangeFile::ReadStrres(0));
    EXPECT_STREQ("jx32", ExchangeFile::Section(1));
    EXPECT_STREQ("ov32", ExchangeFile::Section(2));
    EXPECT_EQ("", ExchangeFile::ReadStrres(3)) << "an unknown product reads nothing";
    EXPECT_EQ(0, ExchangeFile::ReadResult(-1));
}

TEST_F(MacroTool, TheToolsResultDecidesAndAStaleResultDoesNotCount) {
    struct Case {
        MacroVerb verb;
        const char* section;
        const char* scripted;  // null: the tool writes no "result"
        bool expected;
    };
    const Case cases[] = {{MacroVerb::Add, "add", "1", true},
                          {MacroVerb::Delete, "del", "0", false},
                          {MacroVerb::Edit, "edit", "yes", false},
                          {MacroVerb::Record, "rec", nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        if (c.scripted) tool_.Script(c.section, "result", c.scripted);
        SetExchangeValue("result", "1");  // left over from an earlier command
        EXPECT_EQ(c.expected, orvale::RunMacroTool("m", c.verb, "x.brd"));
    }
    EXPECT_EQ(4u, tool_.CommandLines().size());
}

TEST_F(MacroTool, EveryVerbReachesTheToolWithNameAndGivenFileUnquoted) {
    const std::pair<MacroVerb, const char*> verbs[] = {
        {MacroVerb::Add, " -add:"},  {MacroVerb::Delete, " -del:"}, {MacroVerb::Edit, " -edit:"},
        {MacroVerb::Record, " -rec:"}, {MacroVerb::New, " -new:"},  {MacroVerb::Select, " -sel:"},
        {MacroVerb::Copy, " -cpy:"}};
    const std::string file = "C:\\My Macros\\team file.brd";
    for (const auto& [verb, text] : verbs) {
        orvale::RunMacroTool("Daily report", verb, file);
        EXPECT_EQ(tool_.Program() + text + "Daily report " + file, LastCommandLine());
    }
}

TEST_F(MacroTool, AnEmptyFileMeansTheDefaultMacroFileOnTheSearchPath) {
    std::string defaultFile = PlaceDefaultMacroFile();
    tool_.Script("sel", "result", "1");
    tool_.Script("sel", "strres", "Chosen one");
    SetExchangeValue("strres", "stale");
    EXPECT_TRUE(orvale::RunMacroTool("", MacroVerb::Select));
    EXPECT_EQ(tool_.Program() + " -sel: " + defaultFile, LastCommandLine());
    EXPECT_EQ("Chosen one", ExchangeFile::ReadStrres(0));
}

TEST_F(MacroTool, WithoutADefaultMacroFileTheOneBesideTheProgramIsNamed) {
    ASSERT_TRUE(NothingOnSearchPath(orvale::kDefaultMacroFileName))
        << "a stray ov32mac.brd on the search path";
    std::string besideProgram = BinDir() + "\\" + orvale::kDefaultMacroFileName;
    EXPECT_EQ(besideProgram, orvale::DefaultMacroFile());
    orvale::RunMacroTool("m", MacroVerb::Delete, "");
    EXPECT_EQ(tool_.Program() + " -del:m " + besideProgram, LastCommandLine());
}

TEST_F(MacroTool, FailsWithoutStartingAnythingWhenTheToolCannotRun) {
    tool_.Script("default", "result", "1");
    EXPECT_FALSE(orvale::RunMacroTool("m", static_cast<MacroVerb>(9), "x.brd"));

    SetExchangeValue("path", nullptr);  // not installed
    SetExchangeValue("result", "1");
    EXPECT_FALSE(orvale::RunMacroTool("m", MacroVerb::Edit, "x.brd"));
    EXPECT_EQ("0", ExchangeValue("result")) << "reset before the start was tried";

    SetExchangeValue("path", workDir_.File("missing.exe").c_str());
    EXPECT_FALSE(orvale::RunMacroTool("m", MacroVerb::Edit, "x.brd"));
    EXPECT_TRUE(tool_.CommandLines().empty());
}

TEST_F(MacroTool, MessagesAreHandledWhileTheToolRuns) {
    // The tool holds until the test thread has handled a message posted before the call,
    // so it can only answer if the wait dispatches messages.
    const std::string releaseFile = workDir_.File("release");
    tool_.Script("rec", "holduntil", releaseFile);
    tool_.Script("rec", "result", "1");
    Releaser::handled = false;
    Releaser::releaseFile = &releaseFile;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Releaser::Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MacroToolReleaser";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("MacroToolReleaser", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_TRUE(window);
    PostMessageA(window, WM_APP, 0, 0);

    EXPECT_TRUE(orvale::RunMacroTool("m", MacroVerb::Record, "x.brd"))
        << "the tool was not released in time";
    EXPECT_TRUE(Releaser::handled);
    DestroyWindow(window);
}

// The CPU time this thread has used so far, in milliseconds.
ULONGLONG ThreadCpuMs() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

TEST_F(MacroTool, APendingQuitIsLeftForTheMessageLoopAndTheWaitDoesNotSpin) {
    tool_.Script("edit", "wait", "500");
    tool_.Script("edit", "result", "1");
    PostQuitMessage(3);
    ULONGLONG cpuBefore = ThreadCpuMs();
    EXPECT_TRUE(orvale::RunMacroTool("m", MacroVerb::Edit, "x.brd"));
    // Spinning through the half second takes a good part of it; waiting takes next to none.
    EXPECT_LT(ThreadCpuMs() - cpuBefore, 100u);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

TEST_F(MacroTool, TheRunCommandIsStartedWithoutWaiting) {
    std::string defaultFile = PlaceDefaultMacroFile();
    const std::string releaseFile = workDir_.File("release");
    tool_.Script("run", "holduntil", releaseFile);
    tool_.Script("run", "result", "1");
    SetExchangeValue("result", "0");

    ASSERT_TRUE(orvale::StartMacroRun("Sign off", ""));
    // Still held: the call came back while the tool runs.
    ASSERT_TRUE(WaitUntil([&] { return !tool_.CommandLines().empty(); }));
    EXPECT_EQ(tool_.Program() + " -run:Sign off " + defaultFile, LastCommandLine());
    EXPECT_EQ("0", ExchangeValue("result"));

    WriteFile(releaseFile, "");
    EXPECT_TRUE(WaitUntil([] { return ExchangeValue("result") == "1"; }));
}

TEST_F(MacroTool, WaitingForAnEndedOrInvalidProcessReturnsAtOnce) {
    orvale::WaitForProcessPumping(nullptr);
    Process ended;
    ASSERT_TRUE(ended.Start(tool_.Program()));
    ASSERT_TRUE(ended.WaitForExit(5000));
    orvale::WaitForProcessPumping(ended.Handle());
}

TEST(NewMacroName, IsANumberedNameThatRepeatsWithinOneSecond) {
    std::time_t before = std::time(nullptr);
    std::string first = orvale::NewMacroName();
    std::string second = orvale::NewMacroName();
    bool sameSecond = std::time(nullptr) == before;

    ASSERT_EQ(0u, first.rfind("ov32mac", 0));
    std::string digits = first.substr(7);
    ASSERT_FALSE(digits.empty());
    EXPECT_EQ(std::string::npos, digits.find_first_not_of("0123456789"));
    EXPECT_LE(std::stoi(digits), 32767);
    if (sameSecond) {
        EXPECT_EQ(first, second);
    }
}

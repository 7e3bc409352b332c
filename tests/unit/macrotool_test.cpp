// The macro tool interface against the stand-in tool, run as a real process: the command
// lines it receives, the answers read back from the exchange file, and the pumped wait.
#include <gtest/gtest.h>

#include <set>

#include "Harness.h"
#include "MacroStandIn.h"
#include "actions/ExchangePlace.h"
#include "actions/MacroTool.h"
#include "actions/MacroToolRegistration.h"

using namespace testing_support;
using orvale::MacroVerb;
using orvale::NewMacroName;
using orvale::RunMacroTool;

namespace {

// Every test runs in a fresh current directory (which the search path includes) with its own
// copy of the stand-in recorded as the macro tool.
class MacroTool : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
        ASSERT_TRUE(SetCurrentDirectoryA(workDir_.Path().c_str()));
    }
    void TearDown() override { SetCurrentDirectoryA(savedDirectory_); }
    std::string LastCommandLine() const {
        std::vector<std::string> lines = tool_.CommandLines();
        return lines.empty() ? std::string() : lines.back();
    }

    MacroStandIn tool_;
    TempDir workDir_;
    char savedDirectory_[MAX_PATH] = {};
};

// The CPU time this thread has used so far, in milliseconds.
ULONGLONG ThreadCpuMs() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
}

std::string releaseFile;  // the stand-in holds until this file exists

}  // namespace

TEST_F(MacroTool, TheToolsResultDecidesAndAStaleResultDoesNotCount) {
    struct Case {
        MacroVerb verb;
        const char* text;
        const char* scripted;  // null: the tool writes no "result"
        bool expected;
        bool clearsStrres;  // a text answer follows, so an earlier one must not be read
    };
    const Case cases[] = {{MacroVerb::Add, "add", "1", true, false},
                          {MacroVerb::Delete, "del", "0", false, false},
                          {MacroVerb::Edit, "edit", "yes", false, false},
                          {MacroVerb::Record, "rec", nullptr, false, false},
                          {MacroVerb::New, "new", "2", true, false},
                          {MacroVerb::Select, "sel", "1", true, true},
                          {MacroVerb::Copy, "cpy", nullptr, false, true}};
    const std::string file = "C:\\My Macros\\team file.brd";  // passed on unquoted
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.scripted) tool_.Script(c.text, "result", c.scripted);
        SetExchangeValue("result", "1");  // left over from an earlier command
        SetExchangeValue("strres", "stale");
        EXPECT_EQ(c.expected, RunMacroTool(L"Daily_report", c.verb, win::Widen(file)));
        EXPECT_EQ(tool_.Program() + " -" + c.text + ":Daily_report " + file, LastCommandLine());
        EXPECT_EQ(c.clearsStrres ? "" : "stale", ExchangeValue("strres"));
    }
    // Where no file may be written (the Windows folder's, then the user's own, each only to
    // be read), the reset does not take: nothing starts and the stale 1 is no answer.
    const orvale::ExchangeCandidates files = orvale::ExchangeCandidatesHere();
    const std::wstring ownFolder = files.userFile.substr(0, files.userFile.rfind(L'\\'));
    const bool madeFolder = CreateDirectoryW(ownFolder.c_str(), nullptr) != FALSE;
    WritePrivateProfileStringW(L"br32", L"result", L"1", files.userFile.c_str());
    tool_.Script("del", "result", "1");
    std::vector<HANDLE> readOnly;
    for (const std::wstring& path : {files.windowsFile, files.userFile}) {
        readOnly.push_back(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, readOnly.back()) << win::Narrow(path);
    }
    EXPECT_FALSE(RunMacroTool(L"m", MacroVerb::Delete, win::Widen(file)));
    for (HANDLE handle : readOnly) CloseHandle(handle);
    DeleteFileW(files.userFile.c_str());
    if (madeFolder) RemoveDirectoryW(ownFolder.c_str());
    EXPECT_EQ(tool_.Program() + " -cpy:Daily_report " + file, LastCommandLine()) << "started";
    SetExchangeValue("path", nullptr);  // not installed: nothing starts
    SetExchangeValue("result", "1");
    EXPECT_FALSE(RunMacroTool(L"m", MacroVerb::Edit, win::Widen(file)));
}

TEST_F(MacroTool, ANameTheToolWouldReadAsAnotherNameAndAFileIsNeverSent) {
    for (const wchar_t* name : {L"two words", L"a -b", L"say\"hi\"", L"tab\there", L"line\n"}) {
        SCOPED_TRACE(win::Narrow(name));
        EXPECT_FALSE(RunMacroTool(name, MacroVerb::Delete, L"x.brd"));
        EXPECT_FALSE(orvale::StartMacroRun(name, L"x.brd"));
    }
    EXPECT_TRUE(tool_.CommandLines().empty());
}

TEST_F(MacroTool, AnEmptyFileMeansTheDefaultMacroFileElseTheOneBesideTheProgram) {
    // None on the search path: the program's own folder, which the search looks at first, so
    // the file the tool creates there is the one found from then on.
    wchar_t found[MAX_PATH] = {};
    ASSERT_EQ(0u, SearchPathW(nullptr, orvale::kDefaultMacroFileName, nullptr, MAX_PATH, found,
                              nullptr)) << "a stray " << win::Narrow(found);
    RunMacroTool(L"m", MacroVerb::Delete);
    EXPECT_EQ(tool_.Program() + " -del:m " + BinDir() + "\\ov32mac.brd", LastCommandLine());

    std::string onSearchPath = workDir_.File("ov32mac.brd");
    WriteFile(onSearchPath, "");
    tool_.Script("sel", "result", "1");
    tool_.Script("sel", "strres", "Chosen one");
    EXPECT_TRUE(RunMacroTool(L"", MacroVerb::Select, L""));
    EXPECT_EQ(tool_.Program() + " -sel: " + onSearchPath, LastCommandLine());
    EXPECT_EQ(L"Chosen one", orvale::ExchangeFile::ReadStrres(orvale::ExchangeFile::kMacroTool));
}

TEST_F(MacroTool, MessagesAreHandledWhileTheToolRuns) {
    // Only a timer of this thread releases the tool, so it answers only if the wait dispatches.
    releaseFile = workDir_.File("release");
    tool_.Script("rec", "holduntil", releaseFile);
    tool_.Script("rec", "result", "1");
    UINT_PTR timer =
        SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { WriteFile(releaseFile, ""); });
    EXPECT_TRUE(RunMacroTool(L"m", MacroVerb::Record, L"x.brd")) << "the tool was not released";
    KillTimer(nullptr, timer);
}

TEST_F(MacroTool, APendingQuitIsLeftForTheMessageLoopAndTheWaitDoesNotSpin) {
    tool_.Script("edit", "wait", "500");
    tool_.Script("edit", "result", "1");
    PostQuitMessage(3);
    ULONGLONG cpuBefore = ThreadCpuMs();
    EXPECT_TRUE(RunMacroTool(L"m", MacroVerb::Edit, L"x.brd"));
    // Spinning through the half second takes a good part of it; waiting takes next to none.
    EXPECT_LT(ThreadCpuMs() - cpuBefore, 100u);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

TEST_F(MacroTool, TheRunCommandIsStartedWithoutWaiting) {
    std::string defaultFile = workDir_.File("ov32mac.brd");
    WriteFile(defaultFile, "");
    tool_.Script("run", "holduntil", workDir_.File("release"));
    tool_.Script("run", "result", "1");  // "0" when never released
    SetExchangeValue("result", "0");
    ASSERT_TRUE(orvale::StartMacroRun(L"Sign_off"));
    WriteFile(workDir_.File("release"), "");  // had the call waited, the hold would be over
    EXPECT_TRUE(WaitUntil([] { return ExchangeValue("result") == "1"; }));
    EXPECT_EQ(tool_.Program() + " -run:Sign_off " + defaultFile, LastCommandLine());
}

TEST(MacroNames, NewNamesAreNeverOneAlreadyInUseEvenWithinOneSecond) {
    std::set<std::wstring> used;
    for (int i = 0; i < 300; ++i) {
        std::wstring name = NewMacroName([&](const std::wstring& n) { return used.count(n) > 0; });
        ASSERT_EQ(0u, name.rfind(L"ov32mac", 0)) << win::Narrow(name);
        int number = std::stoi(name.substr(7));
        EXPECT_TRUE(number >= 0 && number <= 32767) << win::Narrow(name);
        EXPECT_TRUE(used.insert(name).second) << "a second macro named " << win::Narrow(name);
    }
    EXPECT_EQ(L"", NewMacroName([](const std::wstring&) { return true; })) << "none free";
}

TEST(ExchangePlace, AFileTheUserCannotWriteGivesWayToTheirOwnAndANewerRedirectedAnswerIsRead) {
    const std::wstring windows = L"C:\\Windows\\wy32i.ini";
    const std::wstring own = L"C:\\Users\\u\\AppData\\Local\\Orvale\\wy32i.ini";
    const std::wstring redirected =
        L"C:\\Users\\u\\AppData\\Local\\VirtualStore\\Windows\\wy32i.ini";
    struct Case {
        bool writable;
        ULONGLONG written, redirectedWritten;  // 0: not there
        const std::wstring& decided;
        const std::wstring& answers;
    };
    const Case cases[] = {
        {true, 5, 9, windows, windows},        // where every program of the family looks
        {false, 5, 0, own, own},               // no legacy tool ever answered
        {false, 5, 9, own, redirected},        // a legacy tool answered after the reset
        {false, 9, 5, own, own},               // an old legacy answer: the reset came later
        {false, 5, 5, own, own},               // a tie goes to the reset
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.writable << " " << c.written << " " << c.redirectedWritten);
        const orvale::ExchangePlace place =
            orvale::DecideExchangePlace({windows, own, redirected}, c.writable);
        EXPECT_EQ(c.decided, place.file);
        EXPECT_EQ(c.answers, orvale::AnswerFile(place, c.written, c.redirectedWritten));
        // An installer's path is looked for where a legacy installer could have put it.
        if (c.writable) {
            EXPECT_TRUE(place.pathFallbacks.empty());
        } else {
            EXPECT_EQ((std::vector<std::wstring>{redirected, windows}), place.pathFallbacks);
        }
    }
}

TEST(MacroToolRegistration, TheToolBesideTheProgramTakesAnEmptyOrDeadPathNeverALiveOne) {
    KeptExchange kept;
    TempDir withTool, withoutTool, elsewhere;
    WriteFile(withTool.File("ovmacro.exe"), "");  // only its presence counts
    WriteFile(elsewhere.File("tool.exe"), "");
    const std::string own = "\"" + withTool.File("ovmacro.exe") + "\"";
    const std::string live = "\"" + elsewhere.File("tool.exe") + "\" -x";
    struct Case {
        const char* path;  // null: no key
        const TempDir& folder;
        std::string expected;
    };
    const Case cases[] = {
        {nullptr, withTool, own},
        {"", withTool, own},
        {"\"C:\\gone\\brindle.exe\"", withTool, own},
        {live.c_str(), withTool, live},
        {"notepad", withTool, "notepad"},  // found on the search path
        {"", withoutTool, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path ? c.path : "(none)");
        SetExchangeValue("path", c.path);
        EXPECT_EQ(c.expected != (c.path ? c.path : ""),
                  orvale::RegisterOwnMacroTool(win::Widen(c.folder.Path())));
        EXPECT_EQ(c.expected, ExchangeValue("path"));
    }
}

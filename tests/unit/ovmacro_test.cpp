// Orvale Macros as Orvale runs it: one process a command, on macro files in a folder whose
// name has spaces, its windows worked through their controls, its recording typed through
// the X server. Its answers are read where Orvale reads them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "DialogDriver.h"
#include "Harness.h"
#include "MacroStandIn.h"
#include "ovmacro/MacroIds.h"
#include "ovmacro/RecordedSteps.h"

using namespace testing_support;

namespace {

// `pattern` with "*" for any text, matched against the whole of `text`.
bool Matches(const char* pattern, const char* text) {
    if (*pattern == '*') return Matches(pattern + 1, text) || (*text && Matches(pattern, text + 1));
    if (!*pattern) return !*text;
    return *pattern == *text && Matches(pattern + 1, text + 1);
}

// The tool's visible window with `title`, once it has come.
HWND ToolWindow(const Process& tool, const char* title) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows(tool.Id(), "#32770", title)) {
            if (IsWindowVisible(window)) found = window;
        }
        return found != nullptr;
    });
    return found;
}

// The tool's message (a box whose text holds `words`), closed with its OK.
void ExpectMessage(const Process& tool, const char* words) {
    HWND box = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows(tool.Id(), "#32770", "Orvale Macros")) {
            if (IsWindowVisible(window) && GetDlgItem(window, 0xFFFF)) box = window;
        }
        return box != nullptr;
    });
    ASSERT_NE(nullptr, box) << "no message";
    EXPECT_NE(std::string::npos, TitleOf(GetDlgItem(box, 0xFFFF)).find(words))
        << TitleOf(GetDlgItem(box, 0xFFFF));
    ClickCentre(GetDlgItem(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
}

int CountLines(const std::vector<std::string>& log, const std::string& line) {
    return static_cast<int>(std::count(log.begin(), log.end(), line));
}

using Drive = std::function<void(const Process& tool)>;

struct Row {
    const char* file;     // which of the test's files
    const char* command;  // verb and name
    Drive user;           // what the user does while the tool runs (null: nothing)
    int result;
    const char* strres;
    const char* after;    // the file's text afterwards ("*": any text); null: as it was
};

}  // namespace

TEST(OrvaleMacros, EveryVerbAnswersAsOrvaleExpectsAndLosesNothingOnBadInput) {
    KeptExchange kept;
    TempDir folder;
    const std::string dir = folder.File("My Macros");
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::map<std::string, std::string> files = {
        {"team", dir + "\\team macros.brd"},
        {"missing", dir + "\\none.brd"},
        {"long", dir + "\\long line.brd"},
        {"slow", dir + "\\slow.brd"}};
    WriteFile(files.at("long"), "[A]\r\nkeys a\r\nkeys " + std::string(1200, 'b') + "\r\n");
    WriteFile(files.at("slow"), "[Slow]\r\nwait 8000\r\nkeys late\r\n");
    TestApp app("Macro target");
    ASSERT_TRUE(app.Started());
    const std::string recorded =
        "*[Fresh]\r\nclick left *,*\r\npause *\r\nkeys Hi there*<ctrl><F5><ctrl>\r\n*";

    const Drive record = [&](const Process& tool) {
        HWND recording = ToolWindow(tool, "Recording");
        ASSERT_NE(nullptr, recording);
        EXPECT_EQ(app.Window(), GetForegroundWindow()) << "the recorder took the keyboard";
        ClickCentre(app.Window());
        PumpFor(400);  // a moment the user waits: kept as a pause
        TypeOnKeyboard("Hi there");
        EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == L"Hi there"; }));
        PressKey("ctrl+F5");
        EXPECT_TRUE(WaitUntil([&] { return app.LogContains("keydown 116 mods=C"); }));
        ClickCentre(GetDlgItem(recording, IDOK));
    };
    const Drive playedTwice = [&](const Process&) {
        EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == L"Hi thereHi there"; }))
            << win::Narrow(app.TypedText());
        EXPECT_TRUE(WaitUntil([&] { return CountLines(app.Log(), "keydown 116 mods=C") == 2; }));
    };
    const Drive chooseSecond = [](const Process& tool) {
        HWND window = ToolWindow(tool, "Orvale Macros");
        ASSERT_NE(nullptr, window);
        ClickItem(GetDlgItem(window, IDC_OVM_MACROS), LVM_GETITEMRECT, 1);
        ClickCentre(GetDlgItem(window, IDOK));
    };
    const Drive cancelSelect = [](const Process& tool) {
        HWND window = ToolWindow(tool, "Orvale Macros");
        ASSERT_NE(nullptr, window);
        ClickCentre(GetDlgItem(window, IDCANCEL));
    };
    // Steps typed into the editor, then OK; a line it cannot read is told by its number, and
    // the editor stays open for Cancel.
    const auto editTo = [](const std::wstring& steps, const char* refusal) -> Drive {
        return [=](const Process& tool) {
            HWND editor = ToolWindow(tool, "Orvale Macros");
            ASSERT_NE(nullptr, editor);
            TypeInto(editor, IDC_OVM_STEPS, steps);
            ClickCentre(GetDlgItem(editor, IDOK));
            if (!refusal) return;
            ExpectMessage(tool, refusal);
            ClickCentre(GetDlgItem(editor, IDCANCEL));
        };
    };
    const auto message = [](const char* words) -> Drive {
        return [=](const Process& tool) { ExpectMessage(tool, words); };
    };
    // While one copy records, a second refuses with a message.
    const Drive secondCopyWhileRecording = [&](const Process& tool) {
        HWND recording = ToolWindow(tool, "Recording");
        ASSERT_NE(nullptr, recording);
        Process second;
        ASSERT_TRUE(second.Start(BinDir() + "\\ovmacro.exe -del:Fresh_2 " + files.at("team")));
        ExpectMessage(second, "being recorded");
        DWORD code = 9;
        EXPECT_TRUE(second.WaitForExit(5000, &code) && code == 0) << code;
        PressKey("Pause");
    };
    const Drive pauseStops = [](const Process&) {
        PumpFor(500);
        PressKey("Pause");
    };

    const Row rows[] = {
        {"team", "-add:Fresh", nullptr, 1, "", "*\r\n[Fresh]\r\n"},  // made, with a header
        {"team", "-add:fresh", nullptr, 0, "", nullptr},  // names are one, whatever the case
        {"team", "-new:Fresh", nullptr, 1, "", nullptr},  // empty: ready to be recorded
        {"team", "-rec:Fresh", record, 1, "", recorded.c_str()},
        {"team", "-new:Fresh", nullptr, 0, "", nullptr},  // recorded steps are never replaced
        {"team", "-run:Fresh", playedTwice, 1, "", nullptr},
        {"team", "-cpy:Fresh", nullptr, 1, "Fresh_2", "*[Fresh]\r\n*[Fresh_2]\r\nclick left *"},
        {"team", "-cpy:Fresh_2", nullptr, 1, "Fresh_3", "*[Fresh_3]\r\nclick left *"},
        {"team", "-del:Fresh_3", nullptr, 1, "", "*[Fresh_2]\r\nclick *<ctrl>\r\n"},
        {"team", "-del:Nobody", nullptr, 0, "", nullptr},
        {"team", "-sel:", chooseSecond, 1, "Fresh_2", nullptr},
        {"team", "-sel:", cancelSelect, 0, "", nullptr},
        {"team", "-edit:Fresh_2", editTo(L"keys ok<enter>\r\n\r\nwait 20", nullptr), 1, "",
         "*[Fresh_2]\r\nkeys ok<enter>\r\nwait 20\r\n"},
        {"team", "-edit:Fresh_2", editTo(L"keys a\r\nwait soon", "Line 2"), 0, "", nullptr},
        {"team", "-edit:Nobody", message("no macro named \"Nobody\""), 0, "", nullptr},
        {"team", "-rec:Fresh", secondCopyWhileRecording, 1, "", "*[Fresh_2]*"},
        {"missing", "-sel:", message("is not there"), 0, "", nullptr},
        {"missing", "-del:A", nullptr, 0, "", nullptr},
        {"long", "-sel:", message("Line 3: The line is longer"), 0, "", nullptr},
        {"long", "-del:A", nullptr, 0, "", nullptr},
        {"slow", "-run:Slow", pauseStops, 0, "", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " " + row.command);
        const std::string path = files.at(row.file), before = ReadFile(path);
        // As Orvale does before each command: a stale answer must not survive it.
        SetExchangeValue("result", "7");
        SetExchangeValue("strres", nullptr);
        ASSERT_TRUE(app.Activate());
        Process tool;
        ASSERT_TRUE(tool.Start(BinDir() + "\\ovmacro.exe " + row.command + " " + path));
        if (row.user) row.user(tool);
        DWORD code = 9;
        ASSERT_TRUE(tool.WaitForExit(5000, &code)) << "the tool did not end";
        EXPECT_EQ(static_cast<DWORD>(row.result), code);
        EXPECT_EQ(std::to_string(row.result), ExchangeValue("result"));
        EXPECT_EQ(row.strres, ExchangeValue("strres"));
        const std::string text = ReadFile(path);
        if (row.after) {
            EXPECT_TRUE(Matches(row.after, text.c_str())) << text;
        } else {
            EXPECT_EQ(before, text);
        }
    }
    EXPECT_EQ(std::wstring::npos, app.TypedText().find(L"late")) << "Pause stopped the macro";
}

namespace {

using ovmacro::InputEvent;

InputEvent Key(bool down, UINT vk, DWORD time) {
    InputEvent event;
    event.type = down ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
    event.vk = vk;
    event.time = time;
    return event;
}

// A keyboard in miniature: letters, digits, Shift+comma "<", Shift+period ">", AltGr+Q "@",
// Enter and Space.
std::wstring MiniLayout(const InputEvent& key, const ovmacro::KeyState& state) {
    if (key.vk >= 'A' && key.vk <= 'Z') {
        if (state.ctrl && state.alt) return key.vk == 'Q' ? L"@" : L"";
        if (state.ctrl || state.alt) return std::wstring(1, static_cast<wchar_t>(key.vk - 64));
        const UINT letter = state.shift != state.caps ? key.vk : key.vk + 32;
        return std::wstring(1, static_cast<wchar_t>(letter));
    }
    if (key.vk >= '0' && key.vk <= '9') return std::wstring(1, static_cast<wchar_t>(key.vk));
    if (key.vk == VK_OEM_COMMA) return state.shift ? L"<" : L",";
    if (key.vk == VK_OEM_PERIOD) return state.shift ? L">" : L".";
    if (key.vk == VK_RETURN) return L"\r";
    return key.vk == VK_SPACE ? L" " : L"";
}

}  // namespace

TEST(OrvaleMacros, RecordedInputBecomesStepsThatTypeItAgain) {
    // "k" and "K": a key pressed and released; "+K" pressed, "-K" released; "@500" moves the
    // clock; "click" a left click at 10,20.
    struct Case {
        const char* input;
        const wchar_t* steps;  // as the file writes them, "|" between
    };
    const Case cases[] = {
        {"+LSHIFT H -LSHIFT I", L"keys Hi"},
        {"+LCONTROL S A -LCONTROL", L"keys <ctrl>sa<ctrl>"},
        {"+LSHIFT TAB -LSHIFT RETURN", L"keys <shift><tab><shift><enter>"},
        {"CAPITAL A NUMLOCK PAUSE B", L"keys AB"},
        {"+LCONTROL +RMENU Q -RMENU F4 -LCONTROL", L"keys @<ctrl><F4><ctrl>"},
        {"+LWIN E -LWIN LWIN", L"keys <winkey>e<winkey><winkey><winkey>"},
        {"+LSHIFT COMMA -LSHIFT A +LSHIFT COMMA F -LSHIFT 1 +LSHIFT PERIOD -LSHIFT",
         L"keys <a<F1|keys >"},  // typed, "<F1>" is no key
        {"A @500 B @9000 C", L"keys a|pause 500|keys b|pause 2000|keys c"},
        {"A click B", L"keys a|click left 10,20|keys b"},
    };
    const std::map<std::string, UINT> named = {
        {"LSHIFT", VK_LSHIFT}, {"LCONTROL", VK_LCONTROL}, {"RMENU", VK_RMENU},
        {"LWIN", VK_LWIN},     {"TAB", VK_TAB},           {"RETURN", VK_RETURN},
        {"CAPITAL", VK_CAPITAL}, {"NUMLOCK", VK_NUMLOCK}, {"PAUSE", VK_PAUSE},
        {"F4", VK_F4},         {"COMMA", VK_OEM_COMMA}, {"PERIOD", VK_OEM_PERIOD}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        std::vector<InputEvent> events;
        DWORD time = 0;
        std::istringstream words(c.input);
        for (std::string word; words >> word;) {
            if (word[0] == '@') {
                time += std::stoul(word.substr(1));
            } else if (word == "click") {
                events.push_back(InputEvent());
                events.back().type = InputEvent::Type::Click;
                events.back().at = {10, 20};
                events.back().time = time;
            } else {
                const bool press = word[0] != '-', release = word[0] != '+';
                if (!press || !release) word.erase(0, 1);
                const UINT vk = word.size() == 1 ? static_cast<UINT>(word[0]) : named.at(word);
                if (press) events.push_back(Key(true, vk, time));
                if (release) events.push_back(Key(false, vk, time));
            }
        }
        std::wstring steps;
        for (const ovmacro::Step& step : ovmacro::StepsFromInput(events, MiniLayout, false)) {
            steps += (steps.empty() ? L"" : L"|") + ovmacro::FormatStep(step);
        }
        EXPECT_EQ(c.steps, steps);
    }
}

// Key sequences typed for real into the test application and into notepad.
#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "actions/KeySequence.h"

using namespace testing_support;

namespace {

// Wine's keyboard layout has no key for "(" and ")", so they also travel as Unicode input.
const std::string kSentence =
    "Hello, World! It's 10:45 on 2024-03-07; (a+b)*c = \"x\" & y_z? ~ok|[1]{2}";

// Plays the sequence and checks that nothing is left held afterwards.
void Play(const std::string& sequence) {
    orvale::PlayKeySequence(sequence);
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000)) << "a modifier is still down after " << sequence;
}

}  // namespace

TEST(Typing, TextAndShortcutsReachTheTestApplication) {
    TestApp app("Typing target");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());
    // In code page 1252 also characters without a key of their own, which go as Unicode.
    const std::string text = kSentence + (GetACP() == 1252 ? " caf\xE9 \x80" : "");
    Play(text);
    EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == text; })) << app.TypedText();

    Play("<alt>f<alt>");
    Play("<ctrl><shift>k<shift><ctrl>");
    Play("<winkey>r<winkey>");
    Play("<shift>a<shift><shift>A<shift>");
    // Left unclosed: the player releases what it pressed. (Wine lets go of a held Windows key
    // by itself, so for that key the event stream of the unit tests is the proof.)
    Play("<ctrl>q");
    Play("<winkey>j");
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("keydown 74 mods=W"); }));
    for (const char* line : {"syskeydown 70 mods=A", "keydown 75 mods=SC", "keydown 82 mods=W",
                             "keydown 81 mods=C"}) {
        EXPECT_TRUE(app.LogContains(line)) << line;
    }
    EXPECT_NE(std::string::npos, app.TypedText().find("Aa")) << app.TypedText();
}

TEST(Typing, NotepadReceivesTextAndShortcuts) {
    EnsureDesktop();
    Process notepad;
    ASSERT_TRUE(notepad.Start("notepad.exe"));
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = VisibleWindowOf(notepad, "Notepad")) != nullptr; },
                          15000));
    HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 3000));
    const auto text = [&] {
        char typed[1024] = {};
        SendMessageA(edit, WM_GETTEXT, sizeof typed, reinterpret_cast<LPARAM>(typed));
        return std::string(typed);
    };

    Play(kSentence);
    EXPECT_TRUE(WaitUntil([&] { return text() == kSentence; })) << text();
    // Ctrl+A selects everything, so what follows replaces it.
    Play("<ctrl>a<ctrl>Second line<enter>caf<left><back>E");
    EXPECT_TRUE(WaitUntil([&] { return text() == "Second line\r\ncEf"; })) << text();
}

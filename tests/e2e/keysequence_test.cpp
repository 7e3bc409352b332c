// Key sequences typed for real into the test application and into notepad.
#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "actions/KeySequence.h"

using namespace testing_support;

namespace {

// Wine's keyboard layout has no key for "(" and ")", so they also travel as Unicode input, as
// do the letters no layout key gives.
const std::wstring kSentence =
    L"Hello, World! It's 10:45 on 2024-03-07; (a+b)*c = \"x\" & y_z? ~ok|[1]{2} "
    L"Gr\u00FC\u00DFe, \u041F\u0440\u0438\u0432\u0435\u0442 \u20AC";

// Plays the sequence and checks that nothing is left held afterwards.
void Play(const std::wstring& sequence) {
    orvale::PlayKeySequence(sequence);
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000))
        << "a modifier is still down after " << testing::PrintToString(sequence);
}

}  // namespace

TEST(Typing, TextAndShortcutsReachTheTestApplication) {
    TestApp app("Typing target");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());
    Play(kSentence);
    EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == kSentence; }))
        << testing::PrintToString(app.TypedText());

    Play(L"<alt>f<alt>");
    Play(L"<ctrl><shift>k<shift><ctrl>");
    Play(L"<winkey>r<winkey>");
    Play(L"<shift>a<shift><shift>A<shift>");
    // Left unclosed: the player releases what it pressed. (Wine lets go of a held Windows key
    // by itself, so for that key the event stream of the unit tests is the proof.)
    Play(L"<ctrl>q");
    Play(L"<winkey>j");
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("keydown 74 mods=W"); }));
    for (const char* line : {"syskeydown 70 mods=A", "keydown 75 mods=SC", "keydown 82 mods=W",
                             "keydown 81 mods=C"}) {
        EXPECT_TRUE(app.LogContains(line)) << line;
    }
    EXPECT_NE(std::wstring::npos, app.TypedText().find(L"Aa"));
}

TEST(Typing, NotepadReceivesTextAndShortcuts) {
    EnsureDesktop();
    Process notepad;
    HWND window = OpenNotepad(notepad);
    ASSERT_NE(nullptr, window);
    HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 3000));
    const auto text = [&] {
        wchar_t typed[1024] = {};
        SendMessageW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(typed));
        return std::wstring(typed);
    };

    Play(kSentence);
    EXPECT_TRUE(WaitUntil([&] { return text() == kSentence; })) << testing::PrintToString(text());
    // Ctrl+A selects everything, so what follows replaces it.
    Play(L"<ctrl>a<ctrl>Second line<enter>caf<left><back>E");
    EXPECT_TRUE(WaitUntil([&] { return text() == L"Second line\r\ncEf"; }))
        << testing::PrintToString(text());
}

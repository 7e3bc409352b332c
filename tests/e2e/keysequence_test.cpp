// Key sequences typed for real into the test application and into notepad.
#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "actions/KeySequence.h"

using namespace testing_support;
using orvale::PlayKeySequence;

namespace {

// Wine's keyboard layout has no key for "(" and ")", so they also travel as Unicode input.
const char* kSentence = "Hello, World! It's 10:45 on 2024-03-07; (a+b)*c = \"x\" & y_z? ~ok|[1]{2}";

bool NoModifierDown() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN}) {
        if (GetAsyncKeyState(vk) & 0x8000) return false;
    }
    return true;
}

// Plays the sequence and checks that nothing is left held afterwards.
void Play(const std::string& sequence) {
    PlayKeySequence(sequence);
    EXPECT_TRUE(WaitUntil(NoModifierDown, 1000)) << "a modifier is still down after " << sequence;
}

// Wine's notepad, started as a normal program, with its edit control.
class Notepad {
public:
    Notepad() {
        EnsureDesktop();
        if (!process_.Start("notepad.exe")) return;
        WaitUntil([&] {
            window_ = FindWindowOf("Notepad");
            return window_ && IsWindowVisible(window_);
        }, 15000);
        edit_ = window_ ? FindWindowExA(window_, nullptr, "Edit", nullptr) : nullptr;
    }
    bool Started() const { return edit_ != nullptr; }
    bool Activate() {
        SetForegroundWindow(window_);
        return WaitUntil([&] { return GetForegroundWindow() == window_; }, 3000);
    }
    std::string Text() const {
        char text[1024] = {};
        SendMessageA(edit_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }

private:
    HWND FindWindowOf(const char* className) const {
        for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
             w = FindWindowExA(nullptr, w, className, nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == process_.Id()) return w;
        }
        return nullptr;
    }
    Process process_;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
};

}  // namespace

TEST(Typing, SentenceArrivesExactlyInTheTestApplication) {
    TestApp app("Typing target");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());
    Play(kSentence);
    EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == kSentence; }))
        << "typed: " << app.TypedText();
}

TEST(Typing, ModifiersAndTheWindowsKeyReachTheFocusedWindow) {
    TestApp app("Modifier target");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());
    Play("<alt>f<alt>");
    Play("<ctrl><shift>k<shift><ctrl>");
    Play("<winkey>r<winkey>");
    Play("<shift>a<shift><shift>A<shift>");
    // Left unclosed: the player releases what it pressed. (Wine lets go of a held Windows key
    // by itself, so for that key the event stream of the unit tests is the proof.)
    Play("<ctrl>q");
    Play("<winkey>j");
    EXPECT_TRUE(WaitUntil([&] { return app.LogContains("keydown 74 mods=W"); }));
    EXPECT_TRUE(app.LogContains("syskeydown 70 mods=A"));
    EXPECT_TRUE(app.LogContains("keydown 75 mods=SC"));
    EXPECT_TRUE(app.LogContains("keydown 82 mods=W"));
    EXPECT_TRUE(app.LogContains("keydown 81 mods=C"));
    EXPECT_NE(std::string::npos, app.TypedText().find("Aa")) << app.TypedText();
}

TEST(Typing, CharacterWithoutAKeyStillArrives) {
    if (GetACP() != 1252) GTEST_SKIP() << "the text below is written in code page 1252";
    TestApp app("Accent target");
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(app.Activate());
    const std::string text = "caf\xE9 \x80 5";
    Play(text);
    EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == text; })) << app.TypedText();
}

TEST(Typing, NotepadReceivesTextAndShortcuts) {
    Notepad notepad;
    ASSERT_TRUE(notepad.Started());
    ASSERT_TRUE(notepad.Activate());
    Play(kSentence);
    EXPECT_TRUE(WaitUntil([&] { return notepad.Text() == kSentence; })) << notepad.Text();

    // Ctrl+A selects everything, so what follows replaces it.
    std::string replacement = "<ctrl>a<ctrl>Second line<enter>caf\xE9<left><back>E";
    Play(replacement);
    const std::string expected = GetACP() == 1252 ? "Second line\r\ncaE\xE9" : "";
    if (!expected.empty()) {
        EXPECT_TRUE(WaitUntil([&] { return notepad.Text() == expected; })) << notepad.Text();
    }
}

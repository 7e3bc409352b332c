// Key sequences typed for real into the test application and into notepad.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Harness.h"
#include "MacroStandIn.h"
#include "actions/ItemLauncher.h"
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

bool CapsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

// Caps Lock as a user leaves it.
void SetCapsLock(bool on) {
    if (CapsLockOn() == on) return;
    keybd_event(VK_CAPITAL, 0x3A, 0, 0);
    keybd_event(VK_CAPITAL, 0x3A, KEYEVENTF_KEYUP, 0);
    WaitUntil([on] { return CapsLockOn() == on; }, 1000);
}

}  // namespace

TEST(Typing, TextArrivesAsWrittenWhateverCapsLockTheUserLeftAndKeepsIt) {
    TestApp app("Typing target");
    ASSERT_TRUE(app.Started() && app.Activate());
    for (bool on : {true, false}) {  // off last, as the other tests want it
        SCOPED_TRACE(on ? "Caps Lock on" : "Caps Lock off");
        SetCapsLock(on);
        ASSERT_EQ(on, CapsLockOn());
        const std::wstring before = app.TypedText();
        // The sequence's own Caps Lock still does what it says.
        Play(L"Hello <capslock>big<capslock> World");
        EXPECT_TRUE(WaitUntil([&] { return app.TypedText() == before + L"Hello BIG World"; }))
            << testing::PrintToString(app.TypedText());
        EXPECT_EQ(on, CapsLockOn()) << "as the user left it";
    }
}

TEST(Typing, KeysAndMacrosGoOnlyToTheWindowTheyAreMeantFor) {
    MacroStandIn tool;
    TestApp bystander("Bystander");
    // It takes the activation only to hand it on to the bystander.
    TestApp meant("Meant", "--hand-activation-to Bystander");
    ASSERT_TRUE(meant.Started() && bystander.Started() && bystander.Activate());
    const orvale::ItemRun keys = orvale::makeItem(
        orvale::ItemType::Attributed, {L"", L"typed<enter>", L"", 0, L"", L"kseq:", L""});
    const orvale::ItemRun macro = orvale::makeItem(
        orvale::ItemType::Attributed, {L"", L"C:\\m.brd", L"", 0, L"Daily", L"macro:", L""});
    orvale::ActionContext toMeant, toBystander;
    toMeant.LastForeignWindow = meant.Window();
    toBystander.LastForeignWindow = bystander.Window();
    const struct {
        const orvale::ItemRun& item;
        std::function<bool()> arrived;
    } rows[] = {
        {keys, [&] { return bystander.TypedText() == L"typed\r"; }},
        {macro, [&] { return !tool.CommandLines().empty(); }},
    };
    for (const auto& row : rows) {
        orvale::RunItem(orvale::BarItem(row.item.First()), toMeant);
        // The same item for a window that comes forward: once that has arrived, the first
        // has had its chance. (Keys still on their way go to the window in front when they
        // land, so the next row waits for them.)
        orvale::RunItem(orvale::BarItem(row.item.First()), toBystander);
        EXPECT_TRUE(WaitUntil(row.arrived)) << testing::PrintToString(bystander.TypedText());
    }
    EXPECT_EQ(L"typed\r", bystander.TypedText()) << "typed once";
    EXPECT_EQ(1u, tool.CommandLines().size()) << "the macro tool started once";
    EXPECT_EQ(L"", meant.TypedText());
    EXPECT_TRUE(meant.LogContains("activation handed on")) << "it was asked to come forward";
}

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

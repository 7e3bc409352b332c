// The exact keyboard event stream the key-sequence player produces, captured without touching
// the system's input, and the token matching it rests on.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "actions/KeySequence.h"

using namespace orvale;

namespace {

// Virtual key, scan code (or UTF-16 unit) and flags; a pumped wait of n ms is (0, n, 0).
using Event = std::tuple<WORD, WORD, DWORD>;
using Events = std::vector<Event>;

class Recorder : public KeyboardOutput {
public:
    Recorder() { SetKeyboardOutput(this); }
    ~Recorder() override { SetKeyboardOutput(nullptr); }
    void Key(WORD vk, WORD scan, DWORD flags) override { events.emplace_back(vk, scan, flags); }
    void Wait(unsigned ms) override { events.emplace_back(0, static_cast<WORD>(ms), 0); }
    bool CapsLockOn() override { return false; }
    Events events;
};

Events Play(const std::wstring& text) {
    Recorder recorder;
    PlayKeySequence(text);
    return recorder.events;
}

// Keys with their scan codes on the US keyboard (scan code set 1), or a Unicode character.
struct Key {
    WORD vk, scan;
    DWORD flags = 0;
};
const Key kShift{VK_SHIFT, 0x2A}, kCtrl{VK_CONTROL, 0x1D}, kAlt{VK_MENU, 0x38};
const Key kWin{VK_LWIN, 0x5B}, kF1{VK_F1, 0x3B}, kF10{VK_F10, 0x44}, kZero{'0', 0x0B};
const Key kA{'A', 0x1E}, kB{'B', 0x30}, kC{'C', 0x2E}, kE{'E', 0x12}, kF{'F', 0x21};
const Key kL{'L', 0x26}, kR{'R', 0x13}, kT{'T', 0x14}, kX{'X', 0x2D};
const Key kLeft{VK_LEFT, 0x4B}, kDivide{VK_DIVIDE, 0x35};
Key Unicode(wchar_t c) { return {0, static_cast<WORD>(c), KEYEVENTF_UNICODE}; }

Event Down(Key k) { return Event(k.vk, k.scan, k.flags); }
Event Up(Key k) { return Event(k.vk, k.scan, k.flags | KEYEVENTF_KEYUP); }

Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One key as typed: the held modifiers pressed, the key pressed and released, the 1 ms wait,
// the modifiers released in the order they were pressed.
Events Stroke(Key key, const std::vector<Key>& held = {}) {
    Events events;
    for (Key k : held) events.push_back(Down(k));
    events.insert(events.end(), {Down(key), Up(key), Event(0, 1, 0)});
    for (Key k : held) events.push_back(Up(k));
    return events;
}

Events WithWinKey(const Events& inside) { return Events{Down(kWin)} + inside + Events{Up(kWin)}; }

// "<" and ">" lie on different keys in different variants of the US layout (Wine's puts "<"
// on the extra key of 102-key keyboards): the stream for one of them, from the layout.
Events TypedByLayout(char c) {
    const SHORT found = VkKeyScanA(c);
    const Key key{LOBYTE(found), static_cast<WORD>(MapVirtualKeyA(LOBYTE(found), 0))};
    return (HIBYTE(found) & 1) ? Stroke(key, {kShift}) : Stroke(key);
}

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        if (LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))) != 0x0409) {
            GTEST_SKIP() << "the expected streams are written for the US keyboard layout";
        }
    }
};

}  // namespace

TEST(KeyTokens, SpecialKeyListOffersEveryTokenOnce) {
    std::set<std::wstring> offered;
    for (const SpecialKey& key : SpecialKeyTable) {
        size_t position = 0;
        EXPECT_NE(0, MatchKeyToken(key.token, position)) << key.name;
        EXPECT_EQ(std::wcslen(key.token), position) << key.name;
        offered.insert(key.token);
    }
    EXPECT_EQ(static_cast<size_t>(kKeyTokenCount), offered.size());
}

TEST(KeyTokens, MatchOnlyExactlyAtThePosition) {
    size_t position = 2;
    EXPECT_EQ(11, MatchKeyToken(L"ab<down><up>", position));
    EXPECT_EQ(8u, position);
    for (size_t start : {1u, 5u, 99u}) {  // inside a token, at the end, past the end
        position = start;
        EXPECT_EQ(0, MatchKeyToken(L"<tab>", position));
        EXPECT_EQ(start, position);
    }
}

TEST_F(Player, SendsExactlyTheseEvents) {
    const Events ctrlAB = Stroke(kA, {kCtrl}) + Stroke(kB, {kCtrl});
    const struct {
        const wchar_t* text;
        Events expected;
    } cases[] = {
        {L"", {}},
        {L"<alt>f<alt>", Stroke(kF, {kAlt})},
        {L"<ctrl>ab<ctrl>", ctrlAB},
        {L"<ctrl>ab", ctrlAB},  // unclosed: every later key, and nothing left held
        // Always pressed in the order Shift, Alt, Ctrl, whatever order the toggles came in.
        {L"<ctrl><alt><shift>x<shift><alt><ctrl>", Stroke(kX, {kShift, kAlt, kCtrl})},
        // The Shift a character needs inverts the Shift toggle for that key.
        {L"<shift>a<shift>", Stroke(kA, {kShift})},
        {L"<shift>A<shift>", Stroke(kA)},
        {L"A", Stroke(kA, {kShift})},
        {L"<F1>0", Stroke(kF1) + Stroke(kZero)},
        {L"<F10>", Stroke(kF10)},
        {L"<left><numpad/>", Stroke(kLeft) + Stroke(kDivide)},  // never the extended-key flag
        // Tokens are case-sensitive; a "<" that starts no token is typed as it is.
        {L"<Ctrl>", TypedByLayout('<') + Stroke(kC, {kShift}) + Stroke(kT) + Stroke(kR) +
                       Stroke(kL) + TypedByLayout('>')},
        {L"<", TypedByLayout('<')},
        {L"<winkey>r<winkey><winkey>e<winkey>", WithWinKey(Stroke(kR)) + WithWinKey(Stroke(kE))},
        // A Windows key left down would turn the user's next keys into shortcuts.
        {L"<winkey>e", WithWinKey(Stroke(kE))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Play(c.text)) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST_F(Player, TypesACharacterWithoutAKeyAsUnicode) {
    // "e" with an acute accent and Cyrillic letters have no key on the US layout; a character
    // beyond the first 65536 goes as its two UTF-16 halves.
    EXPECT_EQ(Stroke(Unicode(0xE9)), Play(L"\u00E9"));
    EXPECT_EQ(Stroke(Unicode(0x20AC), {kAlt}), Play(L"<alt>\u20AC<alt>"));
    EXPECT_EQ(Stroke(Unicode(0x041F)) + Stroke(Unicode(0x0440)), Play(L"\u041F\u0440"));
    Events pair = {Down(Unicode(0xD83D)), Up(Unicode(0xD83D)), Down(Unicode(0xDE00)),
                   Up(Unicode(0xDE00)), Event(0, 1, 0)};
    EXPECT_EQ(pair, Play(L"\U0001F600"));
}

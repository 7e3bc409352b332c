// The key-sequence language: token matching, the tables, and the exact keyboard event stream
// the player produces, captured without touching the system's input.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "actions/KeySequence.h"

using namespace orvale;

namespace {

// One event as the player hands it over: a key event, or a pumped wait of `ms`.
struct Event {
    bool wait;
    WORD vk;
    WORD scan;
    DWORD flags;
    unsigned ms;
    bool operator==(const Event& other) const {
        return wait == other.wait && vk == other.vk && scan == other.scan &&
               flags == other.flags && ms == other.ms;
    }
};

void PrintTo(const Event& e, std::ostream* os) {
    if (e.wait) {
        *os << "wait " << e.ms;
        return;
    }
    *os << "vk " << e.vk << " scan 0x" << std::hex << e.scan << std::dec;
    if (e.flags & KEYEVENTF_UNICODE) *os << " unicode";
    *os << ((e.flags & KEYEVENTF_KEYUP) ? " up" : " down");
    if (e.flags & ~(KEYEVENTF_KEYUP | KEYEVENTF_UNICODE)) *os << " flags " << e.flags;
}

class Recorder : public KeyboardOutput {
public:
    Recorder() { SetKeyboardOutput(this); }
    ~Recorder() override { SetKeyboardOutput(nullptr); }
    void Key(WORD vk, WORD scan, DWORD flags) override {
        events.push_back({false, vk, scan, flags, 0});
    }
    void Wait(unsigned ms) override { events.push_back({true, 0, 0, 0, ms}); }
    std::vector<Event> events;
};

std::vector<Event> Play(const std::string& text) {
    Recorder recorder;
    PlayKeySequence(text);
    return recorder.events;
}

// Keys with their scan codes on the US keyboard (scan code set 1).
struct Key {
    WORD vk;
    WORD scan;
};
const Key kShift{VK_SHIFT, 0x2A}, kCtrl{VK_CONTROL, 0x1D}, kAlt{VK_MENU, 0x38};
const Key kWin{VK_LWIN, 0x5B}, kF1{VK_F1, 0x3B}, kF10{VK_F10, 0x44}, kZero{'0', 0x0B};
const Key kA{'A', 0x1E}, kB{'B', 0x30}, kC{'C', 0x2E}, kE{'E', 0x12}, kF{'F', 0x21};
const Key kL{'L', 0x26}, kR{'R', 0x13}, kT{'T', 0x14}, kX{'X', 0x2D};
const Key kLeft{VK_LEFT, 0x4B}, kDivide{VK_DIVIDE, 0x35};

Event Down(Key k) { return {false, k.vk, k.scan, 0, 0}; }
Event Up(Key k) { return {false, k.vk, k.scan, KEYEVENTF_KEYUP, 0}; }
Event UnicodeDown(wchar_t c) { return {false, 0, static_cast<WORD>(c), KEYEVENTF_UNICODE, 0}; }
Event UnicodeUp(wchar_t c) {
    return {false, 0, static_cast<WORD>(c), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, 0};
}
const Event kWait1{true, 0, 0, 0, 1};

// "<" and ">" lie on different keys in different variants of the US layout (Wine's puts "<"
// on the extra key of 102-key keyboards): the stream for one of them, from the layout.
std::vector<Event> TypedByLayout(char c) {
    const SHORT found = VkKeyScanA(c);
    const Key key{LOBYTE(found), static_cast<WORD>(MapVirtualKeyA(LOBYTE(found), 0))};
    if (HIBYTE(found) & 1) return {Down(kShift), Down(key), Up(key), kWait1, Up(kShift)};
    return {Down(key), Up(key), kWait1};
}

// The expected streams name the US layout's keys and scan codes.
class Player : public ::testing::Test {
protected:
    void SetUp() override {
        if (LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))) != 0x0409) {
            GTEST_SKIP() << "the expected streams are written for the US keyboard layout";
        }
    }
};

}  // namespace

TEST(KeyTokens, EveryTokenMatchesItselfWithItsOwnIndex) {
    // No earlier token may shadow a later one, and each token's text ends at its ">".
    for (int i = 0; i < kKeyTokenCount; ++i) {
        std::string text = std::string("x") + KeyTokenTable[i].text + "y";
        size_t position = 1;
        EXPECT_EQ(i + 1, MatchKeyToken(text, position)) << KeyTokenTable[i].text;
        EXPECT_EQ(text.size() - 1, position) << KeyTokenTable[i].text;
    }
    EXPECT_STREQ("<ctrl>", KeyTokenTable[0].text);
    EXPECT_STREQ("<winkey>", KeyTokenTable[3].text);
    EXPECT_EQ(VK_LWIN, KeyTokenTable[3].vk);
    EXPECT_STREQ("<F1>", KeyTokenTable[20].text);
    EXPECT_EQ(VK_F12, KeyTokenTable[31].vk);
    EXPECT_STREQ("<numpad.>", KeyTokenTable[46].text);
    EXPECT_EQ(VK_DECIMAL, KeyTokenTable[46].vk);
}

TEST(KeyTokens, NonTokensLeaveThePositionAlone) {
    struct Case {
        const char* text;
        size_t position;
    } cases[] = {
        {"<Ctrl>", 0}, {"<CTRL>", 0}, {"<f1>", 0},  {"<ctrl", 0}, {"<", 0},  {"", 0},
        {"ab", 1},     {"<tab>", 1},  {"<tab>", 5}, {"<tab>", 99}, {"< tab>", 0},
    };
    for (const Case& c : cases) {
        size_t position = c.position;
        EXPECT_EQ(0, MatchKeyToken(c.text, position)) << c.text << " at " << c.position;
        EXPECT_EQ(c.position, position) << c.text;
    }
}

TEST(KeyTokens, FunctionKeysAreNotPrefixesOfEachOther) {
    size_t position = 0;
    EXPECT_EQ(21, MatchKeyToken("<F1>0", position));
    EXPECT_EQ(4u, position);
    position = 0;
    EXPECT_EQ(30, MatchKeyToken("<F10>", position));
    EXPECT_EQ(5u, position);
    position = 2;
    EXPECT_EQ(11, MatchKeyToken("ab<down><up>", position));
    EXPECT_EQ(10, MatchKeyToken("ab<down><up>", position));
    EXPECT_EQ(12u, position);
}

TEST(KeyTokens, SpecialKeyListOffersEveryTokenOnceInDisplayOrder) {
    std::set<std::string> offered;
    for (const SpecialKey& key : SpecialKeyTable) {
        size_t position = 0;
        std::string token = key.token;
        EXPECT_NE(0, MatchKeyToken(token, position)) << key.name;
        EXPECT_EQ(token.size(), position) << key.name;
        offered.insert(token);
    }
    EXPECT_EQ(static_cast<size_t>(kKeyTokenCount), offered.size());
    EXPECT_STREQ("Alt", SpecialKeyTable[0].name);
    EXPECT_STREQ("<alt>", SpecialKeyTable[0].token);
    EXPECT_STREQ("Caps Lock", SpecialKeyTable[18].name);
    EXPECT_STREQ("F4", SpecialKeyTable[23].name);
    EXPECT_STREQ("F5", SpecialKeyTable[24].name);
    EXPECT_STREQ("Numpad +", SpecialKeyTable[42].name);
    EXPECT_STREQ("<numpad+>", SpecialKeyTable[42].token);
    EXPECT_STREQ("Numpad .", SpecialKeyTable[46].name);
}

TEST_F(Player, EmptySequenceSendsNothing) {
    EXPECT_TRUE(Play("").empty());
}

TEST_F(Player, ModifierTogglesBracketTheKeysBetweenThem) {
    std::vector<Event> altF = {Down(kAlt), Down(kF), Up(kF), kWait1, Up(kAlt)};
    EXPECT_EQ(altF, Play("<alt>f<alt>"));

    std::vector<Event> ctrlAB = {Down(kCtrl), Down(kA), Up(kA), kWait1, Up(kCtrl),
                                 Down(kCtrl), Down(kB), Up(kB), kWait1, Up(kCtrl)};
    EXPECT_EQ(ctrlAB, Play("<ctrl>ab<ctrl>"));

    // Pressed and released in the order Shift, Alt, Ctrl, whatever order the toggles came in.
    std::vector<Event> all = {Down(kShift), Down(kAlt), Down(kCtrl), Down(kX), Up(kX),
                              kWait1,       Up(kShift), Up(kAlt),    Up(kCtrl)};
    EXPECT_EQ(all, Play("<ctrl><alt><shift>x<shift><alt><ctrl>"));
}

TEST_F(Player, ShiftToggleIsInvertedByTheShiftACharacterNeeds) {
    std::vector<Event> upper = {Down(kShift), Down(kA), Up(kA), kWait1, Up(kShift)};
    EXPECT_EQ(upper, Play("<shift>a<shift>"));
    std::vector<Event> lower = {Down(kA), Up(kA), kWait1};
    EXPECT_EQ(lower, Play("<shift>A<shift>"));
    std::vector<Event> capital = {Down(kShift), Down(kA), Up(kA), kWait1, Up(kShift)};
    EXPECT_EQ(capital, Play("A"));
}

TEST_F(Player, TokenKeysAreSentWithoutTheExtendedFlag) {
    std::vector<Event> f1Zero = {Down(kF1), Up(kF1), kWait1, Down(kZero), Up(kZero), kWait1};
    EXPECT_EQ(f1Zero, Play("<F1>0"));
    std::vector<Event> f10 = {Down(kF10), Up(kF10), kWait1};
    EXPECT_EQ(f10, Play("<F10>"));
    std::vector<Event> navigation = {Down(kLeft),   Up(kLeft),   kWait1,
                                     Down(kDivide), Up(kDivide), kWait1};
    EXPECT_EQ(navigation, Play("<left><numpad/>"));
}

TEST_F(Player, TextThatIsNoTokenIsTypedCharacterByCharacter) {
    const std::vector<Event> less = TypedByLayout('<'), greater = TypedByLayout('>');
    std::vector<Event> ctrlWord = less;
    for (Event e : {Down(kShift), Down(kC), Up(kC), kWait1, Up(kShift),
                    Down(kT), Up(kT), kWait1, Down(kR), Up(kR), kWait1, Down(kL), Up(kL), kWait1}) {
        ctrlWord.push_back(e);
    }
    ctrlWord.insert(ctrlWord.end(), greater.begin(), greater.end());
    EXPECT_EQ(ctrlWord, Play("<Ctrl>"));

    EXPECT_EQ(less, Play("<"));
}

TEST_F(Player, UnclosedCtrlAppliesToEveryLaterKeyAndLeavesNothingHeld) {
    std::vector<Event> expected = {Down(kCtrl), Down(kA), Up(kA), kWait1, Up(kCtrl),
                                   Down(kCtrl), Down(kB), Up(kB), kWait1, Up(kCtrl)};
    EXPECT_EQ(expected, Play("<ctrl>ab"));
}

TEST_F(Player, WindowsKeyIsHeldBetweenItsTokensAndReleasedAtTheEnd) {
    std::vector<Event> winRWinE = {Down(kWin), Down(kR), Up(kR), kWait1, Up(kWin),
                                   Down(kWin), Down(kE), Up(kE), kWait1, Up(kWin)};
    EXPECT_EQ(winRWinE, Play("<winkey>r<winkey><winkey>e<winkey>"));

    // A sequence that ends with the key still held releases it.
    std::vector<Event> unclosed = {Down(kWin), Down(kE), Up(kE), kWait1, Up(kWin)};
    EXPECT_EQ(unclosed, Play("<winkey>e"));
}

TEST_F(Player, CharacterWithoutAKeyIsTypedAsUnicode) {
    if (GetACP() != 1252) GTEST_SKIP() << "the character below is written in code page 1252";
    // "e" with an acute accent: no key of its own on the US layout.
    std::vector<Event> accented = {UnicodeDown(0xE9), UnicodeUp(0xE9), kWait1};
    EXPECT_EQ(accented, Play("\xE9"));
    // The toggles still bracket it; the euro sign's byte converts to its own code point.
    std::vector<Event> withAlt = {Down(kAlt), UnicodeDown(0x20AC), UnicodeUp(0x20AC), kWait1,
                                  Up(kAlt)};
    EXPECT_EQ(withAlt, Play("<alt>\x80<alt>"));
}

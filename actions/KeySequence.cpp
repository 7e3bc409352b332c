#include "actions/KeySequence.h"

#include <cstring>

#include "win/PumpedWait.h"

namespace orvale {

const KeyToken KeyTokenTable[kKeyTokenCount] = {
    {"<ctrl>", VK_CONTROL},     {"<alt>", VK_MENU},          {"<shift>", VK_SHIFT},
    {"<winkey>", VK_LWIN},      {"<tab>", VK_TAB},           {"<esc>", VK_ESCAPE},
    {"<enter>", VK_RETURN},     {"<left>", VK_LEFT},         {"<right>", VK_RIGHT},
    {"<up>", VK_UP},            {"<down>", VK_DOWN},         {"<pgup>", VK_PRIOR},
    {"<pgdn>", VK_NEXT},        {"<home>", VK_HOME},         {"<end>", VK_END},
    {"<insert>", VK_INSERT},    {"<del>", VK_DELETE},        {"<back>", VK_BACK},
    {"<capslock>", VK_CAPITAL}, {"<numlock>", VK_NUMLOCK},   {"<F1>", VK_F1},
    {"<F2>", VK_F2},            {"<F3>", VK_F3},             {"<F4>", VK_F4},
    {"<F5>", VK_F5},            {"<F6>", VK_F6},             {"<F7>", VK_F7},
    {"<F8>", VK_F8},            {"<F9>", VK_F9},             {"<F10>", VK_F10},
    {"<F11>", VK_F11},          {"<F12>", VK_F12},           {"<numpad0>", VK_NUMPAD0},
    {"<numpad1>", VK_NUMPAD1},  {"<numpad2>", VK_NUMPAD2},   {"<numpad3>", VK_NUMPAD3},
    {"<numpad4>", VK_NUMPAD4},  {"<numpad5>", VK_NUMPAD5},   {"<numpad6>", VK_NUMPAD6},
    {"<numpad7>", VK_NUMPAD7},  {"<numpad8>", VK_NUMPAD8},   {"<numpad9>", VK_NUMPAD9},
    {"<numpad+>", VK_ADD},      {"<numpad*>", VK_MULTIPLY},  {"<numpad->", VK_SUBTRACT},
    {"<numpad/>", VK_DIVIDE},   {"<numpad.>", VK_DECIMAL},
};

const SpecialKey SpecialKeyTable[kKeyTokenCount] = {
    {"Alt", "<alt>"},           {"Ctrl", "<ctrl>"},         {"Shift", "<shift>"},
    {"WinKey", "<winkey>"},     {"Enter", "<enter>"},       {"Delete", "<del>"},
    {"Escape", "<esc>"},        {"Left", "<left>"},         {"Right", "<right>"},
    {"Up", "<up>"},             {"Down", "<down>"},         {"PgUp", "<pgup>"},
    {"PgDn", "<pgdn>"},         {"Home", "<home>"},         {"End", "<end>"},
    {"Insert", "<insert>"},     {"Tab", "<tab>"},           {"Back", "<back>"},
    {"Caps Lock", "<capslock>"}, {"Num Lock", "<numlock>"}, {"F1", "<F1>"},
    {"F2", "<F2>"},             {"F3", "<F3>"},             {"F4", "<F4>"},
    {"F5", "<F5>"},             {"F6", "<F6>"},             {"F7", "<F7>"},
    {"F8", "<F8>"},             {"F9", "<F9>"},             {"F10", "<F10>"},
    {"F11", "<F11>"},           {"F12", "<F12>"},           {"Numpad 0", "<numpad0>"},
    {"Numpad 1", "<numpad1>"},  {"Numpad 2", "<numpad2>"},  {"Numpad 3", "<numpad3>"},
    {"Numpad 4", "<numpad4>"},  {"Numpad 5", "<numpad5>"},  {"Numpad 6", "<numpad6>"},
    {"Numpad 7", "<numpad7>"},  {"Numpad 8", "<numpad8>"},  {"Numpad 9", "<numpad9>"},
    {"Numpad +", "<numpad+>"},  {"Numpad *", "<numpad*>"},  {"Numpad -", "<numpad->"},
    {"Numpad /", "<numpad/>"},  {"Numpad .", "<numpad.>"},
};

namespace {

class SystemKeyboard : public KeyboardOutput {
public:
    void Key(WORD vk, WORD scan, DWORD flags) override {
        if (flags & KEYEVENTF_UNICODE) {
            // keybd_event carries only an 8-bit scan code, too small for a UTF-16 unit.
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = scan;
            input.ki.dwFlags = flags;
            SendInput(1, &input, sizeof input);
            return;
        }
        keybd_event(static_cast<BYTE>(vk), static_cast<BYTE>(scan), flags, 0);
    }
    void Wait(unsigned ms) override { win::PumpedWait(ms); }
};

SystemKeyboard g_systemKeyboard;
KeyboardOutput* g_output = &g_systemKeyboard;

// VkKeyScanA's shift-state bits.
constexpr BYTE kNeedsShift = 1;
constexpr BYTE kNeedsCtrl = 2;
constexpr BYTE kNeedsAlt = 4;

struct Modifiers {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

// What one character or key token becomes: a key and the modifiers it needs, or, for a
// character the keyboard layout has no usable key for, the character as Unicode input.
struct Stroke {
    BYTE vk = 0;
    BYTE needs = 0;
    std::wstring unicode;
};

std::wstring ToUtf16(const std::string& ansi) {
    wchar_t units[4] = {};
    int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(),
                                    static_cast<int>(ansi.size()), units, 4);
    return std::wstring(units, count > 0 ? count : 0);
}

// A key that only prepares an accent for the next key would change the character after it.
bool IsDeadKey(BYTE vk) { return (MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) & 0x80000000u) != 0; }

// Reads the character at `position` (both bytes of a double-byte character) and moves past it.
// A character without a plain key of its own is typed as Unicode, so it arrives as written
// instead of as some other key; one the code page cannot convert is skipped.
Stroke StrokeForCharacter(const std::string& text, size_t& position) {
    const char c = text[position];
    if (IsDBCSLeadByte(static_cast<BYTE>(c)) && position + 1 < text.size()) {
        Stroke stroke;
        stroke.unicode = ToUtf16(text.substr(position, 2));
        position += 2;
        return stroke;
    }
    ++position;
    const SHORT key = VkKeyScanA(c);
    const BYTE vk = LOBYTE(key);
    const BYTE needs = HIBYTE(key);
    const bool usable = vk != 0xFF && (needs & ~(kNeedsShift | kNeedsCtrl | kNeedsAlt)) == 0 &&
                        !IsDeadKey(vk);
    Stroke stroke;
    if (usable) {
        stroke.vk = vk;
        stroke.needs = needs;
    } else {
        stroke.unicode = ToUtf16(std::string(1, c));
    }
    return stroke;
}

// The toggles with each modifier the key needs inverted, so a needed Shift with the Shift
// toggle already on types the key without Shift.
Modifiers ModifiersForKey(Modifiers toggles, BYTE needs) {
    if (needs & kNeedsShift) toggles.shift = !toggles.shift;
    if (needs & kNeedsAlt) toggles.alt = !toggles.alt;
    if (needs & kNeedsCtrl) toggles.ctrl = !toggles.ctrl;
    return toggles;
}

// Pressed and released in the same order: Shift, Alt, Ctrl.
void SendModifiers(const Modifiers& held, DWORD flags) {
    if (held.shift) SendKey(VK_SHIFT, flags);
    if (held.alt) SendKey(VK_MENU, flags);
    if (held.ctrl) SendKey(VK_CONTROL, flags);
}

void SendStrokeKeys(const Stroke& stroke) {
    if (stroke.vk) {
        SendKey(stroke.vk, 0);
        SendKey(stroke.vk, KEYEVENTF_KEYUP);
        return;
    }
    for (wchar_t unit : stroke.unicode) {
        g_output->Key(0, unit, KEYEVENTF_UNICODE);
        g_output->Key(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    }
}

// Every modifier pressed for a key is released right after it, so toggles never outlive it.
void TypeStroke(const Modifiers& toggles, const Stroke& stroke) {
    if (!stroke.vk && stroke.unicode.empty()) return;
    const Modifiers held = ModifiersForKey(toggles, stroke.needs);
    SendModifiers(held, 0);
    SendStrokeKeys(stroke);
    g_output->Wait(1);
    SendModifiers(held, KEYEVENTF_KEYUP);
}

}  // namespace

int MatchKeyToken(const std::string& text, size_t& position) {
    if (position >= text.size()) return 0;
    for (int i = 0; i < kKeyTokenCount; ++i) {
        const char* token = KeyTokenTable[i].text;
        if (text.compare(position, std::strlen(token), token) == 0) {
            position += std::strlen(token);
            return i + 1;
        }
    }
    return 0;
}

void PlayKeySequence(const std::string& text) {
    Modifiers toggles;
    bool winKeyHeld = false;
    size_t position = 0;
    while (position < text.size()) {
        const int token = MatchKeyToken(text, position);
        switch (token) {
        case kTokenCtrl: toggles.ctrl = !toggles.ctrl; break;
        case kTokenAlt: toggles.alt = !toggles.alt; break;
        case kTokenShift: toggles.shift = !toggles.shift; break;
        case kTokenWinKey:
            winKeyHeld = !winKeyHeld;
            SendKey(VK_LWIN, winKeyHeld ? 0 : KEYEVENTF_KEYUP);
            break;
        case 0: TypeStroke(toggles, StrokeForCharacter(text, position)); break;
        default: {
            Stroke stroke;
            stroke.vk = KeyTokenTable[token - 1].vk;
            TypeStroke(toggles, stroke);
            break;
        }
        }
    }
    // A Windows key left down would turn the user's next keys into system shortcuts.
    if (winKeyHeld) SendKey(VK_LWIN, KEYEVENTF_KEYUP);
}

void SendKey(BYTE vk, DWORD flags) {
    g_output->Key(vk, static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)), flags);
}

void SetKeyboardOutput(KeyboardOutput* output) {
    g_output = output ? output : &g_systemKeyboard;
}

}  // namespace orvale

#include "actions/KeySequence.h"

#include <cwchar>

#include "win/PumpedWait.h"

namespace orvale {

const KeyToken KeyTokenTable[kKeyTokenCount] = {
    {L"<ctrl>", VK_CONTROL},     {L"<alt>", VK_MENU},          {L"<shift>", VK_SHIFT},
    {L"<winkey>", VK_LWIN},      {L"<tab>", VK_TAB},           {L"<esc>", VK_ESCAPE},
    {L"<enter>", VK_RETURN},     {L"<left>", VK_LEFT},         {L"<right>", VK_RIGHT},
    {L"<up>", VK_UP},            {L"<down>", VK_DOWN},         {L"<pgup>", VK_PRIOR},
    {L"<pgdn>", VK_NEXT},        {L"<home>", VK_HOME},         {L"<end>", VK_END},
    {L"<insert>", VK_INSERT},    {L"<del>", VK_DELETE},        {L"<back>", VK_BACK},
    {L"<capslock>", VK_CAPITAL}, {L"<numlock>", VK_NUMLOCK},   {L"<F1>", VK_F1},
    {L"<F2>", VK_F2},            {L"<F3>", VK_F3},             {L"<F4>", VK_F4},
    {L"<F5>", VK_F5},            {L"<F6>", VK_F6},             {L"<F7>", VK_F7},
    {L"<F8>", VK_F8},            {L"<F9>", VK_F9},             {L"<F10>", VK_F10},
    {L"<F11>", VK_F11},          {L"<F12>", VK_F12},           {L"<numpad0>", VK_NUMPAD0},
    {L"<numpad1>", VK_NUMPAD1},  {L"<numpad2>", VK_NUMPAD2},   {L"<numpad3>", VK_NUMPAD3},
    {L"<numpad4>", VK_NUMPAD4},  {L"<numpad5>", VK_NUMPAD5},   {L"<numpad6>", VK_NUMPAD6},
    {L"<numpad7>", VK_NUMPAD7},  {L"<numpad8>", VK_NUMPAD8},   {L"<numpad9>", VK_NUMPAD9},
    {L"<numpad+>", VK_ADD},      {L"<numpad*>", VK_MULTIPLY},  {L"<numpad->", VK_SUBTRACT},
    {L"<numpad/>", VK_DIVIDE},   {L"<numpad.>", VK_DECIMAL},
};

const SpecialKey SpecialKeyTable[kKeyTokenCount] = {
    {L"Alt", L"<alt>"},           {L"Ctrl", L"<ctrl>"},         {L"Shift", L"<shift>"},
    {L"WinKey", L"<winkey>"},     {L"Enter", L"<enter>"},       {L"Delete", L"<del>"},
    {L"Escape", L"<esc>"},        {L"Left", L"<left>"},         {L"Right", L"<right>"},
    {L"Up", L"<up>"},             {L"Down", L"<down>"},         {L"PgUp", L"<pgup>"},
    {L"PgDn", L"<pgdn>"},         {L"Home", L"<home>"},         {L"End", L"<end>"},
    {L"Insert", L"<insert>"},     {L"Tab", L"<tab>"},           {L"Back", L"<back>"},
    {L"Caps Lock", L"<capslock>"}, {L"Num Lock", L"<numlock>"}, {L"F1", L"<F1>"},
    {L"F2", L"<F2>"},             {L"F3", L"<F3>"},             {L"F4", L"<F4>"},
    {L"F5", L"<F5>"},             {L"F6", L"<F6>"},             {L"F7", L"<F7>"},
    {L"F8", L"<F8>"},             {L"F9", L"<F9>"},             {L"F10", L"<F10>"},
    {L"F11", L"<F11>"},           {L"F12", L"<F12>"},           {L"Numpad 0", L"<numpad0>"},
    {L"Numpad 1", L"<numpad1>"},  {L"Numpad 2", L"<numpad2>"},  {L"Numpad 3", L"<numpad3>"},
    {L"Numpad 4", L"<numpad4>"},  {L"Numpad 5", L"<numpad5>"},  {L"Numpad 6", L"<numpad6>"},
    {L"Numpad 7", L"<numpad7>"},  {L"Numpad 8", L"<numpad8>"},  {L"Numpad 9", L"<numpad9>"},
    {L"Numpad +", L"<numpad+>"},  {L"Numpad *", L"<numpad*>"},  {L"Numpad -", L"<numpad->"},
    {L"Numpad /", L"<numpad/>"},  {L"Numpad .", L"<numpad.>"},
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
    bool CapsLockOn() override { return (GetKeyState(VK_CAPITAL) & 1) != 0; }
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

// A key that only prepares an accent for the next key would change the character after it.
bool IsDeadKey(BYTE vk) { return (MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR) & 0x80000000u) != 0; }

// Reads the character at `position` (both halves of a surrogate pair) and moves past it. A
// character without a plain key of its own is typed as Unicode, so it arrives as written
// instead of as some other key.
Stroke StrokeForCharacter(const std::wstring& text, size_t& position) {
    const wchar_t c = text[position];
    Stroke stroke;
    if (IS_HIGH_SURROGATE(c) && position + 1 < text.size() &&
        IS_LOW_SURROGATE(text[position + 1])) {
        stroke.unicode = text.substr(position, 2);
        position += 2;
        return stroke;
    }
    ++position;
    const SHORT key = VkKeyScanW(c);
    const BYTE vk = LOBYTE(key);
    const BYTE needs = HIBYTE(key);
    const bool usable = key != -1 && vk != 0xFF &&
                        (needs & ~(kNeedsShift | kNeedsCtrl | kNeedsAlt)) == 0 && !IsDeadKey(vk);
    if (usable) {
        stroke.vk = vk;
        stroke.needs = needs;
    } else {
        stroke.unicode.assign(1, c);
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

int MatchKeyToken(const std::wstring& text, size_t& position) {
    if (position >= text.size()) return 0;
    for (int i = 0; i < kKeyTokenCount; ++i) {
        const wchar_t* token = KeyTokenTable[i].text;
        const size_t length = std::wcslen(token);
        if (text.compare(position, length, token) == 0) {
            position += length;
            return i + 1;
        }
    }
    return 0;
}

void PlayKeySequence(const std::wstring& text) {
    // The keys for a character are those of Caps Lock off (Shift for a capital letter): with
    // the user's Caps Lock on, "Hello" would arrive as "hELLO". It goes off for the sequence and
    // comes back after it.
    const bool userCapsLock = g_output->CapsLockOn();
    bool capsLock = userCapsLock;
    const auto toggleCapsLock = [&capsLock] {
        SendKey(VK_CAPITAL, 0);
        SendKey(VK_CAPITAL, KEYEVENTF_KEYUP);
        capsLock = !capsLock;
    };
    if (capsLock) toggleCapsLock();
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
            if (token == kTokenCapsLock) capsLock = !capsLock;
            break;
        }
        }
    }
    // A Windows key left down would turn the user's next keys into system shortcuts.
    if (winKeyHeld) SendKey(VK_LWIN, KEYEVENTF_KEYUP);
    if (capsLock != userCapsLock) toggleCapsLock();
}

void SendKey(BYTE vk, DWORD flags) {
    g_output->Key(vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags);
}

void SetKeyboardOutput(KeyboardOutput* output) {
    g_output = output ? output : &g_systemKeyboard;
}

}  // namespace orvale

// The key-sequence language and its player. A sequence is plain text typed as it is, with
// tokens in angle brackets for special keys and modifiers: "<alt>f<alt>" types Alt+F,
// "<ctrl>ab<ctrl>" types Ctrl+A and Ctrl+B, "<winkey>e<winkey>" holds the Windows key
// around the E.
#pragma once

#include <windows.h>

#include <string>

namespace orvale {

struct KeyToken {
    const wchar_t* text;  // exactly as written in a sequence; case-sensitive
    BYTE vk;           // the virtual key it sends
};

constexpr int kKeyTokenCount = 47;

// Every token, in matching order; a token's index is its position here plus one.
extern const KeyToken KeyTokenTable[kKeyTokenCount];

// Indexes of the tokens the player treats specially; all others (5 to 47) are plain keys.
constexpr int kTokenCtrl = 1;
constexpr int kTokenAlt = 2;
constexpr int kTokenShift = 3;
constexpr int kTokenWinKey = 4;
constexpr int kTokenCapsLock = 19;

struct SpecialKey {
    const wchar_t* name;   // shown in the Add Special Key list
    const wchar_t* token;  // appended to the sequence text
};

// The Add Special Key list, in display order (not sorted); each token occurs once.
extern const SpecialKey SpecialKeyTable[kKeyTokenCount];

// If a token begins exactly at `position`, moves `position` past it and returns the token's
// index (1-47); otherwise returns 0 and leaves `position` alone.
int MatchKeyToken(const std::wstring& text, size_t& position);

// Types the whole sequence into whatever window has the keyboard focus. Every modifier the
// player pressed is released again, and a Windows key still held at the end is released. A
// character the keyboard layout has no key for is typed as the character itself (Unicode
// input), so any text arrives as written. Text is typed as written whatever the user's Caps
// Lock: it is off while the sequence plays (a "<capslock>" of the sequence turns it on for what
// follows) and as the user left it afterwards.
void PlayKeySequence(const std::wstring& text);

// One keyboard event for `vk` with its scan code from the keyboard layout; `flags` is 0 for
// a press or KEYEVENTF_KEYUP. Never sets the extended-key flag.
void SendKey(BYTE vk, DWORD flags);

// Where SendKey's events and the player's waits go. The system's keyboard is the default;
// tests put a recorder in its place to see the exact stream.
class KeyboardOutput {
public:
    virtual ~KeyboardOutput() = default;
    // One event. With KEYEVENTF_UNICODE in `flags`, `vk` is 0 and `scan` is a UTF-16 unit.
    virtual void Key(WORD vk, WORD scan, DWORD flags) = 0;
    // A wait that keeps dispatching this thread's messages.
    virtual void Wait(unsigned ms) = 0;
    // Whether Caps Lock is on as the sequence begins.
    virtual bool CapsLockOn() = 0;
};

// Sends everything to `output` from now on; null puts the system's keyboard back.
void SetKeyboardOutput(KeyboardOutput* output);

}  // namespace orvale

// What the recorder saw, turned into steps a person can read: keys typed in one go become one
// "keys" line in the key-sequence language, a gap of a moment or more becomes a "pause" line
// (at most 2 s), and a click a "click" line at its point in the window it went to.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ovmacro/MacroFile.h"

namespace ovmacro {

struct InputEvent {
    enum class Type { KeyDown, KeyUp, Click } type = Type::KeyDown;
    DWORD time = 0;        // the system's tick count, in milliseconds
    UINT vk = 0;           // keys: the virtual key, left and right modifiers told apart
    UINT scan = 0;
    HKL layout = nullptr;  // the keyboard layout of the window that had the keyboard
    Button button = Button::Left;
    POINT at = {};         // clicks: from the top-left corner of the window clicked
};

// Gaps shorter than this are typing, not waiting: they are not kept.
constexpr DWORD kKeptGapMs = 300;
// A keys line is ended near this length, so it stays readable.
constexpr size_t kKeysLineLength = 200;

// The characters a key gives with the modifiers and Caps Lock as given ("" for none).
struct KeyState {
    bool shift = false, ctrl = false, alt = false, caps = false;
};
using CharactersOf = std::function<std::wstring(const InputEvent& key, const KeyState& state)>;

// Keys are written as characters where they type one (Shift included, AltGr too), as tokens
// ("<enter>", "<F5>") where the table has one, and under Ctrl, Alt or the Windows key as
// bracketed shortcuts ("<ctrl>s<ctrl>"). Caps Lock, Num Lock and Scroll Lock are not written:
// the characters they changed are. `capsOn` is Caps Lock as the recording began.
std::vector<Step> StepsFromInput(const std::vector<InputEvent>& events,
                                 const CharactersOf& charactersOf, bool capsOn);

}  // namespace ovmacro

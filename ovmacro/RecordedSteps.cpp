#include "ovmacro/RecordedSteps.h"

#include <algorithm>

#include "actions/KeySequence.h"

namespace ovmacro {
namespace {

// Modifiers as the brackets of a key sequence hold them.
struct Held {
    bool ctrl = false, alt = false, shift = false, win = false;
    bool operator==(const Held& o) const {
        return ctrl == o.ctrl && alt == o.alt && shift == o.shift && win == o.win;
    }
    bool operator!=(const Held& o) const { return !(*this == o); }
};

const wchar_t* TokenText(int index) { return orvale::KeyTokenTable[index - 1].text; }

// The token of a plain key of the table (not a modifier), or null.
const wchar_t* TokenFor(UINT vk) {
    for (int i = orvale::kTokenWinKey + 1; i <= orvale::kKeyTokenCount; ++i) {
        if (orvale::KeyTokenTable[i - 1].vk == vk) return TokenText(i);
    }
    return nullptr;
}

bool Printable(const std::wstring& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L' ' && c != 0x7F; });
}

class Builder {
public:
    std::vector<Step> steps;

    // Ends the keys line (closing its brackets) before a click, a pause or the end.
    void EndKeys() {
        Bracket(Held());
        if (!keys_.empty()) {
            Step step;
            step.text = keys_;
            steps.push_back(step);
        }
        keys_.clear();
        typedLessThan_.clear();
    }

    // A gap long enough to be a wait the user made is kept before the next step.
    void Gap(DWORD time) {
        if (started_ && time - last_ >= kKeptGapMs) {
            EndKeys();
            Step pause;
            pause.kind = StepKind::Pause;
            pause.ms = std::min<DWORD>(time - last_, kMaxPauseMs);
            steps.push_back(pause);
        }
        started_ = true;
        last_ = time;
    }

    // `typed` is text the user typed, as opposed to a token this recorder writes.
    void Keys(const std::wstring& text, const Held& held, DWORD time, bool typed = false) {
        Gap(time);
        if (keys_.size() >= kKeysLineLength || (typed && MakesToken(text))) EndKeys();
        Bracket(held);
        if (typed && text == L"<") typedLessThan_.push_back(keys_.size());
        keys_ += text;
    }

    void Click(const InputEvent& event) {
        Gap(event.time);
        EndKeys();
        Step click;
        click.kind = StepKind::Click;
        click.button = event.button;
        click.at = event.at;
        steps.push_back(click);
    }

private:
    // Whether `text` would complete a token after a "<" the user typed: the line ends before
    // it, so that "<" stays a character.
    bool MakesToken(const std::wstring& text) const {
        const std::wstring line = keys_ + text;
        for (size_t at : typedLessThan_) {
            size_t position = at;
            if (orvale::MatchKeyToken(line, position) != 0) return true;
        }
        return false;
    }

    // Closes the brackets open and opens those `held` needs, closing in the reverse order.
    void Bracket(const Held& held) {
        if (held == open_) return;
        if (open_.win) keys_ += TokenText(orvale::kTokenWinKey);
        if (open_.shift) keys_ += TokenText(orvale::kTokenShift);
        if (open_.alt) keys_ += TokenText(orvale::kTokenAlt);
        if (open_.ctrl) keys_ += TokenText(orvale::kTokenCtrl);
        if (held.ctrl) keys_ += TokenText(orvale::kTokenCtrl);
        if (held.alt) keys_ += TokenText(orvale::kTokenAlt);
        if (held.shift) keys_ += TokenText(orvale::kTokenShift);
        if (held.win) keys_ += TokenText(orvale::kTokenWinKey);
        open_ = held;
    }

    std::wstring keys_;
    std::vector<size_t> typedLessThan_;  // where in keys_
    Held open_;
    bool started_ = false;
    DWORD last_ = 0;
};

}  // namespace

std::vector<Step> StepsFromInput(const std::vector<InputEvent>& events,
                                 const CharactersOf& charactersOf, bool capsOn) {
    Builder builder;
    KeyState state;
    state.caps = capsOn;
    bool win = false, winUsed = false;
    for (const InputEvent& event : events) {
        if (event.type == InputEvent::Type::Click) {
            builder.Click(event);
            continue;
        }
        const bool down = event.type == InputEvent::Type::KeyDown;
        switch (event.vk) {
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: state.shift = down; continue;
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: state.ctrl = down; continue;
        case VK_MENU: case VK_LMENU: case VK_RMENU: state.alt = down; continue;
        case VK_LWIN: case VK_RWIN:
            // The Windows key alone (the Start menu) is a press and a release of its own.
            if (!down && win && !winUsed) {
                builder.Keys(std::wstring(TokenText(orvale::kTokenWinKey)) +
                                 TokenText(orvale::kTokenWinKey), Held(), event.time);
            }
            win = down;
            winUsed = false;
            continue;
        case VK_CAPITAL: state.caps = state.caps != down; continue;
        case VK_NUMLOCK: case VK_SCROLL: case VK_PAUSE: continue;
        default: break;
        }
        if (!down) continue;
        winUsed = winUsed || win;
        const bool altGr = state.ctrl && state.alt;
        const std::wstring typed = charactersOf(event, state);
        if (!win && (altGr || (!state.ctrl && !state.alt)) && Printable(typed)) {
            builder.Keys(typed, Held(), event.time, true);
            continue;
        }
        const Held held{state.ctrl, state.alt, state.shift, win};
        if (const wchar_t* token = TokenFor(event.vk)) {
            builder.Keys(token, held, event.time);
            continue;
        }
        // A shortcut: the key's own character, under the modifiers as brackets.
        const std::wstring plain = charactersOf(event, KeyState());
        if (Printable(plain) && plain != L"<") builder.Keys(plain, held, event.time);
    }
    builder.EndKeys();
    return builder.steps;
}

}  // namespace ovmacro

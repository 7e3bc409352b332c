// A macro file (".brd"), made to be read and edited by a person (docs/macro-files.md): one
// macro a section, one step a line, comments kept where they stand.
//
//   ; Typed at the end of a letter.
//   [Sign_off]
//   keys Best regards,<enter>Ann
//   pause 400           a gap the recorder saw: played, at most 2 s
//   wait 1500           a wait written by hand: played as written
//   click left 120,48   a click 120 right of and 48 below the top-left corner of the window
//
// Saved as UTF-8 with a byte order mark; read in UTF-8 or UTF-16LE with a mark, and without
// one as UTF-8 where the bytes are UTF-8, else in the system's code page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "model/SafeFile.h"

namespace ovmacro {

enum class StepKind { Keys, Pause, Wait, Click, Comment };
enum class Button { Left, Right, Middle };

struct Step {
    StepKind kind = StepKind::Keys;
    std::wstring text;  // Keys: a key sequence as key-sequence items write it; Comment: the line
    unsigned ms = 0;    // Pause, Wait
    Button button = Button::Left;
    POINT at = {};      // Click: from the top-left corner of the window in front
};

struct Macro {
    std::wstring name;
    std::vector<Step> steps;
    std::vector<std::wstring> notes;  // the comment lines right above its name
    // The steps that do something (comments do not count).
    size_t StepCount() const;
};

constexpr size_t kMaxLineLength = 1000;
constexpr size_t kMaxNameLength = 64;
constexpr unsigned kMaxPauseMs = 2000;       // a recorded gap longer than this is played so
constexpr unsigned kMaxWaitMs = 3600000;     // an hour

// Where a text could not be read; `line` counts from 1, 0 meaning nowhere.
struct TextError {
    size_t line = 0;
    std::wstring why;
};

// A name is one word of at most 64 characters: no space or control character (the command
// line would split it), no quote, no "[" or "]", and not starting with ";".
bool ValidMacroName(const std::wstring& name);

// One step line, or why it is none.
bool ParseStep(const std::wstring& line, Step& step, std::wstring& why);
std::wstring FormatStep(const Step& step);

// Steps as the editor shows them, one a line (CR LF between); blank lines are passed over.
bool ParseSteps(const std::wstring& text, std::vector<Step>& steps, TextError& error);
std::wstring FormatSteps(const std::vector<Step>& steps);

// The whole file.
struct MacroBook {
    std::vector<std::wstring> preamble;  // comment lines before the first macro
    std::vector<Macro> macros;

    // Names compare without regard to case, as section names of profile files do.
    Macro* Find(const std::wstring& name);
    bool Remove(const std::wstring& name);
    // `name` with "_2", "_3"... (in place of such an ending it has), the first not in use.
    std::wstring CopyName(const std::wstring& name);
};

bool ParseBook(const std::wstring& text, MacroBook& book, TextError& error);
std::wstring FormatBook(const MacroBook& book);

enum class LoadStatus { Loaded, Missing, Unreadable, Damaged };
struct LoadResult {
    LoadStatus status = LoadStatus::Loaded;
    orvale::FileError fileError;  // Missing, Unreadable
    TextError textError;          // Damaged
};

LoadResult LoadBook(const std::wstring& path, MacroBook& book);
// Replaces the file in one step (the previous one is kept as path + ".bak").
orvale::FileError SaveBook(const std::wstring& path, const MacroBook& book);
// What to tell the user about a load that failed.
std::wstring DescribeLoadProblem(const std::wstring& path, const LoadResult& result);

}  // namespace ovmacro

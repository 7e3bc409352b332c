// What an editor asks of the macro tool, done the way a dialog must: the dialog takes no input
// while the tool runs (its messages are still handled, so a second OK or Cancel could otherwise
// start while the first one's commands run), and a macro name that cannot travel on the tool's
// command line is refused with a word to the user rather than sent in pieces.
#pragma once

#include <windows.h>

#include <string>

#include "actions/MacroTool.h"

namespace orvale {

// RunMacroTool, with `dialog` disabled until the tool has ended.
bool RunMacroToolFrom(HWND dialog, const std::wstring& name, MacroVerb verb,
                      const std::wstring& file = L"");

// True when `name` can be sent to the macro tool; otherwise tells the user why it cannot be
// used, and false.
bool AcceptMacroName(HWND owner, const std::wstring& name);

// The name the tool answered a select or copy command with, when the command succeeded and
// the name can be used; empty otherwise (the user has been told about a name that cannot).
std::wstring AnsweredMacroName(HWND owner, bool succeeded);

}  // namespace orvale

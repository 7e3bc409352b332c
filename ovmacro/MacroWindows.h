// The tool's two windows the user works in: choosing a macro of a file, and editing a
// macro's steps as text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ovmacro/MacroFile.h"

namespace ovmacro {

// Lists the file's macros with their steps counted; true with the name in `chosen` on OK.
bool ChooseMacro(const MacroBook& book, const std::wstring& file, std::wstring& chosen);

// Stores edited steps; answers "" or what went wrong, in words for the user.
using StoreStepsFn = std::function<std::wstring(const std::vector<Step>&)>;

// Shows the steps of `macro` one a line. OK reads them (a line that cannot be read is shown
// with its number and selected) and stores them through `store`; the window stays open until
// that has worked or the user cancels. True when stored.
bool EditSteps(const Macro& macro, const std::wstring& file, const StoreStepsFn& store);

}  // namespace ovmacro

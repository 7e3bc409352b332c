// The eight commands, each carried out whole: its window if it has one, its change to the
// macro file, and its answer for Orvale (docs/macro-files.md tells them all).
#pragma once

#include <string>

#include "ovmacro/Command.h"

namespace ovmacro {

struct Answer {
    int result = 0;          // 1 success, 0 failure
    bool hasText = false;    // select and copy answer a name too
    std::wstring text;
};

Answer RunCommand(const Command& command);

// Writes the answer where Orvale reads it: "strres" first, then "result".
void GiveAnswer(const Answer& answer);

}  // namespace ovmacro

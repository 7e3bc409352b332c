// One command of Orvale (or of a person at a prompt), as Orvale's macro items send it: the
// tool's program, the verb, the macro's name, one space and the macro file.
//   "C:\Tools\Orvale\ovmacro.exe" -run:Sign_off C:\My Macros\ov32mac.brd
// Nothing is quoted, so the name ends at the first space and the file is the rest of the line.
#pragma once

#include <string>

namespace ovmacro {

enum class Verb { Add, Delete, Edit, Record, New, Select, Copy, Run };

struct Command {
    Verb verb = Verb::Run;
    std::wstring name;
    std::wstring file;
};

// False for a line without a verb (the program started on its own).
bool ParseCommand(const std::wstring& commandLine, Command& command);

}  // namespace ovmacro

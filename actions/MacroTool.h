// The macro tool (Orvale Macros, ovmacro.exe, or any program that takes its place), driven
// through its command line and answering through the shared exchange file "wy32i.ini".
// Macros are never played by this program itself.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace orvale {

// "wy32i.ini", in the place both programs agree on (actions/ExchangePlace.h: the Windows
// folder when this user can write it, else the user's own). One section per product of the
// family; this program only uses the macro tool's.
struct ExchangeFile {
    static constexpr int kMacroTool = 0;  // "br32"; 1 is "jx32", 2 "ov32"

    // The section of a product index, or null for an index outside 0 to 2.
    static const wchar_t* Section(int product);
    // The file the programs write now.
    static std::wstring FilePath();

    // "path": the full command that starts the product's executable; "" when missing.
    static std::wstring ReadPath(int product);
    // "result": the answer to the last command, read like atoi; 0 when missing.
    static int ReadResult(int product);
    // "strres": a text answer (the name chosen by select, the copy's name); "" when missing.
    static std::wstring ReadStrres(int product);
    // Each false when the value could not be written.
    static bool WriteResult(int product, int value);
    static bool WriteStrres(int product, const std::wstring& text);
    static bool WritePath(int product, const std::wstring& command);
    // Removes "strres", so that only an answer given after this can be read.
    static bool ClearStrres(int product);
};

// What the tool is asked to do. The run command is separate: it is started without waiting.
enum class MacroVerb { Add = 0, Delete = 1, Edit = 2, Record = 3, New = 4, Select = 5, Copy = 6 };

constexpr const wchar_t* kDefaultMacroFileName = L"ov32mac.brd";
constexpr const wchar_t* kRunVerbText = L" -run:";

// " -add:", " -del:", ...; null for a value outside the enumeration.
const wchar_t* MacroVerbText(MacroVerb verb);

// Whether `name` can travel on the command line: the tool takes the name to end at the first
// space, and nothing is quoted, so a name with a space (" -" included), a control character
// or a quote would reach the tool as another name and a part of the file.
bool SendableMacroName(const std::wstring& name);

// The program part of a tool command: inside its quotes when it starts with one, else all of it.
std::wstring MacroToolProgram(const std::wstring& command);

// The first "ov32mac.brd" on the system search path. When there is none, the same name in
// the program's own folder: that is the first place the search looks, so a file the tool
// creates there is the one found from then on.
std::wstring DefaultMacroFile();

// One command line: the tool command, the verb text, the name, one space, the file. The
// pieces are joined as they are; nothing is quoted.
std::wstring MacroCommandLine(const std::wstring& toolCommand, const wchar_t* verbText,
                             const std::wstring& name, const std::wstring& file);

// Starts the tool for one command on `name` in `file` (the default macro file when empty)
// and waits, handling this thread's messages, until its process has ended. True when the
// tool was started and left a non-zero "result". False without starting anything for a name
// that cannot be sent, or when "result" (and before select and copy "strres") could not be
// reset: an answer left by an earlier command is never read as this one's.
bool RunMacroTool(const std::wstring& name, MacroVerb verb, const std::wstring& file = L"");

// Returns once `process` has ended, dispatching this thread's messages meanwhile.
void WaitForProcessPumping(HANDLE process);

// Starts the tool to run macro `name` of `file` (the default macro file when empty) without
// waiting for it. True when the tool could be started; nobody else learns of a failure.
// False for a name that cannot be sent.
bool StartMacroRun(const std::wstring& name, const std::wstring& file = L"");

// A name for a new macro: "ov32mac" and a number from 0 to 32767, drawn from a generator seeded
// once with the time, and never a name `inUse` says is taken (two macros made within the same
// second must not share a name, or the macro tool may overwrite the first). Empty when every
// number is taken.
std::wstring NewMacroName(const std::function<bool(const std::wstring&)>& inUse);

}  // namespace orvale

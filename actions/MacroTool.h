// The macro tool Brindle, driven through its command line and answering through the shared
// exchange file "wy32i.ini". Macros are never played by this program itself.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace orvale {

// "wy32i.ini", named to the profile API without a folder so that Windows keeps it in the
// Windows directory. One section per product of the family; this program only uses the
// macro tool's.
struct ExchangeFile {
    static constexpr const wchar_t* kFileName = L"wy32i.ini";
    static constexpr int kMacroTool = 0;  // "br32"; 1 is "jx32", 2 "ov32"

    // The section of a product index, or null for an index outside 0 to 2.
    static const wchar_t* Section(int product);

    // "path": the full command that starts the product's executable; "" when missing.
    static std::wstring ReadPath(int product);
    // "result": the answer to the last command, read like atoi; 0 when missing.
    static int ReadResult(int product);
    // "strres": a text answer (the name chosen by select, the copy's name); "" when missing.
    static std::wstring ReadStrres(int product);
    static void WriteResult(int product, int value);
};

// What the tool is asked to do. The run command is separate: it is started without waiting.
enum class MacroVerb { Add = 0, Delete = 1, Edit = 2, Record = 3, New = 4, Select = 5, Copy = 6 };

constexpr const wchar_t* kDefaultMacroFileName = L"ov32mac.brd";
constexpr const wchar_t* kRunVerbText = L" -run:";

// " -add:", " -del:", ...; null for a value outside the enumeration.
const wchar_t* MacroVerbText(MacroVerb verb);

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
// tool was started and left a non-zero "result".
bool RunMacroTool(const std::wstring& name, MacroVerb verb, const std::wstring& file = L"");

// Returns once `process` has ended, dispatching this thread's messages meanwhile.
void WaitForProcessPumping(HANDLE process);

// Starts the tool to run macro `name` of `file` (the default macro file when empty) without
// waiting for it. True when the tool could be started; nobody else learns of a failure.
bool StartMacroRun(const std::wstring& name, const std::wstring& file = L"");

// A name for a new macro: "ov32mac" and a number from 0 to 32767, drawn from a generator seeded
// once with the time, and never a name `inUse` says is taken (two macros made within the same
// second must not share a name, or the macro tool may overwrite the first). Empty when every
// number is taken.
std::wstring NewMacroName(const std::function<bool(const std::wstring&)>& inUse);

}  // namespace orvale

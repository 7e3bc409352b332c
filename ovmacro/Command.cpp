#include "ovmacro/Command.h"

namespace ovmacro {
namespace {

struct VerbText {
    Verb verb;
    const wchar_t* text;
};
constexpr VerbText kVerbs[] = {
    {Verb::Add, L" -add:"},  {Verb::Delete, L" -del:"}, {Verb::Edit, L" -edit:"},
    {Verb::Record, L" -rec:"}, {Verb::New, L" -new:"},  {Verb::Select, L" -sel:"},
    {Verb::Copy, L" -cpy:"}, {Verb::Run, L" -run:"}};

// Where the program part ends: after its closing quote when it is quoted. An unquoted
// program may hold spaces, so its end is only known by the verb that follows it.
size_t ProgramEnd(const std::wstring& line) {
    if (line.empty() || line[0] != L'"') return 0;
    const size_t close = line.find(L'"', 1);
    return close == std::wstring::npos ? line.size() : close + 1;
}

}  // namespace

bool ParseCommand(const std::wstring& commandLine, Command& command) {
    const size_t from = ProgramEnd(commandLine);
    size_t first = std::wstring::npos, length = 0;
    for (const VerbText& verb : kVerbs) {
        const size_t at = commandLine.find(verb.text, from);
        if (at < first) {
            first = at;
            length = std::char_traits<wchar_t>::length(verb.text);
            command.verb = verb.verb;
        }
    }
    if (first == std::wstring::npos) return false;
    const std::wstring rest = commandLine.substr(first + length);
    const size_t space = rest.find(L' ');
    command.name = rest.substr(0, space);
    command.file = space == std::wstring::npos ? L"" : rest.substr(space + 1);
    // A person at a prompt may end the line with spaces or put the file in quotes.
    while (!command.file.empty() && command.file.back() == L' ') command.file.pop_back();
    if (command.file.size() > 1 && command.file.front() == L'"' && command.file.back() == L'"') {
        command.file = command.file.substr(1, command.file.size() - 2);
    }
    return true;
}

}  // namespace ovmacro

// Takes the place of the macro tool in tests, answering in the exchange file where the program
// decides it is (actions/ExchangePlace.h).
//
// It appends its whole command line, as one line, to "brindle_standin.log" beside itself, then
// answers as the section of its verb ("add", "del", "edit", "rec", "new", "sel", "cpy", "run")
// in the script "brindle_standin.ini" beside itself says:
//   wait=MS          wait this long before answering
//   holduntil=PATH   wait until this file exists, at most 10 s; if it never appears, "result"
//                    is answered as 0 whatever the script says
//   result=TEXT      written as it is to "result" of section "br32" of the exchange file
//   strres=TEXT      written likewise to "strres"
// A key that is missing writes nothing. A command line without a verb is only logged.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "actions/MacroTool.h"
#include "win/Text.h"

namespace {

const char* const kVerbs[] = {"add", "del", "edit", "rec", "new", "sel", "cpy", "run"};

std::string Beside(const std::string& name) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

// The verb whose " -verb:" comes first in the command line, or "" when there is none.
std::string VerbOf(const std::string& commandLine) {
    std::string verb;
    size_t first = std::string::npos;
    for (const char* candidate : kVerbs) {
        size_t at = commandLine.find(std::string(" -") + candidate + ":");
        if (at < first) {
            first = at;
            verb = candidate;
        }
    }
    return verb;
}

// The script's `key` for `verb` into `value`; false when the script has none.
bool Scripted(const std::string& verb, const char* key, std::string& value) {
    char text[1024] = {};
    GetPrivateProfileStringA(verb.c_str(), key, "\n", text, sizeof text,
                             Beside("brindle_standin.ini").c_str());
    value = text;
    return value != "\n";  // no profile value can hold a newline
}

bool HoldUntilFileAppears(const std::string& path) {
    DWORD start = GetTickCount();
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= 10000) return false;
        Sleep(5);
    }
    return true;
}

void Answer(const char* key, const std::string& value) {
    WritePrivateProfileStringA("br32", key, value.c_str(),
                               win::Narrow(orvale::ExchangeFile::FilePath()).c_str());
}

}  // namespace

int main() {
    std::string commandLine = GetCommandLineA(), verb = VerbOf(commandLine), value;
    if (FILE* log = std::fopen(Beside("brindle_standin.log").c_str(), "ab")) {
        std::fprintf(log, "%s\n", commandLine.c_str());
        std::fclose(log);
    }
    if (verb.empty()) return 0;
    if (Scripted(verb, "wait", value)) Sleep(static_cast<DWORD>(std::atoi(value.c_str())));
    if (Scripted(verb, "holduntil", value) && !HoldUntilFileAppears(value)) {
        Answer("result", "0");
    } else if (Scripted(verb, "result", value)) {
        Answer("result", value);
    }
    if (Scripted(verb, "strres", value)) Answer("strres", value);
    return 0;
}

// Takes the place of the macro tool Brindle in tests.
//
// It appends its whole command line, as one line, to "brindle_standin.log" beside itself, then
// answers as the script "brindle_standin.ini" beside itself says. The script's section is the
// command's verb ("add", "del", "edit", "rec", "new", "sel", "cpy", "run"), else "default":
//   wait=MS          wait this long before answering
//   holduntil=PATH   wait until this file exists, at most holdmax ms (default 10000); if it
//                    never appears, "result" is answered as 0 whatever the script says
//   result=TEXT      written as it is to "result" of section "br32" of "wy32i.ini"
//   strres=TEXT      written likewise to "strres"
// A key that is missing writes nothing. A command line without a verb is only logged.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const kVerbs[] = {"add", "del", "edit", "rec", "new", "sel", "cpy", "run"};
const char* const kMissing = "\n";  // no profile value can hold a newline

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

void AppendToLog(const std::string& line) {
    FILE* log = std::fopen(Beside("brindle_standin.log").c_str(), "ab");
    if (!log) return;
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
}

class Script {
public:
    explicit Script(const std::string& verb) : path_(Beside("brindle_standin.ini")) {
        section_ = Has(verb, "result") || Has(verb, "strres") || Has(verb, "wait") ||
                           Has(verb, "holduntil")
                       ? verb
                       : "default";
    }
    bool Has(const std::string& key) const { return Has(section_, key); }
    std::string Text(const std::string& key) const { return Read(section_, key); }
    int Number(const std::string& key, int fallback) const {
        return Has(key) ? std::atoi(Text(key).c_str()) : fallback;
    }

private:
    std::string Read(const std::string& section, const std::string& key) const {
        char value[1024] = {};
        GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, value, sizeof value,
                                 path_.c_str());
        return value;
    }
    bool Has(const std::string& section, const std::string& key) const {
        return Read(section, key) != kMissing;
    }

    std::string path_;
    std::string section_;
};

bool HoldUntilFileAppears(const std::string& path, int maxMs) {
    DWORD start = GetTickCount();
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start >= static_cast<DWORD>(maxMs)) return false;
        Sleep(5);
    }
    return true;
}

void Answer(const char* key, const std::string& value) {
    WritePrivateProfileStringA("br32", key, value.c_str(), "wy32i.ini");
}

}  // namespace

int main() {
    std::string commandLine = GetCommandLineA();
    AppendToLog(commandLine);
    std::string verb = VerbOf(commandLine);
    if (verb.empty()) return 0;

    Script script(verb);
    Sleep(static_cast<DWORD>(script.Number("wait", 0)));
    bool released = true;
    if (script.Has("holduntil")) {
        released = HoldUntilFileAppears(script.Text("holduntil"), script.Number("holdmax", 10000));
    }
    if (!released) {
        Answer("result", "0");
    } else if (script.Has("result")) {
        Answer("result", script.Text("result"));
    }
    if (script.Has("strres")) Answer("strres", script.Text("strres"));
    return 0;
}

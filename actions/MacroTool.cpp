#include "actions/MacroTool.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <thread>
#include <vector>

#include "actions/ExchangePlace.h"
#include "model/SettingsFile.h"
#include "win/Handles.h"
#include "win/PumpedWait.h"

namespace orvale {
namespace {

constexpr const wchar_t* kSections[] = {L"br32", L"jx32", L"ov32"};
constexpr int kProductCount = sizeof kSections / sizeof kSections[0];

// The exchange file stays in whatever encoding the tool wrote it; the profile functions read
// it as such.
std::wstring ReadFrom(const std::wstring& file, int product, const wchar_t* key,
                      const wchar_t* fallback) {
    const wchar_t* section = ExchangeFile::Section(product);
    if (!section || file.empty()) return fallback;
    wchar_t buffer[512] = {};
    GetPrivateProfileStringW(section, key, fallback, buffer, 512, file.c_str());
    return buffer;
}

// An answer of the tool: from the file it was last written to.
std::wstring ReadAnswer(int product, const wchar_t* key, const wchar_t* fallback) {
    const ExchangePlace place = ExchangePlaceHere();
    const std::wstring& file = AnswerFile(place, LastWriteTime(place.file),
                                          LastWriteTime(place.legacyAnswers));
    return ReadFrom(file, product, key, fallback);
}

// A null `value` removes the key. The user's own file may not have its folder yet.
bool WriteExchange(int product, const wchar_t* key, const wchar_t* value) {
    const wchar_t* section = ExchangeFile::Section(product);
    if (!section) return false;
    const std::wstring file = ExchangePlaceHere().file;
    CreateDirectoryW(file.substr(0, file.find_last_of(L'\\')).c_str(), nullptr);
    return WritePrivateProfileStringW(section, key, value, file.c_str()) != FALSE;
}

std::wstring FileOrDefault(const std::wstring& file) {
    return file.empty() ? DefaultMacroFile() : file;
}

// The tool is shown normally and inherits nothing; `flags` gives a command a console of its
// own.
win::KernelHandle StartTool(const std::wstring& commandLine, DWORD flags) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                        flags | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
        return win::KernelHandle();
    }
    CloseHandle(info.hThread);
    return win::KernelHandle(info.hProcess);
}

bool QuitPending() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// One poll of the wait. A pending quit makes PumpedWait return at once (it leaves the quit
// for the message loop), so while one is pending the wait sleeps instead of spinning.
void PauseWhileWaiting() {
    if (QuitPending()) {
        Sleep(10);
    } else {
        win::PumpedWait(10);
    }
}

}  // namespace

const wchar_t* ExchangeFile::Section(int product) {
    return product >= 0 && product < kProductCount ? kSections[product] : nullptr;
}

std::wstring ExchangeFile::FilePath() { return ExchangePlaceHere().file; }

std::wstring ExchangeFile::ReadPath(int product) {
    const ExchangePlace place = ExchangePlaceHere();
    std::wstring path = ReadFrom(place.file, product, L"path", L"");
    for (const std::wstring& fallback : place.pathFallbacks) {
        if (!path.empty()) break;
        path = ReadFrom(fallback, product, L"path", L"");
    }
    return path;
}

int ExchangeFile::ReadResult(int product) {
    return ParseInt(ReadAnswer(product, L"result", L"0"));
}

std::wstring ExchangeFile::ReadStrres(int product) { return ReadAnswer(product, L"strres", L""); }

bool ExchangeFile::WriteResult(int product, int value) {
    return WriteExchange(product, L"result", std::to_wstring(value).c_str());
}

bool ExchangeFile::WriteStrres(int product, const std::wstring& text) {
    return WriteExchange(product, L"strres", text.c_str());
}

// The profile functions take one pair of quotes around a whole value away as they read it, so
// a command that is one quoted program goes in a second pair and reads back quoted.
bool ExchangeFile::WritePath(int product, const std::wstring& command) {
    const bool quoted = command.size() > 1 && command.front() == L'"' && command.back() == L'"';
    return WriteExchange(product, L"path", (quoted ? L"\"" + command + L"\"" : command).c_str());
}

bool ExchangeFile::ClearStrres(int product) { return WriteExchange(product, L"strres", nullptr); }

const wchar_t* MacroVerbText(MacroVerb verb) {
    switch (verb) {
        case MacroVerb::Add: return L" -add:";
        case MacroVerb::Delete: return L" -del:";
        case MacroVerb::Edit: return L" -edit:";
        case MacroVerb::Record: return L" -rec:";
        case MacroVerb::New: return L" -new:";
        case MacroVerb::Select: return L" -sel:";
        case MacroVerb::Copy: return L" -cpy:";
    }
    return nullptr;
}

bool SendableMacroName(const std::wstring& name) {
    for (wchar_t c : name) {
        if (c <= L' ' || c == L'"' || c == 0x7F) return false;
    }
    return true;
}

std::wstring MacroToolProgram(const std::wstring& command) {
    if (command.empty() || command[0] != L'"') return command;
    const size_t close = command.find(L'"', 1);
    return command.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
}

std::wstring DefaultMacroFile() {
    wchar_t found[512] = {};
    DWORD length = SearchPathW(nullptr, kDefaultMacroFileName, nullptr, 512, found, nullptr);
    if (length > 0 && length < 512) return found;
    return settingsPath(kDefaultMacroFileName);
}

std::wstring MacroCommandLine(const std::wstring& toolCommand, const wchar_t* verbText,
                              const std::wstring& name, const std::wstring& file) {
    return toolCommand + verbText + name + L" " + file;
}

bool RunMacroTool(const std::wstring& name, MacroVerb verb, const std::wstring& file) {
    const wchar_t* verbText = MacroVerbText(verb);
    if (!verbText || !SendableMacroName(name)) return false;
    const int tool = ExchangeFile::kMacroTool;
    std::wstring line =
        MacroCommandLine(ExchangeFile::ReadPath(tool), verbText, name, FileOrDefault(file));
    // An answer left by an earlier command must not count for this one: a reset that did not
    // take (a file this user may not write) stops the command before it starts.
    if (!ExchangeFile::WriteResult(tool, 0) || ExchangeFile::ReadResult(tool) != 0) return false;
    const bool answersText = verb == MacroVerb::Select || verb == MacroVerb::Copy;
    if (answersText && !ExchangeFile::ClearStrres(tool)) return false;
    win::KernelHandle process = StartTool(line, CREATE_NEW_CONSOLE);
    if (!process) return false;
    WaitForProcessPumping(process.Get());
    return ExchangeFile::ReadResult(tool) != 0;
}

void WaitForProcessPumping(HANDLE process) {
    std::atomic<bool> waiting{true};
    std::thread waiter;
    try {
        waiter = std::thread([process, &waiting] {
            WaitForSingleObject(process, INFINITE);
            waiting = false;
        });
    } catch (const std::system_error&) {
        // No thread to be had: ask the process itself between the pumped waits.
        while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) PauseWhileWaiting();
        return;
    }
    while (waiting) PauseWhileWaiting();
    waiter.join();
}

bool StartMacroRun(const std::wstring& name, const std::wstring& file) {
    if (!SendableMacroName(name)) return false;
    std::wstring line = MacroCommandLine(ExchangeFile::ReadPath(ExchangeFile::kMacroTool),
                                         kRunVerbText, name, FileOrDefault(file));
    // Started as WinExec would start it, shown normally, but with the whole line in Unicode.
    return static_cast<bool>(StartTool(line, 0));
}

std::wstring NewMacroName(const std::function<bool(const std::wstring&)>& inUse) {
    static const bool seeded = (std::srand(static_cast<unsigned>(std::time(nullptr))), true);
    (void)seeded;
    auto nameOf = [](int number) { return L"ov32mac" + std::to_wstring(number); };
    const int first = std::rand() % 32768;
    // From the drawn number on, the first free one: a draw that is taken costs one step.
    for (int step = 0; step < 32768; ++step) {
        std::wstring name = nameOf((first + step) % 32768);
        if (!inUse || !inUse(name)) return name;
    }
    return std::wstring();
}

}  // namespace orvale

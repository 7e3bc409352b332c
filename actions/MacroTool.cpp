#include "actions/MacroTool.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <thread>
#include <vector>

#include "win/PumpedWait.h"
#include "model/SettingsFile.h"
#include "win/Handles.h"

namespace orvale {
namespace {

constexpr const char* kSections[] = {"br32", "jx32", "ov32"};
constexpr int kProductCount = sizeof kSections / sizeof kSections[0];

std::string ReadExchange(int product, const char* key, const char* fallback) {
    const char* section = ExchangeFile::Section(product);
    if (!section) return fallback;
    char buffer[512] = {};
    GetPrivateProfileStringA(section, key, fallback, buffer, sizeof buffer,
                             ExchangeFile::kFileName);
    return buffer;
}

std::string FileOrDefault(const std::string& file) {
    return file.empty() ? DefaultMacroFile() : file;
}

// The tool gets a console of its own and is shown normally; it inherits nothing.
win::KernelHandle StartTool(const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &info)) {
        return win::KernelHandle();
    }
    CloseHandle(info.hThread);
    return win::KernelHandle(info.hProcess);
}

bool QuitPending() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
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

const char* ExchangeFile::Section(int product) {
    return product >= 0 && product < kProductCount ? kSections[product] : nullptr;
}

std::string ExchangeFile::ReadPath(int product) { return ReadExchange(product, "path", ""); }

int ExchangeFile::ReadResult(int product) {
    return ParseInt(ReadExchange(product, "result", "0"));
}

std::string ExchangeFile::ReadStrres(int product) { return ReadExchange(product, "strres", ""); }

void ExchangeFile::WriteResult(int product, int value) {
    const char* section = Section(product);
    if (!section) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WritePrivateProfileStringA(section, "result", text, kFileName);
}

const char* MacroVerbText(MacroVerb verb) {
    switch (verb) {
        case MacroVerb::Add: return " -add:";
        case MacroVerb::Delete: return " -del:";
        case MacroVerb::Edit: return " -edit:";
        case MacroVerb::Record: return " -rec:";
        case MacroVerb::New: return " -new:";
        case MacroVerb::Select: return " -sel:";
        case MacroVerb::Copy: return " -cpy:";
    }
    return nullptr;
}

std::string DefaultMacroFile() {
    char found[512] = {};
    DWORD length = SearchPathA(nullptr, kDefaultMacroFileName, nullptr, sizeof found, found,
                               nullptr);
    if (length > 0 && length < sizeof found) return found;
    return settingsPath(kDefaultMacroFileName);
}

std::string MacroCommandLine(const std::string& toolCommand, const char* verbText,
                             const std::string& name, const std::string& file) {
    return toolCommand + verbText + name + " " + file;
}

bool RunMacroTool(const std::string& name, MacroVerb verb, const std::string& file) {
    const char* verbText = MacroVerbText(verb);
    if (!verbText) return false;
    const int tool = ExchangeFile::kMacroTool;
    std::string line =
        MacroCommandLine(ExchangeFile::ReadPath(tool), verbText, name, FileOrDefault(file));
    // A result left by an earlier command must not count for this one.
    ExchangeFile::WriteResult(tool, 0);
    win::KernelHandle process = StartTool(line);
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

bool StartMacroRun(const std::string& name, const std::string& file) {
    std::string line = MacroCommandLine(ExchangeFile::ReadPath(ExchangeFile::kMacroTool),
                                        kRunVerbText, name, FileOrDefault(file));
    return WinExec(line.c_str(), SW_SHOWNORMAL) > 31;
}

std::string NewMacroName(const std::function<bool(const std::string&)>& inUse) {
    static const bool seeded = (std::srand(static_cast<unsigned>(std::time(nullptr))), true);
    (void)seeded;
    auto nameOf = [](int number) {
        char name[32];
        std::snprintf(name, sizeof name, "ov32mac%d", number);
        return std::string(name);
    };
    const int first = std::rand() % 32768;
    // From the drawn number on, the first free one: a draw that is taken costs one step.
    for (int step = 0; step < 32768; ++step) {
        std::string name = nameOf((first + step) % 32768);
        if (!inUse || !inUse(name)) return name;
    }
    return std::string();
}

}  // namespace orvale

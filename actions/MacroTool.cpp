#include "actions/MacroTool.h"

#include <atomic>
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

constexpr const wchar_t* kSections[] = {L"br32", L"jx32", L"ov32"};
constexpr int kProductCount = sizeof kSections / sizeof kSections[0];

// The exchange file stays in whatever encoding the tool wrote it; the profile functions read
// it as such.
std::wstring ReadExchange(int product, const wchar_t* key, const wchar_t* fallback) {
    const wchar_t* section = ExchangeFile::Section(product);
    if (!section) return fallback;
    wchar_t buffer[512] = {};
    GetPrivateProfileStringW(section, key, fallback, buffer, 512, ExchangeFile::kFileName);
    return buffer;
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

std::wstring ExchangeFile::ReadPath(int product) { return ReadExchange(product, L"path", L""); }

int ExchangeFile::ReadResult(int product) {
    return ParseInt(ReadExchange(product, L"result", L"0"));
}

std::wstring ExchangeFile::ReadStrres(int product) {
    return ReadExchange(product, L"strres", L"");
}

void ExchangeFile::WriteResult(int product, int value) {
    const wchar_t* section = Section(product);
    if (!section) return;
    WritePrivateProfileStringW(section, L"result", std::to_wstring(value).c_str(), kFileName);
}

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
    if (!verbText) return false;
    const int tool = ExchangeFile::kMacroTool;
    std::wstring line =
        MacroCommandLine(ExchangeFile::ReadPath(tool), verbText, name, FileOrDefault(file));
    // A result left by an earlier command must not count for this one.
    ExchangeFile::WriteResult(tool, 0);
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

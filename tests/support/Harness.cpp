#include "Harness.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace testing_support {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string BinDir() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module);
    return path.substr(0, path.find_last_of('\\'));
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        PumpFor(pollMs);
    }
}

HWND EnsureDesktop() {
    GetDesktopWindow();
    HWND taskbar = nullptr;
    WaitUntil([&] { return (taskbar = FindWindowA("Shell_TrayWnd", nullptr)) != nullptr; },
              15000, 50);
    return taskbar;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---- TempDir ---------------------------------------------------------------------------------

namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

bool CopyBeside(const std::string& name, const std::string& folder) {
    return CopyFileA((BinDir() + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

TempDir::TempDir() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "orvale-test-%lu-%d-%lu",
                      static_cast<unsigned long>(GetCurrentProcessId()), ++counter,
                      static_cast<unsigned long>(GetTickCount()));
        path_ = std::string(temp) + name;
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    // A process that just ended may hold its files for a moment.
    for (int attempt = 0; attempt < 20 && FileExists(path_); ++attempt) {
        RemoveTree(path_);
        if (FileExists(path_)) Sleep(50);
    }
}

// ---- Process ---------------------------------------------------------------------------------

Process::~Process() {
    Kill();
}

namespace {

// Every program a test starts, and every program those start, ends with the test: they are
// kept in a job that the system ends when the test's process ends, however it ends. (A program
// left behind holds the output that CTest reads, and CTest waits for it.)
HANDLE TestJob() {
    static const HANDLE job = [] {
        HANDLE made = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (made) {
            SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits,
                                    sizeof limits);
        }
        return made;
    }();
    return job;
}

}  // namespace

bool Process::Start(const std::string& commandLine, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    // Suspended until it is in the job, so nothing it starts can escape it.
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        std::fprintf(stderr, "could not start %s (error %lu)\n", commandLine.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return false;
    }
    if (HANDLE job = TestJob()) AssignProcessToJobObject(job, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    handle_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!handle_) return true;
    bool ended = WaitUntil([&] { return !Running(); }, timeoutMs);
    if (ended && exitCode) GetExitCodeProcess(handle_, exitCode);
    return ended;
}

void Process::Kill() {
    if (!handle_) return;
    if (Running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
    handle_ = nullptr;
}

}  // namespace testing_support

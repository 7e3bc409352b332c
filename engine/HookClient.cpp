#include "engine/HookClient.h"

#include <windows.h>
#include <sddl.h>

#include <cstring>
#include <string>

#include "hook/ReportTarget.h"
#include "win/Handles.h"
#include "win/ProgramFolder.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

using HandOver = int(WINAPI*)(HHOOK);

struct HookLibrary {
    win::ModuleHandle module;
    HandOver handOver = nullptr;
    HHOOK hook = nullptr;
    bool suspended = false;
    win::KernelHandle reportTarget;  // kept for the whole run
    // The hook goes before the library that holds its procedure.
    ~HookLibrary() {
        if (hook) UnhookWindowsHookEx(hook);
    }
};

HookLibrary& Library() {
    static HookLibrary library;
    return library;
}

template <typename T>
T Export(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A hook that failed to install is asked for again on a timer of its own: without it no press
// is reported, and nothing else would wake the program to try again.
constexpr UINT kRetryMs = 50;
UINT_PTR g_retry = 0;

// The system calls the timer procedure: no exception may cross back into it.
void CALLBACK RetryHook(HWND, UINT, UINT_PTR, DWORD) {
    try {
        SetMouseHook(true);
    } catch (...) {
    }
}

void RetryLater(bool retry) {
    if (retry && !g_retry) {
        g_retry = SetTimer(nullptr, 0, kRetryMs, RetryHook);
    } else if (!retry && g_retry) {
        KillTimer(nullptr, g_retry);
        g_retry = 0;
    }
}

// Who may do what with the record: read (GR) for the user, for every app container
// (S-1-15-2-1) and for its owner (OWNER RIGHTS, S-1-3-4, which takes away what an owner may
// otherwise always do: change the permissions, and so give itself the right to write); write
// for nobody. The low mandatory label (S-1-16-4096, no write up) lets sandboxed programs of low
// integrity read it too, so that their clicks are reported as well.
std::wstring ReportTargetPermissions(const std::wstring& userSid) {
    return L"D:P(A;;GR;;;" + userSid + L")(A;;GR;;;S-1-15-2-1)(A;;GR;;;S-1-3-4)"
           L"S:(ML;;NW;;;S-1-16-4096)";
}

}  // namespace

bool LoadHookLibrary() {
    HookLibrary& library = Library();
    if (library.module) return true;
    // By its full path: only the library beside the program will do, whatever the search order.
    library.module.Reset(LoadLibraryW(win::BesideProgram(L"_ovdll.dll").c_str()));
    if (!library.module) return false;
    library.handOver = Export<HandOver>(library.module.Get(), "dllGetHookToDLL");
    return true;
}

void SetMouseHook(bool on) {
    HookLibrary& library = Library();
    if (!on || library.suspended) RetryLater(false);
    if (!on) {
        if (library.hook) UnhookWindowsHookEx(library.hook);
        library.hook = nullptr;
        return;
    }
    if (library.hook || !library.module || library.suspended) return;
    // No hook before the record that says where its reports go is this program's own. A name
    // still held is asked for again with the retries: a copy that has just ended may keep it a
    // moment longer, while a program reads it.
    if (!library.reportTarget) {
        library.reportTarget = PublishReportTarget(win::SettingsWindowHandle());
    }
    if (!library.reportTarget) {
        RetryLater(true);
        return;
    }
    auto procedure = Export<HOOKPROC>(library.module.Get(), "OVDllMouseProc");
    if (!procedure) return;
    library.hook = SetWindowsHookExW(WH_MOUSE, procedure, library.module.Get(), 0);
    if (library.handOver) library.handOver(library.hook);
    RetryLater(library.hook == nullptr);
}

bool MouseHookInstalled() { return Library().hook != nullptr; }

win::KernelHandle PublishReportTarget(HWND window) {
    std::wstring userSid;
    DWORD sessionId = 0;
    PSECURITY_DESCRIPTOR permissions = nullptr;
    if (!OwnUserAndSession(userSid, sessionId) ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorW(
            ReportTargetPermissions(userSid).c_str(), SDDL_REVISION_1, &permissions, nullptr)) {
        return win::KernelHandle();
    }
    SECURITY_ATTRIBUTES security = {sizeof security, permissions, FALSE};
    win::KernelHandle record(CreateFileMappingW(INVALID_HANDLE_VALUE, &security, PAGE_READWRITE,
                                                0, sizeof(ReportTarget),
                                                ReportTargetName(userSid, sessionId).c_str()));
    const DWORD created = GetLastError();
    LocalFree(permissions);
    if (!record || created == ERROR_ALREADY_EXISTS) return win::KernelHandle();
    void* view = MapViewOfFile(record.Get(), FILE_MAP_WRITE, 0, 0, sizeof(ReportTarget));
    if (!view) return win::KernelHandle();
    ReportTarget target;
    target.processId = GetCurrentProcessId();
    target.window = reinterpret_cast<uintptr_t>(window);
    std::memcpy(view, &target, sizeof target);
    UnmapViewOfFile(view);
    return record;
}

void SuspendMouseHook(bool suspend) {
    if (suspend) SetMouseHook(false);
    Library().suspended = suspend;
    if (!suspend) SetMouseHook(true);
}

}  // namespace orvale

#include "engine/HookClient.h"

#include <windows.h>

#include "win/Handles.h"
#include "win/ProgramFolder.h"

namespace orvale {
namespace {

using HandOver = int(WINAPI*)(HHOOK);

struct HookLibrary {
    win::ModuleHandle module;
    HandOver handOver = nullptr;
    HHOOK hook = nullptr;
    bool suspended = false;
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

void CALLBACK RetryHook(HWND, UINT, UINT_PTR, DWORD) { SetMouseHook(true); }

void RetryLater(bool retry) {
    if (retry && !g_retry) {
        g_retry = SetTimer(nullptr, 0, kRetryMs, RetryHook);
    } else if (!retry && g_retry) {
        KillTimer(nullptr, g_retry);
        g_retry = 0;
    }
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
    auto procedure = Export<HOOKPROC>(library.module.Get(), "OVDllMouseProc");
    if (!procedure) return;
    library.hook = SetWindowsHookExW(WH_MOUSE, procedure, library.module.Get(), 0);
    if (library.handOver) library.handOver(library.hook);
    RetryLater(library.hook == nullptr);
}

bool MouseHookInstalled() { return Library().hook != nullptr; }

void SuspendMouseHook(bool suspend) {
    if (suspend) SetMouseHook(false);
    Library().suspended = suspend;
    if (!suspend) SetMouseHook(true);
}

}  // namespace orvale

// What a process holds: its GDI objects and its windows, counted so that a leak test can fail
// under Wine too, and its current folder.
#include "Harness.h"

#include <vector>

namespace testing_support {

// ---- GDI objects, windows and the current folder of a process --------------------------------

namespace {

// The process's PEB (in its own address space), or null.
char* PebOf(HANDLE process) {
    struct BasicInformation {
        LONG_PTR exitStatus;
        void* peb;
        ULONG_PTR affinity;
        LONG_PTR basePriority;
        ULONG_PTR uniqueProcessId;
        ULONG_PTR parentProcessId;
    } info = {};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query || query(process, 0, &info, sizeof info, nullptr) != 0) return nullptr;
    return static_cast<char*>(info.peb);
}

// A pointer-sized value at `address` of the process; null when it cannot be read.
char* PointerAt(HANDLE process, const char* address) {
    char* value = nullptr;
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &value, sizeof value, &read) ? value : nullptr;
}

// Wine keeps a process's GDI handles in a table the PEB points to (GdiSharedHandleTable, at
// 0xF8 in the 64-bit PEB): 0x10000 entries of 24 bytes, an entry in use when its type byte
// (offset 14) is not 0.
int WineGdiObjectCount(HANDLE process) {
    char* peb = PebOf(process);
    void* table = peb ? PointerAt(process, peb + 0xF8) : nullptr;
    SIZE_T read = 0;
    if (!table) return -1;
    constexpr size_t kEntries = 0x10000, kEntrySize = 24;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read)) return -1;
    int used = 0;
    for (size_t i = 0; i < kEntries; ++i) used += entries[i * kEntrySize + 14] != 0;
    return used;
}

BOOL CALLBACK CountChildren(HWND, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

}  // namespace

int GdiObjectCount(HANDLE process) {
    if (UnderWine()) return WineGdiObjectCount(process);
    return static_cast<int>(GetGuiResources(process, GR_GDIOBJECTS));
}

int WindowCount(DWORD pid) {
    int count = 0;
    for (HWND top : TopLevelWindows(pid, nullptr, nullptr)) {
        ++count;
        EnumChildWindows(top, CountChildren, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// The 64-bit PEB points to the process parameters at 0x20; their current folder is a counted
// UTF-16 string at 0x38 (its length in bytes), whose text the pointer at 0x40 holds.
std::string CurrentFolderOf(HANDLE process) {
    const char* peb = PebOf(process);
    const char* parameters = peb ? PointerAt(process, peb + 0x20) : nullptr;
    const char* text = parameters ? PointerAt(process, parameters + 0x40) : nullptr;
    USHORT bytes = 0;
    SIZE_T read = 0;
    if (!text || !ReadProcessMemory(process, parameters + 0x38, &bytes, sizeof bytes, &read)) {
        return "";
    }
    std::wstring folder(bytes / 2, L'\0');
    if (!ReadProcessMemory(process, text, &folder[0], bytes, &read)) return "";
    return win::Narrow(folder);
}

}  // namespace testing_support

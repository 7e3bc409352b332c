// What a process holds: its GDI objects and its windows, counted so that a leak test can fail
// under Wine too.
#include "Harness.h"

#include <vector>

namespace testing_support {

// ---- GDI objects and windows of a process --------------------------------------------------

namespace {

// Wine keeps a process's GDI handles in a table the PEB points to (GdiSharedHandleTable, at
// 0xF8 in the 64-bit PEB): 0x10000 entries of 24 bytes, an entry in use when its type byte
// (offset 14) is not 0.
int WineGdiObjectCount(HANDLE process) {
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
    if (!query || query(process, 0, &info, sizeof info, nullptr) != 0 || !info.peb) return -1;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(info.peb) + 0xF8, &table, sizeof table,
                           &read) ||
        !table) {
        return -1;
    }
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

}  // namespace testing_support

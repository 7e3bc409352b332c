#include "win/ProgramFolder.h"

#include <windows.h>

namespace win {

std::wstring BesideProgram(const std::wstring& fileName) {
    wchar_t module[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, length <= MAX_PATH ? length : 0);
    return path.substr(0, path.find_last_of(L'\\')) + L"\\" + fileName;
}

}  // namespace win

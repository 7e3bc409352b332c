#include "win/OpenFileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace win {
namespace {

bool IsPattern(const std::wstring& name) { return name.find_first_of(L"*?") != std::wstring::npos; }

// The filter list as the dialog wants it: pairs separated by NULs, the list ended by two.
std::wstring FilterList(const OpenFileRequest& request) {
    std::wstring filter = request.filter;
    const std::wstring& pattern = request.initialName;
    if (IsPattern(pattern) && filter.compare(0, pattern.size() + 1, pattern + L'|') != 0) {
        filter = pattern + L'|' + pattern + L'|' + filter;
    }
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return filter + L'\0';
}

}  // namespace

std::wstring AskFileToOpen(HWND owner, const OpenFileRequest& request) {
    const std::wstring filter = FilterList(request);
    std::vector<wchar_t> file(32768, L'\0');
    request.initialName.copy(file.data(), std::min(request.initialName.size(), file.size() - 1));

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.folder.empty() ? nullptr : request.folder.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    // The folder the user browsed to does not become the program's current folder.
    dialog.Flags = request.flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return std::wstring();
    return file.data();
}

}  // namespace win

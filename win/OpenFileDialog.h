// The system's open-file dialog, asked for one file.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace win {

struct OpenFileRequest {
    // Starts in the file-name box; a pattern there ("*.exe;*.dll") filters the list.
    std::wstring initialName;
    // Pairs of description and pattern separated by "|" and ended by "||", as written in the
    // program's texts: "Executable (*.exe)|*.exe|All (*.*)|*.*||".
    std::wstring filter;
    std::wstring title;   // empty: the dialog's own ("Open")
    std::wstring folder;  // empty: wherever the dialog starts by itself
    DWORD flags = OFN_HIDEREADONLY;
};

// The full path of the file the user chose, or empty when the dialog was cancelled. A pattern
// given as the initial name is also offered as the first filter: some dialogs (Wine's) filter
// only by the filter list.
std::wstring AskFileToOpen(HWND owner, const OpenFileRequest& request);

}  // namespace win

#include "actions/StartWithWindows.h"

#include <shlobj.h>

#include "actions/ShellLink.h"
#include "win/Handles.h"

namespace orvale {
namespace {

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : L"";
}

// One file under two names (a short 8.3 name, another case) is still one file.
bool SameFile(const std::wstring& a, const std::wstring& b) {
    auto longName = [](const std::wstring& path) {
        wchar_t full[MAX_PATH] = {};
        const DWORD length = GetLongPathNameW(path.c_str(), full, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::wstring(full) : path;
    };
    const std::wstring first = longName(a), second = longName(b);
    return CompareStringOrdinal(first.c_str(), -1, second.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring FreeShortcutName(const std::wstring& folder) {
    std::wstring path = folder + L"\\Orvale.lnk";
    for (int n = 2; GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) {
        path = folder + L"\\Orvale (" + std::to_wstring(n) + L").lnk";
    }
    return path;
}

}  // namespace

std::wstring StartupFolder(bool create) {
    PWSTR path = nullptr;
    std::wstring folder;
    const DWORD flags = create ? static_cast<DWORD>(KF_FLAG_CREATE) : 0;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, flags, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

std::wstring ShortcutTarget(const std::wstring& linkPath) {
    win::ComScope com;
    // Declared after the COM scope, so both interfaces are released before COM is let go.
    win::ComPtr<IShellLinkW> link;
    win::ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.Out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.Out())) ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) {
        return L"";
    }
    return target;
}

std::vector<std::wstring> ShortcutsTo(const std::wstring& folder, const std::wstring& program) {
    std::vector<std::wstring> found;
    if (folder.empty() || program.empty()) return found;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*.lnk").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        const std::wstring path = folder + L"\\" + entry.cFileName;
        const std::wstring target = ShortcutTarget(path);
        if (!target.empty() && SameFile(target, program)) found.push_back(path);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

bool StartsWithWindows() { return !ShortcutsTo(StartupFolder(), ThisProgram()).empty(); }

HRESULT SetStartWithWindows(bool on) {
    const std::wstring folder = StartupFolder(on);
    const std::wstring program = ThisProgram();
    if (folder.empty() || program.empty()) return E_FAIL;
    const std::vector<std::wstring> ours = ShortcutsTo(folder, program);
    if (on) {
        return ours.empty() ? WriteShellLink(program, L"", FreeShortcutName(folder), L"Orvale")
                            : S_OK;
    }
    HRESULT result = S_OK;
    for (const std::wstring& path : ours) {
        if (!DeleteFileW(path.c_str()) && SUCCEEDED(result)) {
            result = HRESULT_FROM_WIN32(GetLastError());
        }
    }
    return result;
}

}  // namespace orvale

#include "actions/ShellLink.h"

#include <shellapi.h>
#include <shlobj.h>

#include "win/Handles.h"

namespace orvale {
namespace {

constexpr const wchar_t* kTemporaryShortcutName = L"sct.lnk";

// Target, arguments and description, stopping at the first refusal: a shortcut without its
// target is not worth saving.
HRESULT DescribeLink(IShellLinkW* link, const std::wstring& target,
                     const std::wstring& arguments, const std::wstring& description) {
    HRESULT result = link->SetPath(target.c_str());
    if (SUCCEEDED(result)) result = link->SetArguments(arguments.c_str());
    if (SUCCEEDED(result)) result = link->SetDescription(description.c_str());
    return result;
}

// A path that does not fit MAX_PATH characters is refused rather than cut short.
HRESULT SaveLink(IPersistFile* file, const std::wstring& linkPath) {
    if (linkPath.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return file->Save(linkPath.c_str(), TRUE);
}

}  // namespace

HRESULT WriteShellLink(const std::wstring& target, const std::wstring& arguments,
                       const std::wstring& linkPath, const std::wstring& description) {
    win::ComScope com;
    // Declared after the COM scope, so both interfaces are released before COM is let go.
    win::ComPtr<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, link.Out());
    if (FAILED(result)) return result;
    win::ComPtr<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.Out());
    if (FAILED(result)) return result;
    result = DescribeLink(link.Get(), target, arguments, description);
    if (FAILED(result)) return result;
    return SaveLink(file.Get(), linkPath);
}

void OpenViaTemporaryShortcut(const std::wstring& target, const std::wstring& arguments) {
    wchar_t folder[512] = {};
    DWORD length = GetTempPathW(512, folder);
    if (length == 0 || length >= 512) return;
    std::wstring linkPath = std::wstring(folder) + kTemporaryShortcutName;
    WriteShellLink(target, arguments, linkPath, L"");
    ShellExecuteW(nullptr, nullptr, linkPath.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    DeleteFileW(linkPath.c_str());
}

}  // namespace orvale

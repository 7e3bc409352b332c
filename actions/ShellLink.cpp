#include "actions/ShellLink.h"

#include <shellapi.h>
#include <shlobj.h>

#include "win/Handles.h"

namespace orvale {
namespace {

constexpr const char* kTemporaryShortcutName = "sct.lnk";

HRESULT LastErrorResult() {
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// Target, arguments and description, stopping at the first refusal: a shortcut without its
// target is not worth saving.
HRESULT DescribeLink(IShellLinkA* link, const std::string& target,
                     const std::string& arguments, const std::string& description) {
    HRESULT result = link->SetPath(target.c_str());
    if (SUCCEEDED(result)) result = link->SetArguments(arguments.c_str());
    if (SUCCEEDED(result)) result = link->SetDescription(description.c_str());
    return result;
}

// The link file is named in UTF-16 to the persistence interface; a path that does not fit
// MAX_PATH characters is refused rather than cut short.
HRESULT SaveLink(IPersistFile* file, const std::string& linkPath) {
    wchar_t widePath[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH)) {
        return LastErrorResult();
    }
    return file->Save(widePath, TRUE);
}

}  // namespace

HRESULT WriteShellLink(const std::string& target, const std::string& arguments,
                       const std::string& linkPath, const std::string& description) {
    win::ComScope com;
    // Declared after the COM scope, so both interfaces are released before COM is let go.
    win::ComPtr<IShellLinkA> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkA, link.Out());
    if (FAILED(result)) return result;
    win::ComPtr<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.Out());
    if (FAILED(result)) return result;
    result = DescribeLink(link.Get(), target, arguments, description);
    if (FAILED(result)) return result;
    return SaveLink(file.Get(), linkPath);
}

void OpenViaTemporaryShortcut(const std::string& target, const std::string& arguments) {
    char folder[512] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) return;
    std::string linkPath = std::string(folder) + kTemporaryShortcutName;
    WriteShellLink(target, arguments, linkPath, "");
    ShellExecuteA(nullptr, nullptr, linkPath.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    DeleteFileA(linkPath.c_str());
}

}  // namespace orvale

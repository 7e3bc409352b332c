#include "actions/ShellLink.h"

#include <shellapi.h>
#include <shlobj.h>

#include "model/SafeFile.h"
#include "win/Handles.h"

namespace orvale {
namespace {

// Target, arguments, description and start-up folder, stopping at the first refusal: a
// shortcut without its target is not worth saving.
HRESULT DescribeLink(IShellLinkW* link, const std::wstring& target,
                     const std::wstring& arguments, const std::wstring& description,
                     const std::wstring& directory) {
    HRESULT result = link->SetPath(target.c_str());
    if (SUCCEEDED(result)) result = link->SetArguments(arguments.c_str());
    if (SUCCEEDED(result)) result = link->SetDescription(description.c_str());
    if (SUCCEEDED(result) && !directory.empty()) {
        result = link->SetWorkingDirectory(directory.c_str());
    }
    return result;
}

// A new shortcut object described with target, arguments, description and start-up folder,
// handed back through the persistence interface it is to be saved with.
template <class Persist>
HRESULT NewDescribedLink(const std::wstring& target, const std::wstring& arguments,
                         const std::wstring& description, const std::wstring& directory,
                         REFIID persistId, win::ComPtr<Persist>& persist) {
    win::ComPtr<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, link.Out());
    if (SUCCEEDED(result)) result = link->QueryInterface(persistId, persist.Out());
    if (SUCCEEDED(result)) {
        result = DescribeLink(link.Get(), target, arguments, description, directory);
    }
    return result;
}

// A path that does not fit MAX_PATH characters is refused rather than cut short.
HRESULT SaveLink(IPersistFile* file, const std::wstring& linkPath) {
    if (linkPath.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return file->Save(linkPath.c_str(), TRUE);
}

// The bytes of a shortcut as the shell writes it, so that the program writes them itself, into
// a file it has just created.
HRESULT LinkBytes(const std::wstring& target, const std::wstring& arguments,
                  const std::wstring& directory, std::string& bytes) {
    win::ComScope com;
    win::ComPtr<IPersistStream> persist;
    HRESULT result =
        NewDescribedLink(target, arguments, L"", directory, IID_IPersistStream, persist);
    win::ComPtr<IStream> stream;
    if (SUCCEEDED(result)) {
        result = CreateStreamOnHGlobal(nullptr, TRUE, reinterpret_cast<IStream**>(stream.Out()));
    }
    if (SUCCEEDED(result)) result = persist->Save(stream.Get(), TRUE);
    ULARGE_INTEGER size = {};
    if (SUCCEEDED(result)) result = stream->Seek(LARGE_INTEGER(), STREAM_SEEK_CUR, &size);
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(result)) result = GetHGlobalFromStream(stream.Get(), &memory);
    if (FAILED(result)) return result;
    if (const void* data = GlobalLock(memory)) {
        bytes.assign(static_cast<const char*>(data), static_cast<size_t>(size.QuadPart));
        GlobalUnlock(memory);
        return S_OK;
    }
    return E_OUTOFMEMORY;
}

}  // namespace

HRESULT WriteShellLink(const std::wstring& target, const std::wstring& arguments,
                       const std::wstring& linkPath, const std::wstring& description) {
    win::ComScope com;
    // Declared after the COM scope, so it is released before COM is let go.
    win::ComPtr<IPersistFile> file;
    const HRESULT result =
        NewDescribedLink(target, arguments, description, L"", IID_IPersistFile, file);
    return FAILED(result) ? result : SaveLink(file.Get(), linkPath);
}

ShellOpening OpenWithShell(const std::wstring& file, const std::wstring& parameters,
                           const std::wstring& directory, ULONG mask) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // Failures are silent, as with ShellExecute.
    info.fMask = SEE_MASK_FLAG_NO_UI | mask;
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOWDEFAULT;
    if (ShellExecuteExW(&info)) return ShellOpening::Opened;
    return GetLastError() == ERROR_CANCELLED ? ShellOpening::Cancelled : ShellOpening::Refused;
}

void OpenViaTemporaryShortcut(const std::wstring& target, const std::wstring& arguments,
                              const std::wstring& directory) {
    std::string bytes;
    if (FAILED(LinkBytes(target, arguments, directory, bytes))) return;
    wchar_t folder[512] = {};
    DWORD length = GetTempPathW(512, folder);
    if (length == 0 || length >= 512) return;
    // A shortcut that a crash or another program left in the temporary folder is never what
    // runs: this one is created new, under a name of its own, and written here.
    const std::wstring linkPath = UnguessableName(std::wstring(folder) + L"orvale-", L".lnk");
    win::KernelHandle file = CreateNewFile(linkPath);
    if (!file) return;
    const bool written = !WriteAll(file.Get(), bytes);
    file.Reset();
    // Done with the file once the call returns, so it can go.
    if (written) OpenWithShell(linkPath, L"", L"", SEE_MASK_NOASYNC);
    DeleteFileW(linkPath.c_str());
}

}  // namespace orvale

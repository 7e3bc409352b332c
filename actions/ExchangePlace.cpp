#include "actions/ExchangePlace.h"

#include <shlobj.h>

#include "win/Handles.h"

namespace orvale {
namespace {

constexpr const wchar_t* kExchangeFileName = L"wy32i.ini";

std::wstring LocalAppData() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                folder))) {
        return std::wstring();
    }
    return folder;
}

}  // namespace

ExchangePlace DecideExchangePlace(const ExchangeCandidates& files, bool windowsFileWritable) {
    ExchangePlace place;
    if (windowsFileWritable || files.userFile.empty()) {
        place.file = files.windowsFile;
        return place;
    }
    place.file = files.userFile;
    // A legacy tool installed without rights wrote its path where Windows redirected it; one
    // installed by an administrator wrote the Windows folder's file.
    if (!files.virtualStoreFile.empty()) place.pathFallbacks.push_back(files.virtualStoreFile);
    place.pathFallbacks.push_back(files.windowsFile);
    place.legacyAnswers = files.virtualStoreFile;
    return place;
}

const std::wstring& AnswerFile(const ExchangePlace& place, ULONGLONG fileWritten,
                               ULONGLONG legacyWritten) {
    if (!place.legacyAnswers.empty() && legacyWritten > fileWritten) return place.legacyAnswers;
    return place.file;
}

ExchangeCandidates ExchangeCandidatesHere() {
    ExchangeCandidates files;
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring folder(windows, length < MAX_PATH ? length : 0);
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    files.windowsFile = folder + L"\\" + kExchangeFileName;
    const std::wstring local = LocalAppData();
    if (local.empty()) return files;
    files.userFile = local + L"\\Orvale\\" + kExchangeFileName;
    // Windows mirrors a redirected path below VirtualStore without its drive: C:\Windows\x
    // becomes ...\VirtualStore\Windows\x.
    const size_t colon = folder.find(L':');
    if (colon != std::wstring::npos) {
        files.virtualStoreFile =
            local + L"\\VirtualStore" + folder.substr(colon + 1) + L"\\" + kExchangeFileName;
    }
    return files;
}

bool CanWriteFile(const std::wstring& path) {
    // Opened the way the profile functions write: an existing file is kept; one made only to
    // ask goes again as the handle closes.
    const bool existed = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, existed ? OPEN_EXISTING : CREATE_NEW,
                                       existed ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_DELETE_ON_CLOSE,
                                       nullptr));
    return static_cast<bool>(file);
}

ULONGLONG LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

ExchangePlace ExchangePlaceHere() {
    const ExchangeCandidates files = ExchangeCandidatesHere();
    return DecideExchangePlace(files, CanWriteFile(files.windowsFile));
}

}  // namespace orvale

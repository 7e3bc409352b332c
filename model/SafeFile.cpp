#include "model/SafeFile.h"

#include <algorithm>

#include "model/ProfileSyntax.h"
#include "win/Handles.h"

namespace orvale {
namespace {

size_t& WriteLimit() {
    static size_t limit = SIZE_MAX;
    return limit;
}

win::KernelHandle OpenShared(const std::wstring& path, DWORD access) {
    return win::KernelHandle(CreateFileW(path.c_str(), access,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Replacing a file that another program holds open without sharing fails, as does replacing
// a read-only file on Windows (though not always under Wine): find out before anything is
// written, and in the system's own words.
FileError CheckReplaceable(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};  // a missing folder shows later
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return ErrorOf(ERROR_ACCESS_DENIED);
    }
    if (!OpenShared(path, GENERIC_WRITE)) return ErrorOf(GetLastError());
    return {};
}

// Writes and flushes the whole file, so that it is complete on disk before it replaces the
// file it stands for.
FileError WriteWhole(const std::wstring& path, const std::string& bytes) {
    win::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ErrorOf(GetLastError());
    const size_t limit = std::min(bytes.size(), WriteLimit());
    size_t done = 0;
    DWORD code = 0;
    while (code == 0 && done < limit) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(limit - done, size_t{1} << 20));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) ||
            written == 0) {
            code = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        }
        done += written;
    }
    if (code == 0 && done < bytes.size()) code = ERROR_DISK_FULL;
    if (code == 0 && !FlushFileBuffers(file.Get())) code = GetLastError();
    file.Reset();
    if (code != 0) DeleteFileW(path.c_str());
    return code ? ErrorOf(code) : FileError{};
}

// The previous file stays as the backup: a second name for it costs no copying; where no such
// link can be made, a copy. A backup that cannot be made does not stop the save.
void KeepBackup(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    const std::wstring backup = path + L".bak";
    DeleteFileW(backup.c_str());
    if (!CreateHardLinkW(backup.c_str(), path.c_str(), nullptr)) {
        CopyFileW(path.c_str(), backup.c_str(), FALSE);
    }
}

}  // namespace

FileError ErrorOf(DWORD code) {
    FileError error;
    error.code = code;
    wchar_t text[512] = {};
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 512, nullptr);
    error.reason.assign(text, length);
    error.reason.resize(Trimmed(error.reason, 0, error.reason.size()).end);
    if (error.reason.empty()) error.reason = L"System error " + std::to_wstring(code) + L".";
    return error;
}

bool IsMissing(const FileError& error) {
    return error.code == ERROR_FILE_NOT_FOUND || error.code == ERROR_PATH_NOT_FOUND;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

FileError ReadWholeFile(const std::wstring& path, std::string& bytes, size_t limit) {
    bytes.clear();
    win::KernelHandle file = OpenShared(path, GENERIC_READ);
    if (!file) return ErrorOf(GetLastError());
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size)) return ErrorOf(GetLastError());
    if (static_cast<unsigned long long>(size.QuadPart) > limit) {
        return ErrorOf(ERROR_FILE_TOO_LARGE);
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &read,
                      nullptr)) {
            return ErrorOf(GetLastError());
        }
        if (read == 0) break;  // the file shrank meanwhile
        done += read;
    }
    bytes.resize(done);
    return {};
}

FileError ReplaceWholeFile(const std::wstring& path, const std::string& bytes) {
    if (FileError error = CheckReplaceable(path)) return error;
    const std::wstring temporary = path + L".tmp";
    if (FileError error = WriteWhole(temporary, bytes)) return error;
    KeepBackup(path);
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FileError error = ErrorOf(GetLastError());
        DeleteFileW(temporary.c_str());
        return error;
    }
    return {};
}

void SetWriteLimitForTesting(size_t bytes) { WriteLimit() = bytes; }

}  // namespace orvale

#include "model/SafeFile.h"

#include <aclapi.h>
#include <objbase.h>

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

// The new file under a name of its own, complete and flushed before it stands for anything;
// nothing is left of it when that fails.
FileError WriteNewFile(const std::wstring& path, const std::string& bytes) {
    win::KernelHandle file = CreateNewFile(path);
    if (!file) return ErrorOf(GetLastError());
    FileError error = WriteAll(file.Get(), bytes);
    if (!error && !FlushFileBuffers(file.Get())) error = ErrorOf(GetLastError());
    file.Reset();
    if (error) DeleteFileW(path.c_str());
    return error;
}

// The new file gets what the old one had besides its contents: its permissions and its
// attributes. (ReplaceFileW would do the same, but it moves the old file away before the new
// one takes its name, and a program ended between the two leaves no settings file at all.) A
// file system without permissions has none to give.
void TakeOverAttributes(const std::wstring& from, const std::wstring& to, DWORD attributes) {
    PACL permissions = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(from.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &permissions, nullptr, &descriptor) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(descriptor, &control, &revision);
        // Permissions inherited from the folder are inherited again; the file's own are copied.
        const SECURITY_INFORMATION inheritance = (control & SE_DACL_PROTECTED)
                                                     ? PROTECTED_DACL_SECURITY_INFORMATION
                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION;
        SetNamedSecurityInfoW(const_cast<wchar_t*>(to.c_str()), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | inheritance, nullptr, nullptr,
                              permissions, nullptr);
        LocalFree(descriptor);
    }
    SetFileAttributesW(to.c_str(), attributes);
}

// The old file is kept under a second name of its own (a copy where no second name can be
// made), so it becomes the backup, replacing the previous one, only once the new file stands.
// Empty when there is none.
std::wstring KeepPrevious(const std::wstring& path) {
    const std::wstring previous = UnguessableName(path + L".", L".old");
    if (CreateHardLinkW(previous.c_str(), path.c_str(), nullptr) ||
        CopyFileW(path.c_str(), previous.c_str(), TRUE)) {
        return previous;
    }
    return std::wstring();
}

// The new file takes the place of `path` in one step: at every moment `path` is the old or the
// new file, whole.
FileError PutInPlace(const std::wstring& temporary, const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing) TakeOverAttributes(path, temporary, attributes);
    const std::wstring previous = replacing ? KeepPrevious(path) : std::wstring();
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FileError error = ErrorOf(GetLastError());
        if (!previous.empty()) DeleteFileW(previous.c_str());
        return error;
    }
    // A backup that cannot be kept does not undo the save.
    if (!previous.empty() &&
        !MoveFileExW(previous.c_str(), (path + L".bak").c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(previous.c_str());
    }
    return {};
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
    // A name of its own, created new: a file or link planted beside the settings under a name
    // the program once used is never written through.
    const std::wstring temporary = UnguessableName(path + L".", L".tmp");
    if (FileError error = WriteNewFile(temporary, bytes)) return error;
    FileError error = PutInPlace(temporary, path);
    if (error) DeleteFileW(temporary.c_str());
    return error;
}

std::wstring UnguessableName(const std::wstring& stem, const std::wstring& suffix) {
    // A version 4 GUID: 122 random bits from the system's generator.
    GUID guid = {};
    CoCreateGuid(&guid);
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return stem + std::wstring(text + 1, 36) + suffix;  // without the braces
}

win::KernelHandle CreateNewFile(const std::wstring& path) {
    // Without FILE_FLAG_OPEN_REPARSE_POINT a symbolic link already there would be followed and
    // its target created.
    return win::KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                         nullptr));
}

FileError WriteAll(HANDLE file, const std::string& bytes) {
    const size_t limit = std::min(bytes.size(), WriteLimit());
    size_t done = 0;
    while (done < limit) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(limit - done, size_t{1} << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return ErrorOf(GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
        }
        done += written;
    }
    return done < bytes.size() ? ErrorOf(ERROR_DISK_FULL) : FileError{};
}

void SetWriteLimitForTesting(size_t bytes) { WriteLimit() = bytes; }

}  // namespace orvale

// Files the program keeps (its settings, a macro file) are read whole and replaced whole, in
// one step: a save either puts the complete new file in place or leaves the old one as it was,
// and says why in the system's own words.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "win/Handles.h"

namespace orvale {

// What went wrong with a file; code 0 means nothing did.
struct FileError {
    DWORD code = 0;
    std::wstring reason;  // the system's own words for `code`
    bool lasting = false;  // trying again cannot help (the file was never read)
    explicit operator bool() const { return code != 0; }
};

FileError ErrorOf(DWORD code);
// True for the error of a file (or its folder) that is not there.
bool IsMissing(const FileError& error);
// Whether two paths name the same file, ignoring case as the file system does.
bool SamePath(const std::wstring& a, const std::wstring& b);

// Reads the whole file into `bytes`; refuses a file over `limit` bytes.
FileError ReadWholeFile(const std::wstring& path, std::string& bytes, size_t limit);

// Writes `bytes` to a new file of its own beside `path`, flushes it and puts it in place of
// `path` in one step, with the attributes and permissions `path` had; only then does the
// previous file become `path` + ".bak". On failure `path` and the backup stay as they were.
FileError ReplaceWholeFile(const std::wstring& path, const std::string& bytes);

// `stem`, a random part no other program can guess, and `suffix`.
std::wstring UnguessableName(const std::wstring& stem, const std::wstring& suffix);
// Creates the file `path` for writing, new: fails when anything of that name exists, a link
// planted there included, so what is written goes nowhere else.
win::KernelHandle CreateNewFile(const std::wstring& path);
// Writes all of `bytes` to `file`.
FileError WriteAll(HANDLE file, const std::string& bytes);

// Tests: the writer stops after this many bytes, as on a full disk (SIZE_MAX: never).
void SetWriteLimitForTesting(size_t bytes);

}  // namespace orvale

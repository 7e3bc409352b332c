// Where the exchange file "wy32i.ini" is. A profile file named without a folder lives in the
// Windows folder, which only an administrator may write on today's Windows: there a normal
// user's reset of "result" fails without a word and a stale 1 reads as success, and a legacy
// tool's answers are redirected to the user's VirtualStore copy. Orvale and its macro tool
// decide the place the same way, here, from what the system answers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orvale {

// The files the exchange file may be.
struct ExchangeCandidates {
    std::wstring windowsFile;       // wy32i.ini in the Windows folder
    std::wstring userFile;          // the user's own: Orvale\wy32i.ini in the local app data
    std::wstring virtualStoreFile;  // where Windows redirects a legacy program's writes
};

struct ExchangePlace {
    // Where both programs write, and read unless a newer legacy answer says otherwise.
    std::wstring file;
    // Read for "path" in turn while `file` names no tool: what a legacy tool's installer wrote.
    std::vector<std::wstring> pathFallbacks;
    // A redirected legacy tool's answers ("result", "strres"): read when newer than `file`.
    std::wstring legacyAnswers;
};

// The Windows folder's file when this user can write it (Wine, an administrator, older
// systems), as every program of the family expects; otherwise the user's own file.
ExchangePlace DecideExchangePlace(const ExchangeCandidates& files, bool windowsFileWritable);

// The file that holds the latest answer, given the last-write times of `place.file` and of
// `place.legacyAnswers` (0 for a file that is not there). A tie goes to `place.file`: its
// reset is the later word.
const std::wstring& AnswerFile(const ExchangePlace& place, ULONGLONG fileWritten,
                               ULONGLONG legacyWritten);

// This machine's candidates for this user.
ExchangeCandidates ExchangeCandidatesHere();
// Whether this process may write `path` (made if missing, and then removed again).
bool CanWriteFile(const std::wstring& path);
// The last-write time of `path`; 0 when it is not there.
ULONGLONG LastWriteTime(const std::wstring& path);
// The place decided now, on this machine, for this user.
ExchangePlace ExchangePlaceHere();

}  // namespace orvale

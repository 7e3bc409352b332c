#include "hook/ReportTarget.h"

#include <sddl.h>

#include <cstring>

namespace orvale {

std::wstring ReportTargetName(const std::wstring& userSid, DWORD sessionId) {
    return L"Local\\Orvale.HookReports." + userSid + L"." + std::to_wstring(sessionId);
}

bool OwnUserAndSession(std::wstring& userSid, DWORD& sessionId) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    // The user's SID follows the TOKEN_USER that points to it.
    union {
        TOKEN_USER user;
        BYTE bytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } buffer;
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenUser, &buffer, sizeof buffer, &size);
    CloseHandle(token);
    wchar_t* text = nullptr;
    if (!read || !ConvertSidToStringSidW(buffer.user.User.Sid, &text)) return false;
    userSid = text;
    LocalFree(text);
    return ProcessIdToSessionId(GetCurrentProcessId(), &sessionId) != FALSE;
}

std::wstring OwnReportTargetName() {
    std::wstring userSid;
    DWORD sessionId = 0;
    return OwnUserAndSession(userSid, sessionId) ? ReportTargetName(userSid, sessionId)
                                                 : std::wstring();
}

// Opened, read and let go at once: a handle kept open would keep the record alive after the
// program that made it has ended.
bool ReadReportTarget(const std::wstring& name, ReportTarget& target) {
    HANDLE record = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    if (!record) return false;
    bool read = false;
    if (const void* view = MapViewOfFile(record, FILE_MAP_READ, 0, 0, sizeof target)) {
        std::memcpy(&target, view, sizeof target);
        read = target.size == sizeof target;
        UnmapViewOfFile(view);
    }
    CloseHandle(record);
    return read;
}

}  // namespace orvale

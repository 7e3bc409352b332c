// Where the hook library's reports go. The running Orvale decides it, not the library: before
// it installs the hook it makes a small read-only record, named for the user and the session,
// holding its settings window and its process. The library, in every program on the desktop,
// reads the record at each press it reports and posts to that window only. Nothing a program can
// hand the library through its entries decides where the reports go.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace orvale {

struct ReportTarget {
    uint32_t size = sizeof(ReportTarget);  // a record of another layout is not read
    uint32_t processId = 0;                // the process the window must belong to
    uint64_t window = 0;                   // the settings window
};

// The record of one user (the text form of the user's SID) in one session, in the session's
// own namespace: two users, or one user in two sessions, never share one.
std::wstring ReportTargetName(const std::wstring& userSid, DWORD sessionId);

// The user (the text form of the SID) and the session of the calling process; false when its
// token cannot be read.
bool OwnUserAndSession(std::wstring& userSid, DWORD& sessionId);

// ReportTargetName of the calling process's user and session; empty when they cannot be read.
std::wstring OwnReportTargetName();

// Reads the record; false when there is none, or it is not a whole one.
bool ReadReportTarget(const std::wstring& name, ReportTarget& target);

}  // namespace orvale

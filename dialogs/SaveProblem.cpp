#include "dialogs/SaveProblem.h"

#include <string>

#include "model/SettingsFile.h"

namespace orvale {
namespace {

bool g_failureTold = false;

std::wstring Describe(const wchar_t* what, const FileError& error) {
    std::wstring reason = error.reason;
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) {
        reason.pop_back();
    }
    return std::wstring(what) + L"\n\n" + settingsPath() + L"\n\n" + reason;
}

// A settings file that could not be read at start-up is never saved over: what the program
// holds is not what the file holds.
std::wstring LeftAsItWas(const FileError& error) {
    return Describe(L"When it started, Orvale could not read its settings from", error) +
           L"\n\nIt leaves that file as it was: the changes made since are not saved.";
}

}  // namespace

void ReportSave(HWND owner, const FileError& result) {
    if (!result) {
        g_failureTold = false;
        return;
    }
    if (g_failureTold) return;
    g_failureTold = true;
    std::wstring text = result.lasting
                            ? LeftAsItWas(result)
                            : Describe(L"Orvale could not save its settings to", result) +
                                  L"\n\nYour changes are kept while Orvale runs and saved with "
                                  L"the next change or at exit.";
    MessageBoxW(owner, text.c_str(), L"Orvale", MB_OK | MB_ICONWARNING);
}

bool SaveBeforeLeaving(HWND owner, const std::function<FileError()>& save) {
    for (;;) {
        FileError result = save();
        if (!result) {
            g_failureTold = false;
            return true;
        }
        // No Retry where trying again cannot succeed: the user could only ever cancel.
        if (result.lasting) {
            MessageBoxW(owner, LeftAsItWas(result).c_str(), L"Orvale", MB_OK | MB_ICONWARNING);
            return false;
        }
        std::wstring text = Describe(L"Orvale could not save its settings to", result) +
                            L"\n\nRetry to try again, or Cancel to go on without saving them.";
        if (MessageBoxW(owner, text.c_str(), L"Orvale", MB_RETRYCANCEL | MB_ICONWARNING) !=
            IDRETRY) {
            return false;
        }
    }
}

void ReportUnreadableSettings(HWND owner, const FileError& error) {
    std::wstring text = Describe(L"Orvale could not read its settings from", error) +
                        L"\n\nIt starts without them and leaves the file as it is.";
    MessageBoxW(owner, text.c_str(), L"Orvale", MB_OK | MB_ICONWARNING);
}

}  // namespace orvale

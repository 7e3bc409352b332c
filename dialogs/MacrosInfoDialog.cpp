#include "dialogs/MacrosInfoDialog.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>

#include "model/SettingsFile.h"
#include "resources/resource.h"
#include "win/Dialog.h"

namespace orvale {
namespace {

constexpr const wchar_t* kHelpPage = L"ovehelp.htm";

// A page opened by its file name reaches the browser without the part after "#", so the
// browser that opens web pages is given the whole address. Without one, the page is opened
// at its top.
void OpenMacrosHelp(HWND owner) {
    const std::wstring address = MacrosHelpAddress();
    wchar_t browser[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!address.empty() && SUCCEEDED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE,
                                                        L".htm", L"open", browser, &size))) {
        const std::wstring quoted = L"\"" + address + L"\"";
        auto opened = reinterpret_cast<INT_PTR>(
            ShellExecuteW(owner, L"open", browser, quoted.c_str(), nullptr, SW_SHOWNORMAL));
        if (opened > 32) return;
    }
    ShellExecuteW(owner, L"open", settingsPath(kHelpPage).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

class MacrosInfoDialog : public win::ModalDialog {
public:
    MacrosInfoDialog() : win::ModalDialog(IDD_MACROS_INFO) {}

protected:
    bool OnCommand(int id, int code, HWND control) override {
        if (id != IDC_MACROS_HOME_PAGE) return win::ModalDialog::OnCommand(id, code, control);
        if (code == BN_CLICKED) OpenMacrosHelp(Handle());
        return true;
    }
};

}  // namespace

std::wstring MacrosHelpAddress() {
    const std::wstring page = settingsPath(kHelpPage);
    wchar_t url[INTERNET_MAX_URL_LENGTH] = {};
    DWORD size = INTERNET_MAX_URL_LENGTH;
    if (FAILED(UrlCreateFromPathW(page.c_str(), url, &size, 0))) return std::wstring();
    return std::wstring(url) + L"#macros";
}

void ShowMacrosInformation(HWND owner) {
    MacrosInfoDialog dialog;
    dialog.Run(owner);
}

}  // namespace orvale

#include "dialogs/MacroFileDialog.h"

#include "actions/MacroTool.h"
#include "dialogs/SaveProblem.h"
#include "model/SettingsFile.h"
#include "resources/resource.h"
#include "win/Dialog.h"
#include "win/OpenFileDialog.h"

namespace orvale {
namespace {

constexpr const wchar_t* kSampleFile = L"samples.brd";

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

class MacroFileDialog : public win::ModalDialog {
public:
    MacroFileDialog() : win::ModalDialog(IDD_MACRO_FILE) { BindText(IDC_MACRO_FILE_PATH, path_); }
    const std::wstring& Path() const { return path_; }

protected:
    // Nothing is written until the user confirms; a stored path is shown even when the file
    // is gone.
    bool OnInit() override {
        path_ = readString(L"options", L"brfile");
        if (path_.empty()) {
            path_ = SampleMacroFile(ExchangeFile::ReadPath(ExchangeFile::kMacroTool));
        }
        UpdateData(false);
        return true;
    }

    bool OnCommand(int id, int code, HWND control) override {
        if (id != IDC_MACRO_FILE_BROWSE) return win::ModalDialog::OnCommand(id, code, control);
        if (code == BN_CLICKED) Browse();
        return true;
    }

    // An empty path is stored as it is, so the next opening offers the sample file again.
    void OnOK() override {
        UpdateData(true);
        writeString(L"options", L"brfile", path_);
        ReportSave(Handle(), saveSettings());
        End(IDOK);
    }

private:
    void Browse() {
        win::OpenFileRequest request;
        request.initialName = L"*.brd";
        request.filter = L"*.brd|*.brd|*.*|*.*||";
        const std::wstring chosen = win::AskFileToOpen(Handle(), request);
        if (!chosen.empty()) SetDlgItemTextW(Handle(), IDC_MACRO_FILE_PATH, chosen.c_str());
    }

    std::wstring path_;
};

}  // namespace

std::wstring SampleMacroFile(const std::wstring& toolCommand) {
    const std::wstring program = MacroToolProgram(toolCommand);
    if (program.find(L'\\') != std::wstring::npos) return FolderOf(program) + kSampleFile;
    wchar_t found[MAX_PATH] = {};
    const DWORD length = program.empty() ? 0 : SearchPathW(nullptr, program.c_str(), L".exe",
                                                         MAX_PATH, found, nullptr);
    if (length > 0 && length < MAX_PATH) return FolderOf(found) + kSampleFile;
    return settingsPath(kSampleFile);
}

bool chooseMacroFile(HWND owner, std::wstring& file) {
    MacroFileDialog dialog;
    if (dialog.Run(owner) != IDOK) return false;
    file = dialog.Path();
    return true;
}

}  // namespace orvale

#include "dialogs/AddKeyDialog.h"

#include "actions/KeySequence.h"
#include "resources/resource.h"
#include "win/Dialog.h"

namespace orvale {
namespace {

class AddSpecialKeyDialog : public win::ModalDialog {
public:
    AddSpecialKeyDialog() : win::ModalDialog(IDD_ADD_SPECIAL_KEY) {}
    const std::wstring& Token() const { return token_; }

protected:
    bool OnInit() override {
        HWND list = Item(IDC_SPECIAL_KEYS);
        for (const SpecialKey& key : SpecialKeyTable) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(key.name));
        }
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        return true;
    }

    // A double click on a key adds it, as "Add" does.
    bool OnCommand(int id, int code, HWND control) override {
        if (id == IDC_SPECIAL_KEYS && code == LBN_DBLCLK) {
            OnOK();
            return true;
        }
        return win::ModalDialog::OnCommand(id, code, control);
    }

    void OnOK() override {
        LRESULT chosen = SendMessageW(Item(IDC_SPECIAL_KEYS), LB_GETCURSEL, 0, 0);
        if (chosen < 0 || chosen >= kKeyTokenCount) return;
        token_ = SpecialKeyTable[chosen].token;
        End(IDOK);
    }

private:
    std::wstring token_;
};

}  // namespace

bool AskSpecialKey(HWND owner, std::wstring& token) {
    AddSpecialKeyDialog dialog;
    if (dialog.Run(owner) != IDOK) return false;
    token = dialog.Token();
    return true;
}

}  // namespace orvale

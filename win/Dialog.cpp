#include "win/Dialog.h"

#include <algorithm>

#include "win/ScreenPlace.h"
#include "win/Text.h"

namespace win {
namespace {

// Modeless dialogs alive on this thread, for keyboard navigation in the message loop.
std::vector<HWND>& ModelessWindows() {
    static std::vector<HWND> windows;
    return windows;
}

void ForgetModeless(HWND hwnd) {
    auto& windows = ModelessWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), hwnd), windows.end());
}

// Messages whose dialog-procedure return value is the result itself rather than a flag.
bool ReturnsResultDirectly(UINT msg) {
    switch (msg) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool Dialog::PreTranslate(MSG& msg) {
    for (HWND hwnd : ModelessWindows()) {
        if (IsWindow(hwnd) && IsDialogMessageW(hwnd, &msg)) return true;
    }
    return false;
}

bool Dialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_INITDIALOG:
        // Where the system centres a dialog without an owner is its own choice (often the
        // first monitor); ours is the monitor the user works on.
        if (GetWindowLongW(Handle(), GWL_STYLE) & DS_CENTER) CentreOnWorkingMonitor(Handle());
        result = OnInit() ? TRUE : FALSE;
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        return header && OnNotify(static_cast<int>(header->idFrom), *header, result);
    }
    case WM_TIMER:
        return OnTimer(wp);
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (!measure || !OnMeasureItem(static_cast<int>(wp), *measure)) return false;
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (!draw || !OnDrawItem(static_cast<int>(wp), *draw)) return false;
        result = TRUE;
        return true;
    }
    case WM_DESTROY:
        OnDestroy();
        return false;
    default:
        return false;
    }
}

void Dialog::OnOK() {
    UpdateData(true);
    End(IDOK);
}

bool Dialog::OnCommand(int id, int /*code*/, HWND /*control*/) {
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

void Dialog::BindCheck(int id, int& value) { bindings_.push_back({Binding::Check, id, &value}); }
void Dialog::BindText(int id, std::wstring& value) {
    bindings_.push_back({Binding::Text, id, &value});
}

void Dialog::UpdateData(bool fromControls) {
    for (const Binding& binding : bindings_) {
        HWND control = Item(binding.id);
        switch (binding.kind) {
        case Binding::Check: {
            int& value = *static_cast<int*>(binding.value);
            if (fromControls) {
                value = IsDlgButtonChecked(Handle(), binding.id) == BST_CHECKED ? 1 : 0;
            } else {
                CheckDlgButton(Handle(), binding.id, value ? BST_CHECKED : BST_UNCHECKED);
            }
            break;
        }
        case Binding::Text: {
            std::wstring& value = *static_cast<std::wstring*>(binding.value);
            if (fromControls) {
                value = WindowText(control);
            } else {
                SetWindowTextW(control, value.c_str());
            }
            break;
        }
        }
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) ForgetModeless(hwnd);
    Attached* self = FromWindow(hwnd);
    if (!self) {
        self = Attach(hwnd, msg == WM_INITDIALOG ? reinterpret_cast<Attached*>(lp) : nullptr);
        if (!self) return FALSE;
    }
    LRESULT result = 0;
    if (!Deliver(self, msg, wp, lp, result)) return FALSE;
    if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
    // The window may be gone by now (the handler ended it); then nobody reads the result.
    if (IsWindow(hwnd)) SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR ModalDialog::Run(HWND owner) {
    ExpectWindowFor(this);
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TemplateId()),
                                     owner, Procedure, reinterpret_cast<LPARAM>(this));
    ExpectWindowFor(nullptr);
    return result;
}

void ModalDialog::End(int result) {
    if (Handle()) EndDialog(Handle(), result);
}

bool ModelessDialog::Create(HWND owner) {
    ExpectWindowFor(this);
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TemplateId()),
                                   owner, Procedure, reinterpret_cast<LPARAM>(this));
    ExpectWindowFor(nullptr);
    if (hwnd) ModelessWindows().push_back(hwnd);
    return hwnd != nullptr;
}

void ModelessDialog::Destroy() {
    if (Handle()) DestroyWindow(Handle());
}

void ModelessDialog::End(int /*result*/) { Destroy(); }

}  // namespace win

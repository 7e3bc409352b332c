#include "win/Dialog.h"

#include <algorithm>
#include <cstdlib>

namespace win {
namespace {

// Modeless dialogs alive on this thread, for keyboard navigation in the message loop.
std::vector<HWND>& ModelessWindows() {
    static std::vector<HWND> windows;
    return windows;
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

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

Dialog::~Dialog() {
    HWND hwnd = hwnd_;
    Detach();
    if (hwnd && !modal_ && IsWindow(hwnd)) DestroyWindow(hwnd);
}

INT_PTR Dialog::RunModal(HWND owner) {
    modal_ = true;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                           Procedure, reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND owner) {
    modal_ = false;
    HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                   owner, Procedure, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void Dialog::Destroy() {
    if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

bool Dialog::PreTranslate(MSG& msg) {
    for (HWND hwnd : ModelessWindows()) {
        if (IsWindow(hwnd) && IsDialogMessageA(hwnd, &msg)) return true;
    }
    return false;
}

void Dialog::End(int result) {
    if (!hwnd_) return;
    if (modal_) {
        EndDialog(hwnd_, result);
    } else {
        DestroyWindow(hwnd_);
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

void Dialog::BindInt(int id, int& value) { bindings_.push_back({Binding::Int, id, &value}); }
void Dialog::BindCheck(int id, int& value) { bindings_.push_back({Binding::Check, id, &value}); }
void Dialog::BindText(int id, std::string& value) {
    bindings_.push_back({Binding::Text, id, &value});
}

void Dialog::UpdateData(bool fromControls) {
    for (const Binding& binding : bindings_) {
        HWND control = Item(binding.id);
        switch (binding.kind) {
        case Binding::Int: {
            int& value = *static_cast<int*>(binding.value);
            if (fromControls) {
                value = std::atoi(WindowText(control).c_str());
            } else {
                SetDlgItemInt(hwnd_, binding.id, static_cast<UINT>(value), TRUE);
            }
            break;
        }
        case Binding::Check: {
            int& value = *static_cast<int*>(binding.value);
            if (fromControls) {
                value = IsDlgButtonChecked(hwnd_, binding.id) == BST_CHECKED ? 1 : 0;
            } else {
                CheckDlgButton(hwnd_, binding.id, value ? BST_CHECKED : BST_UNCHECKED);
            }
            break;
        }
        case Binding::Text: {
            std::string& value = *static_cast<std::string*>(binding.value);
            if (fromControls) {
                value = WindowText(control);
            } else {
                SetWindowTextA(control, value.c_str());
            }
            break;
        }
        }
    }
}

void Dialog::Detach() {
    if (!hwnd_) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    auto& windows = ModelessWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), hwnd_), windows.end());
    hwnd_ = nullptr;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (!self->modal_) ModelessWindows().push_back(hwnd);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return FALSE;
    // No exception may cross into the system's dialog manager.
    try {
        return self->Dispatch(msg, wp, lp);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInit() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        LRESULT result = OnNotify(reinterpret_cast<NMHDR*>(lp));
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_TIMER:
        OnTimer(wp);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        Detach();
        return FALSE;
    default:
        break;
    }
    LRESULT result = 0;
    if (!OnMessage(msg, wp, lp, result)) return FALSE;
    if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace win

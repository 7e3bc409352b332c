#include "app/HostFrame.h"

#include "app/Services.h"
#include "app/SettingsWindow.h"
#include "engine/BarTable.h"
#include "resources/resource.h"

namespace orvale {

HostFrame::HostFrame() : Dialog(IDD_HOST_FRAME) {}
HostFrame::~HostFrame() = default;

int HostFrame::Run() {
    if (!CreateModeless(nullptr)) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (Dialog::PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

bool HostFrame::OnInit() {
    SetHostFrameWindow(Handle());
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ORVALE));
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    // The frame is never on screen.
    SetWindowPos(Handle(), nullptr, 10000, 10000, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_HIDE);
    settings_ = std::make_unique<SettingsWindow>();
    settings_->Create(Handle());
    PostMessageA(Handle(), WM_COMMAND, IDC_FRAME_HIDE, 0);
    SetTimer(Handle(), 1, 1000, nullptr);
    return false;
}

bool HostFrame::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_FRAME_HIDE:
        ShowWindow(Handle(), SW_HIDE);
        return true;
    case IDC_FRAME_CLOSE:
        Close();
        return true;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

void HostFrame::OnTimer(UINT_PTR id) {
    if (id == 1 && IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
}

void HostFrame::OnCancel() { Close(); }

void HostFrame::Close() {
    settings_.reset();
    End(IDCANCEL);
}

void HostFrame::OnDestroy() {
    // The bar windows are owned by the frame and go with it.
    DestroyAllBarWindows();
    SetHostFrameWindow(nullptr);
    PostQuitMessage(0);
}

}  // namespace orvale

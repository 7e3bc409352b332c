#include "app/HostFrame.h"

#include "app/SettingsWindow.h"
#include "engine/BarTable.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"

namespace orvale {

HostFrame::HostFrame() : ModelessDialog(IDD_HOST_FRAME) {}
HostFrame::~HostFrame() = default;

int HostFrame::Run() {
    if (!Create(nullptr)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (Dialog::PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

bool HostFrame::OnInit() {
    win::SetHostFrameWindow(Handle());
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ORVALE));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    // The frame is never on screen.
    SetWindowPos(Handle(), nullptr, win::kOffScreen, win::kOffScreen, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_HIDE);
    settings_ = win::MakeOwned<SettingsWindow>();
    settings_->Create(Handle());
    PostMessageW(Handle(), WM_COMMAND, IDC_FRAME_HIDE, 0);
    return false;
}

bool HostFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // Whatever shows the frame, it is hidden again on the next message turn.
    if (msg == WM_WINDOWPOSCHANGED &&
        (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW)) {
        PostMessageW(Handle(), WM_COMMAND, IDC_FRAME_HIDE, 0);
    }
    return ModelessDialog::OnMessage(msg, wp, lp, result);
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
        return ModelessDialog::OnCommand(id, code, control);
    }
}

void HostFrame::OnCancel() { Close(); }

void HostFrame::Close() {
    // The settings window is destroyed before its object goes, so its own end (timer, hook,
    // tray icon) runs. An Exit saved the settings before it ended the settings window.
    settings_.reset();
    // Nothing is left to write or to remove. The program ends here and the system takes its
    // windows with it at once: destroying the bars and their two thousand buttons one by one
    // kept an ended program running for seconds.
    LetGoOfAllBarWindows();
    ExitProcess(0);
}

}  // namespace orvale

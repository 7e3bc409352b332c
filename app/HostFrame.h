// The hidden host frame ("OV32 Frame"): the application's main window and the owner of every
// other top-level window of the program. The program runs while the frame runs.
#pragma once

#include "win/Dialog.h"

namespace orvale {

class SettingsWindow;

class HostFrame : public win::ModelessDialog {
public:
    HostFrame();
    ~HostFrame() override;
    // Creates the frame and runs the message loop; closing the frame ends the process.
    int Run();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOK() override { Close(); }
    void OnCancel() override;

private:
    // Ends the settings window, then the process, without destroying the bars one by one.
    void Close();
    win::Owned<SettingsWindow> settings_;
};

}  // namespace orvale

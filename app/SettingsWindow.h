// The settings window ("Orvale"): the only window the user normally sees. It starts and ends
// the tracker, and the hook library's reports arrive at it as commands.
#pragma once

#include "app/SettingsPages.h"
#include "app/TrayIcon.h"
#include "win/Dialog.h"
#include "win/Dpi.h"
#include "win/Handles.h"

namespace orvale {

class SettingsWindow : public win::ModelessDialog {
public:
    SettingsWindow();
    ~SettingsWindow() override;

    // Shows the window for the user (tray left click, "Settings...").
    void ShowForUser();

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR& header, LRESULT& result) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnMeasureItem(int id, MEASUREITEMSTRUCT& measure) override;
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& draw) override;
    void OnOK() override {}  // Enter does not close the window
    // Escape, the "Close" button and File > Close.
    void OnCancel() override { Close(); }
    void OnDestroy() override;

private:
    void Apply();
    void Close();
    void OnCloseRequest();
    void RequestExit(bool fromTray);
    void ToggleEnable();
    void OpenHelp();
    void OnTrayMessage(LPARAM mouseMessage);
    void PlaceAsSaved();
    void OnMoved();
    void OnMinimized();
    void HideWindows();
    void PaintTitle(HDC dc);
    void FitAroundControls();
    void LoadIcons();
    void ChangeDpi(UINT dpi);

    int shownByUser_ = 0;
    int exitRequested_ = 0;  // the next close of the window ends the program
    bool dragging_ = false;  // the user is moving the window; its place is saved at the end
    bool placeUnsaved_ = false;  // a new place written but not saved yet
    int initialised_ = 0;
    int taskBarEnableCopy_ = 0;
    int globalEnableCopy_ = 1;
    bool trayLeftPressed_ = false;  // since the last right press on the tray icon

    UINT dpi_ = win::kDesignDpi;  // the window's: its icons, lists and painted title
    win::IconHandle smallIcon_;
    win::IconHandle bigIcon_;
    TrayIcon tray_;
    SettingsPages pages_;
    UINT taskbarCreatedMessage_ = 0;
};

}  // namespace orvale

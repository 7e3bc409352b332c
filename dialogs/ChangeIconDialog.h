// "Change Icon": every icon of a file side by side, with a preview of the chosen one. Opened
// on an item's icon file and index; OK gives back the file and the index.
#pragma once

#include <string>
#include <vector>

#include "win/Dialog.h"
#include "win/Handles.h"

namespace orvale {

// One cell of the icon list: the icon of one index of the file, owned by the row.
struct IconEntry {
    win::IconHandle icon;
};

class ChangeIconDialog : public win::ModalDialog {
public:
    ChangeIconDialog(std::wstring file, int index);
    const std::wstring& File() const { return file_; }
    // The chosen icon's index; -1 when the file holds no icons.
    int Index() const { return index_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMeasureItem(int id, MEASUREITEMSTRUCT& measure) override;
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& draw) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void ShowFileName();
    void ReadControls();
    void FillList();
    void LoadIcons();
    void ShowSelectedIcon();
    void Browse();
    void FileNameLeft();
    UINT Dpi() const;
    int IconSize() const;
    int CellSize() const;
    void SizeCells();
    void ChangeDpi(UINT dpi);

    std::wstring file_;
    int index_;
    std::wstring remembered_;  // the file name when the edit last got the focus
    std::wstring listed_;      // the file whose icons the list shows
    bool edited_ = false;      // the user changed the file name since the list was filled
    bool showing_ = false;     // the dialog itself is putting the file name into the edit
    UINT dpi_ = 0;             // the dialog's; 0 until it is known
    std::vector<IconEntry> entries_;
    win::IconHandle preview_;  // a copy: the preview outlives the list's fills
};

}  // namespace orvale

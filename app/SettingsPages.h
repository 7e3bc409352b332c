// The pages of the settings window's tabs ("Global Menu Bars", "Context Menu Bars", "Menu
// TaskBar"): which controls each tab shows, and the two lists of menu bars, one row a bar
// (number and name) checked while the bar is enabled. A row's check reaches its bar on Apply
// and before the bar's editor opens; the editor opens from a row or the page's button.
#pragma once

#include <windows.h>

#include "win/CheckList.h"
#include "win/Dialog.h"

namespace orvale {

class SettingsPages {
public:
    // Takes over the lists of `window` (which outlives the pages); rows come with Refresh.
    void Attach(win::Dialog& window);
    // Inserts the tabs and shows the first.
    void ShowTabs();
    // The lists' rows at `dpi`, the window's.
    void SetDpi(UINT dpi);
    // Widens the tab control to hold its texts in the window's font of the moment.
    void FitTabs();

    // Fills both lists afresh from the bars, keeping each list's selected row.
    void Refresh();
    // Enables the bars whose rows are checked (building their windows) and disables the others.
    void ApplyChecks();

    // The window's messages about its pages; each returns true when it handled the message.
    bool OnCommand(int id, int code);
    bool OnNotify(int id, const NMHDR& header);
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& draw);
    // The rows are measured as the lists are created, before the window's initialisation.
    static bool OnMeasureItem(int id, MEASUREITEMSTRUCT& measure);

private:
    void SwitchTab(int index);
    void FitTabsTheirTexts(HWND tabs);
    void EditGlobalBar();
    void EditContextBar();
    void EditContextList();

    win::Dialog* window_ = nullptr;
    win::CheckList globalList_;
    win::CheckList contextList_;
};

}  // namespace orvale

#include "app/SettingsPages.h"

#include <commctrl.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "dialogs/BarEditor.h"
#include "dialogs/BarEditorDialog.h"
#include "dialogs/ContextDialog.h"
#include "engine/BarTable.h"
#include "model/BarModel.h"
#include "resources/resource.h"

namespace orvale {
namespace {

constexpr int kGlobalBarCount = 3;
constexpr int kContextBarCount = 29;

struct Tab {
    const wchar_t* text;
    const wchar_t* description;
    int shows[3];  // its controls; 0 for none
};
const Tab kTabs[] = {
    {L"Global Menu Bars", L"Global menu bar appears next to context menu in all applications.",
     {IDC_GLOBAL_BARS, IDC_GLOBAL_SETTINGS, 0}},
    {L"Context Menu Bars",
     L"Context menu bar appears next to context menu only in windows defined under "
     L"\"Context\" button.",
     {IDC_CONTEXT_BARS, IDC_CONTEXT_SETTINGS, IDC_CONTEXT_LIST_BUTTON}},
    {L"Menu TaskBar",
     L"Menu TaskBar allows you to switch applications without necessity to move mouse.",
     {IDC_TASKBAR_ENABLE, IDC_TASKBAR_SETTINGS, 0}},
};
constexpr int kTabCount = static_cast<int>(std::size(kTabs));

// " 1. Tools", numbered from 1 in a field of two.
std::wstring RowText(int number, const std::wstring& name) {
    wchar_t prefix[16];
    std::swprintf(prefix, 16, L" %2d. ", number);
    return prefix + name;
}

}  // namespace

void SettingsPages::Attach(win::Dialog& window) {
    window_ = &window;
    globalList_.Attach(window.Item(IDC_GLOBAL_BARS));
    contextList_.Attach(window.Item(IDC_CONTEXT_BARS));
}

void SettingsPages::ShowTabs() {
    HWND tabs = window_->Item(IDC_TABS);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMW tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>(kTabs[i].text);
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
    FitTabsTheirTexts(tabs);
    SwitchTab(0);
}

void SettingsPages::SetDpi(UINT dpi) {
    globalList_.SetDpi(dpi);
    contextList_.SetDpi(dpi);
}

void SettingsPages::FitTabs() { FitTabsTheirTexts(window_->Item(IDC_TABS)); }

// The tab texts barely fit the control at its usual size; in a wider font they would not, and
// the control would scroll its first tab out of sight behind arrows. It grows to hold them all
// instead (the window grows around it).
void SettingsPages::FitTabsTheirTexts(HWND tabs) {
    RECT last = {}, control = {};
    if (!SendMessageW(tabs, TCM_GETITEMRECT, kTabCount - 1, reinterpret_cast<LPARAM>(&last))) {
        return;
    }
    GetClientRect(tabs, &control);
    const int spare = GetSystemMetrics(SM_CXEDGE) * 4;
    const LONG missing = last.right + spare - control.right;
    if (missing <= 0) return;
    GetWindowRect(tabs, &control);
    SetWindowPos(tabs, nullptr, 0, 0, control.right - control.left + missing,
                 control.bottom - control.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsPages::SwitchTab(int index) {
    if (index < 0 || index >= kTabCount) return;
    SendMessageW(window_->Item(IDC_TABS), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (const Tab& tab : kTabs) {
        for (int id : tab.shows) {
            if (id) ShowWindow(window_->Item(id), SW_HIDE);
        }
    }
    for (int id : kTabs[index].shows) {
        if (id) ShowWindow(window_->Item(id), SW_SHOW);
    }
    SetWindowTextW(window_->Item(IDC_TAB_DESCRIPTION), kTabs[index].description);
    // The window's check boxes show the values it holds again, as after every switch.
    window_->UpdateData(false);
}

void SettingsPages::Refresh() {
    auto refill = [](win::CheckList& list, int firstBar, int count) {
        int selected = list.Selection();
        list.Clear();
        for (int i = 0; i < count; ++i) {
            const BarDef& bar = barDefs[firstBar + i];
            list.AddRow(RowText(i + 1, bar.Name()), bar.enabled != 0);
        }
        list.Select(selected >= 0 && selected < count ? selected : 0);
    };
    refill(contextList_, kFirstContextBar, kContextBarCount);
    refill(globalList_, 1, kGlobalBarCount);
}

void SettingsPages::ApplyChecks() {
    auto apply = [](win::CheckList& list, int row, int number) {
        if (row >= list.Count()) return;
        if (list.IsChecked(row)) {
            barDefs[number].enabled = 1;
            CreateMenuBarWindow(number);
        } else {
            barDefs[number].enabled = 0;
            DestroyBarWindow(number);
        }
    };
    for (int i = 0; i < kContextBarCount; ++i) apply(contextList_, i, kFirstContextBar + i);
    for (int i = 0; i < kGlobalBarCount; ++i) apply(globalList_, i, 1 + i);
}

bool SettingsPages::OnCommand(int id, int code) {
    switch (id) {
    case IDC_GLOBAL_SETTINGS: EditGlobalBar(); return true;
    case IDC_CONTEXT_SETTINGS: EditContextBar(); return true;
    case IDC_CONTEXT_LIST_BUTTON: EditContextList(); return true;
    case IDC_TASKBAR_SETTINGS: EditBar(barDefs[0], window_->Handle()); return true;
    case IDC_GLOBAL_BARS:
        if (code == LBN_DBLCLK) EditGlobalBar();
        return true;
    case IDC_CONTEXT_BARS:
        if (code == LBN_DBLCLK) EditContextBar();
        return true;
    default:
        return false;
    }
}

bool SettingsPages::OnNotify(int id, const NMHDR& header) {
    if (id != IDC_TABS || header.code != TCN_SELCHANGE) return false;
    SwitchTab(static_cast<int>(SendMessageW(window_->Item(IDC_TABS), TCM_GETCURSEL, 0, 0)));
    return true;
}

bool SettingsPages::OnMeasureItem(int id, MEASUREITEMSTRUCT& measure) {
    if (id != IDC_GLOBAL_BARS && id != IDC_CONTEXT_BARS) return false;
    win::CheckList::Measure(measure);
    return true;
}

bool SettingsPages::OnDrawItem(int id, const DRAWITEMSTRUCT& draw) {
    if (id == IDC_GLOBAL_BARS) {
        globalList_.Draw(draw);
    } else if (id == IDC_CONTEXT_BARS) {
        contextList_.Draw(draw);
    } else {
        return false;
    }
    return true;
}

// With a bar editor open, the checks wait for it: it may rebuild the very bar it edits.
void SettingsPages::EditGlobalBar() {
    int row = globalList_.Selection();
    if (row < 0 || BringOpenBarEditorToFront()) return;
    window_->UpdateData(true);
    ApplyChecks();
    BarDef& bar = barDefs[1 + row];
    bar.enabled = globalList_.IsChecked(row) ? 1 : 0;
    if (EditBar(bar, window_->Handle())) {
        globalList_.SetChecked(row, bar.enabled != 0);
        Refresh();
    }
    window_->UpdateData(false);
}

void SettingsPages::EditContextBar() {
    int row = contextList_.Selection();
    if (row < 0 || BringOpenBarEditorToFront()) return;
    ApplyChecks();
    if (EditBar(barDefs[kFirstContextBar + row], window_->Handle())) Refresh();
}

void SettingsPages::EditContextList() {
    int row = contextList_.Selection();
    if (row >= 0) editList(row);
}

}  // namespace orvale

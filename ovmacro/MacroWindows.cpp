#include "ovmacro/MacroWindows.h"

#include <commctrl.h>

#include "ovmacro/MacroIds.h"
#include "ovmacro/Tell.h"
#include "win/Dialog.h"
#include "win/Handles.h"
#include "win/Text.h"

namespace ovmacro {
namespace {

// A window started by Orvale comes up in front of the program that asked for it.
void ComeForward(HWND window) {
    SetForegroundWindow(window);
    BringWindowToTop(window);
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

class SelectWindow : public win::ModalDialog {
public:
    SelectWindow(const MacroBook& book, const std::wstring& file)
        : win::ModalDialog(IDD_OVM_SELECT), book_(book), file_(file) {}
    std::wstring chosen;

protected:
    bool OnInit() override {
        SetDlgItemTextW(Handle(), IDC_OVM_HEADING, (L"Macros in " + file_ + L":").c_str());
        HWND list = Item(IDC_OVM_MACROS);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
        RECT area = {};
        GetClientRect(list, &area);
        const int stepsWidth = area.right / 4;
        AddColumn(list, 0, L"Macro", area.right - stepsWidth - GetSystemMetrics(SM_CXVSCROLL));
        AddColumn(list, 1, L"Steps", stepsWidth);
        for (size_t i = 0; i < book_.macros.size(); ++i) {
            LVITEMW row = {};
            row.mask = LVIF_TEXT;
            row.iItem = static_cast<int>(i);
            row.pszText = const_cast<wchar_t*>(book_.macros[i].name.c_str());
            ListView_InsertItem(list, &row);
            std::wstring steps = std::to_wstring(book_.macros[i].StepCount());
            ListView_SetItemText(list, row.iItem, 1, &steps[0]);
        }
        if (!book_.macros.empty()) {
            ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
        EnableWindow(Item(IDOK), Selected() >= 0);
        ComeForward(Handle());
        SetFocus(list);
        return false;
    }

    bool OnNotify(int id, NMHDR& header, LRESULT& /*result*/) override {
        if (id != IDC_OVM_MACROS) return false;
        if (header.code == LVN_ITEMCHANGED) EnableWindow(Item(IDOK), Selected() >= 0);
        if (header.code == NM_DBLCLK && Selected() >= 0) OnOK();
        return false;
    }

    void OnOK() override {
        const int row = Selected();
        if (row < 0) return;
        chosen = book_.macros[static_cast<size_t>(row)].name;
        End(IDOK);
    }

private:
    int Selected() const {
        return ListView_GetNextItem(Item(IDC_OVM_MACROS), -1, LVNI_SELECTED);
    }

    const MacroBook& book_;
    std::wstring file_;
};

class EditWindow : public win::ModalDialog {
public:
    EditWindow(const Macro& macro, const std::wstring& file, const StoreStepsFn& store)
        : win::ModalDialog(IDD_OVM_EDIT), macro_(macro), file_(file), store_(store) {}

protected:
    bool OnInit() override {
        const std::wstring heading = L"Steps of " + macro_.name + L" in " + file_ + L":";
        SetDlgItemTextW(Handle(), IDC_OVM_HEADING, heading.c_str());
        HWND steps = Item(IDC_OVM_STEPS);
        // Steps line up in a font of even width, as large as the window's own.
        LOGFONTW look = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)),
                   sizeof look, &look);
        look.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        lstrcpynW(look.lfFaceName, L"Courier New", LF_FACESIZE);
        font_.Reset(CreateFontIndirectW(&look));
        if (font_) SendMessageW(steps, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        SendMessageW(steps, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextW(steps, FormatSteps(macro_.steps).c_str());
        ComeForward(Handle());
        SetFocus(steps);
        SendMessageW(steps, EM_SETSEL, 0, 0);
        return false;
    }

    void OnOK() override {
        HWND edit = Item(IDC_OVM_STEPS);
        std::vector<Step> steps;
        TextError error;
        if (!ParseSteps(win::WindowText(edit), steps, error)) {
            Tell(Handle(), L"Line " + std::to_wstring(error.line) + L" cannot be read. " +
                               error.why);
            ShowLine(edit, error.line);
            return;
        }
        const std::wstring problem = store_(steps);
        if (!problem.empty()) {
            Tell(Handle(), problem);
            return;
        }
        End(IDOK);
    }

private:
    static void ShowLine(HWND edit, size_t line) {
        const LRESULT start = SendMessageW(edit, EM_LINEINDEX, line - 1, 0);
        const LRESULT length = SendMessageW(edit, EM_LINELENGTH, start, 0);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, start, start + length);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }

    const Macro& macro_;
    std::wstring file_;
    StoreStepsFn store_;
    win::FontHandle font_;
};

}  // namespace

bool ChooseMacro(const MacroBook& book, const std::wstring& file, std::wstring& chosen) {
    SelectWindow window(book, file);
    if (window.Run(nullptr) != IDOK) return false;
    chosen = window.chosen;
    return true;
}

bool EditSteps(const Macro& macro, const std::wstring& file, const StoreStepsFn& store) {
    EditWindow window(macro, file, store);
    return window.Run(nullptr) == IDOK;
}

}  // namespace ovmacro

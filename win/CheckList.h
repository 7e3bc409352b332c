// An owner-drawn list box whose rows carry a check box (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS).
// The parent forwards WM_DRAWITEM and WM_MEASUREITEM for the list here.
#pragma once

#include <windows.h>

#include <string>

#include "win/Subclass.h"

namespace win {

class CheckList : public Subclass {
public:
    void Clear();
    void AddRow(const std::wstring& text, bool checked);
    int Count() const;
    int Selection() const;  // -1 when nothing is selected
    void Select(int row);
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);

    // A row's height as the list is created, at the system's DPI.
    static void Measure(MEASUREITEMSTRUCT& measure);
    // Rows and check boxes from now on at `dpi`: each row as tall as that DPI's check box.
    void SetDpi(UINT dpi);
    void Draw(const DRAWITEMSTRUCT& draw) const;

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int CheckWidth() const;
    void Toggle(int row);

    UINT dpi_ = 0;  // 0: the system's
};

}  // namespace win

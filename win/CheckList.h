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

    static void Measure(MEASUREITEMSTRUCT& measure);
    void Draw(const DRAWITEMSTRUCT& draw) const;

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    int CheckWidth() const;
    void Toggle(int row);
};

}  // namespace win

// A check list's row shows its text whatever its length (a bar's name may be of any length).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "win/CheckList.h"

TEST(CheckList, ARowShowsItsTextWhateverItsLength) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND box = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                               0, 0, 300, 100, parent, nullptr, nullptr, nullptr);
    win::CheckList list;
    ASSERT_TRUE(list.Attach(box));
    const RECT row = {0, 0, 300, 20};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, row.right, row.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF background = GetNearestColor(dc, GetSysColor(COLOR_WINDOW));

    for (size_t length : {5, 511, 512, 5000}) {
        list.Clear();
        list.AddRow(L" 1. " + std::wstring(length, L'W'), false);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_LISTBOX;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hwndItem = box;
        draw.hDC = dc;
        draw.rcItem = row;
        list.Draw(draw);
        // Right of the check box, only text differs from the window's colour.
        int inked = 0;
        for (int x = GetSystemMetrics(SM_CXMENUCHECK) + 4; x < row.right; ++x) {
            for (int y = 0; y < row.bottom; ++y) inked += GetPixel(dc, x, y) != background;
        }
        EXPECT_GT(inked, 0) << "no text drawn for a row of " << length + 4 << " characters";
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyWindow(parent);
}

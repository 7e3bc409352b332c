// The "Change Icon" dialog, driven through its controls: what the list shows for a file, what
// OK gives back, and that its icons are released.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "DialogDriver.h"
#include "Harness.h"
#include "dialogs/ChangeIconDialog.h"
#include "resources/resource.h"

using namespace orvale;
using namespace testing_support;

namespace {

const std::wstring kProgram = win::Widen(BinDir() + "\\orvale.exe");

int IconsIn(const std::wstring& file) {
    return static_cast<int>(ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0));
}
LRESULT ListAsk(HWND dialog, UINT message, WPARAM wp = 0) {
    return SendDlgItemMessageW(dialog, IDC_ICON_LIST, message, wp, 0);
}

}  // namespace

TEST(ChangeIconDialog, ListsTheFilesIconsAndTheFirstOkClosesWithFileAndIndex) {
    const int count = IconsIn(kProgram);
    ASSERT_GT(count, 3) << "the program file holds several icons";
    const struct {
        std::wstring file;
        int index, listed, selected, closedIndex;
    } cases[] = {
        {kProgram, 2, count, 2, 2},
        {kProgram, count + 5, count, 0, 0},  // beyond the count: the first icon
        {L"default", 0, 0, -1, -1},          // names no file: an empty list
    };
    for (const auto& c : cases) {
        ChangeIconDialog dialog(c.file, c.index);
        EXPECT_EQ(IDOK, RunDriven(dialog, "Change Icon", [&](HWND d) {
            EXPECT_EQ(c.listed, ListAsk(d, LB_GETCOUNT));
            EXPECT_EQ(c.selected, ListAsk(d, LB_GETCURSEL));
            EXPECT_EQ(c.listed > 0,
                      SendDlgItemMessageW(d, IDC_ICON_PREVIEW, STM_GETICON, 0, 0) != 0);
            ClickCentre(GetDlgItem(d, IDOK));  // once: the dialog's own text is no user's edit
        })) << win::Narrow(c.file) << " " << c.index;
        EXPECT_EQ(c.file, dialog.File());
        EXPECT_EQ(c.closedIndex, dialog.Index());
    }
}

// A browsed name is the dialog's own text, no edit of the user's: the double click after it
// is the first OK and closes.
TEST(ChangeIconDialog, ATypedFileLoadsOnEnterABrowsedOneAtItsFirstIconAndADoubleClickChooses) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring library = std::wstring(system) + L"\\shell32.dll";
    ChangeIconDialog dialog(L"default", 0);
    INT_PTR result = -2;
    EXPECT_TRUE(PlayDialogs(
        {{"Change Icon",
          [&](HWND d) {  // Enter in the file-name edit, through the dialog's message loop
              TypeInto(d, IDC_ICON_FILE, kProgram);
              SetFocus(GetDlgItem(d, IDC_ICON_FILE));
              PostMessageW(GetDlgItem(d, IDC_ICON_FILE), WM_KEYDOWN, VK_RETURN, 0);
          }},
         {"Change Icon",
          [&](HWND d) {
              EXPECT_EQ(IconsIn(kProgram), ListAsk(d, LB_GETCOUNT))
                  << "Enter loads the typed file and stays open";
              ListAsk(d, LB_SETCURSEL, 5);
              EXPECT_TRUE(PressPlaying(d, IDC_ICON_BROWSE, {{"Open", [&](HWND open) {
                  ChooseInFileDialog(open, library);
              }}}));
              EXPECT_EQ(library, TextOf(d, IDC_ICON_FILE));
              EXPECT_EQ(IconsIn(library), ListAsk(d, LB_GETCOUNT));
              EXPECT_EQ(0, ListAsk(d, LB_GETCURSEL));
              ClickItem(GetDlgItem(d, IDC_ICON_LIST), LB_GETITEMRECT, 3);
              EXPECT_TRUE(WaitUntil([&] { return ListAsk(d, LB_GETCURSEL) == 3; }));
              Press(d, IDC_ICON_LIST, LBN_DBLCLK);
          }}},
        [&] { result = dialog.Run(nullptr); }));
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(library, dialog.File());
    EXPECT_EQ(3, dialog.Index());
}

// Wine's GetGuiResources answers 0; the harness counts in the process's own tables.
TEST(ChangeIconDialog, FillsAndClosingReleaseTheirIconsAndWindows) {
    std::wstring otherSpelling = kProgram;  // another name for the same file
    otherSpelling.replace(otherSpelling.size() - 10, 6, L"ORVALE");
    // A first run creates what dialogs keep for the whole process (fonts, brushes).
    ChangeIconDialog warmUp(kProgram, 0);
    RunDriven(warmUp, "Change Icon", Pressing(IDCANCEL));

    const int gdiBefore = GdiObjectCount(), windowsBefore = WindowCount();
    ASSERT_GT(gdiBefore, 0);
    ChangeIconDialog dialog(kProgram, 0);
    ASSERT_EQ(IDCANCEL, RunDriven(dialog, "Change Icon", [&](HWND d) {
        int gdiOpen = 0, windowsOpen = 0;
        for (int fill = 1; fill <= 100; ++fill) {
            TypeInto(d, IDC_ICON_FILE, fill % 2 ? otherSpelling : kProgram);
            Press(d, IDOK);
            ASSERT_TRUE(IsWindowVisible(d)) << "a typed name is loaded, not closed on";
            if (fill == 2) gdiOpen = GdiObjectCount(), windowsOpen = WindowCount();
        }
        // The counts see the open dialog's icons and windows, so they can see a leak.
        EXPECT_GT(gdiOpen, gdiBefore + IconsIn(kProgram));
        EXPECT_GT(windowsOpen, windowsBefore);
        EXPECT_EQ(IconsIn(kProgram), ListAsk(d, LB_GETCOUNT));
        EXPECT_EQ(gdiOpen, GdiObjectCount()) << "each fill releases the icons of the last";
        EXPECT_EQ(windowsOpen, WindowCount());
        Press(d, IDCANCEL);
    })) << "the dialog came up and was driven";
    EXPECT_EQ(gdiBefore, GdiObjectCount()) << "closing releases the last fill's icons";
    EXPECT_EQ(windowsBefore, WindowCount());
}

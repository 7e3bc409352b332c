// The bar editor's items in the real program, reached as a user reaches them from the settings
// window: every way into an item's editor and back, and a value typed to the longest length the
// settings file keeps, read back after a new start.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "DialogDriver.h"
#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

int Selected(HWND editor) {
    return static_cast<int>(
        SendDlgItemMessageW(editor, IDC_BAR_ITEMS, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

// On the row's icon: the row itself runs far past the list's right edge.
void ClickRow(HWND editor, int row) {
    HWND list = GetDlgItem(editor, IDC_BAR_ITEMS);
    const RECT icon = ItemRectOf(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), LVIR_ICON);
    LeftClick((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
}

// A fingerprint of what a control shows on screen.
COLORREF Shows(HWND control) {
    const RECT r = WindowRect(control);
    COLORREF sum = 0;
    for (int y = r.top; y < r.bottom; y += 3) {
        for (int x = r.left; x < r.right; x += 3) sum = sum * 31 + ScreenPixel(x, y);
    }
    return sum;
}

class ItemEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Bar 1: a web page, an application whose icon is the first of a file with several,
        // and Start Menu; bar 4, a context bar, empty.
        orvale.WriteSettings(
            "[TaskBar+]\r\nen=0\r\n[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
            "[menu+:01:00]\r\ntype=101\r\npth=example.com\r\nipth=www.ico\r\ndir=www:\r\n"
            "tt=Site\r\n"
            "[menu+:01:01]\r\ntype=101\r\npth=notepad.exe\r\nipth=" +
            orvale.Folder().File("orvale.exe") +
            "\r\ninum=0\r\ntt=Editor\r\n[menu+:01:02]\r\ntype=102\r\n[menu+:01:03]\r\ntype=0\r\n"
            "[Menu+04]\r\nen=1\r\nhoriz=1\r\nname=Documents\r\n[menu+:04:00]\r\ntype=0\r\n");
        ASSERT_TRUE(orvale.Start());
    }
    void TearDown() override { CloseMenus(); }

    // The editor of bar 1 (or of bar 4) by its tab's "Settings" in the settings window.
    HWND BarEditor(bool contextBar = false) {
        HWND settings = ShowSettings(orvale);
        if (!settings) return nullptr;
        ClickItem(GetDlgItem(settings, IDC_TABS), TCM_GETITEMRECT, contextBar ? 1 : 0);
        const int button = contextBar ? IDC_CONTEXT_SETTINGS : IDC_GLOBAL_SETTINGS;
        ClickCentre(GetDlgItem(settings, button));
        return ProgramWindow(orvale, "Bar Properties");
    }
    // Bar 1's item `row` in its editor, opened by "Properties".
    HWND ItemEditor(HWND editor, int row, const char* caption) {
        ClickRow(editor, row);
        ClickCentre(GetDlgItem(editor, IDC_BAR_PROPERTIES));
        return ProgramWindow(orvale, caption);
    }

    Orvale orvale;
};

}  // namespace

TEST_F(ItemEditorTest, EachWayIntoAnItemAndBackWorksThroughTheControls) {
    const struct {
        const char* path;
        bool contextBar;
        std::function<void(HWND editor)> walk;
    } paths[] = {
        {"Properties: the kind's template, the value written into the item, the row selected",
         false,
         [&](HWND editor) {
             HWND page = ItemEditor(editor, 0, "Open Web Page Properties");
             ASSERT_NE(nullptr, page);
             ClickCentre(GetDlgItem(page, IDC_ITEM_TT));
             PressKey("End");
             TypeOnKeyboard(" 2");
             ClickCentre(GetDlgItem(page, IDOK));
             ASSERT_TRUE(Gone(page));
             EXPECT_TRUE(WaitUntil(
                 [&] { return BarEditorRows(editor) == 3 && Selected(editor) == 0; }));
             // Written into the item at once: a cancelled bar editor keeps it.
             ClickCentre(GetDlgItem(editor, IDCANCEL));
             ASSERT_TRUE(Gone(editor));
             editor = BarEditor();
             page = ItemEditor(editor, 0, "Open Web Page Properties");
             ASSERT_NE(nullptr, page);
             EXPECT_EQ(L"Site 2", TextOf(page, IDC_ITEM_TT));
             ClickCentre(GetDlgItem(page, IDCANCEL));
             ASSERT_TRUE(Gone(page));
             ClickCentre(GetDlgItem(editor, IDCANCEL));
         }},
        {"a double click on a row opens its item's editor", false,
         [&](HWND editor) {
             ClickRow(editor, 1);
             ClickRow(editor, 1);
             HWND application = ProgramWindow(orvale, "Application properties");
             ASSERT_NE(nullptr, application);
             EXPECT_EQ(L"Editor", TextOf(application, IDC_ITEM_TT));
             ClickCentre(GetDlgItem(application, IDCANCEL));
             ASSERT_TRUE(Gone(application));
         }},
        {"the Delete key removes the selected row and selects the next", false,
         [&](HWND editor) {
             ClickRow(editor, 1);
             PressKey("Delete");
             EXPECT_TRUE(WaitUntil(
                 [&] { return BarEditorRows(editor) == 2 && Selected(editor) == 1; }));
         }},
        {"a global bar has no window list", false,
         [&](HWND editor) { EXPECT_FALSE(IsWindowVisible(GetDlgItem(editor, IDC_BAR_CONTEXT))); }},
        {"a context bar has one", true,
         [&](HWND editor) { EXPECT_TRUE(IsWindowVisible(GetDlgItem(editor, IDC_BAR_CONTEXT))); }},
        {"Change icon ...: the chosen icon shows in the item's editor and reaches the item", false,
         [&](HWND editor) {
             HWND application = ItemEditor(editor, 1, "Application properties");
             ASSERT_NE(nullptr, application);
             HWND preview = GetDlgItem(application, IDC_ITEM_ICON);
             const COLORREF before = Shows(preview);
             ClickCentre(GetDlgItem(application, IDC_ITEM_CHANGE_ICON));
             HWND icons = ProgramWindow(orvale, "Change Icon");
             ASSERT_NE(nullptr, icons);
             ClickItem(GetDlgItem(icons, IDC_ICON_LIST), LB_GETITEMRECT, 2);
             ClickCentre(GetDlgItem(icons, IDOK));
             ASSERT_TRUE(Gone(icons));
             EXPECT_TRUE(WaitUntil([&] { return Shows(preview) != before; }));
             ClickCentre(GetDlgItem(application, IDOK));
             ASSERT_TRUE(Gone(application));
             ClickCentre(GetDlgItem(editor, IDOK));
             EXPECT_TRUE(WaitUntil([&] { return orvale.Setting("menu+:01:01", "inum") == "2"; }));
         }},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path.path);
        HWND editor = BarEditor(path.contextBar);
        ASSERT_NE(nullptr, editor);
        path.walk(editor);
        // Whichever editor the path left open goes with Cancel.
        for (HWND open : TopLevelWindows(orvale.Proc().Id(), "#32770", "Bar Properties")) {
            if (IsWindowVisible(open)) ClickCentre(GetDlgItem(open, IDCANCEL));
            ASSERT_TRUE(Gone(open));
        }
    }
}

TEST_F(ItemEditorTest, AValueTypedToTheLongestLengthTheFileKeepsComesBackWholeAfterANewStart) {
    std::string typed;  // longer than that: the field stops at 511
    while (typed.size() < 530) typed += "0123456789abcdefghij";
    const std::wstring kept = win::Widen(typed.substr(0, 511));
    HWND editor = BarEditor();
    HWND application = ItemEditor(editor, 1, "Application properties");
    ASSERT_NE(nullptr, application);
    ClickCentre(GetDlgItem(application, IDC_ITEM_PAR));
    ASSERT_TRUE(TypeOnKeyboard(typed));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(application, IDC_ITEM_PAR) == kept; }));
    ClickCentre(GetDlgItem(application, IDOK));
    ASSERT_TRUE(Gone(application));
    ClickCentre(GetDlgItem(editor, IDOK));
    ASSERT_TRUE(Gone(editor));
    ASSERT_TRUE(orvale.Exit());

    ASSERT_TRUE(orvale.Start());
    application = ItemEditor(BarEditor(), 1, "Application properties");
    ASSERT_NE(nullptr, application);
    EXPECT_EQ(kept, TextOf(application, IDC_ITEM_PAR));
}

// The bar editor's items in the real program, reached as a user reaches them from the settings
// window: a value typed to the longest length the settings file keeps, read back after a new
// start.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "DialogDriver.h"
#include "Harness.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

bool Gone(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

// On the row's icon: the row itself runs far past the list's right edge.
void ClickRow(HWND editor, int row) {
    HWND list = GetDlgItem(editor, IDC_BAR_ITEMS);
    const RECT icon = ItemRectOf(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), LVIR_ICON);
    LeftClick((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
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

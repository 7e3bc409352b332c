// Orvale with its own macro tool beside it, as a new user meets it: the tool registered at
// start, a macro recorded through the bar editor's "Record Macro", and the new bar button
// playing it into notepad.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "DialogDriver.h"
#include "Harness.h"
#include "MacroStandIn.h"
#include "resources/resource.h"

using namespace testing_support;

namespace {

const char* kOneBar =
    "[TaskBar+]\r\nen=0\r\nhoriz=0\r\n"
    "[Menu+01]\r\nen=1\r\nhoriz=1\r\nname=Tools\r\n"
    "[menu+:01:00]\r\ntype=102\r\n[menu+:01:01]\r\ntype=0\r\n";

constexpr int kRecordMacroEntry = 6;  // of "Add >>", separators not counted

std::wstring NotepadText(HWND edit) {
    wchar_t text[256] = {};
    SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

TEST(Macros, RecordedThroughTheBarEditorThenPlayedByTheNewButtonIntoNotepad) {
    KeptExchange kept;
    SetExchangeValue("path", nullptr);
    Orvale orvale;
    ASSERT_TRUE(CopyBeside("ovmacro.exe", orvale.Folder().Path()));
    orvale.WriteSettings(kOneBar);
    ASSERT_TRUE(orvale.Start());
    EXPECT_EQ("\"" + orvale.Folder().File("ovmacro.exe") + "\"", ExchangeValue("path"))
        << "the tool beside the program is registered at start";

    Process notepad;
    HWND window = OpenNotepad(notepad);
    ASSERT_NE(nullptr, window);
    HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);

    // The bar editor of the first global bar, from the settings window.
    HWND settings = ShowSettings(orvale);
    ASSERT_NE(nullptr, settings);
    ClickItem(GetDlgItem(settings, IDC_GLOBAL_BARS), LB_GETITEMRECT, 0);
    ClickCentre(GetDlgItem(settings, IDC_GLOBAL_SETTINGS));
    HWND editor = ProgramWindow(orvale, "Bar Properties");
    ASSERT_NE(nullptr, editor);
    ClickCentre(GetDlgItem(editor, IDC_BAR_ADD));
    HWND menu = ProgramMenu(orvale);
    ASSERT_NE(nullptr, menu);
    PickEntry(menu, kRecordMacroEntry);

    // The user goes to notepad, types, and stops the recording with the Pause key.
    HWND recording = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND found : TopLevelWindows(0, "#32770", "Recording")) {
            if (IsWindowVisible(found)) recording = found;
        }
        return recording != nullptr;
    }, 10000)) << "no recording";
    ClickCentre(edit);
    TypeOnKeyboard("macro works");
    ASSERT_TRUE(WaitUntil([&] { return NotepadText(edit) == L"macro works"; }))
        << win::Narrow(NotepadText(edit));
    PressKey("Pause");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(recording); }));

    HWND properties = ProgramWindow(orvale, "Macro Properties");
    ASSERT_NE(nullptr, properties) << "the recording was not answered as done";
    ClickCentre(GetDlgItem(properties, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(properties); })) << "one click on OK";
    ASSERT_TRUE(WaitUntil([&] {
        return SendDlgItemMessageW(editor, IDC_BAR_ITEMS, LVM_GETITEMCOUNT, 0, 0) == 2;
    })) << "a row for the macro";
    ClickCentre(GetDlgItem(editor, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return orvale.Setting("menu+:01:01", "dir") == "macro:"; }));
    EXPECT_TRUE(FileExists(orvale.Folder().File("ov32mac.brd"))) << "the default macro file";
    // The settings window goes, so that it does not stand over notepad.
    ClickCentre(GetDlgItem(settings, IDCANCEL));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(settings); }));

    // The new button, beside notepad's menu, types what was recorded into notepad.
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    const RECT area = WindowRect(edit);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    RightClick((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ASSERT_TRUE(WaitUntil([&] { return orvale.VisibleBars().size() == 1; }, 3000));
    const std::vector<HWND> buttons = BarButtons(orvale.VisibleBars().front());
    ASSERT_EQ(2u, buttons.size());
    ClickCentre(buttons.back());
    EXPECT_TRUE(WaitUntil([&] { return NotepadText(edit) == L"macro works"; }, 10000))
        << win::Narrow(NotepadText(edit));
}

// The "Context" dialog and its "Window Title" dialog, driven by messages: no keyboard focus,
// no injected input.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DialogDriver.h"
#include "Harness.h"
#include "dialogs/ContextDialog.h"
#include "model/WindowList.h"
#include "resources/resource.h"
#include "win/Text.h"

using namespace orvale;
using namespace testing_support;

namespace {

using Strings = std::vector<std::wstring>;
using Action = DialogAction;

// Checks what the "Window Title" field starts with, puts the text in and presses the button.
Action Answer(const std::wstring& text, int button = IDOK, const std::wstring& given = L"") {
    return [=](HWND dialog) {
        EXPECT_EQ(given, win::WindowText(GetDlgItem(dialog, IDC_WINDOW_TITLE_EDIT)));
        SetDlgItemTextW(dialog, IDC_WINDOW_TITLE_EDIT, text.c_str());
        PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}
// Presses the button and answers the "Window Title" dialog it opens; false when none opens.
bool PressAnswering(HWND dialog, int id, Action answer) {
    return PlayDialogs({{"Window Title", std::move(answer)}}, [&] { Press(dialog, id); });
}
void Select(HWND dialog, int index) {
    SendDlgItemMessageA(dialog, IDC_CONTEXT_WINDOWS, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
void ChooseMode(HWND dialog, int mode) {
    CheckRadioButton(dialog, IDC_CONTEXT_LISTED_ONLY, IDC_CONTEXT_ALL_EXCEPT,
                     mode ? IDC_CONTEXT_ALL_EXCEPT : IDC_CONTEXT_LISTED_ONLY);
}
// The checked radio buttons: "listed" (mode 0), "except" (mode 1), both or neither.
std::string Checked(HWND dialog) {
    return std::string(IsDlgButtonChecked(dialog, IDC_CONTEXT_LISTED_ONLY) ? "listed" : "") +
           (IsDlgButtonChecked(dialog, IDC_CONTEXT_ALL_EXCEPT) ? "except" : "");
}
Strings Shown(HWND dialog) { return ListRows(GetDlgItem(dialog, IDC_CONTEXT_WINDOWS)); }

}  // namespace

TEST(ContextDialog, AddEditRemoveAndModeChangeTheDialogOkStoresThemAndCancelChangesNothing) {
    WindowList list = {{L"cherry", L"apple", L"Banana"}, 0};
    const Strings stored = {L"", L"zulu", L"Blueberry", L"cherry"};
    ContextDialog context(list);
    EXPECT_EQ(IDOK, RunDriven(context, "Context", [&](HWND d) {
        EXPECT_EQ((Strings{L"apple", L"Banana", L"cherry"}), Shown(d)) << "sorted, any case";
        EXPECT_EQ("listed", Checked(d));
        EXPECT_FALSE(PressAnswering(d, IDC_CONTEXT_EDIT, Answer(L"", IDCANCEL)))
            << "no selection";
        Press(d, IDC_CONTEXT_REMOVE);
        EXPECT_TRUE(PressAnswering(d, IDC_CONTEXT_ADD, Answer(L"Blueberry")));
        EXPECT_TRUE(PressAnswering(d, IDC_CONTEXT_ADD, Answer(L"cancelled", IDCANCEL)));
        EXPECT_TRUE(PressAnswering(d, IDC_CONTEXT_ADD, Answer(L"")));
        EXPECT_EQ((Strings{L"", L"apple", L"Banana", L"Blueberry", L"cherry"}), Shown(d));
        Select(d, 2);
        EXPECT_TRUE(PressAnswering(d, IDC_CONTEXT_EDIT, Answer(L"zulu", IDOK, L"Banana")));
        Select(d, 1);
        Press(d, IDC_CONTEXT_REMOVE);
        EXPECT_EQ(stored, Shown(d)) << "an edited entry keeps its place";
        ChooseMode(d, 1);
        Press(d, IDOK);
    }));
    EXPECT_EQ(stored, list.entries) << "in the shown order";
    EXPECT_EQ(1, list.mode);

    ContextDialog again(list);
    EXPECT_EQ(IDCANCEL, RunDriven(again, "Context", [&](HWND d) {
        EXPECT_EQ((Strings{L"", L"Blueberry", L"cherry", L"zulu"}), Shown(d))
            << "sorted when reopened";
        EXPECT_EQ("except", Checked(d));
        EXPECT_TRUE(PressAnswering(d, IDC_CONTEXT_ADD, Answer(L"new")));
        Select(d, 0);
        Press(d, IDC_CONTEXT_REMOVE);
        ChooseMode(d, 0);
        Press(d, IDCANCEL);
    }));
    EXPECT_EQ(stored, list.entries) << "Cancel changes nothing, not even the order";
    EXPECT_EQ(1, list.mode);
}

TEST(ContextDialog, AnyNonZeroModeShowsAsAllExceptAndADoubleClickActsAsOk) {
    WindowList list = {{L"x"}, 7};
    ContextDialog context(list);
    EXPECT_EQ(IDOK, RunDriven(context, "Context", [](HWND d) {
        EXPECT_EQ("except", Checked(d));
        ChooseMode(d, 0);
        Select(d, 0);
        Press(d, IDC_CONTEXT_WINDOWS, LBN_DBLCLK);
    }));
    EXPECT_EQ(0, list.mode);
    EXPECT_EQ(Strings{L"x"}, list.entries);
}

TEST(ContextDialog, EditListOpensOnlyContextBarListsAndKeepsEntriesTo511Characters) {
    windowLists[0] = {};
    const std::wstring tooLong = std::wstring(511, L'w') + L"beyond";
    const Action pressOk = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); };
    const Action add = [](HWND d) { PostMessageA(d, WM_COMMAND, IDC_CONTEXT_ADD, 0); };
    EXPECT_TRUE(PlayDialogs({{"Context", add},
                      {"Window Title", Answer(tooLong)},
                      {"Context", pressOk}},
                     [] { editList(0); }));
    EXPECT_EQ(Strings{tooLong.substr(0, 511)}, windowLists[0].entries);

    // Lists 29 to 31 serve no bar: nothing opens.
    for (int index : {-1, 29, 31, 32}) {
        EXPECT_FALSE(PlayDialogs({{"Context", pressOk}}, [index] { editList(index); })) << index;
    }
}

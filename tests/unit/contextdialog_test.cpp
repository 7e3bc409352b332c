// The "Context" dialog and its "Window Title" dialog, driven by messages: no keyboard focus,
// no injected input.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Harness.h"
#include "dialogs/ContextDialog.h"
#include "model/WindowList.h"
#include "resources/resource.h"
#include "win/Text.h"

using namespace orvale;
using testing_support::TitleOf;

namespace {

using Strings = std::vector<std::wstring>;
using Action = std::function<void(HWND dialog)>;
using Step = std::pair<std::string, Action>;  // a dialog's caption, what to do with it

std::vector<Step> g_steps;
size_t g_next = 0;
DWORD g_deadline = 0;

// Runs the next step on its dialog once that dialog is shown and enabled (no dialog of its own
// open above it); once the time is up, cancels every such dialog instead.
void CALLBACK PlayNextStep(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), [](HWND dialog, LPARAM) -> BOOL {
        if (testing_support::ClassOf(dialog) != "#32770" || !IsWindowVisible(dialog) ||
            !IsWindowEnabled(dialog)) {
            return TRUE;
        }
        if (static_cast<LONG>(GetTickCount() - g_deadline) > 0) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        } else if (g_next < g_steps.size() && TitleOf(dialog) == g_steps[g_next].first) {
            // A copy: the step may play steps of its own, which replace the list meanwhile.
            Action action = g_steps[g_next++].second;
            action(dialog);
            return FALSE;
        }
        return TRUE;
    }, 0);
}

// Runs `showDialogs` while a timer, which the dialogs' modal loops dispatch, plays the steps.
// True when every step ran; dialogs still open after 10 s are cancelled. A step may play steps
// of its own; the outer steps go on once they are done.
bool Play(std::vector<Step> steps, const std::function<void()>& showDialogs) {
    std::vector<Step> outerSteps = std::move(g_steps);
    const size_t outerNext = g_next;
    const DWORD outerDeadline = g_deadline;
    g_steps = std::move(steps);
    g_next = 0;
    g_deadline = GetTickCount() + 10000;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, PlayNextStep);
    showDialogs();
    KillTimer(nullptr, timer);
    const bool allRan = g_next == g_steps.size();
    g_steps = std::move(outerSteps);
    g_next = outerNext;
    g_deadline = outerDeadline;
    return allRan;
}

void Press(HWND dialog, int id, UINT code = BN_CLICKED) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
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
    return Play({{"Window Title", std::move(answer)}}, [&] { Press(dialog, id); });
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
Strings Shown(HWND dialog) {
    Strings texts;
    wchar_t text[1024];
    for (WPARAM i = 0; SendDlgItemMessageW(dialog, IDC_CONTEXT_WINDOWS, LB_GETTEXT, i,
                                           reinterpret_cast<LPARAM>(text)) != LB_ERR;
         ++i) {
        texts.push_back(text);
    }
    return texts;
}

}  // namespace

// Runs `dialog` modally while `drive` works it (from a timer its modal loop dispatches); the
// dialog's result, or -2 when `drive` never got to run.
INT_PTR RunDriven(win::ModalDialog& dialog, const Action& drive) {
    INT_PTR result = -2;
    bool ran = Play({{"Context", drive}}, [&] { result = dialog.Run(nullptr); });
    return ran ? result : -2;
}

TEST(ContextDialog, AddEditRemoveAndModeChangeTheDialogOkStoresThemAndCancelChangesNothing) {
    const HWND remembered = reinterpret_cast<HWND>(0x1234);
    WindowList list = {{L"cherry", L"apple", L"Banana"}, 0, remembered};
    const Strings stored = {L"", L"zulu", L"Blueberry", L"cherry"};
    ContextDialog context(list);
    EXPECT_EQ(IDOK, RunDriven(context, [&](HWND d) {
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
    EXPECT_EQ(remembered, list.rememberedWindow);

    ContextDialog again(list);
    EXPECT_EQ(IDCANCEL, RunDriven(again, [&](HWND d) {
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
    EXPECT_EQ(IDOK, RunDriven(context, [](HWND d) {
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
    EXPECT_TRUE(Play({{"Context", [](HWND d) { PostMessageA(d, WM_COMMAND, IDC_CONTEXT_ADD, 0); }},
                      {"Window Title", Answer(tooLong)},
                      {"Context", pressOk}},
                     [] { editList(0); }));
    EXPECT_EQ(Strings{tooLong.substr(0, 511)}, windowLists[0].entries);

    // Lists 29 to 31 serve no bar: nothing opens.
    for (int index : {-1, 29, 31, 32}) {
        EXPECT_FALSE(Play({{"Context", pressOk}}, [index] { editList(index); })) << index;
    }
}

// The "Context" dialog and its "Window Title" dialog, driven by messages while their modal
// loops run: no keyboard focus, no injected input.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/ContextDialog.h"
#include "model/WindowList.h"
#include "resources/resource.h"

using namespace orvale;

namespace {

// Acts on this thread's modal dialogs from a timer, which their modal loops dispatch. Each
// step waits until the dialog with its caption is shown and enabled (no dialog of its own is
// open above it), then acts on it once. A dialog still open when the time is up is cancelled.
class DialogScript {
public:
    using Action = std::function<void(HWND dialog)>;

    DialogScript& Then(const char* caption, Action action) {
        steps_.push_back({caption, std::move(action)});
        return *this;
    }

    // Calls `runDialog` with the script running; true when every step ran.
    bool Run(const std::function<void()>& runDialog, DWORD timeoutMs = 10000) {
        current_ = this;
        deadline_ = GetTickCount() + timeoutMs;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
        runDialog();
        KillTimer(nullptr, timer);
        current_ = nullptr;
        return next_ == steps_.size();
    }

private:
    struct Step {
        std::string caption;
        Action action;
    };

    static std::vector<HWND> ThreadDialogs() {
        std::vector<HWND> dialogs;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM lp) -> BOOL {
                char name[64] = {};
                GetClassNameA(hwnd, name, sizeof name);
                if (std::string(name) == "#32770") {
                    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialogs));
        return dialogs;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogScript* script = current_;
        if (!script || script->acting_) return;
        if (static_cast<LONG>(GetTickCount() - script->deadline_) > 0) {
            for (HWND dialog : ThreadDialogs()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (script->next_ >= script->steps_.size()) return;
        const Step& step = script->steps_[script->next_];
        for (HWND dialog : ThreadDialogs()) {
            char caption[64] = {};
            GetWindowTextA(dialog, caption, sizeof caption);
            if (step.caption != caption || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog)) {
                continue;
            }
            ++script->next_;
            script->acting_ = true;
            step.action(dialog);
            script->acting_ = false;
            return;
        }
    }

    static DialogScript* current_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool acting_ = false;
    DWORD deadline_ = 0;
};

DialogScript* DialogScript::current_ = nullptr;

// ---- What a user does, as messages -------------------------------------------------------

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Select(HWND dialog, int index) {
    SendDlgItemMessageA(dialog, IDC_CONTEXT_WINDOWS, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ChooseMode(HWND dialog, int mode) {
    CheckRadioButton(dialog, IDC_CONTEXT_LISTED_ONLY, IDC_CONTEXT_ALL_EXCEPT,
                     mode ? IDC_CONTEXT_ALL_EXCEPT : IDC_CONTEXT_LISTED_ONLY);
}

int ShownMode(HWND dialog) {
    bool listedOnly = IsDlgButtonChecked(dialog, IDC_CONTEXT_LISTED_ONLY) == BST_CHECKED;
    bool allExcept = IsDlgButtonChecked(dialog, IDC_CONTEXT_ALL_EXCEPT) == BST_CHECKED;
    return listedOnly == allExcept ? -1 : (allExcept ? 1 : 0);
}

std::vector<std::string> Shown(HWND dialog) {
    HWND listBox = GetDlgItem(dialog, IDC_CONTEXT_WINDOWS);
    std::vector<std::string> texts;
    LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[1024] = {};
        SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

std::string FieldText(HWND dialog) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, IDC_WINDOW_TITLE_EDIT, text, sizeof text);
    return text;
}

// Types `text` into the "Window Title" field and confirms it.
DialogScript::Action Confirm(const std::string& text) {
    return [text](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_WINDOW_TITLE_EDIT, text.c_str());
        Press(dialog, IDOK);
    };
}

DialogScript::Action PressButton(int id) {
    return [id](HWND dialog) { Press(dialog, id); };
}

using Strings = std::vector<std::string>;

WindowList List(Strings entries, int32_t mode) {
    WindowList list;
    list.entries = std::move(entries);
    list.mode = mode;
    return list;
}

INT_PTR RunContext(WindowList& list, DialogScript& script) {
    INT_PTR result = 0;
    EXPECT_TRUE(script.Run([&] { result = ContextDialog(list).RunModal(nullptr); }));
    return result;
}

}  // namespace

TEST(ContextDialog, AddPutsTheTextAtItsSortedPlaceAndOkStoresTheShownOrder) {
    WindowList list = List({"cherry", "apple", "Banana"}, 0);
    HWND remembered = reinterpret_cast<HWND>(0x1234);
    list.rememberedWindow = remembered;
    DialogScript script;
    script
        .Then("Context",
              [](HWND dialog) {
                  EXPECT_EQ((Strings{"apple", "Banana", "cherry"}), Shown(dialog))
                      << "sorted without regard to case";
                  EXPECT_EQ(0, ShownMode(dialog));
                  Press(dialog, IDC_CONTEXT_ADD);
              })
        .Then("Window Title",
              [](HWND dialog) {
                  EXPECT_EQ("", FieldText(dialog)) << "Add starts with an empty field";
                  Confirm("Blueberry")(dialog);
              })
        .Then("Context", PressButton(IDC_CONTEXT_ADD))
        .Then("Window Title",
              [](HWND dialog) {
                  SetDlgItemTextA(dialog, IDC_WINDOW_TITLE_EDIT, "cancelled");
                  Press(dialog, IDCANCEL);
              })
        .Then("Context", PressButton(IDC_CONTEXT_ADD))
        .Then("Window Title", Confirm(""))
        .Then("Context",
              [](HWND dialog) {
                  EXPECT_EQ((Strings{"", "apple", "Banana", "Blueberry", "cherry"}),
                            Shown(dialog));
                  Press(dialog, IDOK);
              });
    EXPECT_EQ(IDOK, RunContext(list, script));
    EXPECT_EQ((Strings{"", "apple", "Banana", "Blueberry", "cherry"}), list.entries);
    EXPECT_EQ(0, list.mode);
    EXPECT_EQ(remembered, list.rememberedWindow) << "the dialog leaves the remembered window";
}

TEST(ContextDialog, EditKeepsThePositionRemoveTakesTheSelectedEntry) {
    WindowList list = List({"alpha", "beta", "gamma"}, 0);
    DialogScript script;
    script
        .Then("Context",
              [](HWND dialog) {
                  // Without a selection Edit and Remove do nothing; a "Window Title" dialog
                  // opened here would keep the next step from running.
                  Press(dialog, IDC_CONTEXT_EDIT);
                  Press(dialog, IDC_CONTEXT_REMOVE);
              })
        .Then("Context",
              [](HWND dialog) {
                  EXPECT_EQ(3u, Shown(dialog).size());
                  Select(dialog, 0);
                  Press(dialog, IDC_CONTEXT_EDIT);
              })
        .Then("Window Title",
              [](HWND dialog) {
                  EXPECT_EQ("alpha", FieldText(dialog)) << "Edit starts with the entry";
                  Confirm("zulu")(dialog);
              })
        .Then("Context",
              [](HWND dialog) {
                  EXPECT_EQ((Strings{"zulu", "beta", "gamma"}), Shown(dialog))
                      << "an edited entry stays where it was";
                  Select(dialog, 1);
                  Press(dialog, IDC_CONTEXT_REMOVE);
              })
        .Then("Context",
              [](HWND dialog) {
                  EXPECT_EQ((Strings{"zulu", "gamma"}), Shown(dialog));
                  Press(dialog, IDOK);
              });
    EXPECT_EQ(IDOK, RunContext(list, script));
    EXPECT_EQ((Strings{"zulu", "gamma"}), list.entries) << "the shown order is stored";

    DialogScript reopen;
    reopen.Then("Context", [](HWND dialog) {
        EXPECT_EQ((Strings{"gamma", "zulu"}), Shown(dialog)) << "sorted again when reopened";
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunContext(list, reopen));
}

TEST(ContextDialog, RadioButtonsShowAndSetTheModeAndADoubleClickActsAsOk) {
    WindowList list = List({"x"}, 1);
    DialogScript toListedOnly;
    toListedOnly.Then("Context", [](HWND dialog) {
        EXPECT_EQ(1, ShownMode(dialog));
        ChooseMode(dialog, 0);
        HWND listBox = GetDlgItem(dialog, IDC_CONTEXT_WINDOWS);
        Select(dialog, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONTEXT_WINDOWS, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(listBox));
    });
    EXPECT_EQ(IDOK, RunContext(list, toListedOnly));
    EXPECT_EQ(0, list.mode);
    EXPECT_EQ(Strings{"x"}, list.entries);

    DialogScript toAllExcept;
    toAllExcept.Then("Context", [](HWND dialog) {
        EXPECT_EQ(0, ShownMode(dialog));
        ChooseMode(dialog, 1);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, RunContext(list, toAllExcept));
    EXPECT_EQ(1, list.mode);

    // Any non-zero mode read from the file shows as "All windows except ..." and is stored
    // back as 1 once confirmed.
    list.mode = 7;
    DialogScript keep;
    keep.Then("Context", [](HWND dialog) {
        EXPECT_EQ(1, ShownMode(dialog));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, RunContext(list, keep));
    EXPECT_EQ(1, list.mode);
}

TEST(ContextDialog, CancelLeavesTheListUnchanged) {
    WindowList list = List({"b", "a"}, 0);
    DialogScript script;
    script.Then("Context", PressButton(IDC_CONTEXT_ADD))
        .Then("Window Title", Confirm("c"))
        .Then("Context",
              [](HWND dialog) {
                  Select(dialog, 0);
                  Press(dialog, IDC_CONTEXT_REMOVE);
                  ChooseMode(dialog, 1);
                  Press(dialog, IDCANCEL);
              });
    EXPECT_EQ(IDCANCEL, RunContext(list, script));
    EXPECT_EQ((Strings{"b", "a"}), list.entries) << "not even re-sorted";
    EXPECT_EQ(0, list.mode);
}

TEST(ContextDialog, WindowTitleKeepsAnEntryTo511Characters) {
    WindowList list = List({}, 0);
    const std::string tooLong = std::string(511, 'w') + "beyond";
    DialogScript script;
    script.Then("Context", PressButton(IDC_CONTEXT_ADD))
        .Then("Window Title",
              [&tooLong](HWND dialog) {
                  EXPECT_EQ(511, SendDlgItemMessageA(dialog, IDC_WINDOW_TITLE_EDIT,
                                                     EM_GETLIMITTEXT, 0, 0))
                      << "typing stops at the limit";
                  Confirm(tooLong)(dialog);
              })
        .Then("Context", PressButton(IDOK));
    EXPECT_EQ(IDOK, RunContext(list, script));
    ASSERT_EQ(1u, list.entries.size());
    EXPECT_EQ(tooLong.substr(0, 511), list.entries[0]);
}

TEST(ContextDialog, EditListOpensOnlyTheListsOfContextBars) {
    windowLists[0] = List({"notepad"}, 0);
    DialogScript script;
    script.Then("Context", [](HWND dialog) {
        EXPECT_EQ(Strings{"notepad"}, Shown(dialog));
        ChooseMode(dialog, 1);
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(script.Run([] { editList(0); }));
    EXPECT_EQ(1, windowLists[0].mode);

    // Lists 29 to 31 serve no bar: nothing opens, the call returns at once.
    for (int index : {-1, 29, 31, 32}) {
        DialogScript never;
        never.Then("Context", PressButton(IDCANCEL));
        EXPECT_FALSE(never.Run([index] { editList(index); })) << index;
    }
}

// The "Context" dialog and its "Window Title" sub-dialog: edit one context bar's window list.
#pragma once

#include <string>
#include <vector>

#include "model/WindowList.h"
#include "win/Dialog.h"

namespace orvale {

// Entries longer than this could never be matched whole (titles are compared up to 511
// characters) nor read back from the settings file, so the "Window Title" field keeps an
// entry to this length.
constexpr int kMaxEntryLength = 511;

// "Window Title": one edit field; OK returns whatever it holds, the empty text included.
class WindowTitleDialog : public win::ModalDialog {
public:
    explicit WindowTitleDialog(std::wstring text);
    const std::wstring& Text() const { return text_; }

protected:
    bool OnInit() override;
    void OnOK() override;

private:
    std::wstring text_;
};

// "Context": edits `list`'s entries and mode; only OK changes the list.
class ContextDialog : public win::ModalDialog {
public:
    explicit ContextDialog(WindowList& list);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void AddEntry();
    void EditEntry();
    void RemoveEntry();
    std::vector<std::wstring> DisplayedEntries() const;

    WindowList& list_;
};

// Runs the "Context" dialog on window list `listIndex` (0 to 28), modally; other indexes
// serve no bar and open nothing.
void editList(int listIndex);

}  // namespace orvale

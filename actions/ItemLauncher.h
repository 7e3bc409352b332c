// Runs what a bar button stands for, against the window in which the menu was opened: the
// built-in window commands, and attributed items, which activate a window found by its title
// or are launched through the shell (programs, documents, web pages, e-mail), type a key
// sequence, run a macro or let the user pick a file to open.
#pragma once

#include <windows.h>

#include <string>

#include "model/ActionContext.h"
#include "model/BarModel.h"

namespace orvale {

// A click on a bar button: `type` is the item's type code (101 for an attributed item, whose
// view is `item`; 102-110 for the built-in commands). `context` tells which menu it was.
void DispatchItemClick(ItemType type, const BarItem& item, const ActionContext& context);
// The second step of Switch Windows, posted to the bar by the first.
void ContinueSwitchWindows(const ActionContext& context);

// Show actions of ActivateWindowByTitle.
enum ShowAction {
    kShowRestore = 0,
    kShowMinimize = 1,
    kShowMaximize = 2,
    kShowRestoreIfMinimized = 3
};

// Brings forward the first top-level window of another thread whose title is `title` (then,
// unless `exactOnly`, the first whose title contains it, ignoring case). False when none.
bool ActivateWindowByTitle(const std::wstring& title, bool exactOnly, int showAction);
// Whether `window`'s title equals `title` (exact) or contains it ignoring case.
bool TitleMatches(HWND window, const std::wstring& title, bool exact);
// Runs an attributed item by its kind.
void RunItem(const BarItem& item, const ActionContext& context);

// What the shell is handed for a web page: the address in lower case, with "http://" in
// front unless it already contains "//".
std::wstring WebPageTarget(const std::wstring& address);

}  // namespace orvale

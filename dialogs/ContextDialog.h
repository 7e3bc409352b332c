// The "Context" dialog and its "Window Title" sub-dialog: edit one context bar's window list.
#pragma once

namespace orvale {

// Runs the "Context" dialog on window list `listIndex` (0 to 28), modally.
void editList(int listIndex);

}  // namespace orvale

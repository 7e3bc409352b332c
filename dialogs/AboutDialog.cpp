#include "dialogs/AboutDialog.h"

#include "resources/resource.h"
#include "win/Dialog.h"

namespace orvale {

void ShowAbout(HWND owner) {
    // Everything it shows is in its template; OK and Escape end it.
    win::ModalDialog about(IDD_ABOUT);
    about.Run(owner);
}

}  // namespace orvale

// Orvale Macros (ovmacro.exe): records, edits and plays the macros of Orvale's macro items.
// Orvale starts it once for each command and reads its answer when it has ended.
#include <windows.h>
#include <commctrl.h>

#include "ovmacro/Command.h"
#include "ovmacro/Tell.h"
#include "ovmacro/Verbs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ovmacro::Command command;
    if (!ovmacro::ParseCommand(GetCommandLineW(), command)) {
        ovmacro::Tell(nullptr, L"Orvale Macros records, edits and plays the macros of Orvale's "
                               L"macro items, and Orvale starts it for each of them. To make a "
                               L"macro, add \"Record Macro\" to a bar in Orvale's bar editor.");
        return 0;
    }
    const ovmacro::Answer answer = ovmacro::RunCommand(command);
    ovmacro::GiveAnswer(answer);
    return answer.result;
}

#include "model/BuiltInItems.h"

#include "resources/resource.h"

namespace orvale {
namespace {

const BuiltInItem kBuiltIns[] = {
    {ItemType::StartMenu, IDI_START_MENU, L"Start Menu", IDC_BAR_START_MENU, IDM_ADD_START_MENU},
    {ItemType::SwitchWindows, IDI_SWAP_WINDOWS, L"Swap Windows", IDC_BAR_SWITCH_WINDOWS,
     IDM_ADD_SWITCH_WINDOWS},
    {ItemType::NextDocument, IDI_NEXT_DOCUMENT, L"Next Document", IDC_BAR_NEXT_DOCUMENT,
     IDM_ADD_NEXT_DOCUMENT},
    {ItemType::PreviousDocument, IDI_PREVIOUS_DOCUMENT, L"Previous Document",
     IDC_BAR_PREVIOUS_DOCUMENT, IDM_ADD_PREVIOUS_DOCUMENT},
    {ItemType::MinimizeWindow, IDI_MINIMIZE_WINDOW, L"Minimize Window", IDC_BAR_MINIMIZE,
     IDM_ADD_MINIMIZE_WINDOW},
    {ItemType::MaximizeWindow, IDI_MAXIMIZE_WINDOW, L"Maximize/restore Window", IDC_BAR_MAXIMIZE,
     IDM_ADD_MAXIMIZE_WINDOW},
    {ItemType::AlwaysOnTop, IDI_ALWAYS_ON_TOP, L"Always on Top", IDC_BAR_ALWAYS_ON_TOP,
     IDM_ADD_ALWAYS_ON_TOP},
    // Shown on a bar as a short line; it comes only from the settings file.
    {ItemType::Separator, IDI_SEPARATOR, L"", IDC_BAR_SEPARATOR, 0},
    {ItemType::CloseApplication, IDI_CLOSE_APPLICATION, L"Close Application",
     IDC_BAR_CLOSE_APPLICATION, IDM_ADD_CLOSE_APPLICATION},
};

template <typename Match>
const BuiltInItem* Find(Match match) {
    for (const BuiltInItem& item : kBuiltIns) {
        if (match(item)) return &item;
    }
    return nullptr;
}

}  // namespace

const BuiltInItem* FindBuiltIn(ItemType type) {
    return Find([type](const BuiltInItem& b) { return b.type == type; });
}

const BuiltInItem* FindBuiltInByBarCommand(int command) {
    return Find([command](const BuiltInItem& b) { return b.barCommand == command; });
}

const BuiltInItem* FindBuiltInByAddCommand(int command) {
    return Find([command](const BuiltInItem& b) { return command && b.addCommand == command; });
}

}  // namespace orvale

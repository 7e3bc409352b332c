#include "engine/BarWindow.h"

#include <commctrl.h>

#include <map>

#include "engine/BarHandlers.h"
#include "engine/IconCache.h"
#include "model/BuiltInItems.h"
#include "resources/resource.h"
#include "win/ProgramWindows.h"

namespace orvale {
namespace {

void Report(const std::function<void()>& event) {
    if (event) event();
}

// Wakes the bar to run its next queued command. Another program may post it too: with
// nothing queued it does nothing.
constexpr UINT kRunQueued = WM_APP + 1;

// The tooltips' font at a DPI, shared by the bars of that DPI and gone with the last of them.
std::shared_ptr<const win::FontHandle> TooltipFont(UINT dpi) {
    static std::map<UINT, std::weak_ptr<const win::FontHandle>> fonts;
    if (auto font = fonts[dpi].lock()) return font;
    NONCLIENTMETRICSW metrics = win::NonClientMetricsForDpi(dpi);
    auto font =
        std::make_shared<const win::FontHandle>(CreateFontIndirectW(&metrics.lfStatusFont));
    fonts[dpi] = font;
    return font;
}

RECT Frame(HWND bar, UINT dpi) {
    return win::FrameForDpi(static_cast<DWORD>(GetWindowLongPtrW(bar, GWL_STYLE)),
                            static_cast<DWORD>(GetWindowLongPtrW(bar, GWL_EXSTYLE)), dpi);
}

}  // namespace

BarWindow::BarWindow() : ModelessDialog(IDD_BAR) {}

BarWindow::~BarWindow() {
    for (auto& button : buttons) button.reset();
}

bool BarWindow::Create() {
    Report(CurrentBarHandlers().barWindowCreated);
    return ModelessDialog::Create(win::HostFrameWindow());
}

bool BarWindow::OnInit() {
    for (auto& button : buttons) button.reset();
    count = 0;
    taskBar = 0;
    SetWindowTextW(Handle(), L"OVE32BAR");
    // The layout builds each bar at the DPI of the menu's monitor before it places it; the
    // system's own rescaling of a dialog that changes monitors would only undo that.
    win::KeepDialogFromRescaling(Handle());
    CreateTooltip();
    return false;
}

void BarWindow::SetDpi(UINT newDpi) {
    dpi = newDpi;
    tooltipFont_ = TooltipFont(dpi);
    if (!tooltip_) return;
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(tooltipFont_->Get()), TRUE);
}

int BarWindow::FrameWidth() const { return Frame(Handle(), dpi).left; }
int BarWindow::FrameHeight() const { return Frame(Handle(), dpi).top; }

// One tooltip control for the whole bar, owned by it and destroyed with it: a window of its
// own per button made a full configuration two thousand top-level windows.
void BarWindow::CreateTooltip() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tooltip_) SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(100, 0));
}

int BarWindow::NaturalLength() const { return ButtonSize() * count + 2 * FrameWidth(); }

int BarWindow::NaturalWidth() const {
    return IsHorizontal() ? ButtonSize() * count + 2 * FrameWidth()
                          : ButtonSize() + 2 * FrameWidth();
}

int BarWindow::NaturalHeight() const {
    return IsHorizontal() ? ButtonSize() + 2 * FrameHeight()
                          : ButtonSize() * count + 2 * FrameHeight();
}

RECT BarWindow::SlotRect(int index) const {
    const int s = ButtonSize();
    if (IsHorizontal()) return {index * s, 0, index * s + s, s};
    return {0, index * s, s, index * s + s};
}

BarButton* BarWindow::FindButton(int commandId) const {
    for (int i = 0; i < count && i < kMaxBarButtons; ++i) {
        if (buttons[i] && buttons[i]->HasWindow() && buttons[i]->commandId == commandId) {
            return buttons[i].get();
        }
    }
    return nullptr;
}

void BarWindow::RemoveButtonsFrom(int first) {
    for (int i = first; i < kMaxBarButtons; ++i) buttons[i].reset();
}

// The editor may replace this very bar window when it is confirmed; nothing of this object is
// used after the handler returns.
void BarWindow::EditThisBar() {
    const BarHandlers& handlers = CurrentBarHandlers();
    Report(handlers.barClicked);
    if (bar && handlers.editBar) handlers.editBar(*bar);
}

void BarWindow::QueueCommand(int command) {
    queued_.push_back(command);
    PostMessageW(Handle(), kRunQueued, 0, 0);
}

void BarWindow::RunNextQueued() {
    if (queued_.empty()) return;
    const int id = queued_.front();
    queued_.pop_front();
    // One command a turn: the one that runs now may end this bar.
    if (!queued_.empty()) PostMessageW(Handle(), kRunQueued, 0, 0);
    RunCommand(id);
}

void BarWindow::PressClosedMenu(int vk) {
    if (win::HeldNow(vk) && press_.Take(vk)) QueueCommand(IDC_BAR_EDIT);
}

// A WM_COMMAND names no sender: whoever posted it, the bar does not act on it.
bool BarWindow::OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return true; }

void BarWindow::RunCommand(int id) {
    const BarHandlers& handlers = CurrentBarHandlers();
    // The second step of Switch Windows goes on from the window its first step chose.
    if (id != IDC_BAR_SWITCH_STEP2 && id != IDC_BAR_EDIT) Report(handlers.actionStarting);
    if (id == IDC_BAR_EDIT) {
        EditThisBar();
    } else if (id >= IDC_TASK_BUTTON_FIRST && id <= IDC_TASK_BUTTON_LAST) {
        if (taskBar && handlers.switchToTask) {
            handlers.switchToTask(*this, id - IDC_TASK_BUTTON_FIRST);
        }
    } else if (id >= IDC_ITEM_BUTTON_FIRST && id <= IDC_ITEM_BUTTON_LAST) {
        BarButton* button = FindButton(id);
        if (handlers.runItem) {
            handlers.runItem(*this, ItemType::Attributed, button ? button->item : BarItem());
        }
    } else if (id == IDC_BAR_SWITCH_STEP2) {
        if (handlers.continueSwitch) handlers.continueSwitch(*this);
    } else if (const BuiltInItem* builtIn = FindBuiltInByBarCommand(id)) {
        if (builtIn->type != ItemType::Separator && handlers.runItem) {
            handlers.runItem(*this, builtIn->type, BarItem());
        }
    }
}

bool BarWindow::OnDrawItem(int /*id*/, const DRAWITEMSTRUCT& draw) {
    for (int i = 0; i < count && i < kMaxBarButtons; ++i) {
        if (buttons[i] && buttons[i]->Handle() == draw.hwndItem) buttons[i]->Draw(draw);
    }
    return true;
}

bool BarWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        if (win::HeldForThisMessage(VK_LBUTTON) && press_.Take(VK_LBUTTON)) EditThisBar();
        result = 0;
        return true;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        if (win::HeldForThisMessage(VK_RBUTTON) && press_.Take(VK_RBUTTON)) EditThisBar();
        result = 0;
        return true;
    case kRunQueued:
        RunNextQueued();
        result = 0;
        return true;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    case WM_DPICHANGED:
        // Bars are built for the DPI of the menu they are shown beside (LayoutBars), whatever
        // monitor they were moved away to meanwhile.
        result = 0;
        return true;
    default:
        return ModelessDialog::OnMessage(msg, wp, lp, result);
    }
}

namespace {

std::unique_ptr<BarButton> BuildItemButton(BarWindow& window, int slot, const BarItem& item) {
    auto button = std::make_unique<BarButton>();
    const int size = window.IconSize();
    // Type-101 buttons are numbered per bar, so rebuilding bars never runs out of ids.
    BarButton::Face face = {IDC_ITEM_BUTTON_FIRST + slot, item.Tt(), ItemIcon(item, size), size,
                            true};
    if (button->Create(window.Handle(), window.Tooltip(), window.SlotRect(slot), std::move(face),
                       window.ButtonSink())) {
        button->item = item;
    }
    return button;
}

std::unique_ptr<BarButton> BuildBuiltInButton(BarWindow& window, int slot,
                                              const BuiltInItem& b) {
    auto button = std::make_unique<BarButton>();
    const int size = window.IconSize();
    button->Create(window.Handle(), window.Tooltip(), window.SlotRect(slot),
                   {b.barCommand, b.caption, ProgramIcon(b.icon, size), size, false},
                   window.ButtonSink());
    return button;
}

}  // namespace

void BuildBar(BarWindow& window, BarDef& def, UINT dpi) {
    window.SetDpi(dpi);
    window.bar = &def;
    window.RemoveButtonsFrom(0);
    window.count = 0;
    BarNode* node = def.nodes ? def.nodes->next : nullptr;
    while (node && window.count < kMaxBarButtons) {
        const int slot = window.count;
        BarItem item(node);
        if (node->tag == NodeTag::Type && item.IsAttributed()) {
            window.buttons[slot] = BuildItemButton(window, slot, item);
            node = item.Last();
        } else if (const BuiltInItem* b =
                       node->tag == NodeTag::Type ? FindBuiltIn(item.Type()) : nullptr) {
            window.buttons[slot] = BuildBuiltInButton(window, slot, *b);
        } else {
            // Unknown types keep their place on the bar as a gap without a button.
            window.buttons[slot] = std::make_unique<BarButton>();
        }
        node = node->next;
        ++window.count;
    }
    UINT flags = SWP_NOACTIVATE;
    if (!window.IsHorizontal() || IsWindowVisible(window.Handle())) flags |= SWP_NOMOVE;
    SetWindowPos(window.Handle(), HWND_TOPMOST, 0, 0, window.NaturalWidth(),
                 window.NaturalHeight(), flags);
}

}  // namespace orvale

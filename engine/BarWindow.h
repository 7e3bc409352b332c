// A bar: a small captionless topmost popup holding a row or column of square icon buttons,
// one per item of its BarDef (or, for the menu task bar, one per open window).
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "engine/IconCache.h"
#include "model/BarModel.h"
#include "win/Dialog.h"
#include "win/Handles.h"
#include "win/Subclass.h"

namespace orvale {

constexpr int kTaskButtonSize = 20;
constexpr int kItemButtonSize = 24;

// One owner-drawn button with a hover edge and a tooltip: a tool of its bar's tooltip control.
class BarButton : public win::Subclass {
public:
    BarButton() = default;
    ~BarButton() override;

    // Creates the button window in `bar` at `rect` with its command id; its caption becomes a
    // tool of `tooltip`, the bar's tooltip control.
    bool Create(HWND bar, HWND tooltip, const RECT& rect, int commandId,
                const std::wstring& caption, SharedIcon icon, bool smallIcon);
    bool HasWindow() const { return Handle() != nullptr; }
    void SetCaption(const std::wstring& caption);
    void SetIcon(SharedIcon icon);

    int commandId = 0;
    bool smallIcon = false;
    bool hot = false;
    HWND targetWindow = nullptr;  // task-bar buttons: the window to switch to
    BarItem item;                 // type-101 buttons: the item to run

    void Draw(const DRAWITEMSTRUCT& draw) const;
    HWND Tooltip() const { return tooltip_; }
    HICON Icon() const { return icon_ ? icon_->Get() : nullptr; }

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void StartHover();
    void CheckHoverEnd();
    void RelayToTooltip(UINT msg, WPARAM wp, LPARAM lp);
    void SendCommandToBar(int command) const;
    void AddTooltipTool();

    std::wstring caption_;
    SharedIcon icon_;
    HWND tooltip_ = nullptr;     // the bar's
    bool pressed_ = false;       // the left button went down on this button
    bool rightPressed_ = false;  // the right button went down on this button
};

class BarWindow;

// What a bar does with its clicks is decided above the engine: the program hands the bars
// these handlers at start-up. A handler may rebuild or remove the very bar that called it.
struct BarHandlers {
    // A button of an item: `type` is its type code (101 with its item, 102-110 without).
    std::function<void(BarWindow& bar, ItemType type, const BarItem& item)> runItem;
    // The second step of Switch Windows, posted to the bar by the first.
    std::function<void(BarWindow& bar)> continueSwitch;
    // Task-bar button `index`.
    std::function<void(BarWindow& bar, int index)> switchToTask;
    // A press on the bar outside its buttons, or a button's edit command.
    std::function<void(BarDef& def)> editBar;
};
void SetBarHandlers(BarHandlers handlers);

class BarWindow : public win::ModelessDialog {
public:
    BarWindow();
    ~BarWindow() override;

    // Creates the window at once, hidden, owned by the host frame.
    bool Create();

    int taskBar = 0;           // 1 only for the window in slot 0
    BarDef* bar = nullptr;     // set by BuildBar; not owned
    int count = 0;             // buttons built
    std::array<std::unique_ptr<BarButton>, kMaxBarButtons> buttons;

    int ButtonSize() const { return taskBar ? kTaskButtonSize : kItemButtonSize; }
    bool IsHorizontal() const { return !bar || bar->IsHorizontal(); }
    int NaturalLength() const;
    int NaturalWidth() const;
    int NaturalHeight() const;
    // The rectangle of button slot `index` in client coordinates.
    RECT SlotRect(int index) const;
    BarButton* FindButton(int commandId) const;
    // Destroys the buttons from slot `first` on and empties those slots.
    void RemoveButtonsFrom(int first);
    // The one tooltip control of the bar: each button with a caption is a tool of it.
    HWND Tooltip() const { return tooltip_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& draw) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void EditThisBar();
    void CreateTooltip();

    HWND tooltip_ = nullptr;
};

// Fills a fresh bar window from `def`: one button per item (at most 64), sized to its
// natural size, topmost and still hidden.
void BuildBar(BarWindow& window, BarDef& def);

// Moves a bar off-screen to (10000, 10000); it stays a shown window.
void HideBar(BarWindow& window);
void HideAllBars();

// Shows every applicable bar around menu window `menu` and stretches the menu to meet them;
// context bars are chosen by `pointedWindow`, the window the menu was opened over.
void ShowBarsForMenu(HWND menu, HWND pointedWindow);
// Lays the applicable bars out around `menu` (used by ShowBarsForMenu).
void LayoutBars(HWND menu, HWND pointedWindow);

// Frame thickness of a bar window (the system's dialog-frame metrics).
int BarFrameWidth();
int BarFrameHeight();

// Whether `window` is one of the bar windows in BarTable.
bool IsBarWindow(HWND window);
// Whether a bar window is on screen rather than moved away or not yet placed.
bool AnyBarOnScreen();

}  // namespace orvale

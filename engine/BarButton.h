// One button of a bar: an owner-drawn square with a hover edge and a tooltip, a tool of its
// bar's tooltip control. It hands its clicks to its bar inside the program, never through a
// message another program could post: only a press the mouse really made counts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/IconCache.h"
#include "model/BarModel.h"
#include "win/MouseButtons.h"
#include "win/Subclass.h"

namespace orvale {

// Sizes at 96 DPI; a bar scales them to the DPI it is built at.
constexpr int kTaskButtonSize = 20;
constexpr int kItemButtonSize = 24;
constexpr int kButtonIconSize = 16;

class BarButton : public win::Subclass {
public:
    BarButton() = default;
    ~BarButton() override;

    // What the button hands its clicks to: its command id, or the bar's edit command.
    using CommandSink = std::function<void(int command)>;

    // What a button shows and does: its command id, caption (a tool of the bar's tooltip
    // control) and icon, drawn `iconSize` pixels square at the centre.
    struct Face {
        int commandId = 0;
        std::wstring caption;
        SharedIcon icon;
        int iconSize = kButtonIconSize;
        bool smallIcon = false;
    };
    // Creates the button window in `bar` at `rect`.
    bool Create(HWND bar, HWND tooltip, const RECT& rect, Face face, CommandSink sink);
    bool HasWindow() const { return Handle() != nullptr; }
    void SetCaption(const std::wstring& caption);
    void SetIcon(SharedIcon icon);

    int commandId = 0;
    bool smallIcon = false;
    int iconSize = kButtonIconSize;
    bool hot = false;
    HWND targetWindow = nullptr;  // task-bar buttons: the window to switch to
    BarItem item;                 // type-101 buttons: the item to run

    void Draw(const DRAWITEMSTRUCT& draw) const;

    // A press of mouse button `vk` (VK_LBUTTON or VK_RBUTTON) on this button closed another
    // program's menu, which owns the mouse until then: the press never came here, and its
    // release may not either. A right press edits the bar at once; a left one clicks once the
    // button is let go over the button, whether the release reaches it or not.
    void PressClosedMenu(int vk);
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
    void CompleteClick();

    std::wstring caption_;
    SharedIcon icon_;
    HWND tooltip_ = nullptr;     // the bar's
    bool pressed_ = false;       // the left button went down on this button
    bool armed_ = false;         // a left press closed a menu; the click waits for its release
    win::PressOnce rightPress_;  // a right press edits the bar once, however it was heard
    CommandSink sink_;
};

}  // namespace orvale

// One button of a bar: an owner-drawn square with a hover edge and a tooltip, a tool of its
// bar's tooltip control. It hands its clicks to its bar as commands.
#pragma once

#include <windows.h>

#include <string>

#include "engine/IconCache.h"
#include "model/BarModel.h"
#include "win/Subclass.h"

namespace orvale {

constexpr int kTaskButtonSize = 20;
constexpr int kItemButtonSize = 24;

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

}  // namespace orvale

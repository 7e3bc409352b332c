// A bar: a small captionless topmost popup holding a row or column of square icon buttons,
// one per item of its BarDef (or, for the menu task bar, one per open window). It hands its
// buttons' commands to the handlers the program gave the bars (BarHandlers.h).
//
// Commands reach a bar only from inside the program (QueueCommand): a WM_COMMAND any other
// program can post to a bar or a button runs nothing.
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <memory>

#include "engine/BarButton.h"
#include "model/BarModel.h"
#include "win/Dialog.h"
#include "win/Dpi.h"
#include "win/Handles.h"
#include "win/MouseButtons.h"

namespace orvale {

class BarWindow : public win::ModelessDialog {
public:
    BarWindow();
    ~BarWindow() override;

    // Creates the window at once, hidden, owned by the host frame.
    bool Create();

    int taskBar = 0;           // 1 only for the window in slot 0
    BarDef* bar = nullptr;     // set by BuildBar; not owned
    int count = 0;             // buttons built
    UINT dpi = win::kDesignDpi;  // set by BuildBar: every size of the bar is this DPI's
    std::array<std::unique_ptr<BarButton>, kMaxBarButtons> buttons;

    int ButtonSize() const {
        return win::Scale(taskBar ? kTaskButtonSize : kItemButtonSize, dpi);
    }
    int IconSize() const { return win::Scale(kButtonIconSize, dpi); }
    // The thickness of the bar's frame at its DPI.
    int FrameWidth() const;
    int FrameHeight() const;
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
    // Sizes everything built from now on for `newDpi`, the tooltips' text too.
    void SetDpi(UINT newDpi);

    // Runs `command` (a button's command id, the edit command, the second step of Switch
    // Windows) once the message now being handled is over: what it does may hide or even
    // rebuild this bar.
    void QueueCommand(int command);
    // What the bar's buttons hand their clicks to.
    BarButton::CommandSink ButtonSink() {
        return [this](int command) { QueueCommand(command); };
    }
    // A press on the bar outside its buttons closed another program's menu, which owns the
    // mouse until then, so the press never came here: it opens the bar's editor all the same.
    void PressClosedMenu(int vk);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnDrawItem(int id, const DRAWITEMSTRUCT& draw) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void EditThisBar();
    void CreateTooltip();
    void RunCommand(int id);
    void RunNextQueued();

    HWND tooltip_ = nullptr;
    std::shared_ptr<const win::FontHandle> tooltipFont_;  // shared by the bars of its DPI
    std::deque<int> queued_;
    win::PressOnce press_;  // a press on the bar edits it once, however it was heard
};

// Fills a bar window from `def` at `dpi`: one button per item (at most 64), sized to its
// natural size and topmost. A fresh bar stays hidden; one built again (at another DPI) keeps
// its place.
void BuildBar(BarWindow& window, BarDef& def, UINT dpi);

}  // namespace orvale

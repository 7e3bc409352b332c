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
    std::deque<int> queued_;
    win::PressOnce press_;  // a press on the bar edits it once, however it was heard
};

// Fills a fresh bar window from `def`: one button per item (at most 64), sized to its
// natural size, topmost and still hidden.
void BuildBar(BarWindow& window, BarDef& def);

// Frame thickness of a bar window (the system's dialog-frame metrics).
int BarFrameWidth();
int BarFrameHeight();

}  // namespace orvale

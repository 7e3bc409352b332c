// A bar: a small captionless topmost popup holding a row or column of square icon buttons,
// one per item of its BarDef (or, for the menu task bar, one per open window). It hands its
// buttons' commands to the handlers the program gave the bars (BarHandlers.h).
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "engine/BarButton.h"
#include "model/BarModel.h"
#include "win/Dialog.h"

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

// Frame thickness of a bar window (the system's dialog-frame metrics).
int BarFrameWidth();
int BarFrameHeight();

}  // namespace orvale

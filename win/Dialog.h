// Dialogs made from templates, in two kinds: a modal dialog runs and ends with a result, a
// modeless one is created and later destroyed. Every message reaches OnMessage first; the base
// splits the ones it knows into small handlers that return whether they handled it, and a
// derived dialog that overrides OnMessage sees all the others (WM_NOTIFY and WM_MEASUREITEM
// included, which arrive before WM_INITDIALOG for owner-drawn controls).
// Control values are bound to fields once and exchanged in both directions by UpdateData.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/Attached.h"

namespace win {

class Dialog : public Attached {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}

    // Exchanges the bound values: true loads fields from the controls, false pushes fields
    // into the controls.
    void UpdateData(bool fromControls);

    // Lets every modeless dialog see keyboard navigation first (Tab, Enter, Escape).
    static bool PreTranslate(MSG& msg);

protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    // True lets the system put the focus on the first control.
    virtual bool OnInit() { return true; }
    // Returns true when the command was handled. The base turns IDOK and IDCANCEL into OnOK
    // and OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnNotify(int /*id*/, NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
    virtual bool OnMeasureItem(int /*id*/, MEASUREITEMSTRUCT& /*measure*/) { return false; }
    virtual bool OnDrawItem(int /*id*/, const DRAWITEMSTRUCT& /*draw*/) { return false; }
    virtual void OnDestroy() {}
    virtual void OnOK();
    virtual void OnCancel() { End(IDCANCEL); }
    // Ends the dialog: a modal one returns `result` from its run, a modeless one is destroyed.
    virtual void End(int result) = 0;

    void BindCheck(int id, int& value);  // check box, 0 or 1
    void BindText(int id, std::wstring& value);

    // The dialog procedure of both kinds; `object` is handed over at WM_INITDIALOG.
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    int TemplateId() const { return templateId_; }

private:
    struct Binding {
        enum Kind { Check, Text } kind;
        int id;
        void* value;
    };

    int templateId_;
    std::vector<Binding> bindings_;
};

class ModalDialog : public Dialog {
public:
    using Dialog::Dialog;
    // Runs the dialog; returns the value given to End (IDOK, IDCANCEL, ...), or -1 if it failed.
    INT_PTR Run(HWND owner);

protected:
    void End(int result) override;
};

class ModelessDialog : public Dialog {
public:
    using Dialog::Dialog;
    // Creates the window and returns at once; false if the template could not be loaded.
    bool Create(HWND owner);
    // Destroys the window (the object stays); no-op when there is none.
    void Destroy();

protected:
    void End(int result) override;
};

}  // namespace win

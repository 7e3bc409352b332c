// A thin base for dialogs made from templates: the object is attached at WM_INITDIALOG,
// WM_COMMAND is split once here, and each message goes to a small virtual handler.
// Control values are bound to fields once and exchanged in both directions by UpdateData.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal run; returns the value given to End (IDOK, IDCANCEL, ...), or -1 if it failed.
    INT_PTR RunModal(HWND owner);
    // Creates the window and returns at once; false if the template could not be loaded.
    bool CreateModeless(HWND owner);
    // Destroys a modeless window (its object stays); no-op when there is none.
    void Destroy();

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool IsModal() const { return modal_; }

    // Lets every modeless dialog see keyboard navigation first (Tab, Enter, Escape).
    static bool PreTranslate(MSG& msg);

    // Exchanges the bound values: true loads fields from the controls, false pushes fields
    // into the controls.
    void UpdateData(bool fromControls);

protected:
    virtual bool OnInit() { return true; }
    // Returns true when the command was handled.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
    virtual void OnTimer(UINT_PTR /*id*/) {}
    virtual void OnOK();
    virtual void OnCancel() { End(IDCANCEL); }
    virtual void OnDestroy() {}
    // Any other message; returns true when handled, with its result in `result`.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) {
        return false;
    }

    void End(int result);

    void BindInt(int id, int& value);    // edit field holding a number
    void BindCheck(int id, int& value);  // check box, 0 or 1
    void BindText(int id, std::string& value);

private:
    struct Binding {
        enum Kind { Int, Check, Text } kind;
        int id;
        void* value;
    };

    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void Detach();

    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    std::vector<Binding> bindings_;
};

// Reads a control's or window's text as ANSI.
std::string WindowText(HWND hwnd);

}  // namespace win

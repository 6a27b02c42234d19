#pragma once

#include <windows.h>
#include <commctrl.h>

/// Base of every dialog window of ours: modal dialogs, frameless child
/// panels inside another dialog, and the pages of a property sheet. One
/// procedure keeps `this` in DWLP_USER, forwards each message to
/// HandleMessage, lets no exception out (the dialog manager cannot unwind
/// them) and forgets the window at WM_NCDESTROY.
class CDialog {
public:
    /// What RunModal returns when the dialog could not be shown or failed.
    static constexpr INT_PTR kFailed = -1;

    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    /// The window while it exists.
    HWND window() const { return hwnd_; }
    /// Control `id` of the window.
    HWND item(int id) const { return ::GetDlgItem(hwnd_, id); }

protected:
    CDialog() = default;

    /// Runs the dialog of template `templateId` in `instance` modally, owned
    /// by `owner` (may be null); the code it ended with, or kFailed.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
    /// As above, over a template in memory.
    INT_PTR RunModal(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner);
    /// Creates the dialog of template `templateId` without a loop of its own,
    /// as a child (or owned popup) of `parent`; false when it could not be.
    /// The window lives until it or its parent is destroyed.
    bool CreateModeless(HINSTANCE instance, int templateId, HWND parent);
    /// Fills `page` so that the property sheet's page of template
    /// `templateId` sends its messages here.
    void FillPage(PROPSHEETPAGEW& page, HINSTANCE instance, int templateId);
    /// Ends a modal dialog with `code`.
    void End(INT_PTR code);

    /// Every message of the window. The default calls the handlers below
    /// and leaves everything else to the dialog manager.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    /// WM_INITDIALOG. True lets the dialog manager set the focus; a dialog
    /// that places its own returns false.
    virtual bool OnInitDialog() { return true; }
    /// WM_COMMAND from control `id` with notification `code`.
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    /// WM_NOTIFY; the result goes to DWLP_MSGRESULT.
    virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
    /// A handler failed with an exception: what the dialog does then. A
    /// modal dialog ends with kFailed, so that half-filled controls or a
    /// half-copied name cannot reach the caller.
    virtual void OnFailure();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Dispatch(CDialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

/// The module that holds this code and its resources (the rename library, or
/// a test program), which need not be the process's executable.
HINSTANCE ModuleOfThisCode();

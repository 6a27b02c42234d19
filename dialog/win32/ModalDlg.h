#pragma once

#include <windows.h>

#include <string>

/// Base of the modal dialogs built from our templates. The static dialog
/// procedure keeps `this` in DWLP_USER and forwards to the members, and no
/// exception ever leaves it: a failure inside a handler ends the dialog with -1.
class CModalDlg {
public:
    /// The code DoModal returns when the dialog could not be shown or failed.
    static constexpr INT_PTR kFailed = -1;

    explicit CModalDlg(int templateId) : m_templateId(templateId) {}
    virtual ~CModalDlg() = default;
    CModalDlg(const CModalDlg&) = delete;
    CModalDlg& operator=(const CModalDlg&) = delete;

    /// Shows the dialog from template `templateId()` of `instance`, owned by
    /// `owner` (may be null), and returns the code it ended with, or kFailed.
    INT_PTR DoModal(HINSTANCE instance, HWND owner = nullptr);

    /// Resource id of the dialog template.
    int templateId() const { return m_templateId; }

protected:
    /// Fills the controls and places the focus; runs on WM_INITDIALOG.
    virtual void OnInitDialog() = 0;
    /// A WM_COMMAND from control `id` with notification `code`.
    virtual void OnCommand(int id, int code) = 0;

    /// The dialog window while it is open.
    HWND window() const { return m_hwnd; }
    /// Sets the text of control `id` from UTF-8.
    void setItemText(int id, const std::string& text);
    /// The text of control `id` as UTF-8.
    std::string itemText(int id) const;
    /// Moves the focus to control `id` the way the dialog manager does.
    void focusItem(int id);
    /// Scrolls edit `id` so that the end of its text is visible, leaving nothing selected.
    void revealEnd(int id);
    /// Ends the dialog with `code`.
    void end(INT_PTR code);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_hwnd = nullptr;
};

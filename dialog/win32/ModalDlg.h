#pragma once

#include <windows.h>

#include "dialog/win32/Dialog.h"

/// Base of the small modal dialogs built from our templates: one template,
/// shown by DoModal, ended with the code of the button pressed.
class CModalDlg : public CDialog {
public:
    explicit CModalDlg(int templateId) : templateId_(templateId) {}

    /// Shows the dialog from template `templateId()` of `instance`, owned by
    /// `owner` (may be null), and returns the code it ended with, or kFailed.
    INT_PTR DoModal(HINSTANCE instance, HWND owner = nullptr) { return RunModal(instance, templateId_, owner); }

    /// Resource id of the dialog template.
    int templateId() const { return templateId_; }

private:
    int templateId_;
};

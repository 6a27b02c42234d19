#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "dialog/win32/ModalDlg.h"

/// What the Confirm, Duplicate, Illegal and Too long dialogs share: the three
/// name rows (Old name and Computed read-only, New name editable) and buttons
/// that end the dialog with their own id.
class CNameDlg : public CModalDlg {
public:
    /// Shown in Old name, read-only.
    std::string oldName;
    /// Shown in Computed, read-only.
    std::string computed;
    /// Shown in New name; only the buttons that read the edit bring an edited text back here.
    std::string newName;

protected:
    /// `readers` are the buttons that copy New name back before ending.
    CNameDlg(int templateId, std::initializer_list<int> readers) : CModalDlg(templateId), readers_(readers) {}

    /// Selects what New name should offer for typing over, once it has the focus.
    virtual void SelectNewName();
    /// Selects characters [first, last) of New name (code points, as the run counts).
    void SelectNewNameChars(size_t first, size_t last);

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    bool reads(int id) const;

    std::vector<int> readers_;
};

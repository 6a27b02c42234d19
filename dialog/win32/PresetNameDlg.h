#pragma once

#include <string>

#include "dialog/win32/ModalDlg.h"

/// Asks for the name of a preset: "Save preset" and "Rename preset". Ends
/// with IDOK, the name typed in `name`, or IDCANCEL.
class CPresetNameDlg : public CModalDlg {
public:
    CPresetNameDlg(std::string caption, std::string name);

    const std::string& name() const { return name_; }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    std::string caption_;
    std::string name_;
};

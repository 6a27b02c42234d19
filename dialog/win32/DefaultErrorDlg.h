#pragma once

#include <string>
#include <vector>

#include "dialog/win32/ModalDlg.h"

/// Reports a rename or an access that the operating system refused; the user
/// skips the file or ends the run.
class CDefaultErrorDlg : public CModalDlg {
public:
    CDefaultErrorDlg();

    /// Window caption.
    std::string title;
    /// The file concerned, shown read-only.
    std::string fileName;
    /// The operating system's error code as decimal text.
    std::string errorCode;
    /// What failed, one line.
    std::string headline;
    /// The system's message text for the code.
    std::string explanation;
    /// The programs that hold the file open; shown under the explanation.
    std::vector<std::string> holders;
    /// Shows "Try again", which ends the dialog with kAnswerTryAgain.
    bool canRetry = false;

protected:
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
};

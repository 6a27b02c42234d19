#pragma once

#include <string>

#include "dialog/panels/RenameDlg.h"

/// Start letters, step, letter count and "Use uppercase characters", the
/// fields of every alphabetical panel.
class CAlphaPanel : public CRenameDlg {
protected:
    CAlphaPanel(CSettingsStore* store, int actionNameId, int focusControl);
    /// Binds the four fields; the list panel's start edit lowers what is typed.
    void BindLetters(bool lowercaseStart);
    /// The start letters as the counter's start, in decimal; false when the
    /// fields are incomplete or the letters run past the counter's range.
    bool StartValue(std::string& out) const;

    std::string step_;
    std::string start_;
    std::string digits_;
    int uppercase_ = 0;
};

/// "Produce alphabetical list": prefix + letters + suffix.
class CProduceAlphabeticalListDlg : public CAlphaPanel {
public:
    explicit CProduceAlphabeticalListDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string prefix_;
    std::string postfix_;
};

/// "Add alphabetical sequence to beginning".
class CAddAlphaAtBeginningDlg : public CAlphaPanel {
public:
    explicit CAddAlphaAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Add alphabetical sequence to end".
class CAddAlphaAtEndDlg : public CAlphaPanel {
public:
    explicit CAddAlphaAtEndDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

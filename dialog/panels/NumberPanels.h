#pragma once

#include <string>

#include "dialog/panels/RenameDlg.h"

/// Start, step and padding, the fields of every numbering panel. Numbers are
/// kept as typed; the operation reads them.
class CNumberPanel : public CRenameDlg {
protected:
    CNumberPanel(CSettingsStore* store, int actionNameId, int focusControl);
    /// Binds the three fields with their defaults, in the order they are saved.
    void BindNumbers(bool startFirst);
    bool AnyNumberEmpty() const { return start_.empty() || step_.empty() || digits_.empty(); }

    std::string step_;
    std::string start_;
    std::string digits_;
};

/// "Produce numbered list": prefix + number + suffix.
class CProduceNumberedListDlg : public CNumberPanel {
public:
    explicit CProduceNumberedListDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string prefix_;
    std::string postfix_;
};

/// "Add number to beginning".
class CAddNumberAtBeginningDlg : public CNumberPanel {
public:
    explicit CAddNumberAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Add number to end".
class CAddNumberAtEndDlg : public CNumberPanel {
public:
    explicit CAddNumberAtEndDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Renumber existing number sequence".
class CRenumberDlg : public CNumberPanel {
public:
    explicit CRenumberDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Change numbers": adds to or subtracts from every number in the name.
class CReformatNumberDlg : public CRenameDlg {
public:
    explicit CReformatNumberDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

    /// Entries of the "Calculations:" combo.
    enum : int { kAdd = 0, kSubtract = 1 };

private:
    std::string digits_;
    std::string number_;
    int add_ = kAdd;  ///< stored under "add", as a number
};

#pragma once

#include <string>

#include "dialog/panels/RenameDlg.h"

/// The date source, date format, time format and separator that every date
/// panel has.
class CDatePanel : public CRenameDlg {
protected:
    CDatePanel(CSettingsStore* store, int actionNameId, ScopeRule scopeRule);
    /// Binds the four fields; `spaceNameId` adds the space check box under
    /// that name before the separator.
    void BindDate(int spaceNameId);
    /// Without a date format and a time format there is no text to write.
    bool NothingChosen() const { return dateFormat_ == 0 && timeFormat_ == 0; }

    int date_ = 0;
    int dateFormat_ = 0;
    int timeFormat_ = 0;
    int space_ = 0;
    std::string separator_;
};

/// "Add date/time to beginning".
class CAddDateAtBeginningDlg : public CDatePanel {
public:
    explicit CAddDateAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Add date/time to end".
class CAddDateAtEndDlg : public CDatePanel {
public:
    explicit CAddDateAtEndDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Rename to date".
class CToDateDlg : public CDatePanel {
public:
    explicit CToDateDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

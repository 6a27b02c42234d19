#pragma once

#include <string>

#include "dialog/PanelIds.h"
#include "dialog/panels/RenameDlg.h"

/// "Insert anywhere": text inserted at a position or before or after an
/// occurrence of a text.
class CAddAnywhereDlg : public CRenameDlg {
public:
    explicit CAddAnywhereDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

    /// Radio buttons of the insertion point.
    enum : int { kAtPosition = IDC_PANEL_TO_POSITION_RADIO, kAtOccurrence = IDC_PANEL_TO_TEXT_RADIO };

private:
    std::string add_;
    std::string toPosition_;
    int toOrderType_ = 0;
    int toOccurenceType_ = 0;
    std::string toOccurence_;
    int toOrderOccurenceType_ = 0;
    int selection_ = kAtPosition;
};

/// "Add to beginning".
class CAddAtBeginningDlg : public CRenameDlg {
public:
    explicit CAddAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string add_;
};

/// "Add to end".
class CAddAtEndDlg : public CRenameDlg {
public:
    explicit CAddAtEndDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string add_;
};

/// "Add folder to beginning".
class CAddFolderAtBeginningDlg : public CRenameDlg {
public:
    explicit CAddFolderAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    int trailing_ = 0;
};

/// "Manually rename": the text offered in the "Select:" field.
class CManuallyDlg : public CRenameDlg {
public:
    explicit CManuallyDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string new_;
};

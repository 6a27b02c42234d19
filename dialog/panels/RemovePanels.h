#pragma once

#include <string>

#include "dialog/PanelIds.h"
#include "dialog/panels/RenameDlg.h"

/// "Remove anywhere": from a start point (a position or an occurrence of a
/// text) to an end point (a position, an occurrence of a text, or a number
/// of characters either way).
class CRemoveAnywhereDlg : public CRenameDlg {
public:
    explicit CRemoveAnywhereDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

    /// Radio buttons of the start ("Starting From:") and the end ("To:").
    enum : int {
        kStartAtPosition = IDC_PANEL_START_AT_POSITION,
        kStartAtText = IDC_PANEL_START_AT_TEXT,
        kEndAtPosition = IDC_PANEL_TO_POSITION_RADIO,
        kEndAtText = IDC_PANEL_TO_TEXT_RADIO,
        kEndByCount = IDC_PANEL_TO_COUNT_RADIO,
    };

private:
    std::string position_;
    int orderType_ = 0;
    int occurenceType_ = 0;
    std::string occurence_;
    std::string toPosition_;
    int toOrderType_ = 0;
    int toOrderOccurenceType_ = 0;
    int toOccurenceType_ = 0;
    std::string toOccurence_;
    int toRemoveType_ = 0;
    std::string toRemove_;
    int startSelection_ = kStartAtPosition;
    int endSelection_ = kEndAtPosition;
};

/// "Remove at beginning".
class CRemoveAtBeginningDlg : public CRenameDlg {
public:
    explicit CRemoveAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string remove_;
};

/// "Remove at end".
class CRemoveAtEndDlg : public CRenameDlg {
public:
    explicit CRemoveAtEndDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string remove_;
};

/// "Remove file/folder extensions": nothing to set, and nothing remembered.
class CRemoveExtensionsDlg : public CRenameDlg {
public:
    explicit CRemoveExtensionsDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Remove vowels": nothing to set, and nothing remembered.
class CRemoveVowelsDlg : public CRenameDlg {
public:
    explicit CRemoveVowelsDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Truncate": the number of characters to keep.
class CTruncateToDlg : public CRenameDlg {
public:
    explicit CTruncateToDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    std::string truncate_;
};

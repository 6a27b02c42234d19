#include "dialog/panels/RemovePanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/Occurrence.h"
#include "operations/Remove.h"

CRemoveAnywhereDlg::CRemoveAnywhereDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveAnywhere, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_START_POSITION) {
    BindText(IDC_PANEL_START_POSITION, kStrPosition, position_, "0", TextRule::kDigitsOnly);
    BindCombo(IDC_PANEL_START_DIRECTION, kStrOrderType, orderType_, 2);
    BindCombo(IDC_PANEL_START_OCCURRENCE, kStrOccurenceType, occurenceType_, kOccurrenceCount);
    BindText(IDC_PANEL_START_TEXT, kStrOccurence, occurence_, "");
    BindText(IDC_PANEL_TO_POSITION, kStrToPosition, toPosition_, "1", TextRule::kDigitsOnly);
    BindCombo(IDC_PANEL_TO_DIRECTION, kStrToOrderType, toOrderType_, 2);
    BindCombo(IDC_PANEL_TO_EDGE, kStrToOrderOccurenceType, toOrderOccurenceType_, 2);
    BindCombo(IDC_PANEL_TO_OCCURRENCE, kStrToOccurenceType, toOccurenceType_, kOccurrenceCount);
    BindText(IDC_PANEL_TO_TEXT, kStrToOccurence, toOccurence_, "");
    BindCombo(IDC_PANEL_TO_WAY, kStrToRemoveType, toRemoveType_, 2);
    BindText(IDC_PANEL_TO_COUNT, kStrToRemove, toRemove_, "1", TextRule::kDigitsOnly);
    // The radio ids are saved last.
    BindRadios(kStrRemoveAnywhereSelection, startSelection_,
               {{kStartAtPosition, {IDC_PANEL_START_POSITION, IDC_PANEL_START_DIRECTION}},
                {kStartAtText, {IDC_PANEL_START_OCCURRENCE, IDC_PANEL_START_TEXT}}}, kStartAtPosition);
    BindRadios(kStrToRemoveAnywhereSelection, endSelection_,
               {{kEndAtPosition, {IDC_PANEL_TO_POSITION, IDC_PANEL_TO_DIRECTION}},
                {kEndAtText, {IDC_PANEL_TO_EDGE, IDC_PANEL_TO_OCCURRENCE, IDC_PANEL_TO_TEXT}},
                {kEndByCount, {IDC_PANEL_TO_WAY, IDC_PANEL_TO_COUNT}}},
               kEndAtPosition);
    Restore();
}

std::unique_ptr<CExecute> CRemoveAnywhereDlg::Build(const CRunOptions& options) const {
    const bool startAtPosition = startSelection_ == kStartAtPosition;
    const int startKind =
        startAtPosition ? CRemoveAnywhereExecute::kStartAtPosition : CRemoveAnywhereExecute::kStartAtText;
    const int startValue = startAtPosition ? orderType_ : occurenceType_;
    const std::string& startText = startAtPosition ? position_ : occurence_;
    if (startText.empty()) return nullptr;

    int endKind, endValue, endExtra;
    const std::string* endText;
    if (endSelection_ == kEndAtText) {
        endKind = CRemoveAnywhereExecute::kEndAtText;
        endValue = toOccurenceType_;
        endText = &toOccurence_;
        endExtra = toOrderOccurenceType_;
    } else if (endSelection_ == kEndByCount) {
        endKind = CRemoveAnywhereExecute::kEndByCount;
        endValue = toRemoveType_;
        endText = &toRemove_;
        endExtra = -1;
    } else {
        endKind = CRemoveAnywhereExecute::kEndAtPosition;
        endValue = toOrderType_;
        endText = &toPosition_;
        endExtra = -1;
    }
    if (endText->empty()) return nullptr;

    return std::make_unique<CRemoveAnywhereExecute>(options,
                                                    startKind, startValue, startText, endKind, endValue, *endText,
                                                    endExtra);
}

CRemoveAtBeginningDlg::CRemoveAtBeginningDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveAtBeginning, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrRemove, remove_, "1", TextRule::kDigitsOnly);
    Restore();
}

std::unique_ptr<CExecute> CRemoveAtBeginningDlg::Build(const CRunOptions& options) const {
    if (remove_.empty()) return nullptr;
    return std::make_unique<CRemoveAtBeginningExecute>(options,
                                                       remove_);
}

CRemoveAtEndDlg::CRemoveAtEndDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveAtEnd, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrRemove, remove_, "1", TextRule::kDigitsOnly);
    Restore();
}

std::unique_ptr<CExecute> CRemoveAtEndDlg::Build(const CRunOptions& options) const {
    if (remove_.empty()) return nullptr;
    return std::make_unique<CRemoveAtEndExecute>(options,
                                                 remove_);
}

// Writes nothing, not even "lastSelection": the action that ran before stays
// the one the next run opens with, together with its values.
CRemoveExtensionsDlg::CRemoveExtensionsDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveExtensions, ScopeRule::kNotExtension, FocusKind::kNone, 0) {
    SaveNothing();
}

std::unique_ptr<CExecute> CRemoveExtensionsDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CRemoveExtensionsExecute>(options);
}

// Writes nothing, as "Remove file/folder extensions".
CRemoveVowelsDlg::CRemoveVowelsDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveVowels, ScopeRule::kAlways, FocusKind::kNone, 0) {
    SaveNothing();
}

std::unique_ptr<CExecute> CRemoveVowelsDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CRemoveVowelsExecute>(options);
}

CTruncateToDlg::CTruncateToDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrTruncate, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrTruncateCount, truncate_, "1", TextRule::kDigitsOnly);
    Restore();
}

std::unique_ptr<CExecute> CTruncateToDlg::Build(const CRunOptions& options) const {
    if (truncate_.empty()) return nullptr;
    return std::make_unique<CTruncateToExecute>(options,
                                                truncate_);
}

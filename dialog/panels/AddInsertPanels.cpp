#include "dialog/panels/AddInsertPanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/AddInsert.h"
#include "operations/Occurrence.h"

CAddAnywhereDlg::CAddAnywhereDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddAnywhere, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TO_POSITION) {
    BindText(IDC_PANEL_INSERT_TEXT, kStrAdd, add_, "");
    BindText(IDC_PANEL_TO_POSITION, kStrToPosition, toPosition_, "1", TextRule::kDigitsOnly);
    BindCombo(IDC_PANEL_TO_DIRECTION, kStrToOrderType, toOrderType_, 2);
    BindCombo(IDC_PANEL_TO_OCCURRENCE, kStrToOccurenceType, toOccurenceType_, kOccurrenceCount);
    BindText(IDC_PANEL_TO_TEXT, kStrToOccurence, toOccurence_, "");
    BindCombo(IDC_PANEL_TO_EDGE, kStrToOrderOccurenceType, toOrderOccurenceType_, 2);
    BindRadios(kStrAddAnywhereSelection, selection_, {{kAtPosition, {IDC_PANEL_TO_POSITION, IDC_PANEL_TO_DIRECTION}},
                {kAtOccurrence, {IDC_PANEL_TO_EDGE, IDC_PANEL_TO_OCCURRENCE, IDC_PANEL_TO_TEXT}}},
               kAtPosition);
    Restore();
}

std::unique_ptr<CExecute> CAddAnywhereDlg::Build(const CRunOptions& options) const {
    const bool atPosition = selection_ == kAtPosition;
    const std::string& anchor = atPosition ? toPosition_ : toOccurence_;
    if (anchor.empty()) return nullptr;
    return std::make_unique<CAddAnywhereExecute>(
        options,
        atPosition ? CAddAnywhereExecute::kAtPosition : CAddAnywhereExecute::kAtText,
        atPosition ? toOrderType_ : toOccurenceType_, anchor, atPosition ? -1 : toOrderOccurenceType_, add_);
}

CAddAtBeginningDlg::CAddAtBeginningDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddAtBeginning, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrAdd, add_, "");
    Restore();
}

std::unique_ptr<CExecute> CAddAtBeginningDlg::Build(const CRunOptions& options) const {
    if (add_.empty()) return nullptr;
    return std::make_unique<CAddAtBeginningExecute>(options,
                                                    add_);
}

CAddAtEndDlg::CAddAtEndDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddAtEnd, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrAdd, add_, "");
    Restore();
}

std::unique_ptr<CExecute> CAddAtEndDlg::Build(const CRunOptions& options) const {
    if (add_.empty()) return nullptr;
    return std::make_unique<CAddAtEndExecute>(options, add_);
}

CAddFolderAtBeginningDlg::CAddFolderAtBeginningDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddFolderAtBeginning, ScopeRule::kNotExtension, FocusKind::kNone, 0) {
    BindCheck(IDC_PANEL_SPACE, kStrTrailing, trailing_);
    Restore();
}

std::unique_ptr<CExecute> CAddFolderAtBeginningDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CAddFolderAtBeginningExecute>(options, trailing_);
}

CManuallyDlg::CManuallyDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrManually, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrNew, new_, "");
    Restore();
}

std::unique_ptr<CExecute> CManuallyDlg::Build(const CRunOptions& options) const {
    if (new_.empty()) return nullptr;
    return std::make_unique<CManuallyExecute>(options, new_);
}

#include "dialog/panels/RemovePanels.h"

#include "dialog/StringTable.h"
#include "operations/Occurrence.h"
#include "operations/Remove.h"

CRemoveAnywhereDlg::CRemoveAnywhereDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveAnywhere, 1009, ScopeRule::kAlways, FocusKind::kSelectAll, 1023) {
    BindText(1023, kStrPosition, position_, "0", TextRule::kDigitsOnly);
    BindCombo(1040, kStrOrderType, orderType_, 2);
    BindCombo(1022, kStrOccurenceType, occurenceType_, kOccurrenceCount);
    BindText(1041, kStrOccurence, occurence_, "");
    BindText(1026, kStrToPosition, toPosition_, "1", TextRule::kDigitsOnly);
    BindCombo(1025, kStrToOrderType, toOrderType_, 2);
    BindCombo(1028, kStrToOrderOccurenceType, toOrderOccurenceType_, 2);
    BindCombo(1029, kStrToOccurenceType, toOccurenceType_, kOccurrenceCount);
    BindText(1042, kStrToOccurence, toOccurence_, "");
    BindCombo(1031, kStrToRemoveType, toRemoveType_, 2);
    BindText(1043, kStrToRemove, toRemove_, "1", TextRule::kDigitsOnly);
    // The radio ids are saved last.
    BindRadios(kStrRemoveAnywhereSelection, startSelection_,
               {{kStartAtPosition, {1023, 1040}}, {kStartAtText, {1022, 1041}}}, kStartAtPosition);
    BindRadios(kStrToRemoveAnywhereSelection, endSelection_,
               {{kEndAtPosition, {1026, 1025}}, {kEndAtText, {1028, 1029, 1042}}, {kEndByCount, {1031, 1043}}},
               kEndAtPosition);
    Restore();
}

std::unique_ptr<CExecute> CRemoveAnywhereDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                              int sort, int sortFolders) {
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

    Save();
    return std::make_unique<CRemoveAnywhereExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                    startKind, startValue, startText, endKind, endValue, *endText,
                                                    endExtra);
}

CRemoveAtBeginningDlg::CRemoveAtBeginningDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveAtBeginning, 1020, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1000, kStrRemove, remove_, "1", TextRule::kDigitsOnly);
    Restore();
}

std::unique_ptr<CExecute> CRemoveAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                 int sort, int sortFolders) {
    if (remove_.empty()) return nullptr;
    Save();
    return std::make_unique<CRemoveAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                       remove_);
}

CRemoveAtEndDlg::CRemoveAtEndDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveAtEnd, 1019, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1000, kStrRemove, remove_, "1", TextRule::kDigitsOnly);
    Restore();
}

std::unique_ptr<CExecute> CRemoveAtEndDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                           int sort, int sortFolders) {
    if (remove_.empty()) return nullptr;
    Save();
    return std::make_unique<CRemoveAtEndExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                 remove_);
}

CRemoveExtensionsDlg::CRemoveExtensionsDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveExtensions, 1022, ScopeRule::kNotExtension, FocusKind::kNone, 0) {}

// Writes nothing, not even "lastSelection": the action that ran before stays
// the one the next run opens with, together with its values.
std::unique_ptr<CExecute> CRemoveExtensionsDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                int sort, int sortFolders) {
    return std::make_unique<CRemoveExtensionsExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders);
}

CRemoveVowelsDlg::CRemoveVowelsDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRemoveVowels, 1023, ScopeRule::kAlways, FocusKind::kNone, 0) {}

// Writes nothing, as "Remove file/folder extensions".
std::unique_ptr<CExecute> CRemoveVowelsDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                            int sort, int sortFolders) {
    return std::make_unique<CRemoveVowelsExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders);
}

CTruncateToDlg::CTruncateToDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrTruncate, 1021, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1000, kStrTruncateCount, truncate_, "1", TextRule::kDigitsOnly);
    Restore();
}

std::unique_ptr<CExecute> CTruncateToDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                          int sortFolders) {
    if (truncate_.empty()) return nullptr;
    Save();
    return std::make_unique<CTruncateToExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                truncate_);
}

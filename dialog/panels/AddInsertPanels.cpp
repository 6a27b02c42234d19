#include "dialog/panels/AddInsertPanels.h"

#include "dialog/StringTable.h"
#include "operations/AddInsert.h"
#include "operations/Occurrence.h"

CAddAnywhereDlg::CAddAnywhereDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddAnywhere, 1119, ScopeRule::kAlways, FocusKind::kSelectAll, 1026) {
    BindText(1047, kStrAdd, add_, "");
    BindText(1026, kStrToPosition, toPosition_, "1", TextRule::kDigitsOnly);
    BindCombo(1025, kStrToOrderType, toOrderType_, 2);
    BindCombo(1029, kStrToOccurenceType, toOccurenceType_, kOccurrenceCount);
    BindText(1042, kStrToOccurence, toOccurence_, "");
    BindCombo(1028, kStrToOrderOccurenceType, toOrderOccurenceType_, 2);
    BindRadios(kStrAddAnywhereSelection, selection_, {{kAtPosition, {1026, 1025}}, {kAtOccurrence, {1028, 1029, 1042}}},
               kAtPosition);
    Restore();
}

std::unique_ptr<CExecute> CAddAnywhereDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                           int sort, int sortFolders) {
    const bool atPosition = selection_ == kAtPosition;
    const std::string& anchor = atPosition ? toPosition_ : toOccurence_;
    if (anchor.empty()) return nullptr;
    Save();
    return std::make_unique<CAddAnywhereExecute>(
        files, folders, subfolders, confirm, scope(), sort, sortFolders,
        atPosition ? CAddAnywhereExecute::kAtPosition : CAddAnywhereExecute::kAtText,
        atPosition ? toOrderType_ : toOccurenceType_, anchor, atPosition ? -1 : toOrderOccurenceType_, add_);
}

CAddAtBeginningDlg::CAddAtBeginningDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddAtBeginning, 1012, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1000, kStrAdd, add_, "");
    Restore();
}

std::unique_ptr<CExecute> CAddAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                              int sort, int sortFolders) {
    if (add_.empty()) return nullptr;
    Save();
    return std::make_unique<CAddAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                    add_);
}

CAddAtEndDlg::CAddAtEndDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddAtEnd, 1000, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1000, kStrAdd, add_, "");
    Restore();
}

std::unique_ptr<CExecute> CAddAtEndDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                        int sortFolders) {
    if (add_.empty()) return nullptr;
    Save();
    return std::make_unique<CAddAtEndExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders, add_);
}

CAddFolderAtBeginningDlg::CAddFolderAtBeginningDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrAddFolderAtBeginning, 1129, ScopeRule::kNotExtension, FocusKind::kNone, 0) {
    BindCheck(1036, kStrTrailing, trailing_);
    Restore();
}

std::unique_ptr<CExecute> CAddFolderAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                    int sort, int sortFolders) {
    Save();
    return std::make_unique<CAddFolderAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort,
                                                          sortFolders, trailing_);
}

CManuallyDlg::CManuallyDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrManually, 1025, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1000, kStrNew, new_, "");
    Restore();
}

std::unique_ptr<CExecute> CManuallyDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                        int sortFolders) {
    if (new_.empty()) return nullptr;
    Save();
    return std::make_unique<CManuallyExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders, new_);
}

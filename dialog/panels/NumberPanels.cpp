#include "dialog/panels/NumberPanels.h"

#include "dialog/StringTable.h"
#include "operations/Numbers.h"

CNumberPanel::CNumberPanel(CSettingsStore* store, int actionNameId, int templateId, int focusControl)
    : CRenameDlg(store, actionNameId, templateId, ScopeRule::kAlways, FocusKind::kNextControl, focusControl) {}

void CNumberPanel::BindNumbers(bool startFirst) {
    if (startFirst) BindText(1001, kStrStart, start_, "0", TextRule::kDigitsOnly);
    BindText(1000, kStrStep, step_, "1", TextRule::kDigitsOnly);
    if (!startFirst) BindText(1001, kStrStart, start_, "0", TextRule::kDigitsOnly);
    BindText(1002, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
}

CProduceNumberedListDlg::CProduceNumberedListDlg(CSettingsStore* store)
    : CNumberPanel(store, kStrProduceNumberedList, 1030, 1003) {
    BindNumbers(false);
    BindText(1003, kStrPrefix, prefix_, "");
    BindText(1004, kStrPostfix, postfix_, "");
    Restore();
}

std::unique_ptr<CExecute> CProduceNumberedListDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                   int sort, int sortFolders) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CProduceNumberedListExecute>(files, folders, subfolders, confirm, scope(), sort,
                                                         sortFolders, start_, step_, digits_, prefix_, postfix_);
}

CAddNumberAtBeginningDlg::CAddNumberAtBeginningDlg(CSettingsStore* store)
    : CNumberPanel(store, kStrAddNumberAtBeginning, 1017, 1001) {
    BindNumbers(false);
    Restore();
}

std::unique_ptr<CExecute> CAddNumberAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                    int sort, int sortFolders) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CAddNumberAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort,
                                                          sortFolders, start_, step_, digits_);
}

CAddNumberAtEndDlg::CAddNumberAtEndDlg(CSettingsStore* store) : CNumberPanel(store, kStrAddNumberAtEnd, 1016, 1001) {
    BindNumbers(false);
    Restore();
}

std::unique_ptr<CExecute> CAddNumberAtEndDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                              int sort, int sortFolders) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CAddNumberAtEndExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                    start_, step_, digits_);
}

CRenumberDlg::CRenumberDlg(CSettingsStore* store) : CNumberPanel(store, kStrRenumber, 1035, 1001) {
    BindNumbers(true);
    Restore();
}

std::unique_ptr<CExecute> CRenumberDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                        int sortFolders) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CRenumberExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders, start_,
                                              step_, digits_);
}

CReformatNumberDlg::CReformatNumberDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrReformatNumber, 1026, ScopeRule::kAlways, FocusKind::kSelectAll, 1000) {
    BindText(1002, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
    BindText(1000, kStrNumber, number_, "0", TextRule::kDigitsOnly);
    BindCombo(1001, kStrAdd, add_, 2);
    Restore();
}

std::unique_ptr<CExecute> CReformatNumberDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                              int sort, int sortFolders) {
    if (digits_.empty() || number_.empty()) return nullptr;
    Save();
    return std::make_unique<CReformatNumberExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                    digits_, add_ == kAdd ? 1 : 0, number_);
}

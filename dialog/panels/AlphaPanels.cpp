#include "dialog/panels/AlphaPanels.h"

#include "dialog/StringTable.h"
#include "operations/Alpha.h"

CAlphaPanel::CAlphaPanel(CSettingsStore* store, int actionNameId, int templateId, int focusControl)
    : CRenameDlg(store, actionNameId, templateId, ScopeRule::kAlways, FocusKind::kNextControl, focusControl) {}

void CAlphaPanel::BindLetters(bool lowercaseStart) {
    BindText(1000, kStrStep, step_, "1", TextRule::kDigitsOnly);
    BindText(1001, kStrStart, start_, "a", TextRule::kStartLetters);
    Binding(kStrStart).lowercase = lowercaseStart;
    BindText(1002, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
}

bool CAlphaPanel::StartValue(std::string& out) const {
    if (start_.empty() || step_.empty() || digits_.empty()) return false;
    bool overflow = false;
    const int value = StartLettersValue(start_, &overflow);
    // Starting at some clamped value would number from letters nobody typed.
    if (overflow) return false;
    out = std::to_string(value);
    return true;
}

CProduceAlphabeticalListDlg::CProduceAlphabeticalListDlg(CSettingsStore* store)
    : CAlphaPanel(store, kStrProduceAlphabeticalList, 1034, 1003) {
    BindLetters(true);
    BindText(1003, kStrPrefix, prefix_, "");
    BindText(1004, kStrPostfix, postfix_, "");
    BindCheck(1036, kStrMakeUppercase, uppercase_);
    Restore();
}

std::unique_ptr<CExecute> CProduceAlphabeticalListDlg::CreateOperation(int files, int folders, int subfolders,
                                                                       int confirm, int sort, int sortFolders) {
    std::string start;
    if (!StartValue(start)) return nullptr;
    Save();
    return std::make_unique<CProduceAlphabeticalListExecute>(files, folders, subfolders, confirm, scope(), sort,
                                                             sortFolders, start, step_, digits_, prefix_, postfix_,
                                                             uppercase_);
}

CAddAlphaAtBeginningDlg::CAddAlphaAtBeginningDlg(CSettingsStore* store)
    : CAlphaPanel(store, kStrAddAlphaAtBeginning, 1130, 1001) {
    BindLetters(false);
    BindCheck(1036, kStrMakeUppercase, uppercase_);
    Restore();
}

std::unique_ptr<CExecute> CAddAlphaAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                   int sort, int sortFolders) {
    std::string start;
    if (!StartValue(start)) return nullptr;
    Save();
    return std::make_unique<CAddAlphaAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort,
                                                         sortFolders, start, step_, digits_, uppercase_);
}

CAddAlphaAtEndDlg::CAddAlphaAtEndDlg(CSettingsStore* store) : CAlphaPanel(store, kStrAddAlphaAtEnd, 1151, 1001) {
    BindLetters(false);
    BindCheck(1036, kStrMakeUppercase, uppercase_);
    Restore();
}

std::unique_ptr<CExecute> CAddAlphaAtEndDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                             int sort, int sortFolders) {
    std::string start;
    if (!StartValue(start)) return nullptr;
    Save();
    return std::make_unique<CAddAlphaAtEndExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                   start, step_, digits_, uppercase_);
}

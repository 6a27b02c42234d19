#include "dialog/panels/DatePanels.h"

#include "dialog/StringTable.h"
#include "operations/DateTime.h"

CDatePanel::CDatePanel(CSettingsStore* store, int actionNameId, int templateId, ScopeRule scopeRule)
    : CRenameDlg(store, actionNameId, templateId, scopeRule, FocusKind::kNone, 0) {}

void CDatePanel::BindDate(int spaceNameId) {
    BindCombo(1021, kStrDate, date_, static_cast<int>(kDateSourceTexts.size()));
    BindCombo(1023, kStrDateFormat, dateFormat_, static_cast<int>(kDateFormats.size()));
    BindCombo(1022, kStrTimeFormat, timeFormat_, static_cast<int>(kTimeFormats.size()));
    if (spaceNameId) BindCheck(1036, spaceNameId, space_);
    BindText(1049, kStrSeparator, separator_, " ");
    Binding(kStrSeparator).maxChars = 1;
}

CAddDateAtBeginningDlg::CAddDateAtBeginningDlg(CSettingsStore* store)
    : CDatePanel(store, kStrAddDateAtBeginning, 1032, ScopeRule::kNotExtension) {
    BindDate(kStrTrailing);
    Restore();
}

std::unique_ptr<CExecute> CAddDateAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                  int sort, int sortFolders) {
    if (NothingChosen()) return nullptr;
    Save();
    return std::make_unique<CAddDateAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                        date_, dateFormat_, timeFormat_, space_, separator_);
}

CAddDateAtEndDlg::CAddDateAtEndDlg(CSettingsStore* store)
    : CDatePanel(store, kStrAddDateAtEnd, 1033, ScopeRule::kNotExtensionWithSeparator) {
    BindDate(kStrLeading);
    Restore();
}

std::unique_ptr<CExecute> CAddDateAtEndDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                            int sort, int sortFolders) {
    if (NothingChosen()) return nullptr;
    Save();
    return std::make_unique<CAddDateAtEndExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                  date_, dateFormat_, timeFormat_, space_, separator_);
}

CToDateDlg::CToDateDlg(CSettingsStore* store) : CDatePanel(store, kStrToDate, 1031, ScopeRule::kNotExtension) {
    BindDate(0);
    Restore();
}

std::unique_ptr<CExecute> CToDateDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                      int sortFolders) {
    if (NothingChosen()) return nullptr;
    Save();
    return std::make_unique<CToDateExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders, date_,
                                            dateFormat_, timeFormat_, separator_);
}

#include "dialog/panels/CasePanels.h"

#include "dialog/StringTable.h"
#include "operations/Case.h"

namespace {

// "only spaces delimit words", "all punctuation marks delimit words", "all
// punctuation marks except ' delimit words".
constexpr int kDelimiterChoices = 3;

}  // namespace

CCapitalDlg::CCapitalDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrCapital, 1137, ScopeRule::kNameOnly, FocusKind::kNone, 0) {}

std::unique_ptr<CExecute> CCapitalDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                       int sortFolders) {
    Save();
    return std::make_unique<CCapitalExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders);
}

CLowercaseDlg::CLowercaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrMakeLowercase, 1001, ScopeRule::kAlways, FocusKind::kNone, 0) {}

std::unique_ptr<CExecute> CLowercaseDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                         int sortFolders) {
    Save();
    return std::make_unique<CLowercaseExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders);
}

CUppercaseDlg::CUppercaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrMakeUppercase, 1011, ScopeRule::kAlways, FocusKind::kNone, 0) {}

std::unique_ptr<CExecute> CUppercaseDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                         int sortFolders) {
    Save();
    return std::make_unique<CUppercaseExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders);
}

CPropercaseDlg::CPropercaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrPropercase, 1029, ScopeRule::kAlways, FocusKind::kCombo, 1000) {
    BindCombo(1000, kStrType, type_, kDelimiterChoices);
    Restore();
}

std::unique_ptr<CExecute> CPropercaseDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                          int sortFolders) {
    Save();
    return std::make_unique<CPropercaseExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders, type_);
}

CTitlecaseDlg::CTitlecaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrTitlecase, 1124, ScopeRule::kAlways, FocusKind::kCombo, 1000) {
    BindCombo(1000, kStrType, type_, kDelimiterChoices);
    BindText(1001, kStrWords, words_, kDefaultWords);
    Binding(kStrWords).emptyMeansDefault = true;
    Restore();
}

std::unique_ptr<CExecute> CTitlecaseDlg::CreateOperation(int files, int folders, int subfolders, int confirm, int sort,
                                                         int sortFolders) {
    Save();
    return std::make_unique<CTitlecaseExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders, type_,
                                               words_);
}

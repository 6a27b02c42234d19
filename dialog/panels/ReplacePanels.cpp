#include "dialog/panels/ReplacePanels.h"

#include "dialog/StringTable.h"
#include "operations/Replace.h"

namespace {

// "Replace all occurences" ... "Replace 5th to last occurence".
constexpr int kReplaceChoices = 11;

}  // namespace

CReplacePanel::CReplacePanel(CSettingsStore* store, int actionNameId, int templateId, ScopeRule scopeRule)
    : CRenameDlg(store, actionNameId, templateId, scopeRule, FocusKind::kSelectAll, 1000) {
    BindCheck(1036, kStrIgnoreCase, ignoreCase_);
}

CReplaceAnywhereDlg::CReplaceAnywhereDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceAnywhere, 1015, ScopeRule::kAlways) {
    BindCombo(1002, kStrType, type_, kReplaceChoices);
    BindText(1000, kStrFind, find_, "");
    BindText(1001, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceAnywhereDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                               int sort, int sortFolders) {
    if (find_.empty()) return nullptr;
    Save();
    return std::make_unique<CReplaceAnywhereExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                     find_, replace_, type_, ignoreCase_);
}

CReplaceAtBeginningDlg::CReplaceAtBeginningDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceAtBeginning, 1014, ScopeRule::kAlways) {
    BindText(1000, kStrFind, find_, "");
    BindText(1001, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceAtBeginningDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                  int sort, int sortFolders) {
    if (find_.empty()) return nullptr;
    Save();
    return std::make_unique<CReplaceAtBeginningExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                        find_, replace_, ignoreCase_);
}

CReplaceAtEndDlg::CReplaceAtEndDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceAtEnd, 1013, ScopeRule::kAlways) {
    BindText(1000, kStrFind, find_, "");
    BindText(1001, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceAtEndDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                            int sort, int sortFolders) {
    if (find_.empty()) return nullptr;
    Save();
    return std::make_unique<CReplaceAtEndExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                  find_, replace_, ignoreCase_);
}

CReplaceExtensionsDlg::CReplaceExtensionsDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceExtensions, 1028, ScopeRule::kNotExtension) {
    BindText(1000, kStrFind, find_, "");
    BindText(1001, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceExtensionsDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                 int sort, int sortFolders) {
    if (find_.empty()) return nullptr;
    Save();
    return std::make_unique<CReplaceExtensionsExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                       find_, replace_, ignoreCase_);
}

CReplaceCharactersDlg::CReplaceCharactersDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceCharacters, 1027, ScopeRule::kAlways) {
    BindCheck(1037, kStrIgnoreCase2, ignoreCase2_);
    BindCheck(1038, kStrIgnoreCase3, ignoreCase3_);
    BindText(1000, kStrFind, find_, "");
    BindText(1001, kStrReplace, replace_, "");
    BindText(1002, kStrFind2, find2_, "");
    BindText(1003, kStrReplace2, replace2_, "");
    BindText(1004, kStrFind3, find3_, "");
    BindText(1005, kStrReplace3, replace3_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceCharactersDlg::CreateOperation(int files, int folders, int subfolders, int confirm,
                                                                 int sort, int sortFolders) {
    if (find_.empty()) return nullptr;
    Save();
    return std::make_unique<CReplaceCharactersExecute>(files, folders, subfolders, confirm, scope(), sort, sortFolders,
                                                       find_, replace_, ignoreCase_, find2_, replace2_, ignoreCase2_,
                                                       find3_, replace3_, ignoreCase3_);
}

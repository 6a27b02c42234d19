#include "dialog/panels/ReplacePanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/Pattern.h"
#include "operations/Replace.h"

namespace {

// "Replace all occurences" ... "Replace 5th to last occurence".
constexpr int kReplaceChoices = 11;

}  // namespace

CReplacePanel::CReplacePanel(CSettingsStore* store, int actionNameId, ScopeRule scopeRule)
    : CRenameDlg(store, actionNameId, scopeRule, FocusKind::kSelectAll, IDC_PANEL_FIND) {
    BindCheck(IDC_PANEL_IGNORE_CASE, kStrIgnoreCase, ignoreCase_);
}

CReplaceAnywhereDlg::CReplaceAnywhereDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceAnywhere, ScopeRule::kAlways) {
    BindCombo(IDC_PANEL_OCCURRENCE, kStrType, type_, kReplaceChoices);
    BindText(IDC_PANEL_FIND, kStrFind, find_, "");
    BindText(IDC_PANEL_REPLACE, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceAnywhereDlg::Build(const CRunOptions& options) const {
    if (find_.empty()) return nullptr;
    return std::make_unique<CReplaceAnywhereExecute>(options,
                                                     find_, replace_, type_, ignoreCase_);
}

CReplaceAtBeginningDlg::CReplaceAtBeginningDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceAtBeginning, ScopeRule::kAlways) {
    BindText(IDC_PANEL_FIND, kStrFind, find_, "");
    BindText(IDC_PANEL_REPLACE, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceAtBeginningDlg::Build(const CRunOptions& options) const {
    if (find_.empty()) return nullptr;
    return std::make_unique<CReplaceAtBeginningExecute>(options,
                                                        find_, replace_, ignoreCase_);
}

CReplaceAtEndDlg::CReplaceAtEndDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceAtEnd, ScopeRule::kAlways) {
    BindText(IDC_PANEL_FIND, kStrFind, find_, "");
    BindText(IDC_PANEL_REPLACE, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceAtEndDlg::Build(const CRunOptions& options) const {
    if (find_.empty()) return nullptr;
    return std::make_unique<CReplaceAtEndExecute>(options,
                                                  find_, replace_, ignoreCase_);
}

CReplaceExtensionsDlg::CReplaceExtensionsDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceExtensions, ScopeRule::kNotExtension) {
    BindText(IDC_PANEL_FIND, kStrFind, find_, "");
    BindText(IDC_PANEL_REPLACE, kStrReplace, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceExtensionsDlg::Build(const CRunOptions& options) const {
    if (find_.empty()) return nullptr;
    return std::make_unique<CReplaceExtensionsExecute>(options,
                                                       find_, replace_, ignoreCase_);
}

CReplaceCharactersDlg::CReplaceCharactersDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceCharacters, ScopeRule::kAlways) {
    BindCheck(IDC_PANEL_IGNORE_CASE2, kStrIgnoreCase2, ignoreCase2_);
    BindCheck(IDC_PANEL_IGNORE_CASE3, kStrIgnoreCase3, ignoreCase3_);
    BindText(IDC_PANEL_FIND, kStrFind, find_, "");
    BindText(IDC_PANEL_REPLACE, kStrReplace, replace_, "");
    BindText(IDC_PANEL_FIND2, kStrFind2, find2_, "");
    BindText(IDC_PANEL_REPLACE2, kStrReplace2, replace2_, "");
    BindText(IDC_PANEL_FIND3, kStrFind3, find3_, "");
    BindText(IDC_PANEL_REPLACE3, kStrReplace3, replace3_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceCharactersDlg::Build(const CRunOptions& options) const {
    if (find_.empty()) return nullptr;
    return std::make_unique<CReplaceCharactersExecute>(options,
                                                       find_, replace_, ignoreCase_, find2_, replace2_, ignoreCase2_,
                                                       find3_, replace3_, ignoreCase3_);
}

CReplaceByPatternDlg::CReplaceByPatternDlg(CSettingsStore* store)
    : CReplacePanel(store, kStrReplaceByPattern, ScopeRule::kAlways) {
    BindCheck(IDC_PANEL_ALL_MATCHES, kStrAllMatches, all_, 1);
    BindText(IDC_PANEL_FIND, kStrPattern, find_, "");
    BindText(IDC_PANEL_REPLACE, kStrWith, replace_, "");
    Restore();
}

std::unique_ptr<CExecute> CReplaceByPatternDlg::Build(const CRunOptions& options) const {
    if (find_.empty()) return nullptr;
    auto op = std::make_unique<CReplaceByPatternExecute>(options, find_, replace_, ignoreCase_ != 0, all_ != 0);
    if (!op->ok()) return nullptr;
    return op;
}

std::string CReplaceByPatternDlg::Problem() const {
    if (find_.empty()) return {};
    const CPattern pattern(find_, ignoreCase_ != 0);
    if (pattern.ok()) return {};
    return "Error at character " + std::to_string(pattern.errorPosition()) + ": " + pattern.error();
}

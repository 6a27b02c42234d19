#include "dialog/panels/CasePanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/Case.h"

namespace {

// "only spaces delimit words", "all punctuation marks delimit words", "all
// punctuation marks except ' delimit words".
constexpr int kDelimiterChoices = 3;

}  // namespace

CCapitalDlg::CCapitalDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrCapital, ScopeRule::kNameOnly, FocusKind::kNone, 0) {}

std::unique_ptr<CExecute> CCapitalDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CCapitalExecute>(options);
}

CLowercaseDlg::CLowercaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrMakeLowercase, ScopeRule::kAlways, FocusKind::kNone, 0) {}

std::unique_ptr<CExecute> CLowercaseDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CLowercaseExecute>(options);
}

CUppercaseDlg::CUppercaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrMakeUppercase, ScopeRule::kAlways, FocusKind::kNone, 0) {}

std::unique_ptr<CExecute> CUppercaseDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CUppercaseExecute>(options);
}

CPropercaseDlg::CPropercaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrPropercase, ScopeRule::kAlways, FocusKind::kCombo, IDC_PANEL_DELIMITERS) {
    BindCombo(IDC_PANEL_DELIMITERS, kStrType, type_, kDelimiterChoices);
    Restore();
}

std::unique_ptr<CExecute> CPropercaseDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CPropercaseExecute>(options, type_);
}

CTitlecaseDlg::CTitlecaseDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrTitlecase, ScopeRule::kAlways, FocusKind::kCombo, IDC_PANEL_DELIMITERS) {
    BindCombo(IDC_PANEL_DELIMITERS, kStrType, type_, kDelimiterChoices);
    BindText(IDC_PANEL_WORDS, kStrWords, words_, kDefaultWords);
    Binding(kStrWords).emptyMeansDefault = true;
    Restore();
}

std::unique_ptr<CExecute> CTitlecaseDlg::Build(const CRunOptions& options) const {
    return std::make_unique<CTitlecaseExecute>(options, type_,
                                               words_);
}

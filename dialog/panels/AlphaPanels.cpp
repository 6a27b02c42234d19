#include "dialog/panels/AlphaPanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/Alpha.h"

CAlphaPanel::CAlphaPanel(CSettingsStore* store, int actionNameId, int focusControl)
    : CRenameDlg(store, actionNameId, ScopeRule::kAlways, FocusKind::kNextControl, focusControl) {}

void CAlphaPanel::BindLetters(bool lowercaseStart) {
    BindText(IDC_PANEL_STEP, kStrStep, step_, "1", TextRule::kDigitsOnly);
    BindText(IDC_PANEL_START, kStrStart, start_, "a", TextRule::kStartLetters);
    Binding(kStrStart).lowercase = lowercaseStart;
    BindText(IDC_PANEL_DIGITS, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
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
    : CAlphaPanel(store, kStrProduceAlphabeticalList, IDC_PANEL_PREFIX) {
    BindLetters(true);
    BindText(IDC_PANEL_PREFIX, kStrPrefix, prefix_, "");
    BindText(IDC_PANEL_SUFFIX, kStrPostfix, postfix_, "");
    BindCheck(IDC_PANEL_UPPERCASE, kStrMakeUppercase, uppercase_);
    Restore();
}

std::unique_ptr<CExecute> CProduceAlphabeticalListDlg::Build(const CRunOptions& options) const {
    std::string start;
    if (!StartValue(start)) return nullptr;
    return std::make_unique<CProduceAlphabeticalListExecute>(options, start, step_, digits_, prefix_, postfix_,
                                                             uppercase_);
}

CAddAlphaAtBeginningDlg::CAddAlphaAtBeginningDlg(CSettingsStore* store)
    : CAlphaPanel(store, kStrAddAlphaAtBeginning, IDC_PANEL_START) {
    BindLetters(false);
    BindCheck(IDC_PANEL_UPPERCASE, kStrMakeUppercase, uppercase_);
    Restore();
}

std::unique_ptr<CExecute> CAddAlphaAtBeginningDlg::Build(const CRunOptions& options) const {
    std::string start;
    if (!StartValue(start)) return nullptr;
    return std::make_unique<CAddAlphaAtBeginningExecute>(options, start, step_, digits_, uppercase_);
}

CAddAlphaAtEndDlg::CAddAlphaAtEndDlg(CSettingsStore* store) : CAlphaPanel(store, kStrAddAlphaAtEnd, IDC_PANEL_START) {
    BindLetters(false);
    BindCheck(IDC_PANEL_UPPERCASE, kStrMakeUppercase, uppercase_);
    Restore();
}

std::unique_ptr<CExecute> CAddAlphaAtEndDlg::Build(const CRunOptions& options) const {
    std::string start;
    if (!StartValue(start)) return nullptr;
    return std::make_unique<CAddAlphaAtEndExecute>(options,
                                                   start, step_, digits_, uppercase_);
}

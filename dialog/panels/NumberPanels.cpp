#include "dialog/panels/NumberPanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/Numbers.h"

CNumberPanel::CNumberPanel(CSettingsStore* store, int actionNameId, int focusControl)
    : CRenameDlg(store, actionNameId, ScopeRule::kAlways, FocusKind::kNextControl, focusControl) {}

void CNumberPanel::BindNumbers(bool startFirst) {
    if (startFirst) BindText(IDC_PANEL_START, kStrStart, start_, "0", TextRule::kDigitsOnly);
    BindText(IDC_PANEL_STEP, kStrStep, step_, "1", TextRule::kDigitsOnly);
    if (!startFirst) BindText(IDC_PANEL_START, kStrStart, start_, "0", TextRule::kDigitsOnly);
    BindText(IDC_PANEL_DIGITS, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
}

CProduceNumberedListDlg::CProduceNumberedListDlg(CSettingsStore* store)
    : CNumberPanel(store, kStrProduceNumberedList, IDC_PANEL_PREFIX) {
    BindNumbers(false);
    BindText(IDC_PANEL_PREFIX, kStrPrefix, prefix_, "");
    BindText(IDC_PANEL_SUFFIX, kStrPostfix, postfix_, "");
    Restore();
}

std::unique_ptr<CExecute> CProduceNumberedListDlg::Build(const CRunOptions& options) const {
    if (AnyNumberEmpty()) return nullptr;
    return std::make_unique<CProduceNumberedListExecute>(options, start_, step_, digits_, prefix_, postfix_);
}

CAddNumberAtBeginningDlg::CAddNumberAtBeginningDlg(CSettingsStore* store)
    : CNumberPanel(store, kStrAddNumberAtBeginning, IDC_PANEL_START) {
    BindNumbers(false);
    Restore();
}

std::unique_ptr<CExecute> CAddNumberAtBeginningDlg::Build(const CRunOptions& options) const {
    if (AnyNumberEmpty()) return nullptr;
    return std::make_unique<CAddNumberAtBeginningExecute>(options, start_, step_, digits_);
}

CAddNumberAtEndDlg::CAddNumberAtEndDlg(CSettingsStore* store) : CNumberPanel(store, kStrAddNumberAtEnd, IDC_PANEL_START) {
    BindNumbers(false);
    Restore();
}

std::unique_ptr<CExecute> CAddNumberAtEndDlg::Build(const CRunOptions& options) const {
    if (AnyNumberEmpty()) return nullptr;
    return std::make_unique<CAddNumberAtEndExecute>(options,
                                                    start_, step_, digits_);
}

CRenumberDlg::CRenumberDlg(CSettingsStore* store) : CNumberPanel(store, kStrRenumber, IDC_PANEL_START) {
    BindNumbers(true);
    Restore();
}

std::unique_ptr<CExecute> CRenumberDlg::Build(const CRunOptions& options) const {
    if (AnyNumberEmpty()) return nullptr;
    return std::make_unique<CRenumberExecute>(options, start_,
                                              step_, digits_);
}

CReformatNumberDlg::CReformatNumberDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrReformatNumber, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_AMOUNT) {
    BindText(IDC_PANEL_NUMBER_DIGITS, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
    BindText(IDC_PANEL_AMOUNT, kStrNumber, number_, "0", TextRule::kDigitsOnly);
    BindCombo(IDC_PANEL_CALCULATION, kStrAdd, add_, 2);
    Restore();
}

std::unique_ptr<CExecute> CReformatNumberDlg::Build(const CRunOptions& options) const {
    if (digits_.empty() || number_.empty()) return nullptr;
    return std::make_unique<CReformatNumberExecute>(options,
                                                    digits_, add_ == kAdd ? 1 : 0, number_);
}

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

std::unique_ptr<CExecute> CProduceNumberedListDlg::CreateOperation(const CRunOptions& options) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CProduceNumberedListExecute>(WithScope(options), start_, step_, digits_, prefix_, postfix_);
}

CAddNumberAtBeginningDlg::CAddNumberAtBeginningDlg(CSettingsStore* store)
    : CNumberPanel(store, kStrAddNumberAtBeginning, IDC_PANEL_START) {
    BindNumbers(false);
    Restore();
}

std::unique_ptr<CExecute> CAddNumberAtBeginningDlg::CreateOperation(const CRunOptions& options) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CAddNumberAtBeginningExecute>(WithScope(options), start_, step_, digits_);
}

CAddNumberAtEndDlg::CAddNumberAtEndDlg(CSettingsStore* store) : CNumberPanel(store, kStrAddNumberAtEnd, IDC_PANEL_START) {
    BindNumbers(false);
    Restore();
}

std::unique_ptr<CExecute> CAddNumberAtEndDlg::CreateOperation(const CRunOptions& options) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CAddNumberAtEndExecute>(WithScope(options),
                                                    start_, step_, digits_);
}

CRenumberDlg::CRenumberDlg(CSettingsStore* store) : CNumberPanel(store, kStrRenumber, IDC_PANEL_START) {
    BindNumbers(true);
    Restore();
}

std::unique_ptr<CExecute> CRenumberDlg::CreateOperation(const CRunOptions& options) {
    if (AnyNumberEmpty()) return nullptr;
    Save();
    return std::make_unique<CRenumberExecute>(WithScope(options), start_,
                                              step_, digits_);
}

CReformatNumberDlg::CReformatNumberDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrReformatNumber, ScopeRule::kAlways, FocusKind::kSelectAll, IDC_PANEL_AMOUNT) {
    BindText(IDC_PANEL_NUMBER_DIGITS, kStrDigits, digits_, "1", TextRule::kDigitsOnly);
    BindText(IDC_PANEL_AMOUNT, kStrNumber, number_, "0", TextRule::kDigitsOnly);
    BindCombo(IDC_PANEL_CALCULATION, kStrAdd, add_, 2);
    Restore();
}

std::unique_ptr<CExecute> CReformatNumberDlg::CreateOperation(const CRunOptions& options) {
    if (digits_.empty() || number_.empty()) return nullptr;
    Save();
    return std::make_unique<CReformatNumberExecute>(WithScope(options),
                                                    digits_, add_ == kAdd ? 1 : 0, number_);
}

#include "dialog/panels/DatePanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/DateTime.h"

CDatePanel::CDatePanel(CSettingsStore* store, int actionNameId, ScopeRule scopeRule)
    : CRenameDlg(store, actionNameId, scopeRule, FocusKind::kNone, 0) {}

void CDatePanel::BindDate(int spaceNameId) {
    BindCombo(IDC_PANEL_DATE, kStrDate, date_, static_cast<int>(kDateSourceTexts.size()));
    BindCombo(IDC_PANEL_DATE_FORMAT, kStrDateFormat, dateFormat_, static_cast<int>(kDateFormats.size()));
    BindCombo(IDC_PANEL_TIME_FORMAT, kStrTimeFormat, timeFormat_, static_cast<int>(kTimeFormats.size()));
    if (spaceNameId) BindCheck(IDC_PANEL_SPACE, spaceNameId, space_);
    BindText(IDC_PANEL_SEPARATOR, kStrSeparator, separator_, " ");
    Binding(kStrSeparator).maxChars = 1;
}

CAddDateAtBeginningDlg::CAddDateAtBeginningDlg(CSettingsStore* store)
    : CDatePanel(store, kStrAddDateAtBeginning, ScopeRule::kNotExtension) {
    BindDate(kStrTrailing);
    Restore();
}

std::unique_ptr<CExecute> CAddDateAtBeginningDlg::CreateOperation(const CRunOptions& options) {
    if (NothingChosen()) return nullptr;
    Save();
    return std::make_unique<CAddDateAtBeginningExecute>(WithScope(options),
                                                        date_, dateFormat_, timeFormat_, space_, separator_);
}

CAddDateAtEndDlg::CAddDateAtEndDlg(CSettingsStore* store)
    : CDatePanel(store, kStrAddDateAtEnd, ScopeRule::kNotExtensionWithSeparator) {
    BindDate(kStrLeading);
    Restore();
}

std::unique_ptr<CExecute> CAddDateAtEndDlg::CreateOperation(const CRunOptions& options) {
    if (NothingChosen()) return nullptr;
    Save();
    return std::make_unique<CAddDateAtEndExecute>(WithScope(options),
                                                  date_, dateFormat_, timeFormat_, space_, separator_);
}

CToDateDlg::CToDateDlg(CSettingsStore* store) : CDatePanel(store, kStrToDate, ScopeRule::kNotExtension) {
    BindDate(0);
    Restore();
}

std::unique_ptr<CExecute> CToDateDlg::CreateOperation(const CRunOptions& options) {
    if (NothingChosen()) return nullptr;
    Save();
    return std::make_unique<CToDateExecute>(WithScope(options), date_,
                                            dateFormat_, timeFormat_, separator_);
}

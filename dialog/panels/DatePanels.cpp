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

std::unique_ptr<CExecute> CAddDateAtBeginningDlg::Build(const CRunOptions& options) const {
    if (NothingChosen()) return nullptr;
    return std::make_unique<CAddDateAtBeginningExecute>(options,
                                                        date_, dateFormat_, timeFormat_, space_, separator_);
}

CAddDateAtEndDlg::CAddDateAtEndDlg(CSettingsStore* store)
    : CDatePanel(store, kStrAddDateAtEnd, ScopeRule::kNotExtensionWithSeparator) {
    BindDate(kStrLeading);
    Restore();
}

std::unique_ptr<CExecute> CAddDateAtEndDlg::Build(const CRunOptions& options) const {
    if (NothingChosen()) return nullptr;
    return std::make_unique<CAddDateAtEndExecute>(options,
                                                  date_, dateFormat_, timeFormat_, space_, separator_);
}

CToDateDlg::CToDateDlg(CSettingsStore* store) : CDatePanel(store, kStrToDate, ScopeRule::kNotExtension) {
    BindDate(0);
    Restore();
}

std::unique_ptr<CExecute> CToDateDlg::Build(const CRunOptions& options) const {
    if (NothingChosen()) return nullptr;
    return std::make_unique<CToDateExecute>(options, date_,
                                            dateFormat_, timeFormat_, separator_);
}

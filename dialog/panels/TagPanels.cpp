#include "dialog/panels/TagPanels.h"

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "operations/Tags.h"

// The name alone: the extension tells what the file is, which no tag does.
CRenameFromTagsDlg::CRenameFromTagsDlg(CSettingsStore* store)
    : CRenameDlg(store, kStrRenameFromTags, ScopeRule::kNameOnly, FocusKind::kSelectAll, IDC_PANEL_TEXT) {
    BindText(IDC_PANEL_TEXT, kStrTagTemplate, template_, "");
    Restore();
}

std::unique_ptr<CExecute> CRenameFromTagsDlg::Build(const CRunOptions& options) const {
    if (template_.empty()) return nullptr;
    auto op = std::make_unique<CRenameFromTagsExecute>(options, template_);
    if (!op->ok()) return nullptr;
    return op;
}

std::string CRenameFromTagsDlg::Problem() const {
    if (template_.empty()) return {};
    return CRenameFromTagsExecute(CRunOptions{}, template_).error();
}

#pragma once

#include <string>

#include "dialog/panels/RenameDlg.h"

/// "Rename from tags": the name made from a template of the music tags.
class CRenameFromTagsDlg : public CRenameDlg {
public:
    explicit CRenameFromTagsDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
    std::string Problem() const override;

private:
    std::string template_;
};

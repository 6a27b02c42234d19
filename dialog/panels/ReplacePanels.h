#pragma once

#include <string>

#include "dialog/panels/RenameDlg.h"

/// The find, replacement and "Ignore case" fields that every replace panel
/// has.
class CReplacePanel : public CRenameDlg {
protected:
    CReplacePanel(CSettingsStore* store, int actionNameId, ScopeRule scopeRule);

    int ignoreCase_ = 0;
    std::string find_;
    std::string replace_;
};

/// "Replace anywhere": all occurrences or a chosen one.
class CReplaceAnywhereDlg : public CReplacePanel {
public:
    explicit CReplaceAnywhereDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    int type_ = 0;
};

/// "Replace at beginning".
class CReplaceAtBeginningDlg : public CReplacePanel {
public:
    explicit CReplaceAtBeginningDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Replace at end".
class CReplaceAtEndDlg : public CReplacePanel {
public:
    explicit CReplaceAtEndDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Replace file/folder extensions": old and new extension, without dots.
class CReplaceExtensionsDlg : public CReplacePanel {
public:
    explicit CReplaceExtensionsDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Replace characters": three rows of characters to find, each with its
/// replacement and its own "Ignore case" box.
class CReplaceCharactersDlg : public CReplacePanel {
public:
    explicit CReplaceCharactersDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    int ignoreCase2_ = 0;
    int ignoreCase3_ = 0;
    std::string find2_;
    std::string replace2_;
    std::string find3_;
    std::string replace3_;
};

/// "Replace by pattern": a regular expression, its replacement with the
/// groups it names, case and whether every match is replaced.
class CReplaceByPatternDlg : public CReplacePanel {
public:
    explicit CReplaceByPatternDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
    std::string Problem() const override;

private:
    int all_ = 1;
};

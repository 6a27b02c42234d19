#pragma once

#include <string>

#include "dialog/panels/RenameDlg.h"

/// "Make the first letter uppercase": offered for the file name alone.
class CCapitalDlg : public CRenameDlg {
public:
    explicit CCapitalDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Make lowercase".
class CLowercaseDlg : public CRenameDlg {
public:
    explicit CLowercaseDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Make UPPERCASE".
class CUppercaseDlg : public CRenameDlg {
public:
    explicit CUppercaseDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;
};

/// "Make Proper Case": what delimits words.
class CPropercaseDlg : public CRenameDlg {
public:
    explicit CPropercaseDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    int type_ = 0;
};

/// "Make a Title Case": what delimits words, and the small words kept in
/// lower case inside a name.
class CTitlecaseDlg : public CRenameDlg {
public:
    /// The small words a new user starts with.
    static constexpr const char* kDefaultWords = "a an the and or of";

    explicit CTitlecaseDlg(CSettingsStore* store);
    std::unique_ptr<CExecute> Build(const CRunOptions& options) const override;

private:
    int type_ = 0;
    std::string words_;
};

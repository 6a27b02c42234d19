#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

/// The info wizard as a user meets it: found by its caption, its buttons
/// pressed through the sheet, its pages read. Works on a wizard of this
/// process and, but for what needs its memory (fonts, pixels), of another.
namespace launcher_test {

/// The buttons of a wizard page, as the sheet offers them: visible and
/// enabled.
struct CWizardButtons {
    bool back = false;
    bool next = false;
    bool finish = false;
    bool operator==(const CWizardButtons&) const = default;
};

class CWizard {
public:
    explicit CWizard(HWND sheet) : sheet_(sheet) {}
    HWND sheet() const { return sheet_; }
    /// The page shown, and its index (0 .. 4; -1 when none).
    HWND page() const;
    int index() const;
    /// The text of the page's text control.
    std::wstring text() const;
    CWizardButtons buttons() const;
    /// Presses one of the sheet's buttons (PSBTN_NEXT, PSBTN_BACK,
    /// PSBTN_FINISH, PSBTN_CANCEL). Posted: a page that opens a message box
    /// while it is made would hold a sent one.
    void Press(int button) const;
    /// Presses Next or Back and waits until page `index` shows with the
    /// buttons it sets; false when it did not come.
    bool Go(int button, int index) const;
    /// Waits until the page shows the buttons `expected`.
    bool ShowsButtons(const CWizardButtons& expected) const;

private:
    HWND sheet_;
};

/// The texts and buttons of the five pages, in page order.
struct CExpectedPage {
    const wchar_t* text;
    CWizardButtons buttons;
};
extern const CExpectedPage kExpectedPages[5];

}  // namespace launcher_test

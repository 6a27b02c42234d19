#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "library/QlnDll.h"
#include "tests/support/WinWait.h"

/// Drives the windows of the rename library from outside its modal loops:
/// HandleRename runs on the test's thread, a script on a second thread finds
/// the windows and works them with the messages a user's clicks and keys
/// produce, as another program would.
namespace library_test {

/// Qln.dll loaded from `path` (default: the build tree's copy), with its export.
struct Library {
    explicit Library(const std::wstring& path = {});
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    HMODULE module = nullptr;
    HandleRenameFunction handleRename = nullptr;
};

/// The build tree's Qln.dll, as a Windows path.
std::wstring LibraryPath();

/// Forgets the dialog's stored settings, so that a test starts as a first run.
void ForgetSettings();
/// Stores the dialog's settings as an earlier run would have left them:
/// texts and numbers by their value names (after forgetting all others).
void StoreSettings(const std::vector<std::pair<std::wstring, std::wstring>>& texts,
                   const std::vector<std::pair<std::wstring, DWORD>>& numbers = {});

/// Calls `call` on this thread while `script` runs on a second one. Whatever
/// is still open once the script is done (or after `timeoutMs`) is closed,
/// and the test fails, so that no test hangs.
void DriveWhile(const std::function<void()>& call, const std::function<void()>& script, DWORD timeoutMs = 30000);

/// A visible top-level window of this process whose caption begins with
/// `caption`; waits for it up to `timeoutMs`. Null when none came.
HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 10000);
/// The visible child dialog of `dialog` (at any depth) that holds control `id`.
HWND ChildDialogWith(HWND dialog, int id);
/// The rename dialog, once it has shown and made every control (it shows
/// first and makes them after); null after `timeoutMs`.
HWND WaitForMainDialog(DWORD timeoutMs = 10000);
using win_test::WaitUntil;

/// The text of `window`, or of control `id` of it.
std::string Text(HWND window, int id = 0);
/// The entries of a combo box.
std::vector<std::string> ComboEntries(HWND combo);
/// Chooses entry `index` of a combo box as a user would: the parent hears of it.
void ComboChoose(HWND combo, int index);
/// The index of the entry `text`, or -1.
int ComboFind(HWND combo, const std::string& text);
/// Replaces the text of an edit; the edit tells its parent, as typing does.
void EditSetText(HWND edit, const std::string& text);
/// Clicks a check box or a button whose click opens no window of its own.
void Click(HWND button);
/// Clicks a button whose click may open a modal window: the click is
/// posted, so that this thread stays free to answer that window.
void ClickLater(HWND button);
/// The text of one cell of a report list view.
std::string ListCell(HWND list, int row, int column);
/// The rows of a report list view, each cell's text.
std::vector<std::vector<std::string>> ListRows(HWND list);
/// Closes every dialog and message box of this process.
void CloseEverything();

/// The windows of an open rename dialog.
struct MainDialog {
    HWND main = nullptr;
    HWND scope = nullptr;
    HWND action = nullptr;
    HWND undo = nullptr;
    HWND list = nullptr;

    /// Waits for the dialog; false when it did not come.
    bool Find();
    /// The section that holds control `id`.
    HWND Section(int id) const { return ChildDialogWith(main, id); }
    /// The shown panel's control `id`.
    HWND Field(int id) const { return ::GetDlgItem(ChildDialogWith(main, id), id); }
    /// Chooses the action `actionName`; false when it is not offered.
    bool Choose(const std::string& actionName) const;
    /// True while the dialog reads, computes or renames.
    bool Busy() const;
    /// Waits until the preview shows `expected`, computed to the end; false
    /// when it did not.
    bool ShowsRows(const std::vector<std::vector<std::string>>& expected) const;
    /// The text of the status line, once the dialog's work is done.
    std::string Status() const;
    bool UndoOffered() const { return ::IsWindowEnabled(undo) != FALSE; }
};

/// HandleRename of `library` over `paths` with `parent`, while `script` works
/// the dialog.
void Rename(Library& library, const std::vector<std::string>& paths, const std::function<void(MainDialog&)>& script,
            HWND parent = nullptr);

}  // namespace library_test

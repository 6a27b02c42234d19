// "Undo last run..." of the rename dialog, as a user clicks it: a dialog
// run renames, the next opening of the dialog takes it back, answered by
// window messages from a second thread, and the names are checked on the
// disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <set>

#include "dialog/PanelIds.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"
#include "tests/library/LibraryDriver.h"
#include "tests/support/TempDir.h"

using namespace library_test;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
using Rows = std::vector<std::vector<std::string>>;

// The static text of a message box.
constexpr int kMessageBoxText = 0xFFFF;

class LibraryUndoTest : public testing::Test {
protected:
    // The journals of this test's runs in a folder of its own.
    void SetUp() override {
        ForgetSettings();
        wchar_t saved[MAX_PATH] = {};
        hadAppData_ = ::GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH) > 0;
        savedAppData_ = saved;
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", platform::Widen(appData_.str()).c_str());
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"LOCALAPPDATA", hadAppData_ ? savedAppData_.c_str() : nullptr);
        ForgetSettings();
    }

    // HandleRename over `paths` while `script` works the dialog.
    void Rename(const std::vector<std::string>& paths, const std::function<void(MainDialog&)>& script) {
        library_test::Rename(library, paths, script);
    }

    // A dialog run that puts x_ before the names of `paths`.
    void RunAddingPrefix(const std::vector<std::string>& paths, const Rows& rows) {
        Rename(paths, [&](MainDialog& d) {
            ComboChoose(d.scope, 0);
            ComboChoose(d.action, ComboFind(d.action, "Add to beginning"));
            EditSetText(::GetDlgItem(ChildDialogWith(d.main, IDC_PANEL_TEXT), IDC_PANEL_TEXT), "x_");
            EXPECT_TRUE(d.ShowsRows(rows));
            ClickLater(::GetDlgItem(d.main, IDOK));
        });
    }

    TempDir appData_;
    std::wstring savedAppData_;
    bool hadAppData_ = false;
    Library library;
};

TEST_F(LibraryUndoTest, TheNextOpeningTakesTheDialogsRunBack) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("b.txt", "b");
    Rename({dir / "a.txt"}, [](MainDialog& d) {
        EXPECT_FALSE(d.UndoOffered()) << "no run to take back yet";
        EXPECT_EQ(Text(d.undo), "&Undo last run...");
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    RunAddingPrefix({dir / "a.txt", dir / "b.txt"}, {{"a.txt", "x_a.txt", ""}, {"b.txt", "x_b.txt", ""}});
    ASSERT_EQ(dir.Snapshot(), (Snap{"x_a.txt=a", "x_b.txt=b"}));

    Rename({dir / "x_a.txt", dir / "x_b.txt"}, [&](MainDialog& d) {
        EXPECT_TRUE(d.ShowsRows({{"x_a.txt", "x_x_a.txt", ""}, {"x_b.txt", "x_x_b.txt", ""}}));
        ASSERT_TRUE(WaitUntil([&] { return d.UndoOffered(); }));
        ClickLater(d.undo);
        const HWND confirm = WaitForWindow("Undo last run");
        ASSERT_TRUE(confirm);
        const std::string question = Text(confirm, kMessageBoxText);
        EXPECT_EQ(question.rfind("Rename 2 items back to the names they had before the last run?\n\n\"Add to "
                                 "beginning\" in " + dir.str() + ", started ",
                                 0),
                  0u)
            << question;
        ::PostMessageW(confirm, WM_COMMAND, IDYES, 0);
        const HWND done = WaitForWindow("Undo finished");
        ASSERT_TRUE(done);
        EXPECT_EQ(Text(done, kMessageBoxText), "Renamed back 2, left alone 0, failed 0.");
        EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=a", "b.txt=b"})) << "renamed back before the summary";
        ::PostMessageW(done, WM_COMMAND, IDOK, 0);
        // The dialog stays, over its items under the names they have now.
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "x_a.txt", ""}, {"b.txt", "x_b.txt", ""}})) << ListRows(d.list).size();
        // The undo is the last run now: it can be taken back in turn.
        EXPECT_TRUE(d.UndoOffered());
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=a", "b.txt=b"}));
}

TEST_F(LibraryUndoTest, NoRenamesNothingAndWhatChangedIsLeftAlone) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("b.txt", "b");
    RunAddingPrefix({dir / "a.txt", dir / "b.txt"}, {{"a.txt", "x_a.txt", ""}, {"b.txt", "x_b.txt", ""}});
    dir.File("a.txt", "new");  // the old name taken since
    Rename({dir / "x_b.txt"}, [&](MainDialog& d) {
        ASSERT_TRUE(WaitUntil([&] { return d.UndoOffered(); }));
        ClickLater(d.undo);
        HWND confirm = WaitForWindow("Undo last run");
        ASSERT_TRUE(confirm);
        ::PostMessageW(confirm, WM_COMMAND, IDNO, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(confirm); }));
        EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=new", "x_a.txt=a", "x_b.txt=b"}));

        ClickLater(d.undo);
        confirm = WaitForWindow("Undo last run");
        ASSERT_TRUE(confirm);
        ::PostMessageW(confirm, WM_COMMAND, IDYES, 0);
        const HWND done = WaitForWindow("Undo finished");
        ASSERT_TRUE(done);
        EXPECT_EQ(Text(done, kMessageBoxText), "Renamed back 1, left alone 1, failed 0.\n\nLeft alone:\n" +
                                                   dir / "x_a.txt" + ": its old name \"a.txt\" is taken");
        ::PostMessageW(done, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(d.ShowsRows({{"b.txt", "x_b.txt", ""}}));
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=new", "x_a.txt=a", "b.txt=b"}));
}

}  // namespace

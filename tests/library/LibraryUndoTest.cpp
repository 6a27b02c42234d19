// "Undo last run..." of the rename dialog, as a user clicks it: a dialog
// run renames, the next opening of the dialog takes it back, answered by
// window messages from a second thread, and the names are checked on the
// disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "dialog/OptionIds.h"
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

// A folder large enough that reading it, computing its names and renaming
// it take the worker a while under Wine, made by the test set-up outside
// Wine (which makes each new file in a folder slower than the last):
// f00000.txt to f99999.txt.
constexpr int kMany = 100000;

std::string Numbered(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%05d.txt", i);
    return name;
}

std::string ManyFiles() {
    const char* folder = std::getenv("QLN_MANY_FILES");
    return folder ? folder : "";
}

int CountNames(const std::string& folder, const std::string& prefix) {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing_support::U8(folder)))
        n += entry.path().filename().string().rfind(prefix, 0) == 0;
    return n;
}

// Asks the dialog, again and again, to answer an empty message within the
// time a person notices, while `busy` says whether it is at work.
class Pinger {
public:
    explicit Pinger(HWND window) : thread_([this, window] {
        while (!done_) {
            DWORD_PTR result = 0;
            const bool busy = ::SendMessageW(window, WM_MAIN_BUSY, 0, 0) != 0;
            if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) ++unanswered_;
            if (busy) ++whileBusy_;
            ::Sleep(5);
        }
    }) {}
    ~Pinger() { Finish(); }
    void Finish() {
        done_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int unanswered() const { return unanswered_; }
    int whileBusy() const { return whileBusy_; }

private:
    static constexpr UINT kAnswerMs = 100;
    std::atomic<bool> done_{false};
    std::atomic<int> unanswered_{0}, whileBusy_{0};
    std::thread thread_;
};

// The dialog over a large folder never stops answering: while it reads,
// while a quick typist changes the panel (the last keystroke's names win),
// and while it renames; Stop ends the run with every file under its old or
// its new name, and the undo takes the renamed ones back.
TEST_F(LibraryUndoTest, TheDialogAnswersWhileItWorksAndStopsWhenTold) {
    const std::string many = ManyFiles();
    if (many.empty()) GTEST_SKIP() << "QLN_MANY_FILES names no folder (ctest makes one)";
    ASSERT_EQ(CountNames(many, "f"), kMany);
    Rename({many}, [&](MainDialog& d) {
        Pinger pinger(d.main);
        EXPECT_EQ(Text(d.main, IDC_MAIN_STATUS).rfind("Reading... ", 0), 0u) << "the window shows before the reading";
        ComboChoose(d.scope, 0);
        ASSERT_TRUE(d.Choose("Add to beginning"));
        // Files only: the folder keeps its name.
        Click(::GetDlgItem(d.Section(IDC_OPTION_FOLDERS), IDC_OPTION_FOLDERS));
        for (const char* typed : {"a", "ab", "abc", "abcd", "abcd_"}) EditSetText(d.Field(IDC_PANEL_TEXT), typed);
        EXPECT_EQ(d.Status(), "100,000 items, 100,000 to rename");
        EXPECT_EQ(ListCell(d.list, 0, 1), "abcd_" + Numbered(0));
        const std::string folder = many.substr(many.find_last_of('\\') + 1);
        EXPECT_EQ(ListCell(d.list, 3, 0), folder + "\\" + Numbered(3));

        const HWND ok = ::GetDlgItem(d.main, IDOK);
        ClickLater(ok);
        ASSERT_TRUE(WaitUntil([&] { return Text(d.main, IDC_MAIN_STATUS).rfind("Renaming... ", 0) == 0; }))
            << Text(d.main, IDC_MAIN_STATUS);
        EXPECT_EQ(Text(ok), "Stop");
        ClickLater(ok);
        ASSERT_TRUE(WaitUntil([&] { return !d.Busy(); }, 60000));
        pinger.Finish();
        EXPECT_EQ(pinger.unanswered(), 0);
        EXPECT_GT(pinger.whileBusy(), 0);
        EXPECT_EQ(Text(ok), "OK");
        const std::string status = d.Status();
        EXPECT_EQ(status.rfind("Stopped after ", 0), 0u) << status;

        const int renamed = CountNames(many, "abcd_f");
        EXPECT_EQ(renamed + CountNames(many, "f"), kMany);
        EXPECT_GT(renamed, 0);
        EXPECT_LT(renamed, kMany) << "the run ended before Stop";

        ASSERT_TRUE(WaitUntil([&] { return d.UndoOffered(); }));
        ClickLater(d.undo);
        const HWND confirm = WaitForWindow("Undo last run");
        ASSERT_TRUE(confirm);
        ::PostMessageW(confirm, WM_COMMAND, IDYES, 0);
        const HWND done = WaitForWindow("Undo finished", 60000);
        ASSERT_TRUE(done);
        EXPECT_EQ(Text(done, kMessageBoxText).rfind("Renamed back " + std::to_string(renamed) + ", left alone 0, failed 0", 0),
                  0u)
            << Text(done, kMessageBoxText);
        ::PostMessageW(done, WM_COMMAND, IDOK, 0);
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    EXPECT_EQ(CountNames(many, "f"), kMany);
}

// Cancel while the selection is being read closes the window at once, and
// nothing is renamed.
TEST_F(LibraryUndoTest, CancelWhileReadingClosesAtOnce) {
    const std::string many = ManyFiles();
    if (many.empty()) GTEST_SKIP() << "QLN_MANY_FILES names no folder (ctest makes one)";
    const int before = CountNames(many, "f");
    Rename({many}, [&](MainDialog& d) {
        ASSERT_EQ(Text(d.main, IDC_MAIN_STATUS).rfind("Reading... ", 0), 0u);
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
        const ULONGLONG asked = ::GetTickCount64();
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(d.main); }, 2000));
        EXPECT_LT(::GetTickCount64() - asked, 1000u);
    });
    EXPECT_EQ(CountNames(many, "f"), before);
}

}  // namespace

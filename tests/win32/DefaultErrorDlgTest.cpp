#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialog/win32/Resource.h"
#include "dialog/win32/Win32Prompts.h"
#include "tests/win32/DialogDriver.h"

// The dialog that reports a refused rename or access.

namespace {

using dialog_test::Drive;
using dialog_test::Text;

CErrorReport sampleReport() {
    CErrorReport report;
    report.title = "Cannot rename";
    report.headline = "The file cannot be renamed.";
    report.fileName = "C:\\Photos\\Été 😀\\IMG_0001.jpg";
    report.errorCode = 5;
    report.explanation = "Access denied.";
    return report;
}

int show(CErrorReport& report, const std::function<void(HWND)>& script) {
    Win32Prompts prompts;
    return Drive([&] { return prompts.DefaultError(report); }, script);
}

TEST(DefaultErrorDlg, ShowsTheReportInItsControlsAndCaption) {
    CErrorReport report = sampleReport();
    std::vector<std::string> children;
    std::string caption;
    bool skipHasFocus = false;
    std::pair<DWORD, DWORD> selection;
    const int code = show(report, [&](HWND dlg) {
        caption = Text(dlg, 0);
        children = dialog_test::ChildTexts(dlg);
        skipHasFocus = ::GetFocus() == ::GetDlgItem(dlg, IDC_SKIP);
        selection = dialog_test::Selection(dlg, IDC_FILE_NAME);
        dialog_test::Click(dlg, IDC_SKIP);
    });
    EXPECT_EQ(code, 1013);
    EXPECT_EQ(caption, "Cannot rename");
    const std::vector<std::string> expected = {
        "File name:", report.fileName, "OS error code:", "5", "The file cannot be renamed.", "Access denied.",
        "Skip all",   "Skip"};
    EXPECT_EQ(children, expected);
    EXPECT_TRUE(skipHasFocus) << "the focus is on the default button";
    EXPECT_EQ(selection.first, selection.second) << "nothing stays selected in File name";
}

TEST(DefaultErrorDlg, TheFileNameIsReadOnly) {
    CErrorReport report = sampleReport();
    LONG_PTR style = 0;
    std::string after;
    show(report, [&](HWND dlg) {
        style = ::GetWindowLongPtrW(::GetDlgItem(dlg, IDC_FILE_NAME), GWL_STYLE);
        dialog_test::Type(dlg, IDC_FILE_NAME, "x");
        after = Text(dlg, IDC_FILE_NAME);
        dialog_test::Click(dlg, IDC_SKIP);
    });
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_EQ(after, report.fileName);
}

TEST(DefaultErrorDlg, ShowsTheCodeAndTheAccessTitle) {
    struct Case {
        uint32_t code;
        const char* shown;
    };
    for (const Case& c : {Case{0, "0"}, Case{183, "183"}, Case{0x80070005u, "2147942405"}}) {
        SCOPED_TRACE(c.shown);
        CErrorReport report = sampleReport();
        report.title = "Cannot access";
        report.headline = "The file cannot be accessed.";
        report.errorCode = c.code;
        std::string caption, code, headline;
        show(report, [&](HWND dlg) {
            caption = Text(dlg, 0);
            code = Text(dlg, IDC_ERROR_CODE);
            headline = Text(dlg, IDC_HEADLINE);
            dialog_test::Click(dlg, IDC_SKIP);
        });
        EXPECT_EQ(caption, "Cannot access");
        EXPECT_EQ(code, c.shown);
        EXPECT_EQ(headline, "The file cannot be accessed.");
    }
}

TEST(DefaultErrorDlg, AnswersByButtonAndKey) {
    const std::vector<std::pair<const char*, std::function<void(HWND)>>> actions = {
        {"Skip", [](HWND dlg) { dialog_test::Click(dlg, IDC_SKIP); }},
        {"Skip all", [](HWND dlg) { dialog_test::Click(dlg, IDC_SKIP_ALL); }},
        {"Enter", [](HWND dlg) { dialog_test::PressKey(dlg, VK_RETURN); }},
        {"Escape", [](HWND dlg) { dialog_test::PressKey(dlg, VK_ESCAPE); }},
        {"close box", [](HWND dlg) { ::PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    const int expected[] = {1013, 1012, 1013, 2, 2};
    for (size_t i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(actions[i].first);
        CErrorReport report = sampleReport();
        EXPECT_EQ(show(report, actions[i].second), expected[i]);
    }
}

TEST(DefaultErrorDlg, ALongFileNameShowsItsEnd) {
    CErrorReport report = sampleReport();
    report.fileName = "C:\\" + std::string(200, 'f') + "\\end.txt";
    bool showsEnd = false;
    show(report, [&](HWND dlg) {
        showsEnd = dialog_test::ShowsItsEnd(dlg, IDC_FILE_NAME);
        dialog_test::Click(dlg, IDC_SKIP);
    });
    EXPECT_TRUE(showsEnd);
}

// An item another program holds open: who holds it, and "Try again".
TEST(DefaultErrorDlg, AnItemInUseNamesItsHoldersAndCanBeTriedAgain) {
    CErrorReport report = sampleReport();
    report.errorCode = 32;
    report.explanation = "The process cannot access the file because it is being used by another process.";
    report.holders = {"Notepad (pid 42)", "Viewer (pid 7)"};
    report.canRetry = true;
    std::vector<std::string> children;
    const int code = show(report, [&](HWND dlg) {
        children = dialog_test::ChildTexts(dlg);
        dialog_test::Click(dlg, IDC_TRY_AGAIN);
    });
    EXPECT_EQ(code, kAnswerTryAgain);
    const std::vector<std::string> expected = {"File name:", report.fileName, "OS error code:", "32",
                                               "The file cannot be renamed.", report.explanation,
                                               "In use by Notepad (pid 42), Viewer (pid 7)", "&Try again", "Skip all",
                                               "Skip"};
    EXPECT_EQ(children, expected);
}

}  // namespace

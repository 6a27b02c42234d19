#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialog/win32/Resource.h"
#include "dialog/win32/Win32Prompts.h"
#include "tests/win32/DialogDriver.h"

// The four dialogs that show a name and let the user edit it, driven through
// the interface the rename run uses.

namespace {

using dialog_test::Drive;
using dialog_test::Text;

struct NameDialog {
    const char* label;
    int (Win32Prompts::*ask)(CNameRequest&);
    const char* caption;
    std::vector<std::string> texts;
    std::vector<std::pair<int, std::string>> buttons;
    std::vector<int> readers;
};

void PrintTo(const NameDialog& d, std::ostream* os) {
    *os << d.label;
}

const std::vector<std::string> kRowLabels = {"Old name:", "Computed:", "New name:"};

std::vector<NameDialog> nameDialogs() {
    return {
        {"Confirm",
         &Win32Prompts::Confirm,
         "Confirm",
         {"Please confirm that you want to rename this file."},
         {{1012, "Skip all"}, {1011, "Rename all"}, {1013, "Skip"}, {1014, "Rename"}},
         {1011, 1014}},
        {"Duplicate",
         &Win32Prompts::Duplicate,
         "Duplicate file name",
         {"A file of the same name already exists.",
          "A file with the same name already exists in this folder and you will need to rename this file to make "
          "it unique."},
         {{1012, "Skip all"}, {1013, "Skip"}, {1017, "Add number and rename"}, {1014, "Rename"}},
         {1014}},
        {"Illegal",
         &Win32Prompts::Illegal,
         "Bad file name",
         {"The new name for the file is illegal.",
          "The new name for the file is not acceptable for the file system and you will need to change it to make "
          "it acceptable."},
         {{1012, "Skip all"}, {1011, "Rename all"}, {1013, "Skip"}, {1014, "Rename"}},
         {1011, 1014}},
        {"TooLong",
         &Win32Prompts::TooLong,
         "File name too long",
         {"The new file name is too long.",
          "Please edit the name below so that it conforms to the limit imposed by the file system."},
         {{1012, "Skip all"}, {1013, "Skip"}, {1014, "Rename"}},
         {1014}},
    };
}

CNameRequest sampleRequest() {
    CNameRequest request;
    request.oldName = "C:\\Photos\\Résumé 😀.txt";
    request.computed = "Résumé 😀 final.txt";
    request.newName = request.computed;
    return request;
}

class NameDialogTest : public testing::TestWithParam<NameDialog> {
protected:
    // Opens the dialog over `request` and runs `script` on it.
    int ask(CNameRequest& request, const std::function<void(HWND)>& script) {
        Win32Prompts prompts;
        return Drive([&] { return (prompts.*GetParam().ask)(request); }, script);
    }
};

TEST_P(NameDialogTest, ShowsTheNamesAndItsOwnTexts) {
    const NameDialog& d = GetParam();
    CNameRequest request = sampleRequest();
    std::string caption, oldName, computed, newName;
    std::vector<std::string> children;
    HWND focus = nullptr, newNameEdit = nullptr;
    LRESULT defId = 0;
    std::pair<DWORD, DWORD> selection, oldSelection;
    const int code = ask(request, [&](HWND dlg) {
        caption = Text(dlg, 0);
        oldName = Text(dlg, IDC_OLD_NAME);
        computed = Text(dlg, IDC_COMPUTED);
        newName = Text(dlg, IDC_NEW_NAME);
        children = dialog_test::ChildTexts(dlg);
        focus = ::GetFocus();
        newNameEdit = ::GetDlgItem(dlg, IDC_NEW_NAME);
        defId = ::SendMessageW(dlg, DM_GETDEFID, 0, 0);
        selection = dialog_test::Selection(dlg, IDC_NEW_NAME);
        oldSelection = dialog_test::Selection(dlg, IDC_OLD_NAME);
        dialog_test::Click(dlg, IDC_SKIP);
    });
    EXPECT_EQ(code, 1013);
    EXPECT_EQ(caption, d.caption);
    EXPECT_EQ(oldName, request.oldName);
    EXPECT_EQ(computed, request.computed);
    EXPECT_EQ(newName, request.computed);
    // Exactly the template's texts, in layout order: labels, rows, buttons.
    std::vector<std::string> expected = d.texts;
    for (size_t i = 0; i < kRowLabels.size(); ++i) {
        expected.push_back(kRowLabels[i]);
        expected.push_back(i == 0 ? request.oldName : request.computed);
    }
    for (const auto& button : d.buttons) expected.push_back(button.second);
    EXPECT_EQ(children, expected);
    EXPECT_EQ(focus, newNameEdit) << "the focus starts in New name";
    EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(defId), 1014) << "Rename is the default button";
    // "Résumé 😀 final.txt": the emoji takes two UTF-16 units.
    EXPECT_EQ(selection, std::make_pair(DWORD{0}, DWORD{19})) << "the whole New name is offered for typing over";
    EXPECT_EQ(oldSelection.first, oldSelection.second) << "nothing stays selected in Old name";
}

TEST_P(NameDialogTest, EachButtonEndsWithItsCodeAndReadsTheEditOnlyWhenItRenames) {
    const NameDialog& d = GetParam();
    for (const auto& [id, label] : d.buttons) {
        SCOPED_TRACE(label);
        CNameRequest request = sampleRequest();
        std::string buttonText;
        const int code = ask(request, [&, id = id](HWND dlg) {
            buttonText = Text(dlg, id);
            dialog_test::Type(dlg, IDC_NEW_NAME, "edited.txt");
            dialog_test::Click(dlg, id);
        });
        EXPECT_EQ(buttonText, label);
        EXPECT_EQ(code, id);
        const bool reads = std::find(d.readers.begin(), d.readers.end(), id) != d.readers.end();
        EXPECT_EQ(request.newName, reads ? "edited.txt" : request.computed);
        EXPECT_EQ(request.oldName, sampleRequest().oldName);
    }
}

TEST_P(NameDialogTest, EscapeAndTheCloseBoxAnswerClosedAndKeepTheComputedName) {
    const std::vector<std::pair<const char*, std::function<void(HWND)>>> ways = {
        {"Escape", [](HWND dlg) { dialog_test::PressKey(dlg, VK_ESCAPE); }},
        {"close box", [](HWND dlg) { ::PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        CNameRequest request = sampleRequest();
        const int code = ask(request, [&, close = close](HWND dlg) {
            dialog_test::Type(dlg, IDC_NEW_NAME, "edited.txt");
            close(dlg);
        });
        EXPECT_EQ(code, 2);
        EXPECT_EQ(request.newName, request.computed);
    }
}

TEST_P(NameDialogTest, EnterRenamesWithTheEditedName) {
    CNameRequest request = sampleRequest();
    const int code = ask(request, [](HWND dlg) {
        dialog_test::Type(dlg, IDC_NEW_NAME, "typed.txt");
        dialog_test::PressKey(dlg, VK_RETURN);
    });
    EXPECT_EQ(code, 1014);
    EXPECT_EQ(request.newName, "typed.txt");
}

TEST_P(NameDialogTest, ALongOldNameShowsItsEnd) {
    CNameRequest request = sampleRequest();
    request.oldName = "C:\\" + std::string(150, 'd') + "\\" + std::string(100, 'n') + "é.txt";
    bool showsEnd = false;
    std::pair<DWORD, DWORD> selection;
    const int code = ask(request, [&](HWND dlg) {
        showsEnd = dialog_test::ShowsItsEnd(dlg, IDC_OLD_NAME);
        selection = dialog_test::Selection(dlg, IDC_OLD_NAME);
        dialog_test::Click(dlg, IDC_SKIP);
    });
    EXPECT_EQ(code, 1013);
    EXPECT_TRUE(showsEnd) << "Old name is scrolled to its end";
    EXPECT_EQ(selection.first, selection.second);
}

TEST_P(NameDialogTest, AnEditedNameComesBackInUtf8) {
    CNameRequest request = sampleRequest();
    const int code = ask(request, [](HWND dlg) {
        // Replace only "final" (characters 9..14, UTF-16 units 10..15) as a paste would.
        ::SendDlgItemMessageW(dlg, IDC_NEW_NAME, EM_SETSEL, 10, 15);
        dialog_test::Paste(dlg, IDC_NEW_NAME, "naïve 🎉");
        dialog_test::Click(dlg, IDC_RENAME);
    });
    EXPECT_EQ(code, 1014);
    EXPECT_EQ(request.newName, "Résumé 😀 naïve 🎉.txt");
}

INSTANTIATE_TEST_SUITE_P(Dialogs, NameDialogTest, testing::ValuesIn(nameDialogs()),
                         [](const testing::TestParamInfo<NameDialog>& info) { return info.param.label; });

}  // namespace

// The whole road with the real Qln.dll of this tree: Qln.exe started with a
// list file (or with the paths themselves), the rename dialog found and
// driven from outside the process to OK, and the files renamed on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "dialog/PanelIds.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"
#include "tests/launcher/LauncherTestSupport.h"

using namespace launcher_test;

namespace {

void ForgetSettings() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin");
}

struct ChildSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisibleEdit(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::GetDlgCtrlID(window) == search->id && ::IsWindowVisible(window) && ::lstrcmpiW(name, L"Edit") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Chooses an entry of a combo box of another process, as a user would: the
// dialog hears of it. The strings travel with the messages.
bool Choose(HWND combo, const std::wstring& entry) {
    const auto index =
        ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    if (index < 0) return false;
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    return Text(combo) == entry;
}

// The rename dialog of `run`: "Add to beginning" of `prefix` over the whole
// names, then OK. Waits for the program to end.
void RenameWithPrefix(CProcess& run, const std::wstring& prefix, const std::function<void()>& whileOpen) {
    const HWND dialog = run.WaitForWindow(L"Quorlin", 30000);
    ASSERT_TRUE(dialog) << "the rename dialog did not open";
    EXPECT_NE(Text(dialog), L"Quorlin Info");
    whileOpen();
    ASSERT_TRUE(Choose(::GetDlgItem(dialog, IDC_MAIN_SCOPE), L"Change entire file name"));
    ASSERT_TRUE(Choose(::GetDlgItem(dialog, IDC_MAIN_ACTION), L"Add to beginning"));
    ChildSearch field{IDC_PANEL_TEXT};
    ASSERT_TRUE(WaitUntil([&] {
        ::EnumChildWindows(dialog, FindVisibleEdit, reinterpret_cast<LPARAM>(&field));
        return field.found != nullptr;
    })) << "no text field in the panel";
    ::SendMessageW(field.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(prefix.c_str()));
    ASSERT_EQ(Text(field.found), prefix);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(run.Wait(30000)) << "Qln.exe did not end after OK";
    EXPECT_EQ(run.exitCode(), 0u);
}

class WholeRoad : public testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
    void TearDown() override { ForgetSettings(); }
};

TEST_F(WholeRoad, AListFileBecomesRenamedFiles) {
    CFolder temp(L"qln-road-temp");
    CFolder files(L"qln road files \xC3\xA9");
    files.Write(L"one.txt", "1");
    files.Write(L"two words.txt", "2");
    files.Write(L"\x65E5\x672C.txt", "3");
    files.Write(L"left alone.txt", "4");
    const std::string list = platform::Narrow(files / L"one.txt") + "\n" + platform::Narrow(files / L"two words.txt") +
                             "\r\n" + platform::Narrow(files / L"\x65E5\x672C.txt") + "\n";
    temp.Write(L"qln20240101", list);
    CProcess run(BuiltLauncher(), Quote(temp / L"qln20240101"), temp.path());
    RenameWithPrefix(run, L"x_", [&] { EXPECT_FALSE(temp.Exists(L"qln20240101")) << "deleted before the dialog"; });
    EXPECT_EQ(files.Read(L"x_one.txt"), "1");
    EXPECT_EQ(files.Read(L"x_two words.txt"), "2");
    EXPECT_EQ(files.Read(L"x_\x65E5\x672C.txt"), "3");
    EXPECT_EQ(files.Read(L"left alone.txt"), "4");
    EXPECT_FALSE(files.Exists(L"one.txt"));
    EXPECT_FALSE(temp.Exists(L"qln20240101"));
}

// Dropped on the program: the paths, one with forward slashes, are renamed
// where they are; the library sees full paths with backslashes.
TEST_F(WholeRoad, PathsOnTheCommandLineBecomeRenamedFiles) {
    CFolder files(L"qln road drop");
    files.Write(L"a b.txt", "a");
    files.Write(L"c.txt", "c");
    std::wstring forward = files / L"c.txt";
    for (auto& c : forward)
        if (c == L'\\') c = L'/';
    CProcess run(BuiltLauncher(), Quote(files / L"a b.txt") + L" " + Quote(forward));
    RenameWithPrefix(run, L"y_", [] {});
    EXPECT_EQ(files.Read(L"y_a b.txt"), "a");
    EXPECT_EQ(files.Read(L"y_c.txt"), "c");
    EXPECT_FALSE(files.Exists(L"a b.txt"));
    EXPECT_FALSE(files.Exists(L"c.txt"));
}

}  // namespace

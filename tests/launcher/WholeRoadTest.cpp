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
#include "tests/shellext/ExtensionTestSupport.h"

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

// The rename dialog shows before it makes its controls: they are all there
// once its preview list shows.
bool Built(HWND dialog) {
    bool found = false;
    ::EnumChildWindows(
        dialog,
        [](HWND window, LPARAM data) -> BOOL {
            if (::GetDlgCtrlID(window) != IDC_PREVIEW_LIST || !::IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<bool*>(data) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
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
    ASSERT_TRUE(WaitUntil([&] { return Built(dialog); }, 30000)) << "the rename dialog made no controls";
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

// The top-level rename dialog of any process, whose caption begins with
// "Quorlin"; waits up to `timeoutMs`.
HWND WaitForRenameDialog(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = nullptr;
            ::EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    if (!::IsWindowVisible(window) || Text(window).rfind(L"Quorlin", 0) != 0 || !Built(window))
                        return TRUE;
                    *reinterpret_cast<HWND*>(data) = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&found));
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// Explorer's road to a preset: the real extension, installed beside the
// real launcher and library, shows the kept preset in its submenu; the
// entry starts the launcher, whose dialog opens with the preset applied,
// and OK renames.
TEST_F(WholeRoad, APresetChosenInTheContextMenuOpensTheDialogWithIt) {
    CFolder install(L"qln road install");
    CFolder files(L"qln road preset");
    files.Write(L"a.txt", "a");
    files.Write(L"b.txt", "b");
    const std::wstring built = BuiltLauncher().substr(0, BuiltLauncher().find_last_of(L'\\') + 1);
    for (const wchar_t* name : {L"Qln.exe", L"Qln.dll", L"bitmap1.gif", L"bitmap2.gif"})
        ASSERT_TRUE(::CopyFileW((built + name).c_str(), (install / name).c_str(), FALSE)) << platform::Narrow(name);
    ASSERT_TRUE(::CopyFileW(ext_test::BuiltDll().c_str(), (install / L"QlnExt.dll").c_str(), FALSE));
    const std::wstring preset =
        LR"([{"quorlinPreset":1,"name":"road","steps":[{"scope":1,"action":"Add to beginning","values":{"add":"p_"}},)"
        LR"({"scope":3,"action":"Make UPPERCASE"}],"options":{"folders":0}}])";
    for (const auto& [name, value] : {std::pair{L"presets", preset}, {L"presetNames", std::wstring(L"road\n")}})
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin", name, REG_SZ, value.c_str(),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);

    win::ScopedCom com;
    {
        ext_test::CLoadedExtension extension(install / L"QlnExt.dll");
        const win::ComPtr<IContextMenu> menu = extension.create();
        ASSERT_TRUE(menu);
        win::ComPtr<IShellExtInit> init;
        ASSERT_EQ(menu->QueryInterface(IID_IShellExtInit, init.outVoid()), S_OK);
        ext_test::CFakeDataObject data(ext_test::DropAnswer::Paths, {files / L"a.txt", files / L"b.txt"});
        ASSERT_EQ(init->Initialize(nullptr, &data, nullptr), S_OK);
        const HMENU popup = ::CreatePopupMenu();
        EXPECT_EQ(menu->QueryContextMenu(popup, 0, 1, 100, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2));
        wchar_t entry[32] = {};
        ::GetMenuStringW(::GetSubMenu(popup, 2), 2, entry, 32, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(entry), L"road");
        ::DestroyMenu(popup);
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.lpVerb = MAKEINTRESOURCEA(1);
        ASSERT_EQ(menu->InvokeCommand(&info), S_OK);
    }
    const HWND dialog = WaitForRenameDialog(30000);
    ASSERT_TRUE(dialog) << "the rename dialog did not open";
    EXPECT_TRUE(WaitUntil([&] { return Text(::GetDlgItem(dialog, IDC_MAIN_STEP)) == L"Step 1 of 2"; }));
    EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_MAIN_ACTION)), L"Add to beginning");
    DWORD processId = 0;
    ::GetWindowThreadProcessId(dialog, &processId);
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    if (process) {
        EXPECT_EQ(::WaitForSingleObject(process, 30000), WAIT_OBJECT_0) << "Qln.exe did not end after OK";
        ::CloseHandle(process);
    }
    EXPECT_EQ(files.Read(L"p_a.TXT"), "a");
    EXPECT_EQ(files.Read(L"p_b.TXT"), "b");
}

}  // namespace

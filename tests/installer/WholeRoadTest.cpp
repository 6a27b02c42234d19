// The whole road a user takes, under Wine: the product installed for every
// user, its extension created through the registration, handed a real shell
// selection of three files, asked for its menu item and invoked; the launcher
// it starts opens the rename dialog, which is driven to OK from outside; the
// files are renamed and the list file is gone; then the product is removed.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "shellext/ClassId.h"
#include "tests/installer/SetupDriver.h"
#include "tests/support/WinWait.h"

namespace {

using namespace setup_test;

using CreateDataObjectFn = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, UINT, PCUIDLIST_RELATIVE_ARRAY, IDataObject**);

// A visible top-level window of any process whose caption begins with
// `caption`, within `timeoutMs`.
HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs) {
    struct Search {
        std::wstring caption;
        HWND found = nullptr;
    } search{caption};
    const DWORD start = ::GetTickCount();
    do {
        ::EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                wchar_t text[256] = {};
                ::GetWindowTextW(window, text, 256);
                if (::IsWindowVisible(window) && std::wstring(text).rfind(s->caption, 0) == 0) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(50);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

// The list files of the extension waiting in the temporary folder.
std::vector<std::wstring> ListFiles() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::vector<std::wstring> found;
    for (const auto& name : FolderEntries(temp))
        if (name.size() > 3 && name.compare(0, 3, L"qln") == 0 &&
            name.find_first_not_of(L"0123456789", 3) == std::wstring::npos)
            found.push_back(name);
    return found;
}

// The dialog's settings as a user's earlier run left them: the action and
// its text, so that OK renames at once.
void StoreSettings() {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, value] : {std::pair{L"lastSelection", L"Add to beginning"}, {L"add", L"x_"}})
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>((::lstrlenW(value) + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

class WholeRoad : public SetupTest {
protected:
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin");
        if (!folder_.empty()) RemoveTree(folder_);
        SetupTest::TearDown();
    }
    std::wstring folder_;
};

TEST_F(WholeRoad, FromTheContextMenuToRenamedFiles) {
    if (!ShipsLauncher()) GTEST_SKIP() << "this build ships no launcher";
    ASSERT_TRUE(Succeeded(Install(L"/S /ALLUSERS")));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin");
    ASSERT_NO_FATAL_FAILURE(StoreSettings());

    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"qln-road-" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    const std::vector<std::wstring> names = {L"a.txt", L"b.txt", L"\u00e9t\u00e9.txt"};
    for (const auto& name : names) {
        const HANDLE file = ::CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
    }
    const auto listsBefore = ListFiles();

    {
        // As Explorer does it: the class through its registration, a data
        // object over the selection, the menu, the command.
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        CLSID clsid{};
        ASSERT_EQ(::CLSIDFromString(Widen(QLN_EXT_CLSID_TEXT).c_str(), &clsid), S_OK);
        IShellExtInit* init = nullptr;
        ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                     reinterpret_cast<void**>(&init)),
                  S_OK);
        const auto createDataObject = reinterpret_cast<CreateDataObjectFn>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEA(83))));
        ASSERT_TRUE(createDataObject);
        PIDLIST_ABSOLUTE parent = ::ILCreateFromPathW(folder_.c_str());
        std::vector<PIDLIST_ABSOLUTE> items;
        std::vector<PCUIDLIST_RELATIVE> children;
        for (const auto& name : names) {
            items.push_back(::ILCreateFromPathW((folder_ + L"\\" + name).c_str()));
            children.push_back(::ILFindLastID(items.back()));
        }
        IDataObject* data = nullptr;
        ASSERT_EQ(createDataObject(parent, static_cast<UINT>(children.size()), children.data(), &data), S_OK);
        ASSERT_EQ(init->Initialize(parent, data, nullptr), S_OK);

        IContextMenu* menu = nullptr;
        ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
        const HMENU popup = ::CreatePopupMenu();
        EXPECT_EQ(HRESULT_CODE(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL)), 1);
        wchar_t text[64] = {};
        ::GetMenuStringW(popup, 100, text, 64, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(text), L"Quorl&in...");
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.lpVerb = MAKEINTRESOURCEA(0);
        invoke.nShow = SW_SHOWNORMAL;
        EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);

        ::DestroyMenu(popup);
        menu->Release();
        init->Release();
        data->Release();
        for (const PIDLIST_ABSOLUTE item : items) ::ILFree(item);
        ::ILFree(parent);
        ::CoUninitialize();
    }

    // The launcher's process shows the dialog; OK renames.
    const HWND dialog = WaitForWindow(L"Quorlin", 60000);
    ASSERT_TRUE(dialog) << "the rename dialog did not open";
    DWORD process = 0;
    ::GetWindowThreadProcessId(dialog, &process);
    EXPECT_NE(process, ::GetCurrentProcessId()) << "the dialog runs in the launcher's process, not in Explorer's";
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(win_test::WaitUntil([&] { return !::IsWindow(dialog); }, 60000)) << "the dialog did not close";
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::wstring>{L"x_a.txt", L"x_b.txt", L"x_\u00e9t\u00e9.txt"}));
    EXPECT_TRUE(win_test::WaitUntil([&] { return ListFiles() == listsBefore; }, 10000))
        << "the list file was not removed";

    ASSERT_TRUE(Succeeded(Uninstall(Hive::LocalMachine)));
    ExpectNothingLeft();
}

}  // namespace

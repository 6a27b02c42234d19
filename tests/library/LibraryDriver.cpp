#include "tests/library/LibraryDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"

namespace library_test {

namespace {

constexpr DWORD kPollMs = 20;

struct Search {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    if (std::wstring(text).rfind(search->caption, 0) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK FindChildDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(window) && ::GetDlgItem(window, search->id)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CloseOne(HWND window, LPARAM) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t cls[16] = {};
    ::GetClassNameW(window, cls, 16);
    if (process == ::GetCurrentProcessId() && std::wstring(cls) == L"#32770" && ::IsWindowVisible(window)) {
        // Every dialog ends on IDCANCEL (the conflict dialogs take it for
        // Skip); a message box with only an OK button ends on IDOK, one that
        // asks yes or no on IDNO.
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        if (::GetDlgItem(window, IDOK) && !::GetDlgItem(window, IDCANCEL)) ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        if (::GetDlgItem(window, IDNO)) ::PostMessageW(window, WM_COMMAND, IDNO, 0);
    }
    return TRUE;
}

}  // namespace

std::wstring LibraryPath() {
    std::wstring path = platform::Widen(QLN_LIBRARY_PATH);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

Library::Library(const std::wstring& path) {
    module = ::LoadLibraryW((path.empty() ? LibraryPath() : path).c_str());
    // Through void*: the export's type is the library's promise, not FARPROC's.
    if (module)
        handleRename = reinterpret_cast<HandleRenameFunction>(
            reinterpret_cast<void*>(::GetProcAddress(module, "HandleRename")));
}

Library::~Library() {
    if (module) ::FreeLibrary(module);
}

void ForgetSettings() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin");
}

void StoreSettings(const std::vector<std::pair<std::wstring, std::wstring>>& texts,
                   const std::vector<std::pair<std::wstring, DWORD>>& numbers) {
    ForgetSettings();
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrel\\A Quorlin", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : texts)
        ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    for (const auto& [name, value] : numbers)
        ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(key);
}

void DriveWhile(const std::function<void()>& call, const std::function<void()>& script, DWORD timeoutMs) {
    std::atomic<bool> returned{false};
    std::thread driver([&] {
        script();
        // The script's last click may still be at work (a run over many
        // files); whatever is open after that is closed.
        const DWORD start = ::GetTickCount();
        bool closed = false;
        while (!returned) {
            if (!closed && ::GetTickCount() - start > timeoutMs) {
                ADD_FAILURE() << "windows were still open after the script";
                closed = true;
            }
            if (closed) CloseEverything();
            ::Sleep(kPollMs * 5);
        }
    });
    call();
    returned = true;
    driver.join();
}

HWND WaitForWindow(const std::string& caption, DWORD timeoutMs) {
    Search search{platform::Widen(caption)};
    const DWORD start = ::GetTickCount();
    do {
        search.found = nullptr;
        ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(kPollMs);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND ChildDialogWith(HWND dialog, int id) {
    ChildSearch search{id};
    ::EnumChildWindows(dialog, FindChildDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window, int id) {
    const HWND target = id ? ::GetDlgItem(window, id) : window;
    if (!target) return "<no control " + std::to_string(id) + ">";
    const auto length = ::SendMessageW(target, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto got = ::SendMessageW(target, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return platform::Narrow(text);
}

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> out;
    const auto count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        const auto got = ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        out.push_back(platform::Narrow(text));
    }
    return out;
}

void ComboChoose(HWND combo, int index) {
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
}

int ComboFind(HWND combo, const std::string& text) {
    const auto entries = ComboEntries(combo);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) return static_cast<int>(i);
    return -1;
}

void EditSetText(HWND edit, const std::string& text) {
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(platform::Widen(text).c_str()));
}

void Click(HWND button) {
    ::SendMessageW(button, BM_CLICK, 0, 0);
}

void ClickLater(HWND button) {
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

std::string ListCell(HWND list, int row, int column) {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return platform::Narrow(text);
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    std::vector<std::vector<std::string>> rows;
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    const auto count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> row;
        for (int c = 0; c < columns; ++c) row.push_back(ListCell(list, i, c));
        rows.push_back(std::move(row));
    }
    return rows;
}

void CloseEverything() {
    ::EnumWindows(CloseOne, 0);
}

HWND WaitForMainDialog(DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    const HWND main = WaitForWindow("Quorlin", timeoutMs);
    if (!main) return nullptr;
    const DWORD left = timeoutMs - std::min(timeoutMs, ::GetTickCount() - start);
    return WaitUntil([&] { return ChildDialogWith(main, IDC_PREVIEW_LIST) != nullptr; }, left) ? main : nullptr;
}

bool MainDialog::Find() {
    main = WaitForMainDialog();
    if (!main) return false;
    scope = ::GetDlgItem(main, IDC_MAIN_SCOPE);
    action = ::GetDlgItem(main, IDC_MAIN_ACTION);
    undo = ::GetDlgItem(main, IDC_MAIN_UNDO);
    list = ::GetDlgItem(ChildDialogWith(main, IDC_PREVIEW_LIST), IDC_PREVIEW_LIST);
    return scope && action && undo && list;
}

bool MainDialog::Choose(const std::string& actionName) const {
    const int index = ComboFind(action, actionName);
    if (index < 0) return false;
    ComboChoose(action, index);
    return Text(action) == actionName;
}

bool MainDialog::Busy() const {
    return ::SendMessageW(main, WM_MAIN_BUSY, 0, 0) != 0;
}

bool MainDialog::ShowsRows(const std::vector<std::vector<std::string>>& expected) const {
    return WaitUntil([&] { return !Busy() && ListRows(list) == expected; });
}

std::string MainDialog::Status() const {
    WaitUntil([&] { return !Busy(); });
    return Text(main, IDC_MAIN_STATUS);
}

void Rename(Library& library, const std::vector<std::string>& paths, const std::function<void(MainDialog&)>& script,
            HWND parent) {
    ASSERT_TRUE(library.handleRename) << "Qln.dll or its export is missing";
    std::vector<const char*> raw;
    for (const auto& p : paths) raw.push_back(p.c_str());
    DriveWhile([&] { library.handleRename(parent, 0, raw.data(), static_cast<int>(raw.size())); },
               [&] {
                   MainDialog d;
                   ASSERT_TRUE(d.Find()) << "the rename dialog did not open";
                   script(d);
               });
}

}  // namespace library_test

// The registry that holds the settings on Windows; under Wine, its real
// registry in the build tree's own prefix.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>

#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "platform/win32/RegistrySettings.h"
#include "platform/win32/Wide.h"
#include "tests/support/SettingsContract.h"

namespace {

using testing_support::SettingsContract;

// A key of its own below HKCU for each test, removed afterwards, so that no
// test sees another's values or the user's.
class TestKey {
public:
    TestKey() {
        std::random_device rd;
        base_ = "Software\\QuorlinTests\\run-" + std::to_string(std::mt19937_64(rd())());
    }
    ~TestKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, platform::Widen(base_).c_str()); }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    /// What takes the place of "Software\Tavrel".
    const std::string& base() const { return base_; }
    /// The key of the dialog's values.
    std::wstring key() const { return platform::Widen(base_ + "\\" + CSettingsStore::kDialogSubKey); }

private:
    std::string base_;
};

class RegistryPlace final : public testing_support::SettingsPlace {
public:
    std::unique_ptr<CSettingsStore> Open() override {
        return std::make_unique<CSettingsStore>(CSettingsStore::kDialogSubKey, key.base());
    }
    TestKey key;
};

INSTANTIATE_TEST_SUITE_P(Registry, SettingsContract,
                         testing::Values(testing_support::SettingsBackendCase{
                             "Registry", [] { return std::make_unique<RegistryPlace>(); }}),
                         testing_support::PrintBackend);

struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

RawValue Query(const std::wstring& key, const wchar_t* name) {
    RawValue out;
    HKEY h = nullptr;
    out.status = ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &h);
    if (out.status != ERROR_SUCCESS) return out;
    DWORD size = 0;
    out.status = ::RegQueryValueExW(h, name, nullptr, &out.type, nullptr, &size);
    if (out.status == ERROR_SUCCESS) {
        out.data.resize(size);
        out.status = ::RegQueryValueExW(h, name, nullptr, &out.type, out.data.data(), &size);
        out.data.resize(size);
    }
    ::RegCloseKey(h);
    return out;
}

void Set(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY h = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    ::RegCloseKey(h);
}

TEST(RegistrySettings, TheKeyIsCreatedWhenTheStoreOpens) {
    TestKey key;
    EXPECT_EQ(Query(key.key(), nullptr).status, ERROR_FILE_NOT_FOUND);
    CSettingsStore store(CSettingsStore::kDialogSubKey, key.base());
    HKEY h = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key.key().c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    ::RegCloseKey(h);
}

TEST(RegistrySettings, NumbersAreDwordsAndTextsAreTerminatedStrings) {
    TestKey key;
    {
        CSettingsStore store(CSettingsStore::kDialogSubKey, key.base());
        store.WriteNumber(kStrFiles, 1);
        store.WriteNumber(kStrDateFormat, -2);
        store.WriteString(kStrLastSelection, "Add to end");
        store.WriteString(kStrAdd, "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xF0\x9F\x98\x80");
        store.WriteString(kStrFind, "");
        store.Flush();
    }
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    auto wide = [](const std::wstring& s) {
        const BYTE* p = reinterpret_cast<const BYTE*>(s.c_str());
        return std::vector<BYTE>(p, p + (s.size() + 1) * sizeof(wchar_t));
    };
    const Case cases[] = {
        {L"files", REG_DWORD, {1, 0, 0, 0}},
        {L"dateFormat", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
        {L"lastSelection", REG_SZ, wide(L"Add to end")},
        {L"add", REG_SZ, wide(L"\u00e9t\u00e9 \u65e5\U0001F600")},
        {L"find", REG_SZ, wide(L"")},
    };
    for (const auto& c : cases) {
        const RawValue v = Query(key.key(), c.name);
        ASSERT_EQ(v.status, ERROR_SUCCESS) << platform::Narrow(c.name);
        EXPECT_EQ(v.type, c.type) << platform::Narrow(c.name);
        EXPECT_EQ(v.data, c.data) << platform::Narrow(c.name);
    }
    // Ids outside the table never reach the key's default value.
    CSettingsStore(CSettingsStore::kDialogSubKey, key.base()).WriteNumber(0, 1);
    EXPECT_EQ(Query(key.key(), L"").status, ERROR_FILE_NOT_FOUND);
}

TEST(RegistrySettings, ValuesOfAnotherTypeReadAsMissing) {
    TestKey key;
    const wchar_t text[] = L"1";
    const DWORD number = 7;
    const BYTE binary[] = {1, 0, 0, 0};
    Set(key.key(), L"files", REG_SZ, text, sizeof text);
    Set(key.key(), L"add", REG_DWORD, &number, sizeof number);
    Set(key.key(), L"folders", REG_BINARY, binary, sizeof binary);
    Set(key.key(), L"find", REG_BINARY, binary, sizeof binary);
    CSettingsStore store(CSettingsStore::kDialogSubKey, key.base());
    EXPECT_EQ(store.ReadNumber(kStrFiles), -1);
    EXPECT_EQ(store.ReadString(kStrAdd), "");
    EXPECT_EQ(store.ReadNumber(kStrFolders), -1);
    EXPECT_EQ(store.ReadString(kStrFind), "");
    EXPECT_EQ(store.ReadNumber(kStrAdd), 7);
}

TEST(RegistrySettings, LongTextsWrittenByOtherToolsReadAsEmpty) {
    TestKey key;
    const std::wstring fits(199, L'w');
    const std::wstring tooLong(5000, L'w');
    Set(key.key(), L"find", REG_SZ, fits.c_str(), static_cast<DWORD>((fits.size() + 1) * sizeof(wchar_t)));
    Set(key.key(), L"replace", REG_SZ, tooLong.c_str(), static_cast<DWORD>((tooLong.size() + 1) * sizeof(wchar_t)));
    // A REG_SZ without its terminator is still read whole and safely.
    Set(key.key(), L"prefix", REG_SZ, L"abc", 3 * sizeof(wchar_t));
    CSettingsStore store(CSettingsStore::kDialogSubKey, key.base());
    EXPECT_EQ(store.ReadString(kStrFind), std::string(199, 'w'));
    EXPECT_EQ(store.ReadString(kStrReplace), "");
    EXPECT_EQ(store.ReadString(kStrPrefix), "abc");
}

TEST(RegistrySettings, TheLocationIsTheCompanyKeyUnlessPointedElsewhere) {
    wchar_t saved[4096];
    const DWORD had = ::GetEnvironmentVariableW(L"QUORLIN_SETTINGS", saved, 4096);
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", nullptr);
    EXPECT_EQ(platform::SettingsLocation("A Quorlin"), "Software\\Tavrel\\A Quorlin");
    EXPECT_EQ(platform::SettingsLocation("A Quorlin", "Software\\Given\\"), "Software\\Given\\A Quorlin");
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", L"Software\\FromVariable");
    EXPECT_EQ(platform::SettingsLocation("A Quorlin"), "Software\\FromVariable\\A Quorlin");
    EXPECT_EQ(platform::SettingsLocation("A Quorlin", "Software\\Given"), "Software\\Given\\A Quorlin");
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", had ? saved : nullptr);
}

TEST(RegistrySettings, TheVariablePointsTheDefaultStoreElsewhere) {
    TestKey key;
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", platform::Widen(key.base()).c_str());
    {
        CSettingsStore store(CSettingsStore::kDialogSubKey);
        store.WriteNumber(kStrRenameKind, 3);
    }
    ::SetEnvironmentVariableW(L"QUORLIN_SETTINGS", nullptr);
    const RawValue v = Query(key.key(), L"renameKind");
    ASSERT_EQ(v.status, ERROR_SUCCESS);
    EXPECT_EQ(v.data, (std::vector<BYTE>{3, 0, 0, 0}));
}

// What a user sees with the system's own tool.
TEST(RegistrySettings, RegQueryShowsTheValues) {
    TestKey key;
    {
        CSettingsStore store(CSettingsStore::kDialogSubKey, key.base());
        store.WriteNumber(kStrSortFolders, 1);
        store.WriteString(kStrLastSelection, "Truncate");
        store.Flush();
    }
    const std::wstring command = L"reg query \"HKCU\\" + key.key() + L"\" 2>&1";
    FILE* pipe = ::_wpopen(command.c_str(), L"r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    ::_pclose(pipe);
    EXPECT_NE(output.find("sortFolders    REG_DWORD    0x1"), std::string::npos) << output;
    EXPECT_NE(output.find("lastSelection    REG_SZ    Truncate"), std::string::npos) << output;
}

}  // namespace

#endif  // _WIN32

// The one conversion that every path takes on its way to a Win32 file call,
// and a run over items whose paths no plain Win32 path can hold. Wine's wide
// calls take long plain paths as well, so only the table shows the form.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Wide.h"
#include "tests/support/TempDir.h"

namespace {

std::wstring Full(const std::wstring& relative) {
    wchar_t buffer[4096] = {};
    ::GetFullPathNameW(relative.c_str(), 4096, buffer, nullptr);
    return buffer;
}

TEST(LongPath, EveryPathOfAFileCallFitsItsForm) {
    const size_t limit = platform::kPlainPathLimit;
    const std::wstring below = L"C:\\" + std::wstring(limit - 4, L'a');  // one short of the limit
    const std::wstring at = below + L"b";
    const std::wstring unc = L"\\\\server\\share\\" + std::wstring(limit, L'u');
    const std::wstring relative = L"sub\\" + std::wstring(limit, L'r');
    struct Case {
        const char* what;
        std::wstring path, expected;
    };
    const Case cases[] = {
        {"short", L"C:\\Photos\\a.jpg", L"C:\\Photos\\a.jpg"},
        {"one short of the limit", below, below},
        {"at the limit", at, L"\\\\?\\" + at},
        {"a network path", unc, L"\\\\?\\UNC\\server\\share\\" + std::wstring(limit, L'u')},
        {"already long", L"\\\\?\\" + at, L"\\\\?\\" + at},
        {"already long, short", L"\\\\?\\C:\\a", L"\\\\?\\C:\\a"},
        {"a device", L"\\\\.\\" + std::wstring(limit, L'd'), L"\\\\.\\" + std::wstring(limit, L'd')},
        {"relative", relative, L"\\\\?\\" + Full(relative)},
        {"slashes and dots", L"C:/x/../" + std::wstring(limit, L's'), L"\\\\?\\C:\\" + std::wstring(limit, L's')},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::FileCallPath(c.path), c.expected) << c.what;
    EXPECT_EQ(platform::FileCallPath(std::string("C:\\\xC3\xA9t\xC3\xA9")), L"C:\\\x00E9t\x00E9");
}

// Folders nested past 300 characters: listed, renamed and read back.
TEST(LongPath, ItemsPastThreeHundredCharactersAreRenamed) {
    testing_support::TempDir dir;
    std::string deep = dir.str();
    const std::string part(60, 'f');
    while (deep.size() < 300) {
        deep += "\\" + part;
        ASSERT_TRUE(::CreateDirectoryW(platform::FileCallPath(deep).c_str(), nullptr)) << deep.size();
    }
    platform::IFileSystem& fs = platform::RealFileSystem();
    ASSERT_EQ(fs.WriteFile(deep + "\\old.txt", "x"), platform::kErrorSuccess);
    std::vector<std::string> names;
    ASSERT_EQ(fs.ListFolderEntries(deep, [&](const std::string& name, platform::EntryKind) { names.push_back(name); }),
              platform::kErrorSuccess);
    EXPECT_EQ(names, std::vector<std::string>{"old.txt"});
    ASSERT_EQ(fs.Move(deep, "old.txt", "new.txt"), platform::kErrorSuccess);
    platform::Attributes attributes;
    EXPECT_EQ(fs.GetAttributes(deep + "\\new.txt", attributes), platform::kErrorSuccess);
    EXPECT_NE(fs.GetAttributes(deep + "\\old.txt", attributes), platform::kErrorSuccess);
    ASSERT_EQ(fs.RemoveFile(deep + "\\new.txt"), platform::kErrorSuccess);
    while (deep.size() > dir.str().size()) {
        ::RemoveDirectoryW(platform::FileCallPath(deep).c_str());
        deep.resize(deep.find_last_of('\\'));
    }
}

}  // namespace

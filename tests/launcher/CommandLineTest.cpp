// The rules by which Qln.exe tells a list file from the items to rename, and
// reads a list, checked inside this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "launcher/Launcher.h"
#include "launcher/ListFile.h"
#include "platform/win32/Wide.h"
#include "tests/launcher/LauncherTestSupport.h"

using namespace launcher_test;
using launcher::CommandLine;

namespace {

using Paths = std::vector<std::string>;

struct SplitCase {
    std::string bytes;
    Paths expected;
};

TEST(SplitListFile, LinesBecomePaths) {
    const SplitCase cases[] = {
        {"", {}},
        {"\n", {}},
        {"\r\n\r\n", {}},
        {"a", {"a"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\n\n\nb", {"a", "b"}},
        // Only the CR of a line end goes; one inside a name stays, to fail
        // where the name is used rather than name something else.
        {"a\rb\n", {"a\rb"}},
        {"a\r\r\n", {"a\r"}},
        {"\xEF\xBB\xBF"
         "a\nb\n",
         {"a", "b"}},
        {"a\n\xEF\xBB\xBF"
         "b\n",
         {"a",
          "\xEF\xBB\xBF"
          "b"}},
        {" a \n", {" a "}},
        {std::string("a\0b\nc\n", 6), {"c"}},
        {std::string(1000, 'x') + "\n", {std::string(1000, 'x')}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(launcher::SplitListFile(c.bytes), c.expected) << testing::PrintToString(c.bytes);
}

TEST(IsListFileName, OnlyQlnAndDigits) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"qln1", true},       {L"qln0123456789", true}, {L"QLN42", true},      {L"Qln7", true},
        {L"qln", false},       {L"qln12a", false},       {L"xqln1", false},     {L"qln1.tmp", false},
        {L"qln 1", false},     {L"qln-1", false},        {L"qln\x0661", false},  // an Arabic-Indic one
        {L"qln\xFF11", false},                                                   // a full-width one
        {L"", false},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(launcher::IsListFileName(name), expected) << platform::Narrow(name);
}

// TMP pointed at a folder of the test's for as long as the object lives.
class CTemporaryFolder {
public:
    explicit CTemporaryFolder(const std::wstring& folder) {
        wchar_t saved[MAX_PATH * 4] = {};
        had_ = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH * 4) > 0;
        saved_ = saved;
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~CTemporaryFolder() { ::SetEnvironmentVariableW(L"TMP", had_ ? saved_.c_str() : nullptr); }
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

private:
    bool had_ = false;
    std::wstring saved_;
};

std::wstring ShortPath(const std::wstring& path) {
    wchar_t out[MAX_PATH * 4] = {};
    return ::GetShortPathNameW(path.c_str(), out, MAX_PATH * 4) ? out : path;
}

std::wstring Upper(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(::towupper(c));
    return text;
}

std::wstring Slashed(std::wstring text) {
    for (auto& c : text)
        if (c == L'\\') c = L'/';
    return text;
}

TEST(IsListFile, AListNameDirectlyInTheTemporaryFolder) {
    CFolder temp(L"qln list test folder");
    CFolder elsewhere;
    ::CreateDirectoryW((temp / L"sub").c_str(), nullptr);
    temp.Write(L"qln5", "x");
    const std::wstring shortTemp = ShortPath(temp.path());
    CTemporaryFolder tmp(temp.path());
    const std::pair<std::wstring, bool> cases[] = {
        {temp / L"qln5", true},
        {temp / L"qln6", true},  // one that does not exist is still a list, which cannot
                                 // be opened
        {Upper(temp / L"qln5"), true},
        {Slashed(temp / L"qln5"), true},
        {temp / L"sub\\..\\qln5", true},
        {shortTemp + L"qln5", true},
        {temp / L"sub\\qln5", false},
        {elsewhere / L"qln5", false},
        {temp / L"qln5.txt", false},
        {temp / L"notes", false},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(launcher::IsListFile(path), expected) << platform::Narrow(path);
}

// TMP may name the folder by its short name; the extension writes whatever
// GetTempPath gives, the launcher may be handed the long one.
TEST(IsListFile, TheTemporaryFolderByItsShortName) {
    CFolder temp(L"qln list test long folder name");
    const std::wstring shortTemp = ShortPath(temp.path());
    if (shortTemp == temp.path()) GTEST_SKIP() << "this file system keeps no short names";
    CTemporaryFolder tmp(shortTemp);
    EXPECT_TRUE(launcher::IsListFile(temp / L"qln5"));
    EXPECT_TRUE(launcher::IsListFile(shortTemp + L"qln5"));
}

TEST(ParseCommandLine, ModesAndArguments) {
    CFolder temp;
    CTemporaryFolder tmp(temp.path());
    const std::wstring list = temp / L"qln8";
    temp.Write(L"with blanks.txt", "x");
    const std::wstring spaced = temp / L"with blanks.txt";
    struct Case {
        std::wstring commandLine;
        CommandLine::Mode mode;
        std::vector<std::wstring> arguments;
        std::wstring preset = {};
    };
    const Case cases[] = {
        {L"Qln.exe", CommandLine::Mode::Wizard, {}},
        {L"\"C:\\Program Files\\Quorlin\\Qln.exe\"", CommandLine::Mode::Wizard, {}},
        {L"Qln.exe   ", CommandLine::Mode::Wizard, {}},
        {L"Qln.exe \"\"", CommandLine::Mode::Wizard, {}},
        {L"Qln.exe " + list, CommandLine::Mode::ListFile, {list}},
        {L"Qln.exe \"" + list + L"\"", CommandLine::Mode::ListFile, {list}},
        {L"Qln.exe " + list + L" \"\"", CommandLine::Mode::ListFile, {list}},
        {L"Qln.exe " + list + L" " + list, CommandLine::Mode::Paths, {list, list}},
        {L"Qln.exe C:\\a.txt", CommandLine::Mode::Paths, {L"C:\\a.txt"}},
        {L"Qln.exe C:\\My Files\\a.txt", CommandLine::Mode::Paths, {L"C:\\My", L"Files\\a.txt"}},
        {L"Qln.exe \"C:\\My Files\\a.txt\" \"C:\\b\\\\\"",
         CommandLine::Mode::Paths,
         {L"C:\\My Files\\a.txt", L"C:\\b\\"}},
        // Send To hands a drive over with its backslash before the quote.
        {L"Qln.exe \"D:\\\" \"E:\\x\\\"", CommandLine::Mode::Paths, {L"D:\\", L"E:\\x\\"}},
        // One unquoted path with blanks that names an item is that one path;
        // one that names nothing is split.
        {L"Qln.exe " + spaced, CommandLine::Mode::Paths, {spaced}},
        {L"Qln.exe " + spaced + L"x", CommandLine::Mode::Paths, {temp.path() + L"with", L"blanks.txtx"}},
        // The extension's presets menu; anything else that starts so is paths.
        {L"Qln.exe /preset \"My \\\"best\\\"\" " + list, CommandLine::Mode::ListFile, {list}, L"My \"best\""},
        {L"Qln.exe /preset x C:\\a.txt", CommandLine::Mode::Paths, {L"/preset", L"x", L"C:\\a.txt"}},
        {L"Qln.exe /preset " + list, CommandLine::Mode::Paths, {L"/preset", list}},
    };
    for (const auto& c : cases) {
        const CommandLine parsed = launcher::ParseCommandLine(c.commandLine.c_str());
        EXPECT_EQ(parsed.mode, c.mode) << platform::Narrow(c.commandLine);
        EXPECT_EQ(parsed.arguments, c.arguments) << platform::Narrow(c.commandLine);
        EXPECT_EQ(parsed.preset, c.preset) << platform::Narrow(c.commandLine);
    }
}

TEST(FullPath, BackslashesAndNoRelativeParts) {
    wchar_t current[MAX_PATH * 4] = {};
    ::GetCurrentDirectoryW(MAX_PATH * 4, current);
    std::wstring here = current;
    if (here.back() != L'\\') here += L'\\';
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:/a/b.txt", L"C:\\a\\b.txt"},
        {L"C:\\a\\..\\b\\.\\c", L"C:\\b\\c"},
        {L"x.txt", here + L"x.txt"},
        {L"\\\\server\\share\\x", L"\\\\server\\share\\x"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(launcher::FullPath(given), expected) << platform::Narrow(given);
}

}  // namespace

// Qln.exe as the Explorer extension starts it: its own process, beside a
// stand-in Qln.dll that records what it was given, with a list file in the
// temporary folder that the process was given.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Wide.h"
#include "tests/launcher/LauncherTestSupport.h"
#include "tests/shellext/ExtensionTestSupport.h"

using namespace launcher_test;

namespace {

using Paths = std::vector<std::string>;

const std::string kLong300 = "C:\\" + std::string(296, 'x') + ".t";  // 300 characters, one path

struct ListCase {
    const char* name;
    std::string bytes;
    Paths expected;
};

// Each case's list file is read whole, deleted, and its paths reach the
// library in file order, without their line ends.
const ListCase kListCases[] = {
    {"ThreeLines",
     "C:\\a\\one.txt\nC:\\a\\two.txt\nC:\\a\\three.txt\n",
     {"C:\\a\\one.txt", "C:\\a\\two.txt", "C:\\a\\three.txt"}},
    {"LastLineWithoutLineEnd", "C:\\a\\one.txt\nC:\\a\\last one.txt", {"C:\\a\\one.txt", "C:\\a\\last one.txt"}},
    {"APathOf300CharactersStaysOnePath", kLong300 + "\nC:\\a\\b\n", {kLong300, "C:\\a\\b"}},
    {"APathOfExactly255Characters", "C:\\" + std::string(252, 'y') + "\n", {"C:\\" + std::string(252, 'y')}},
    {"Utf8NamesArriveIntact",
     "C:\\Fotos\\\xC3\x9C"
     "bersicht \xD0\x96\xD0\xB7 \xE6\x97\xA5\xE6\x9C\xAC.jpg\nC:\\\xF0\x9F\x93\xB7\n",
     {"C:\\Fotos\\\xC3\x9C"
      "bersicht \xD0\x96\xD0\xB7 \xE6\x97\xA5\xE6\x9C\xAC.jpg",
      "C:\\\xF0\x9F\x93\xB7"}},
    {"CarriageReturnsAndEmptyLinesAreDropped",
     "C:\\a\\one.txt\r\n\r\n\nC:\\a\\two.txt\r\n",
     {"C:\\a\\one.txt", "C:\\a\\two.txt"}},
};

void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

class ListFileTest : public testing::TestWithParam<ListCase> {};

TEST_P(ListFileTest, IsReadWholeDeletedAndHandedOver) {
    const ListCase& c = GetParam();
    CInstall install;
    install.temp().Write(L"qln4711", c.bytes);
    CProcess run = install.Start(install.temp() / L"qln4711");
    ASSERT_TRUE(run.Wait()) << "Qln.exe did not end";
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_FALSE(install.temp().Exists(L"qln4711")) << "the list file is deleted";
    const auto calls = install.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].parent) << "no parent window";
    EXPECT_EQ(calls[0].reserved, 0);
    EXPECT_EQ(calls[0].count, static_cast<int>(c.expected.size()));
    EXPECT_EQ(calls[0].paths, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Launcher, ListFileTest, testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A list without a path is left alone: nothing to rename, nothing shown.
TEST(ListFile, AnEmptyListStaysOnDiskAndTheLibraryIsNotCalled) {
    for (const std::string bytes : {"", "\n", "\r\n\r\n"}) {
        CInstall install;
        install.temp().Write(L"qln12", bytes);
        CProcess run = install.Start(install.temp() / L"qln12");
        ASSERT_TRUE(run.Wait());
        EXPECT_TRUE(install.temp().Exists(L"qln12")) << testing::PrintToString(bytes);
        EXPECT_TRUE(install.Calls().empty());
        EXPECT_TRUE(run.Windows().empty());
    }
}

// A library that cannot show the dialog is named, with where the program
// looked, and the list is still deleted; the program ends with an error.
TEST(ListFile, ALibraryThatCannotShowTheDialogIsNamed) {
    struct Case {
        const char* name;
        bool withoutExport;
        std::wstring text;  // after the library's path
    };
    const Case cases[] = {{"no library", false, L"Unable to load "}, {"no export", true, L"Unable to find HandleRename in "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CInstall install(CInstall::Library::None);
        const std::wstring library = install.folder() / L"Qln.dll";
        // A DLL, but not the rename library.
        if (c.withoutExport) {
            ASSERT_TRUE(::CopyFileW(ext_test::BuiltDll().c_str(), library.c_str(), FALSE));
        }
        install.temp().Write(L"qln5", "C:\\a\\one.txt\n");
        CProcess run = install.Start(install.temp() / L"qln5");
        const HWND box = run.WaitForWindow(L"Error");
        ASSERT_TRUE(box) << "no message";
        const std::wstring text = BoxText(box);
        EXPECT_EQ(text.substr(0, c.text.size() + library.size()), c.text + library) << platform::Narrow(text);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(run.Wait());
        EXPECT_EQ(run.exitCode(), 1u);
        EXPECT_FALSE(install.temp().Exists(L"qln5"));
    }
}

// The test holds the list open without sharing it, so Qln.exe cannot.
TEST(ListFile, AnUnreadableListIsReportedAndKept) {
    CInstall install;
    const std::wstring list = install.temp() / L"qln77";
    install.temp().Write(L"qln77", "C:\\a\\one.txt\n");
    const HANDLE held = ::CreateFileW(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CProcess run = install.Start(list);
    const HWND box = run.WaitForWindow(L"Error");
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(Text(box), L"Error");
    EXPECT_EQ(BoxText(box), L"Unable to open " + list);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(run.Wait());
    ::CloseHandle(held);
    EXPECT_TRUE(install.temp().Exists(L"qln77"));
    EXPECT_TRUE(install.Calls().empty());
}

// The test holds the list open for reading, as Qln.exe may share it, but
// not for deleting: the failure is told, and the rename goes on.
TEST(ListFile, AListThatCannotBeRemovedIsReportedAndStillRenamed) {
    CInstall install;
    const std::wstring list = install.temp() / L"qln78";
    install.temp().Write(L"qln78", "C:\\a\\one.txt\n");
    const HANDLE held = ::CreateFileW(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CProcess run = install.Start(list);
    const HWND box = run.WaitForWindow(L"Error");
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(BoxText(box), L"Unable to remove " + list);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(run.Wait());
    ::CloseHandle(held);
    const auto calls = install.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].paths, Paths{"C:\\a\\one.txt"});
}

// The extension quotes a list path that holds a blank; older callers hand
// it over unquoted, whole. Either way it is one list.
TEST(ListFile, ATemporaryFolderWithBlanksAndOtherScripts) {
    for (const bool quoted : {true, false}) {
        CInstall install(CInstall::Library::StandIn, L"Temp folder \xC3\xBC");
        const std::wstring list = install.temp() / L"qln9";
        install.temp().Write(L"qln9", "C:\\a\\one.txt\n");
        CProcess run = install.Start(quoted ? Quote(list) : list);
        ASSERT_TRUE(run.Wait());
        EXPECT_FALSE(install.temp().Exists(L"qln9")) << quoted;
        ASSERT_EQ(install.Calls().size(), 1u) << quoted;
        EXPECT_EQ(install.Calls()[0].paths, Paths{"C:\\a\\one.txt"});
    }
}

// Dropped on the program, sent to it or opened with it, a document is one of
// the items to rename: it is neither read as a list nor deleted, whatever its
// name and content.
TEST(CommandLine, ADocumentIsRenamedNotReadOrDeleted) {
    CInstall install;
    CFolder documents;
    documents.Write(L"notes.txt", "C:\\Windows\\win.ini\n");
    documents.Write(L"qln123", "C:\\Windows\\win.ini\n");           // a list's name, but not in the temporary folder
    install.temp().Write(L"qln123.txt", "C:\\Windows\\win.ini\n");  // in it, but not a list's name
    install.temp().Write(L"qlnx1", "C:\\Windows\\win.ini\n");
    for (const std::wstring& document :
         {documents / L"notes.txt", documents / L"qln123", install.temp() / L"qln123.txt", install.temp() / L"qlnx1"}) {
        CProcess run = install.Start(Quote(document));
        ASSERT_TRUE(run.Wait());
        EXPECT_TRUE(::GetFileAttributesW(document.c_str()) != INVALID_FILE_ATTRIBUTES) << platform::Narrow(document);
    }
    const auto calls = install.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].paths, Paths{platform::Narrow(documents / L"notes.txt")});
    EXPECT_EQ(calls[1].paths, Paths{platform::Narrow(documents / L"qln123")});
    EXPECT_EQ(calls[2].paths, Paths{platform::Narrow(install.temp() / L"qln123.txt")});
    EXPECT_EQ(calls[3].paths, Paths{platform::Narrow(install.temp() / L"qlnx1")});
}

// Split as Windows splits a command line, quotes removed, each made a full
// path with backslashes, in their order; relative ones against the folder
// the program was started in.
TEST(CommandLine, SeveralPathsReachTheLibraryAsFullPaths) {
    CInstall install;
    CFolder work(L"qln launcher work");
    const std::string folder = platform::Narrow(work.path());
    std::string forward = folder;
    for (auto& c : forward)
        if (c == '\\') c = '/';
    const std::wstring arguments = Quote(work / L"with blank.txt") + L" \"" + work / L"plain.txt" + L"\" \"" +
                                   platform::Widen(forward) + L"sub/dir/x.txt\" relative.txt \"\" " +
                                   Quote(work / L"\x00E9t\x00E9.txt");
    CProcess run = install.Start(arguments, work.path());
    ASSERT_TRUE(run.Wait());
    ASSERT_EQ(install.Calls().size(), 1u);
    EXPECT_EQ(install.Calls()[0].paths,
              (Paths{folder + "with blank.txt", folder + "plain.txt", folder + "sub\\dir\\x.txt",
                     folder + "relative.txt", folder + "\xC3\xA9t\xC3\xA9.txt"}));
}

// A short name (as some programs pass them) would show, and be renamed, as
// the short name: the library gets the item's long name.
TEST(CommandLine, AShortNameReachesTheLibraryLong) {
    CInstall install;
    CFolder work;
    work.Write(L"A rather long document name.txt", "x");
    wchar_t shortPath[MAX_PATH * 2] = {};
    const std::wstring longPath = work / L"A rather long document name.txt";
    ASSERT_GT(::GetShortPathNameW(longPath.c_str(), shortPath, MAX_PATH * 2), 0u);
    if (longPath == shortPath) GTEST_SKIP() << "this file system keeps no short names";
    CProcess run = install.Start(Quote(shortPath));
    ASSERT_TRUE(run.Wait());
    ASSERT_EQ(install.Calls().size(), 1u);
    EXPECT_EQ(install.Calls()[0].paths, Paths{platform::Narrow(longPath)});
}

}  // namespace

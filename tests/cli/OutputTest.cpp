#include <gtest/gtest.h>

#include "cli/Output.h"
#include "platform/FileSystem.h"

namespace {

const std::string kSep(1, platform::kPathSeparator);

// `path` with '/' between its parts written with the platform's separator.
std::string P(std::string path) {
    for (char& c : path)
        if (c == '/') c = platform::kPathSeparator;
    return path;
}

// Preview rows over items of one folder that it keeps.
struct Rows {
    Rows(const std::vector<std::string>& oldNames, const std::vector<std::string>& newNames,
         std::vector<CRowStatus> marks = {}) {
        for (size_t i = 0; i < oldNames.size(); ++i) {
            items.push_back(std::make_unique<CFileDescriptor>(P("/top/dir"), oldNames[i], 0));
            rows.push_back({items.back().get(), newNames[i], i < marks.size() ? marks[i] : CRowStatus::kRenamed});
        }
    }
    CFileList items;
    CPreview rows;
};

std::string Table(const CPreview& rows, CTableStyle style = {}, int* writes = nullptr) {
    CShownPaths paths;
    paths.AddGiven(P("/top/dir"), "dir");
    std::string out;
    WritePreviewTable(rows, paths, style, [&](std::string_view s) {
        out += s;
        if (writes) ++*writes;
    });
    return out;
}

TEST(Output, DisplayNameEscapesWhatATerminalWouldObey) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain.txt", "plain.txt"},     {"tab\there", "tab\\x09here"},   {"bell\a\x1b[31m", "bell\\x07\\x1B[31m"},
        {"caf\xC3\xA9", "caf\xC3\xA9"}, {"bad\xFFname", "bad\\xFFname"}, {"cut\xC3", "cut\\xC3"},
        {"c1\xC2\x85", "c1\\xC2\\x85"}, {"del\x7F", "del\\x7F"},         {"", ""},
    };
    for (const auto& [name, shown] : cases) EXPECT_EQ(DisplayName(name), shown) << shown;
}

TEST(Output, DisplayWidthCountsColumns) {
    const std::pair<std::string, size_t> cases[] = {
        {"", 0},
        {"abc", 3},
        {"\xC3\xA9t\xC3\xA9", 3},                     // été
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 6},  // 日本語: wide
        {"\xED\x95\x9C\xEA\xB8\x80", 4},              // 한글: wide
        {"\xEF\xBC\xA1", 2},                          // Ａ: fullwidth
        {"\xEF\xBD\xB1", 1},                          // ｱ: halfwidth katakana
        {"e\xCC\x81", 1},                             // e and a combining acute
        {"a\xE2\x80\x8B"
         "b",
         2},                      // a zero-width space between
        {"\xF0\x9F\x98\x80", 2},  // an emoji
        {"\xCE\xB1\xCE\xB2", 2},  // αβ: narrow
    };
    for (const auto& [text, width] : cases) EXPECT_EQ(DisplayWidth(text), width) << text;
}

TEST(Output, TheTableAlignsByDisplayWidth) {
    const Rows rows({"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "a", "tab\tx"}, {"x", "b", "y"},
                    {CRowStatus::kRenamed, CRowStatus::kDuplicate, CRowStatus::kTooLong});
    int writes = 0;
    EXPECT_EQ(Table(rows.rows, {}, &writes),
              P("Status        Old             New\n"
                "rename        dir/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt  x\n"  // 14 columns, 13 characters
                "duplicate     dir/a           b\n"
                "too long      dir/tab\\x09x    y\n"));
    EXPECT_EQ(writes, 1);
}

TEST(Output, UnchangedRowsShowOnlyWhenAllAreAsked) {
    const Rows rows({"a", "bb", "c"}, {"A", "bb", "C"},
                    {CRowStatus::kRenamed, CRowStatus::kUnchanged, CRowStatus::kInvalidName});
    EXPECT_EQ(Table(rows.rows), P("Status        Old    New\n"
                                  "rename        dir/a  A\n"
                                  "invalid name  dir/c  C\n"));
    EXPECT_EQ(Table(rows.rows, {.all = true}), P("Status        Old     New\n"
                                                 "rename        dir/a   A\n"
                                                 "unchanged     dir/bb  bb\n"
                                                 "invalid name  dir/c   C\n"));
}

TEST(Output, ColourMarksTheStatusOnly) {
    const Rows rows({"a", "b"}, {"A", "A"}, {CRowStatus::kRenamed, CRowStatus::kExists});
    EXPECT_EQ(Table(rows.rows, {.colour = true}), P("Status        Old    New\n"
                                                    "\x1b[32mrename\x1b[0m        dir/a  A\n"
                                                    "\x1b[1;31mname taken\x1b[0m    dir/b  A\n"));
}

TEST(Output, ALongTableIsWrittenInPieces) {
    std::vector<std::string> names(50000);
    for (size_t i = 0; i < names.size(); ++i) names[i] = "file" + std::to_string(i);
    int writes = 0;
    const std::string out = Table(Rows(names, names).rows, {}, &writes);
    EXPECT_GT(writes, 5);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 50001);
    EXPECT_NE(out.find(P("\nrename        dir/file49999  file49999\n")), std::string::npos);
    EXPECT_EQ(out.rfind("Status        Old            New\n", 0), 0u);
}

TEST(Output, AnEmptyPreviewHasItsHeadings) {
    EXPECT_EQ(Table({}), "Status        Old  New\n");
}

TEST(Output, TheSummaryCountsEachKind) {
    EXPECT_EQ(PreviewSummary({10, 7, 2, 1}), "7 to rename, 2 unchanged, 1 conflict\n");
    EXPECT_EQ(PreviewSummary({0, 0, 0, 0}), "0 to rename, 0 unchanged, 0 conflicts\n");
    EXPECT_EQ(PreviewSummary({5, 0, 0, 5}), "0 to rename, 0 unchanged, 5 conflicts\n");
}

// Paths show as they were typed, followed by the rest below them.
TEST(Output, PathsShowAsTheArgumentTheyCameFrom) {
    CShownPaths paths;
    paths.AddGiven(P("/home/u/music"), "music");
    paths.AddGiven(P("/home/u/docs/a.txt"), P("docs/a.txt"));
    paths.AddGiven(P("/srv/x"), P("/srv/x"));
    paths.AddFolder(P("/home/u/here"), "");
    paths.AddFolder(P("/home/u"), P("../"));
    const std::pair<std::string, std::string> cases[] = {
        {"/home/u/music", "music"},
        {"/home/u/music/a.mp3", "music/a.mp3"},
        {"/home/u/music/deep/er/b.mp3", "music/deep/er/b.mp3"},
        {"/home/u/docs/a.txt", "docs/a.txt"},
        {"/home/u/docs/b.txt", "docs/b.txt"},  // beside a given item: the item in the way
        {"/srv/x/y", "/srv/x/y"},
        {"/home/u/here/z", "z"},
        {"/home/u/here/sub/z", "sub/z"},
        {"/home/u/other", "../other"},
        {"/elsewhere/q", "/elsewhere/q"},
        {"/home/u/music/new\nline", "music/new\\x0Aline"},
    };
    for (const auto& [path, shown] : cases) EXPECT_EQ(paths.Show(P(path)), P(shown)) << path;
}

}  // namespace

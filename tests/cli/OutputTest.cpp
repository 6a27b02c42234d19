#include <gtest/gtest.h>

#include "cli/Output.h"

namespace {

// Preview rows over items that it keeps.
struct Rows {
    Rows(const std::vector<std::string>& oldNames, const std::vector<std::string>& newNames) {
        for (size_t i = 0; i < oldNames.size(); ++i) {
            items.push_back(std::make_unique<CFileDescriptor>(std::string("dir"), oldNames[i], 0));
            rows.push_back({items.back().get(), newNames[i]});
        }
    }
    CFileList items;
    CPreview rows;
};

TEST(Output, DisplayNameEscapesWhatATerminalWouldObey) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain.txt", "plain.txt"},     {"tab\there", "tab\\x09here"},   {"bell\a\x1b[31m", "bell\\x07\\x1B[31m"},
        {"caf\xC3\xA9", "caf\xC3\xA9"}, {"bad\xFFname", "bad\\xFFname"}, {"cut\xC3", "cut\\xC3"},
        {"c1\xC2\x85", "c1\\xC2\\x85"}, {"del\x7F", "del\\x7F"},         {"", ""},
    };
    for (const auto& [name, shown] : cases) EXPECT_EQ(DisplayName(name), shown) << shown;
}

TEST(Output, TheTableAlignsByCharacters) {
    std::string out;
    int writes = 0;
    WritePreviewTable(Rows({"\xC3\xA9t\xC3\xA9.txt", "a", "tab\tx"}, {"x", "b", "y"}).rows, [&](std::string_view s) {
        out += s;
        ++writes;
    });
    EXPECT_EQ(out,
              "Old       New\n"
              "\xC3\xA9t\xC3\xA9.txt   x\n"
              "a         b\n"
              "tab\\x09x  y\n");
    EXPECT_EQ(writes, 1);
}

TEST(Output, ALongTableIsWrittenInPieces) {
    std::vector<std::string> names(50000);
    for (size_t i = 0; i < names.size(); ++i) names[i] = "file" + std::to_string(i);
    std::string out;
    int writes = 0;
    WritePreviewTable(Rows(names, names).rows, [&](std::string_view s) {
        out += s;
        ++writes;
    });
    EXPECT_GT(writes, 5);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 50001);
    EXPECT_NE(out.find("\nfile49999  file49999\n"), std::string::npos);
    EXPECT_EQ(out.rfind("Old        New\n", 0), 0u);
}

TEST(Output, AnEmptyPreviewHasItsHeadings) {
    std::string out;
    WritePreviewTable({}, [&](std::string_view s) { out += s; });
    EXPECT_EQ(out, "Old  New\n");
}

}  // namespace

#include <gtest/gtest.h>

#include "platform/FileSystem.h"

namespace {

TEST(FileNames, WindowsRules) {
    struct Case {
        const char* name;
        bool ok;
    };
    const Case cases[] = {
        {"report.txt", true},   {"a b", true},          {".profile", true},    {"\xC3\xA9t\xC3\xA9", true},
        {"CONSOLE.txt", true},  {"COM0", false},        {"LPT10", true},       {"nul-not", true},
        {"", false},            {".", false},           {"..", false},         {"a/b", false},
        {"a\\b", false},        {"a:b", false},         {"a*", false},         {"a?", false},
        {"\"q\"", false},       {"<x>", false},         {"a|b", false},        {"tab\there", false},
        {"trailing.", false},   {"trailing ", false},   {"CON", false},        {"con.txt", false},
        {"Nul", false},         {"COM1", false},        {"lpt9.log", false},   {"AUX .txt", false},
        {"PRN", false},         {"COM\xC2\xB9", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::CheckWindowsFileName(c.name), c.ok ? 0u : platform::kErrorInvalidName) << c.name;
}

TEST(FileNames, PlatformRulesRefuseWhatWouldLeaveTheFolder) {
    for (const char* bad : {"", ".", "..", "x/y", "../up"})
        EXPECT_EQ(platform::CheckFileName(bad), platform::kErrorInvalidName) << bad;
    EXPECT_EQ(platform::CheckFileName("fine.txt"), 0u);
    std::string withNul("a\0b", 3);
    EXPECT_EQ(platform::CheckFileName(withNul), platform::kErrorInvalidName);
#ifdef _WIN32
    EXPECT_EQ(platform::CheckFileName("x\\y"), platform::kErrorInvalidName);
    EXPECT_EQ(platform::CheckFileName("CON"), platform::kErrorInvalidName);
#else
    EXPECT_EQ(platform::CheckFileName("x\\y"), 0u);  // an ordinary character on POSIX
#endif
}

}  // namespace

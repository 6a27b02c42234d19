// How each platform tells names apart, how it measures them, and the
// system's own words for its errors.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/NameRules.h"

namespace {

std::string Key(const platform::NameRules& rules, const std::string& name) {
    std::string key;
    rules.AppendKey(name, key);
    return key;
}

TEST(NameRules, OneEntryOrTwo) {
    struct Case {
        const char* a;
        const char* b;
        bool windowsSame;  // under POSIX rules only equal bytes are one entry
    };
    const Case cases[] = {
        {"report.txt", "REPORT.TXT", true},
        {"Q1 Report.xlsx", "q1 report.XLSX", true},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", true},  // été, ÉTÉ
        {"\xCE\xB1\xCE\xB2", "\xCE\x91\xCE\x92", true},    // αβ, ΑΒ (Greek)
        {"\xD0\xB4\xD0\xB0", "\xD0\x94\xD0\x90", true},    // да, ДА (Cyrillic)
        {"a", "b", false},
        {"a.txt", "a.txt ", false},
        {"stra\xC3\x9F"
         "e",
         "STRASSE", false},  // ß has no one-letter upper case
        {"\xFF"
         "a",
         "\xFF"
         "A",
         true},  // a stray byte stays as it is
        {"\xFF", "\xFE", false},
    };
    const auto posix = platform::PosixNameRules();
    const auto windows = platform::WindowsNameRules(false);
    for (const auto& c : cases) {
        EXPECT_EQ(Key(windows, c.a) == Key(windows, c.b), c.windowsSame) << c.a << " / " << c.b;
        EXPECT_EQ(Key(posix, c.a) == Key(posix, c.b), std::string(c.a) == c.b) << c.a << " / " << c.b;
        EXPECT_EQ(Key(posix, c.a), c.a);
    }
}

TEST(NameRules, LengthsInTheUnitsOfEachPlatform) {
    struct Case {
        std::string text;
        size_t bytes;
        size_t units;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"abc", 3, 3},
        {"\xC3\xA9", 2, 1},                  // é
        {"\xE6\x97\xA5\xE6\x9C\xAC", 6, 2},  // 日本
        {"\xF0\x9F\x98\x80", 4, 2},          // an emoji: a surrogate pair
        {"a\xFF"
         "b",
         3, 3},  // a stray byte is one unit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::PosixNameRules().length(c.text), c.bytes) << c.text;
        EXPECT_EQ(platform::WindowsNameRules(true).length(c.text), c.units) << c.text;
    }
}

TEST(NameRules, LimitsAndNameChecks) {
    const auto posix = platform::PosixNameRules();
    const auto windows = platform::WindowsNameRules(false);
    EXPECT_EQ(posix.maxName, 255u);
    EXPECT_EQ(posix.maxPath, 4095u);
    EXPECT_EQ(windows.maxName, 255u);
    EXPECT_EQ(windows.maxPath, 259u);
    EXPECT_EQ(platform::WindowsNameRules(true).maxPath, 32767u);
    for (const char* bad : {"", ".", "..", "a/b"}) {
        EXPECT_EQ(posix.check(bad), platform::kErrorInvalidName) << bad;
        EXPECT_EQ(windows.check(bad), platform::kErrorInvalidName) << bad;
    }
    for (const char* windowsOnly : {"a:b", "a\\b", "con", "name.", "what?"}) {
        EXPECT_EQ(posix.check(windowsOnly), platform::kErrorSuccess) << windowsOnly;
        EXPECT_EQ(windows.check(windowsOnly), platform::kErrorInvalidName) << windowsOnly;
    }
#ifdef _WIN32
    EXPECT_TRUE(platform::SystemNameRules().ignoreCase);
    EXPECT_EQ(platform::kLineEnd, std::string("\r\n"));
#else
    EXPECT_FALSE(platform::SystemNameRules().ignoreCase);
    EXPECT_EQ(platform::kLineEnd, std::string("\n"));
#endif
}

#ifndef _WIN32
// The messages the system gives for the errno each code stands for, as
// every other program on it words them.
TEST(ErrorMessages, ThePosixWordsForEachCode) {
    struct Case {
        uint32_t code;
        const char* text;
    };
    const Case cases[] = {
        {platform::kErrorFileNotFound, "No such file or directory"},
        {platform::kErrorPathNotFound, "No such file or directory"},
        {platform::kErrorAccessDenied, "Permission denied"},
        {platform::kErrorAlreadyExists, "File exists"},
        {platform::kErrorFilenameExcedRange, "File name too long"},
        {platform::kErrorDiskFull, "No space left on device"},
        {platform::kErrorWriteProtect, "Read-only file system"},
        {platform::kErrorInvalidName, "Invalid argument"},
        {platform::kErrorPosixFlag | EIO, "Input/output error"},
        {4711, "Unknown error 4711"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::ErrorMessage(c.code), c.text) << c.code;
}

#endif

}  // namespace

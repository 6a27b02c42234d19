#include <gtest/gtest.h>

#include <random>

#include "platform/Text.h"

namespace {

TEST(Text, CaseMapping) {
    struct Case {
        const char* in;
        const char* upper;
        const char* lower;
    };
    const Case cases[] = {
        {"abc XYZ 123", "ABC XYZ 123", "abc xyz 123"},
        {"\xC3\x89T\xC3\x89", "\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"},                 // ÉTÉ / été
        {"\xC3\xBF\xC3\xA6\xC3\xB8", "\xC5\xB8\xC3\x86\xC3\x98", "\xC3\xBF\xC3\xA6\xC3\xB8"},  // ÿæø
        {"\xC3\x9F", "\xC3\x9F", "\xC3\x9F"},                                         // ß stays
        {"\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9", "\xC5\x82\xC3\xB3" "d\xC5\xBA"},  // łódź
        {"\xCE\xB1\xCF\x82", "\xCE\x91\xCE\xA3", "\xCE\xB1\xCF\x82"},                 // Greek, final sigma
        {"\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\x9C\xD0\x98\xD0\xA0", "\xD0\xBC\xD0\xB8\xD1\x80"},  // мир
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},  // no case
        {"\xF0\x9F\x98\x80x", "\xF0\x9F\x98\x80X", "\xF0\x9F\x98\x80x"},
        {"a\xFFz\xC3", "A\xFFZ\xC3", "a\xFFz\xC3"},  // stray bytes pass through
        {"5\xC2\xB5m", "5\xC2\xB5M", "5\xC2\xB5m"},  // the micro sign keeps its form: no Greek capital
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::ToUpper(c.in), c.upper) << c.in;
        EXPECT_EQ(text::ToLower(c.in), c.lower) << c.in;
    }
}

TEST(Text, FoldKeepsByteOffsets) {
    // ı (2 bytes) upper-cases to I (1 byte); ɐ-like cases differ in length too.
    const std::string mixed = "a\xC4\xB1" "b\xC3\xA9" "c\xC8\xBF";
    const std::string folded = text::FoldCase(mixed);
    ASSERT_EQ(folded.size(), mixed.size());
    EXPECT_EQ(folded, "A\xC4\xB1" "B\xC3\x89" "C\xC8\xBF");

    std::mt19937 gen(7);
    for (int round = 0; round < 2000; ++round) {
        std::string s;
        for (int i = 0; i < 12; ++i) text::Append(s, static_cast<char32_t>(gen() % 0x2000));
        if (round % 3 == 0) s += static_cast<char>(0x80 | (gen() % 64));
        EXPECT_EQ(text::FoldCase(s).size(), s.size());
    }
}

TEST(Text, CountsAndOffsets) {
    const std::string s = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80z";  // a é 日 😀 z
    EXPECT_EQ(text::CharCount(s), 5u);
    const size_t expected[] = {0, 1, 3, 6, 10, 11, 11, 11};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(text::ByteOffset(s, i), expected[i]) << i;
    EXPECT_EQ(text::ByteOffsetFromEnd(s, 0), 11u);
    EXPECT_EQ(text::ByteOffsetFromEnd(s, 1), 10u);
    EXPECT_EQ(text::ByteOffsetFromEnd(s, 4), 1u);
    EXPECT_EQ(text::ByteOffsetFromEnd(s, 9), 0u);
    EXPECT_EQ(text::PreviousStart(s, 10), 6u);
    EXPECT_EQ(text::PreviousStart(s, 3), 1u);
    // A truncated sequence counts one character per stray byte.
    EXPECT_EQ(text::CharCount("\xE6\x97"), 2u);
    EXPECT_FALSE(text::IsValid("\xE6\x97"));
    EXPECT_FALSE(text::IsValid("\xC0\xAF"));          // overlong
    EXPECT_FALSE(text::IsValid("\xED\xA0\x80"));      // surrogate
    EXPECT_TRUE(text::IsValid(s));
}

TEST(Text, Classes) {
    struct Case {
        const char* ch;
        unsigned cls;
    };
    const Case cases[] = {{"0", text::kClassDigit}, {"9", text::kClassDigit}, {" ", text::kClassSpace},
                          {"\t", text::kClassSpace}, {"\xC2\xA0", text::kClassSpace}, {"'", text::kClassPunct},
                          {"(", text::kClassPunct}, {"-", text::kClassPunct}, {"_", text::kClassPunct},
                          {"\xC2\xBF", text::kClassPunct}, {"\xE2\x80\x94", text::kClassPunct},
                          {"a", text::kClassNone}, {"\xC3\xA9", text::kClassNone}, {"\xC2\xB2", text::kClassPunct},
                          {"\xE6\x97\xA5", text::kClassNone},
                          // the ordinal indicators and the micro sign are letters...
                          {"\xC2\xAA", text::kClassNone}, {"\xC2\xBA", text::kClassNone},
                          {"\xC2\xB5", text::kClassNone},
                          // ...the euro and trade mark signs punctuation, like the pound sign
                          {"\xE2\x82\xAC", text::kClassPunct}, {"\xE2\x84\xA2", text::kClassPunct},
                          {"\xC2\xA3", text::kClassPunct}};
    for (const auto& c : cases) EXPECT_EQ(text::ClassifyAt(c.ch, 0), c.cls) << c.ch;
}

TEST(Text, CompareNoCase) {
    EXPECT_EQ(text::CompareNoCase("File", "fILE"), 0);
    EXPECT_EQ(text::CompareNoCase("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"), 0);
    EXPECT_LT(text::CompareNoCase("file10", "file9"), 0);
    EXPECT_LT(text::CompareNoCase("abc", "abcd"), 0);
    EXPECT_GT(text::CompareNoCase("b", "A"), 0);
    EXPECT_GT(text::CompareNoCase("a\xFF", "a\xC3\xA9"), 0);
}

}  // namespace

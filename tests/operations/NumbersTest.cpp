#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

#include "operations/Numbers.h"
#include "tests/support/Compute.h"

namespace {

using Names = std::vector<std::string>;

// Feeds `names` to one operation object in order, as the run does.
Names Sequence(CExecute& op, const Names& names, int scope) {
    Names out;
    testing_support::CPass pass(op);
    for (const auto& name : names) {
        const CFileDescriptor fd("dir", name, scope);
        out.push_back(pass(fd)->name());
        EXPECT_EQ(fd.name(), name);  // the given descriptor stays untouched
    }
    return out;
}

enum Kind { kBegin, kEnd, kList, kRenumber };

std::unique_ptr<CAddNumberExecute> Make(Kind kind, int scope, const char* start, const char* step,
                                        const char* digits, const char* prefix = "", const char* suffix = "") {
    switch (kind) {
        case kBegin:
            return std::make_unique<CAddNumberAtBeginningExecute>(CRunOptions{.scope = scope}, start, step, digits);
        case kEnd:
            return std::make_unique<CAddNumberAtEndExecute>(CRunOptions{.scope = scope}, start, step, digits);
        case kList:
            return std::make_unique<CProduceNumberedListExecute>(CRunOptions{.scope = scope}, start, step, digits, prefix,
                                                                 suffix);
        case kRenumber:
            return std::make_unique<CRenumberExecute>(CRunOptions{.scope = scope}, start, step, digits);
    }
    return nullptr;
}

TEST(Numbers, CountersWriteTheirSequence) {
    struct Case {
        Kind kind;
        int scope;
        const char* start;
        const char* step;
        const char* digits;
        const char* prefix;
        Names in;
        Names out;
    };
    const Case cases[] = {
        {kBegin, 0, "1", "1", "3", "", {"a", "b", "c"}, {"001a", "002b", "003c"}},
        {kEnd, 0, "10", "-5", "2", "", {"x", "x", "x", "x"}, {"x10", "x05", "x00", "x-5"}},
        {kEnd, 0, "-5", "1", "3", "", {"x"}, {"x0-5"}},  // zeros go in front of the sign
        {kEnd, 0, "-5", "1", "2", "", {"x"}, {"x-5"}},   // as wide as digits: no zero
        {kBegin, 0, "1234", "1", "2", "", {"a"}, {"1234a"}},
        {kBegin, 0, "7", "1", "0", "", {"a"}, {"7a"}},
        {kBegin, 0, "7", "1", "", "", {"a"}, {"7a"}},
        {kBegin, 0, "7", "1", "-3", "", {"a"}, {"7a"}},  // a negative width pads nothing
        {kBegin, 0, "7", "1", "%s%n", "", {"a"}, {"7a"}},  // never a format
        {kBegin, 0, "5", "0", "1", "", {"a", "b"}, {"5a", "5b"}},
        {kBegin, 1, "1", "1", "1", "", {"photo.jpg", "README"}, {"1photo.jpg", "2README"}},
        {kEnd, 1, "1", "1", "1", "", {"photo.jpg"}, {"photo1.jpg"}},
        {kEnd, 3, "1", "1", "1", "", {"photo.jpg", "README"}, {"photo.jpg1", "README2"}},
        {kList, 1, "1", "1", "0", "Holiday ", {"a.jpg", "b.jpg"}, {"Holiday 1.jpg", "Holiday 2.jpg"}},
        {kList, 0, "1", "1", "0", "", {"a", "b"}, {"1", "2"}},
        // A counter past the range of typed numbers keeps counting.
        {kBegin, 0, "2147483647", "1", "0", "", {"a", "b"}, {"2147483647a", "2147483648b"}},
        {kBegin, 0, "-2147483648", "-2147483648", "0", "", {"a", "b", "c"},
         {"-2147483648a", "-4294967296b", "-6442450944c"}},
        {kRenumber, 0, "1", "1", "0", "", {"x", "img5", "img9"}, {"x", "img1", "img2"}},
        {kRenumber, 0, "1", "1", "3", "", {"a12b34", "img007"}, {"a001b34", "img002"}},  // first run only
        {kRenumber, 1, "8", "1", "2", "", {"v3.mp3", "notes.mp3", "v4.mp3"}, {"v08.mp3", "notes.mp3", "v09.mp3"}},
        {kRenumber, 3, "1", "1", "0", "", {"clip7.mp3"}, {"clip7.mp1"}},
        {kRenumber, 0, "1", "1", "0", "", {"\xC3\xA9t\xC3\xA9" "99\xC3\xA9"}, {"\xC3\xA9t\xC3\xA9" "1\xC3\xA9"}},
        {kRenumber, 0, "1", "1", "0", "", {"\xEF\xBC\x91", "a2"}, {"\xEF\xBC\x91", "a1"}},  // full-width: no run
    };
    for (const auto& c : cases) {
        auto op = Make(c.kind, c.scope, c.start, c.step, c.digits, c.prefix);
        EXPECT_EQ(Sequence(*op, c.in, c.scope), c.out) << "kind " << c.kind << " start " << c.start << " step "
                                                       << c.step << " digits " << c.digits;
    }
}

TEST(Numbers, ProducedListKeepsPrefixAndSuffix) {
    CProduceNumberedListExecute op(CRunOptions{}, "9", "1", "2", "[", "]");
    EXPECT_EQ(Sequence(op, {"a", "b"}, 0), (Names{"[09]", "[10]"}));
}

TEST(Numbers, TheCounterAdvancesPerComputeWhateverBecomesOfTheName) {
    CAddNumberAtBeginningExecute op(CRunOptions{}, "3", "2", "0");
    EXPECT_EQ(op.counter(), 3);
    const CFileDescriptor fd("dir", "a", 0);
    testing_support::CPass pass(op);
    (void)pass(fd);
    (void)pass(fd);
    EXPECT_EQ(op.counter(), 7);
}

TEST(Numbers, WidthIsCapped) {
    CAddNumberAtBeginningExecute op(CRunOptions{}, "1", "1", "2000000000");
    EXPECT_EQ(op.digits(), kMaxNumberWidth);
    const std::string name = testing_support::CPass(op)(CFileDescriptor("dir", "a", 0))->name();
    EXPECT_EQ(name, std::string(kMaxNumberWidth - 1, '0') + "1a");
}

TEST(Numbers, ChangeNumbers) {
    struct Case {
        const char* name;
        int scope;
        const char* digits;
        int add;
        const char* amount;
        const char* result;
    };
    const Case cases[] = {
        {"track10-part3", 0, "2", 0, "1", "track09-part02"},
        {"img007", 0, "0", 1, "1", "img8"},
        {"img007", 0, "3", 1, "1", "img008"},
        {"holiday", 0, "3", 1, "1", "holiday"},
        {"", 0, "3", 1, "1", ""},
        {"a1b2", 0, "0", 1, "9", "a10b11"},      // the search resumes after each new number
        {"a9", 0, "0", 1, "991", "a1000"},
        {"v9", 0, "0", 0, "10", "v-1"},
        {"v9", 0, "3", 0, "10", "v0-1"},
        {"x-3", 0, "0", 1, "1", "x-4"},          // the minus is not part of the number
        {"a5", 0, "0", 1, "-7", "a-2"},
        {"2", 0, "0", 0, "-2147483648", "2147483650"},
        {"file9.mp3", 1, "0", 1, "1", "file10.mp3"},  // the extension is out of scope
        {"file9.mp3", 3, "0", 1, "1", "file9.mp4"},
        {"\xC3\xA9" "9\xC3\xBC" "1", 0, "0", 1, "1", "\xC3\xA9" "10\xC3\xBC" "2"},
        {"IMG_20240115123000", 0, "0", 1, "1", "IMG_20240115123001"},
        {"0000000000000000000000005", 0, "0", 1, "1", "6"},
        // Too long to read, or to add to: kept as it was; the other numbers still change.
        {"id99999999999999999999x5", 0, "0", 1, "1", "id99999999999999999999x6"},
        {"n9223372036854775807", 0, "0", 1, "1", "n9223372036854775807"},
        {"n9223372036854775807", 0, "0", 0, "1", "n9223372036854775806"},
    };
    for (const auto& c : cases) {
        CReformatNumberExecute op(CRunOptions{.scope = c.scope}, c.digits, c.add, c.amount);
        const CFileDescriptor fd("dir", c.name, c.scope);
        EXPECT_EQ(testing_support::CPass(op)(fd)->name(), c.result) << c.name;
        EXPECT_EQ(fd.name(), c.name);
    }
}

}  // namespace

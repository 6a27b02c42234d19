// The words both faces use for what they show: a row's status, counts and
// numbers.
#include <gtest/gtest.h>

#include "core/Words.h"

namespace {

TEST(Words, OneWordForEachStatusAndNumbersGroupedByThousands) {
    const std::pair<CRowStatus, const char*> words[] = {
        {CRowStatus::kRenamed, "rename"},         {CRowStatus::kUnchanged, "unchanged"},
        {CRowStatus::kDuplicate, "duplicate"},    {CRowStatus::kExists, "name taken"},
        {CRowStatus::kInvalidName, "invalid name"}, {CRowStatus::kTooLong, "too long"},
    };
    for (const auto& [status, word] : words) EXPECT_STREQ(StatusWord(status), word);
    const std::pair<size_t, const char*> counts[] = {
        {0, "0 items"}, {1, "1 item"}, {999, "999 items"}, {1000, "1,000 items"}, {1234567, "1,234,567 items"},
    };
    for (const auto& [n, text] : counts) EXPECT_EQ(Count(n, "item", "items"), text);
    EXPECT_EQ(GroupedNumber(100000), "100,000");
}

}  // namespace

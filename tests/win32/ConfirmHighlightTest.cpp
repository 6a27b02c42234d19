#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "dialog/win32/Resource.h"
#include "dialog/win32/Win32Prompts.h"
#include "tests/win32/DialogDriver.h"

// What the Confirm dialog preselects in New name for a manual rename. Positions
// in the request count characters; the edit control reports UTF-16 units.

namespace {

struct Highlight {
    const char* label;
    std::string newName;
    std::string highlight;
    int start;
    int span;
    DWORD selStart;  // UTF-16 units
    DWORD selEnd;
};

void PrintTo(const Highlight& h, std::ostream* os) {
    *os << '"' << h.newName << "\" highlight \"" << h.highlight << "\" from " << h.start << " within " << h.span;
}

const Highlight kHighlights[] = {
    {"EmptyHighlightSelectsAll", "IMG_0001.jpg", "", 4, 4, 0, 12},
    {"OccurrenceAtStart", "IMG_0001.jpg", "0001", 4, 4, 4, 8},
    {"OccurrenceAfterStart", "IMG_0001.jpg", "0001", 0, 12, 4, 8},
    {"EarlierOccurrenceIsPassedOver", "ab_ab.txt", "ab", 1, 8, 3, 5},
    {"OccurrenceBeyondSpanSelectsAll", "ab_xx_ab.txt", "ab", 1, 5, 0, 12},
    {"OccurrenceJustInsideSpan", "ab_xx_ab.txt", "ab", 1, 6, 6, 8},
    {"NoOccurrenceSelectsAll", "IMG_0001.jpg", "0002", 0, 12, 0, 12},
    {"OnlyOccurrenceBeforeStartSelectsAll", "IMG_0001.jpg", "IMG", 1, 11, 0, 12},
    {"StartAtTheEndSelectsAll", "abc", "c", 3, 5, 0, 3},
    {"StartBeyondTheEndSelectsAll", "abc", "c", 7, 5, 0, 3},
    {"NegativeStartSelectsAll", "abc", "a", -1, 5, 0, 3},
    {"HugeSpanDoesNotOverflow", "abc", "b", 1, 0x7fffffff, 1, 2},
    // Start counts characters: from character 3 ("_"), the "x" at character 4,
    // where bytes would have found the first "x".
    {"StartCountsCharacters", "ééx_x", "x", 3, 2, 4, 5},
    // The span counts characters: "ab" is character 2, though byte 3.
    {"SpanCountsCharacters", "é_ab", "ab", 0, 3, 2, 4},
    {"AccentedHighlight", "café_été.txt", "été", 2, 6, 5, 8},
    // The emoji is one character but two UTF-16 units: everything after it shifts.
    {"AfterAnEmoji", "😀_x_x.txt", "x", 3, 2, 5, 6},
    {"EmojiHighlight", "a😀b😀c", "😀", 2, 2, 4, 6},
};

class ConfirmHighlightTest : public testing::TestWithParam<Highlight> {};

TEST_P(ConfirmHighlightTest, SelectsTheOccurrenceOrTheWholeName) {
    const Highlight& h = GetParam();
    CNameRequest request;
    request.oldName = "old name";
    request.computed = h.newName;
    request.newName = h.newName;
    request.highlight = h.highlight;
    request.highlightStart = h.start;
    request.highlightSpan = h.span;
    std::pair<DWORD, DWORD> selection;
    bool focused = false;
    Win32Prompts prompts;
    const int code = dialog_test::Drive([&] { return prompts.Confirm(request); },
                                        [&](HWND dlg) {
                                            selection = dialog_test::Selection(dlg, IDC_NEW_NAME);
                                            focused = ::GetFocus() == ::GetDlgItem(dlg, IDC_NEW_NAME);
                                            dialog_test::Click(dlg, IDC_SKIP);
                                        });
    EXPECT_EQ(code, 1013);
    EXPECT_TRUE(focused);
    EXPECT_EQ(selection, std::make_pair(h.selStart, h.selEnd));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfirmHighlightTest, testing::ValuesIn(kHighlights),
                         [](const testing::TestParamInfo<Highlight>& info) { return info.param.label; });

TEST(ConfirmHighlight, TypingReplacesOnlyTheHighlightedPart) {
    CNameRequest request;
    request.oldName = "IMG_0001.jpg";
    request.computed = "IMG_0001 😀.jpg";
    request.newName = request.computed;
    request.highlight = "😀";
    request.highlightStart = 9;
    request.highlightSpan = 1;
    Win32Prompts prompts;
    const int code = dialog_test::Drive([&] { return prompts.Confirm(request); },
                                        [](HWND dlg) {
                                            dialog_test::Type(dlg, IDC_NEW_NAME, "holiday");
                                            dialog_test::Click(dlg, IDC_RENAME_ALL);
                                        });
    EXPECT_EQ(code, 1011);
    EXPECT_EQ(request.newName, "IMG_0001 holiday.jpg");
}

}  // namespace

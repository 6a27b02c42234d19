#include "dialog/ControlTexts.h"

#include <array>

namespace {

constexpr std::array<const char*, 4> kScopes = {
    "Change entire file name",
    "Change file name only",
    "Change file extension only (including separator)",
    "Change file extension only (excluding separator)",
};

constexpr std::array<const char*, 12> kSortOrders = {
    "By Name (from A to Z)",
    "By Name (from Z to A)",
    "By Modification Date (from older to newer)",
    "By Modification Date (from newer to older)",
    "By Creation Date (from older to newer)",
    "By Creation Date (from newer to older)",
    "By Picture Taken Date (from older to newer)",
    "By Picture Taken Date (from newer to older)",
    "By Random Order",
    "By Existing Number Sequence",
    "By Date Taken (from older to newer)",
    "By Date Taken (from newer to older)",
};

const std::vector<std::string> kDirections = {"from the beginning", "from the end"};
const std::vector<std::string> kOccurrences = {"1st",         "2nd",         "3rd",         "4th",
                                               "5th",         "6th",         "last",        "2nd to last",
                                               "3rd to last", "4th to last", "5th to last", "6th to last"};
const std::vector<std::string> kEdges = {"start of the", "end of the"};
const std::vector<std::string> kSides = {"before the", "after the"};
const std::vector<std::string> kWays = {"next", "previous"};
const std::vector<std::string> kReplaceOccurrences = {
    "Replace all occurences",        "Replace 1st occurence",         "Replace 2nd occurence",
    "Replace 3rd occurence",         "Replace 4th occurence",         "Replace 5th occurence",
    "Replace last occurence",        "Replace 2nd to last occurence", "Replace 3rd to last occurence",
    "Replace 4th to last occurence", "Replace 5th to last occurence"};
const std::vector<std::string> kDelimiters = {"only spaces delimit words", "all punctuation marks delimit words",
                                              "all punctuation marks except ' delimit words"};
const std::vector<std::string> kCalculations = {"Add", "Substract"};
const std::vector<std::string> kDateSources = {"Use Creation Date", "Use Modification Date", "Use Last Access Date",
                                               "Use Picture Taken Date", "Use Date Taken (photos and videos)"};
// Both format lists start with an empty entry: no date, or no time.
const std::vector<std::string> kDateFormats = {
    "",       "MMDD",     "MMDDYY",     "MMDDYYYY",   "MM-DD",    "MM-DD-YY", "MM-DD-YYYY",
    "YYDDMM", "YYYYDDMM", "YY-DD-MM",   "YYYY-DD-MM", "DDMM",     "DDMMYY",   "DDMMYYYY",
    "DD-MM",  "DD-MM-YY", "DD-MM-YYYY", "YYMMDD",     "YYYYMMDD", "YY-MM-DD", "YYYY-MM-DD"};
const std::vector<std::string> kTimeFormats = {"",
                                               "HH MM (am/pm)",
                                               "HH MM SS (am/pm)",
                                               "HH MM (AM/PM)",
                                               "HH MM SS (AM/PM)",
                                               "HH MM (24 hour clock)",
                                               "HH MM SS (24 hour clock)",
                                               "HH-MM (am/pm)",
                                               "HH-MM-SS (am/pm)",
                                               "HH-MM (AM/PM)",
                                               "HH-MM-SS (AM/PM)",
                                               "HH-MM (24 hour clock)",
                                               "HH-MM-SS (24 hour clock)"};

struct ComboList {
    int templateId;
    int controlId;
    const std::vector<std::string>* entries;
};

// By template and control, as the panels' templates list them.
const ComboList kLists[] = {
    {1119, 1025, &kDirections},                                                             // Insert anywhere
    {1119, 1028, &kSides},        {1119, 1029, &kOccurrences}, {1009, 1040, &kDirections},  // Remove anywhere
    {1009, 1022, &kOccurrences},  {1009, 1025, &kDirections},  {1009, 1028, &kEdges},
    {1009, 1029, &kOccurrences},  {1009, 1031, &kWays},        {1015, 1002, &kReplaceOccurrences},  // Replace anywhere
    {1029, 1000, &kDelimiters},                                                                     // Make Proper Case
    {1124, 1000, &kDelimiters},                                                                     // Make a Title Case
    {1026, 1001, &kCalculations},                                                                   // Change numbers
    {1032, 1021, &kDateSources},  // Add date/time to beginning
    {1032, 1023, &kDateFormats},  {1032, 1022, &kTimeFormats}, {1033, 1021, &kDateSources},  // Add date/time to end
    {1033, 1023, &kDateFormats},  {1033, 1022, &kTimeFormats}, {1031, 1021, &kDateSources},  // Rename to date
    {1031, 1023, &kDateFormats},  {1031, 1022, &kTimeFormats},
};

}  // namespace

std::span<const char* const> ScopeTexts() {
    return kScopes;
}

std::span<const char* const> SortOrderTexts() {
    return kSortOrders;
}

std::vector<std::string> PanelComboEntries(int templateId, int controlId) {
    for (const auto& list : kLists)
        if (list.templateId == templateId && list.controlId == controlId) return *list.entries;
    return {};
}

#pragma once

#include <string_view>

/// The occurrence choices of the insert and remove actions, as listed by
/// their panels: 0 "1st" ... 5 "6th", 6 "last", 7 "2nd to last" ... 11 "6th
/// to last".
enum Occurrence : int { kOccurrenceFirst = 0, kOccurrenceLast = 6, kOccurrenceSecondToLast = 7, kOccurrenceCount = 12 };

/// Byte position of the chosen occurrence of `text` in `part`, or -1. Matches
/// never overlap and compare bytes exactly (case-sensitive); since `text` is
/// whole UTF-8 characters, a match always starts on a character. An empty
/// `text` is never found.
long FindOccurrence(std::string_view part, std::string_view text, int index);

/// The n-th (1-based) non-overlapping match counted from the end of `part`;
/// the byte position of its first byte, or -1.
long FindNthFromEnd(std::string_view part, std::string_view text, int n);

/// The n-th (1-based) non-overlapping match from the start, or -1.
long FindNthFromStart(std::string_view part, std::string_view text, int n);

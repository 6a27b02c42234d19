#include "operations/Occurrence.h"

long FindNthFromStart(std::string_view part, std::string_view text, int n) {
    if (text.empty() || part.size() < text.size() || n < 1) return -1;
    size_t from = 0;
    size_t found = std::string_view::npos;
    for (int i = 0; i < n; ++i) {
        found = part.find(text, from);
        if (found == std::string_view::npos) return -1;
        from = found + text.size();
    }
    return static_cast<long>(found);
}

long FindNthFromEnd(std::string_view part, std::string_view text, int n) {
    // Non-overlapping matches of the reversed text in the reversed part are the
    // matches found backwards, each ending before the previous one starts.
    if (text.empty() || part.size() < text.size() || n < 1) return -1;
    size_t limit = part.size();  // a match must end at or before this byte
    size_t found = std::string_view::npos;
    for (int i = 0; i < n; ++i) {
        if (limit < text.size()) return -1;
        found = part.rfind(text, limit - text.size());
        if (found == std::string_view::npos) return -1;
        limit = found;
    }
    return static_cast<long>(found);
}

long FindOccurrence(std::string_view part, std::string_view text, int index) {
    if (text.empty() || part.size() < text.size()) return -1;
    if (index >= 0 && index < kOccurrenceLast) return FindNthFromStart(part, text, index + 1);
    if (index == kOccurrenceLast) {
        // The last of the non-overlapping matches from the start; this can
        // differ from the last match found backwards ("aaa" and "aa").
        long last = -1;
        for (size_t from = 0;;) {
            const size_t found = part.find(text, from);
            if (found == std::string_view::npos) return last;
            last = static_cast<long>(found);
            from = found + text.size();
        }
    }
    if (index >= kOccurrenceSecondToLast && index < kOccurrenceCount)
        return FindNthFromEnd(part, text, index - kOccurrenceLast + 1);
    return -1;
}

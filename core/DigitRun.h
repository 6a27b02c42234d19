#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/FileDescriptor.h"

/// A run of digit characters in a text, as byte positions [first, end). Only
/// ASCII 0-9 classify as digits, so a run always reads as a decimal number and
/// never ends inside a multi-byte character.
struct CDigitRun {
    long first = -1;  ///< -1: no run
    long end = -1;
    bool found() const { return first >= 0; }
    size_t length() const { return found() ? static_cast<size_t>(end - first) : 0; }
};

/// The first run of digits in `text` at or after byte `from`. The search only
/// reads; a start beyond the text finds nothing.
CDigitRun FindDigitRun(std::string_view text, size_t from);

/// The first run of digits in the descriptor's part at or after byte `from`.
CDigitRun FindDigitRun(const CFileDescriptor& fd, size_t from);

/// Reads `digits` (ASCII 0-9 only) as a decimal number. False, with `value`
/// untouched, when it does not fit: a camera's 14-digit time stamp fits, a run
/// of twenty nines does not. Leading zeros never count against the limit.
bool ReadDigitRun(std::string_view digits, int64_t& value);

/// Compares two digit texts by their numeric value, whatever their length:
/// <0, 0 (same value, "007" and "7"), >0.
int CompareDigitValues(std::string_view a, std::string_view b);

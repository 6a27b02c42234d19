#pragma once

#include <cstddef>
#include <string>

#include "core/Selection.h"

// The product's own words for what both faces show: a preview row's status,
// counts of things, numbers.

/// What a run will meet at a row of a preview: "rename", "unchanged",
/// "duplicate", "name taken", "invalid name", "too long".
const char* StatusWord(CRowStatus status);

/// `n` with its digits grouped by thousands: "12,345".
std::string GroupedNumber(size_t n);

/// `n` and what it counts: "1 item", "12,345 items".
std::string Count(size_t n, const char* one, const char* many);

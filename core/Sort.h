#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/FileDescriptor.h"

namespace platform {
class IFileSystem;
}

/// The orders of the "Order:" combo, by position; the position is what the
/// settings store keeps.
enum SortOrder : int {
    kSortNameAscending = 0,
    kSortNameDescending = 1,
    kSortModifiedOlderFirst = 2,
    kSortModifiedNewerFirst = 3,
    kSortCreatedOlderFirst = 4,
    kSortCreatedNewerFirst = 5,
    kSortPictureOlderFirst = 6,
    kSortPictureNewerFirst = 7,
    kSortRandom = 8,
    kSortExistingNumber = 9,
    kSortTakenOlderFirst = 10,
    kSortTakenNewerFirst = 11,
    kSortOrderCount = 12,
};

/// Reorders `list` by `order`; any other value leaves it as it was.
///
/// Every key (name, time, picture date, first number of the part, random
/// rank) is read once per item, and the items are then sorted stably by key,
/// so the result is always a well-defined order:
/// - equal keys keep their list order;
/// - dates compare at one-second resolution; an item whose time cannot be read
///   (or that has no creation time on its file system) goes after all others,
///   in list order, whichever way the order runs;
/// - picture dates compare by the calendar fields the camera wrote, so no
///   time zone enters; an item without a usable picture date goes before the
///   dated ones oldest-first and after them newest-first;
/// - dates taken (any photo or video) compare by their moment: a picture's
///   offset or a video's UTC time orders shots from different time zones,
///   a clock without a zone counts in this computer's; undated items go as
///   for picture dates;
/// - an item without digits in its part goes after the numbered ones;
/// - the random order ranks each item by a hash of `seed` and its full path,
///   so the same call always gives the same shuffle, whatever order the items
///   arrive in.
///
/// Picture dates are cached in the descriptors as they are read.
void SortFileList(CFileList& list, int order, uint64_t seed, platform::IFileSystem& fs);

/// True for the orders that need nothing but the names.
bool IsNameOrder(int order);

/// A name as a listing gave it, and its place in the listing.
struct CListedName {
    std::string_view name;
    uint32_t position;
};

/// For a name order: puts `names` in the order SortFileList gives items with
/// these names, when they come in the order of their positions. A listing is
/// put in its order before its descriptors are made, so that they lie in
/// memory in the order in which every later pass reads them.
void SortListedNames(std::vector<CListedName>& names, int order);

#include "core/Sort.h"

#include <algorithm>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/DigitRun.h"
#include "core/Execute.h"
#include "core/PictureDate.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

enum class Key { kName, kModified, kCreated, kPicture, kRandom, kNumber, kTaken };

struct OrderEntry {
    Key key;
    bool descending;
};

// By combo position.
constexpr OrderEntry kOrders[kSortOrderCount] = {
    {Key::kName, false},    {Key::kName, true},    {Key::kModified, false}, {Key::kModified, true},
    {Key::kCreated, false}, {Key::kCreated, true}, {Key::kPicture, false},  {Key::kPicture, true},
    {Key::kRandom, false},  {Key::kNumber, false}, {Key::kTaken, false},    {Key::kTaken, true},
};

// What one item sorts by, read before sorting so that no comparison touches
// the disk and every comparison of the same two items gives the same answer.
struct Item {
    std::unique_ptr<CFileDescriptor> fd;
    int group = 0;     // lower groups first; within a group, by value
    int64_t time = 0;  // file time or picture date; 0 for every item without one, so they tie
    uint64_t rank = 0;
    std::string digits;
};

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

uint64_t RandomRank(uint64_t seed, std::string_view path) {
    uint64_t h = Mix(seed) ^ 0xCBF29CE484222325ull;
    for (unsigned char c : path) h = (h ^ c) * 0x100000001B3ull;
    return Mix(h ^ seed);
}

// A number that orders calendar times as their fields do; each field gets
// room for its largest value (a leap second included).
int64_t CalendarKey(const std::tm& t) {
    int64_t key = t.tm_year;
    for (const auto& [value, room] :
         {std::pair{t.tm_mon, 12}, {t.tm_mday, 32}, {t.tm_hour, 24}, {t.tm_min, 60}, {t.tm_sec, 62}})
        key = key * room + value;
    return key;
}

void ReadKey(Item& item, Key key, bool descending, uint64_t seed, platform::IFileSystem& fs) {
    CFileDescriptor& fd = *item.fd;
    switch (key) {
        case Key::kName:
            break;
        case Key::kModified:
        case Key::kCreated: {
            platform::FileTimes times;
            const bool read = fs.GetTimes(fd.path(), times) == platform::kErrorSuccess;
            if (read && key == Key::kModified) {
                item.time = times.modification;
            } else if (read && times.creation) {
                item.time = *times.creation;
            } else {
                item.group = 1;
            }
            break;
        }
        case Key::kPicture: {
            // Ordered by the camera's own calendar fields rather than by a time
            // stamp: no time zone enters the order, and no real date doubles
            // as "no date".
            std::tm t{};
            const bool dated = HasPictureInfo(fd, fs) && PictureDateTime(fd, t);
            if (dated) item.time = CalendarKey(t);
            // Undated pictures stand in for the oldest, so they lead oldest-first
            // and trail newest-first.
            item.group = dated == descending ? 0 : 1;
            break;
        }
        case Key::kTaken: {
            const bool dated = DateTakenTime(DateTakenOf(fd, fs), item.time);
            if (!dated) item.time = 0;
            item.group = dated == descending ? 0 : 1;
            break;
        }
        case Key::kRandom:
            item.rank = RandomRank(seed, fd.path());
            break;
        case Key::kNumber: {
            const CDigitRun run = FindDigitRun(fd, 0);
            if (run.found())
                item.digits = fd.part().substr(run.first, run.length());
            else
                item.group = 1;
            break;
        }
    }
}

// <0, 0, >0 within one group.
int CompareInGroup(const Item& a, const Item& b, Key key) {
    switch (key) {
        case Key::kName:  // sorted by SortByName
            return 0;
        case Key::kModified:
        case Key::kCreated:
        case Key::kPicture:
        case Key::kTaken:
            return a.time < b.time ? -1 : (a.time > b.time ? 1 : 0);
        case Key::kRandom:
            if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
            // Two paths with the same rank still need a fixed order.
            return a.fd->path().compare(b.fd->path());
        case Key::kNumber:
            return CompareDigitValues(a.digits, b.digits);
    }
    return 0;
}

// The name orders, the default ones, sort large folders: each entry carries
// the first bytes of its folded name, so that most comparisons are decided
// without reaching the scattered names, and its list position, so that
// equal names keep their list order without a stable sort's extra moves.
// Positions and sizes fit 32 bits: a descriptor takes over a hundred bytes,
// so no list comes near 2^32 items.
struct NameEntry {
    text::NoCaseKey key;
    const char* name;
    uint32_t size;
    uint32_t position;
};

// Descending reverses the names, but equal names stay in list order. A type
// per direction, so that the comparison is compiled into each sort.
template <bool kDescending>
struct NameBefore {
    template <typename T>
    static bool Less(T a, T b) {
        return kDescending ? b < a : a < b;
    }
    bool operator()(const NameEntry& a, const NameEntry& b) const {
        if (a.key.high != b.key.high) return Less(a.key.high, b.key.high);
        if (a.key.low != b.key.low) return Less(a.key.low, b.key.low);
        const int c = text::CompareNoCase(std::string_view(a.name, a.size), std::string_view(b.name, b.size));
        if (c != 0) return Less(c, 0);
        return a.position < b.position;
    }
};

NameEntry EntryOf(std::string_view name, size_t position) {
    return {text::MakeNoCaseKey(name), name.data(), static_cast<uint32_t>(name.size()), static_cast<uint32_t>(position)};
}

// Sorts by name; false when the entries were in order already, as a folder
// listed in its sorted order is, so that they are not moved again.
bool SortEntries(std::vector<NameEntry>& entries, bool descending) {
    if (descending) {
        if (std::is_sorted(entries.begin(), entries.end(), NameBefore<true>{})) return false;
        std::sort(entries.begin(), entries.end(), NameBefore<true>{});
    } else {
        if (std::is_sorted(entries.begin(), entries.end(), NameBefore<false>{})) return false;
        std::sort(entries.begin(), entries.end(), NameBefore<false>{});
    }
    return true;
}

void SortByName(CFileList& list, bool descending) {
    std::vector<NameEntry> entries(list.size());
    for (size_t i = 0; i < list.size(); ++i) entries[i] = EntryOf(list[i]->name(), i);
    if (!SortEntries(entries, descending)) return;
    CFileList sorted(list.size());
    for (size_t i = 0; i < entries.size(); ++i) sorted[i] = std::move(list[entries[i].position]);
    list.swap(sorted);
}

}  // namespace

bool IsNameOrder(int order) {
    return order >= 0 && order < kSortOrderCount && kOrders[order].key == Key::kName;
}

void SortListedNames(std::vector<CListedName>& names, int order) {
    std::vector<NameEntry> entries(names.size());
    for (size_t i = 0; i < names.size(); ++i) entries[i] = EntryOf(names[i].name, names[i].position);
    if (!SortEntries(entries, kOrders[order].descending)) return;
    for (size_t i = 0; i < entries.size(); ++i)
        names[i] = {std::string_view(entries[i].name, entries[i].size), entries[i].position};
}

void SortFileList(CFileList& list, int order, uint64_t seed, platform::IFileSystem& fs) {
    if (order < 0 || order >= kSortOrderCount) return;
    const OrderEntry entry = kOrders[order];
    if (entry.key == Key::kName) {
        SortByName(list, entry.descending);
        return;
    }

    std::vector<Item> items(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        items[i].fd = std::move(list[i]);
        ReadKey(items[i], entry.key, entry.descending, seed, fs);
    }
    list.clear();

    // Groups, keys and the list order together are a strict weak ordering,
    // so the sort is never handed an inconsistent comparison.
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        if (a.group != b.group) return a.group < b.group;
        const int c = CompareInGroup(a, b, entry.key);
        return entry.descending ? c > 0 : c < 0;
    });

    list.reserve(items.size());
    for (auto& item : items) list.push_back(std::move(item.fd));
}

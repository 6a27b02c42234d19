#pragma once

// The hashing of names for the preview's marks: eight bytes at a time, since
// names are short and a mark hashes one per row; and the tags and checks
// that the table keeps beside each reference.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace preview_hash {

// A row's new name, once the row is marked renamed, holds its key until the
// end of the mark; its tag byte has the high bit set, so that one sweep
// takes every such name away again.
constexpr uint32_t kRowFlag = 0x80000000u;
constexpr uint8_t kRowTag = 0x80;
// Marks, beside an item's folder, an item that is itself a folder holding
// items: renaming it moves them.
constexpr uint32_t kSelfFlag = 0x80000000u;

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;
constexpr uint64_t kSlashes = 0x2F2F2F2F2F2F2F2FULL;

// Non-zero when one of the eight bytes of `v` is zero.
inline uint64_t ZeroByte(uint64_t v) {
    return (v - kOnes) & ~v & kHighs;
}

inline uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

inline uint64_t Load(const char* p, size_t n) {
    uint64_t v = 0;
    std::memcpy(&v, p, n);
    return v;
}

// Eight bytes at a time: names are short, and a mark hashes one per row.
// The last bytes are read as two loads that may overlap, never past the
// end. With `bad`, also tells whether the name holds a '/' or a NUL, which
// no POSIX name may: one pass over the bytes does both.
inline uint64_t HashBytes(std::string_view s, uint64_t h, bool* bad = nullptr) {
    const char* p = s.data();
    const size_t n = s.size();
    uint64_t found = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint64_t v = Load(p + i, 8);
        if (bad) found |= ZeroByte(v) | ZeroByte(v ^ kSlashes);
        h = (h ^ v) * 0x9E3779B97F4A7C15ULL;
        h ^= h >> 29;
    }
    const size_t rest = n - i;
    uint64_t v = 0;
    if (rest >= 4) {
        v = Load(p + i, 4) | (Load(p + n - 4, 4) << 32);
    } else if (rest > 0) {
        // One to three bytes: the first, the middle and the last.
        v = static_cast<unsigned char>(p[i]) |
            (static_cast<uint64_t>(static_cast<unsigned char>(p[i + rest / 2])) << 8) |
            (static_cast<uint64_t>(static_cast<unsigned char>(p[n - 1])) << 16) | (kOnes << 24);
    } else {
        v = kOnes;
    }
    if (bad) *bad = (found | ZeroByte(v) | ZeroByte(v ^ kSlashes)) != 0;
    return Mix(h ^ v ^ (static_cast<uint64_t>(n) << 56));
}

inline uint64_t FolderSeed(uint64_t seed, uint32_t folder) {
    return seed ^ (static_cast<uint64_t>(folder) * 0xD6E8FEB86659FD93ULL);
}

// The tag of a name: seven bits of its hash, never zero (a free slot).
inline uint8_t TagOf(uint64_t hash) {
    const uint8_t tag = static_cast<uint8_t>(hash >> 57);
    return tag ? tag : 1;
}

// More bits of the hash beside each reference, so that two names are
// compared only when they are almost surely the same.
inline uint32_t CheckOf(uint64_t hash) {
    return static_cast<uint32_t>(hash >> 16);
}

}  // namespace preview_hash

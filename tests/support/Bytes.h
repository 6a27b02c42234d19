#pragma once

// Files of the readers' tests, built byte by byte or read whole.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TempDir.h"

namespace testing_support {

/// `v` in `bytes` bytes, most significant first.
inline std::string Be(uint64_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    return out;
}
/// `v` in `bytes` bytes, least significant first.
inline std::string Le(uint64_t v, int bytes) {
    const std::string out = Be(v, bytes);
    return std::string(out.rbegin(), out.rend());
}
/// An ISO media box: its size, its type, then `payload`.
inline std::string Box(const std::string& type, const std::string& payload) {
    return Be(8 + payload.size(), 4) + type + payload;
}
/// The file `name` of the fixtures' folder `folder`, whole.
inline std::string FixtureBytes(const std::string& folder, const std::string& name) {
    std::ifstream in(U8(std::string(QLN_FIXTURE_DIR) + "/" + folder + "/" + name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testing_support

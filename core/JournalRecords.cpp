#include "core/JournalRecords.h"

#include <array>
#include <cstring>

namespace journal {

namespace {

// Eight tables, so that the checksum takes eight bytes a step: a run of a
// million renames frames tens of megabytes, and the byte-at-a-time loop
// would cost a noticeable part of the run.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

Tables MakeTables() {
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
        for (size_t k = 1; k < 8; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}

const Tables& CrcTables() {
    static const Tables tables = MakeTables();
    return tables;
}

uint32_t Load32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void Store32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
    const Tables& t = CrcTables();
    const auto* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    while (size >= 8) {
        const uint32_t lo = Load32(p) ^ crc;
        const uint32_t hi = Load32(p + 4);
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        p += 8;
        size -= 8;
    }
    while (size-- > 0) crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool EndsWhole(std::string_view data) {
    if (data.substr(0, kMagic.size()) != kMagic) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    size_t at = kMagic.size(), last = 0;
    while (at + 8 <= data.size()) {
        const uint32_t length = Load32(bytes + at);
        if (length == 0 || length > kMaxBody || length > data.size() - at - 8) return false;
        last = at;
        at += 8 + length;
    }
    if (at != data.size() || last == 0) return false;
    const uint32_t length = Load32(bytes + last);
    return length == 2 && bytes[last + 8] == kEnd && Crc32(bytes + last + 8, length) == Load32(bytes + last + 4);
}

void RecordWriter::Start(RecordType type) {
    start_ = out_.size();
    out_.append(8, '\0');  // length and checksum, known at Finish
    U8(type);
}

void RecordWriter::U32(uint32_t v) {
    char b[4];
    Store32(b, v);
    out_.append(b, 4);
}

void RecordWriter::I64(int64_t v) {
    const auto u = static_cast<uint64_t>(v);
    U32(static_cast<uint32_t>(u & 0xFFFFFFFFu));
    U32(static_cast<uint32_t>(u >> 32));
}

void RecordWriter::Text(std::string_view s) {
    U32(static_cast<uint32_t>(s.size()));
    out_.append(s);
}

void RecordWriter::Finish() {
    const size_t bodyStart = start_ + 8;
    const size_t length = out_.size() - bodyStart;
    Store32(&out_[start_], static_cast<uint32_t>(length));
    Store32(&out_[start_ + 4], Crc32(out_.data() + bodyStart, length));
}

RecordReader::RecordReader(std::string_view data) : data_(data) {
    validMagic_ = data_.substr(0, kMagic.size()) == kMagic;
    at_ = validMagic_ ? kMagic.size() : 0;
}

bool RecordReader::Next(std::string_view& body) {
    if (!validMagic_ || data_.size() - at_ < 8) return false;
    const auto* head = reinterpret_cast<const unsigned char*>(data_.data() + at_);
    const uint32_t length = Load32(head);
    const uint32_t crc = Load32(head + 4);
    if (length == 0 || length > kMaxBody || data_.size() - at_ - 8 < length) return false;
    const std::string_view candidate = data_.substr(at_ + 8, length);
    if (Crc32(candidate.data(), candidate.size()) != crc) return false;
    body = candidate;
    at_ += 8 + length;
    return true;
}

bool FieldReader::Take(size_t n) {
    if (!ok_ || body_.size() - at_ < n) {
        ok_ = false;
        return false;
    }
    return true;
}

uint8_t FieldReader::U8() {
    if (!Take(1)) return 0;
    return static_cast<uint8_t>(body_[at_++]);
}

uint32_t FieldReader::U32() {
    if (!Take(4)) return 0;
    const uint32_t v = Load32(reinterpret_cast<const unsigned char*>(body_.data() + at_));
    at_ += 4;
    return v;
}

int64_t FieldReader::I64() {
    const uint64_t lo = U32();
    const uint64_t hi = U32();
    return static_cast<int64_t>(lo | hi << 32);
}

std::string_view FieldReader::Text() {
    const uint32_t n = U32();
    if (!Take(n)) return {};
    const std::string_view s = body_.substr(at_, n);
    at_ += n;
    return s;
}

}  // namespace journal

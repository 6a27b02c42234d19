#include "core/DateTaken.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/PictureDate.h"
#include "core/BoundedReader.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"

namespace {

// What one file may cost in reading. A date sits in the first kilobytes of
// every picture format; only videos and the odd PNG or WebP keep it behind
// their image data, which a file passes over without reading it.
constexpr uint64_t kMaxReadBytes = 4 << 20;
// An EXIF block is 64 KiB in a JPEG; elsewhere nothing holds it to that,
// but dates never lie a megabyte into one.
constexpr size_t kMaxBlockBytes = 1 << 20;
// A HEIF meta box lists every tile of the picture; a few thousand of them
// stay far below this.
constexpr size_t kMaxMetaBytes = 1 << 20;
constexpr size_t kMaxTextChunkBytes = 64 << 10;
constexpr int kMaxJpegSections = 64;
constexpr int kMaxJpegPadding = 16;
constexpr int kMaxChunks = 1024;
constexpr int kMaxBoxes = 1024;
// The main directory and the EXIF directory are all that is wanted; the
// rest only bounds a file whose links lead on and on.
constexpr int kMaxDirectories = 4;
constexpr size_t kMaxDateChars = 19;
constexpr int kMaxOffsetMinutes = 18 * 60;

// Seconds from 1904-01-01, where QuickTime counts from, to 1970-01-01.
constexpr int64_t kSeconds1904To1970 = 2082844800;
// 9999-12-31 23:59:59 UTC: no calendar time lies beyond.
constexpr int64_t kLastSecond = 253402300799;

uint32_t Be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 |
           p[0];
}
bool Is(const uint8_t* p, const char* fourcc) { return std::memcmp(p, fourcc, 4) == 0; }

// Big-endian fields of a box in memory; a read past the end gives 0 and
// leaves ok() false for good.
class BoxCursor {
public:
    BoxCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    uint64_t Get(int bytes) {
        if (!ok_ || bytes > 8 || static_cast<uint64_t>(bytes) > size_ - pos_) {
            ok_ = false;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | data_[pos_++];
        return v;
    }
    void Skip(uint64_t bytes) {
        if (bytes > size_ - pos_) ok_ = false;
        if (ok_) pos_ += static_cast<size_t>(bytes);
    }
    const uint8_t* here() const { return data_ + pos_; }
    size_t left() const { return ok_ ? size_ - pos_ : 0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// ---- Calendar ----

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The instant of a clock reading taken `offsetMinutes` east of UTC.
int64_t InstantOf(const std::tm& t, int offsetMinutes) {
    const int64_t days = DaysFromCivil(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return days * 86400 + t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec - offsetMinutes * 60;
}

class TextCursor {
public:
    explicit TextCursor(const std::string& s) : s_(s) {}
    bool AtEnd() {
        SkipSpaces();
        return pos_ == s_.size();
    }
    void SkipSpaces() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    }
    bool Char(char c) {
        if (pos_ < s_.size() && s_[pos_] == c) return ++pos_, true;
        return false;
    }
    char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    // `min` to `max` digits; nothing is taken when there are too few.
    bool Number(int min, int max, int& out) {
        int n = 0, v = 0;
        while (n < max && pos_ + n < s_.size() && s_[pos_ + n] >= '0' && s_[pos_ + n] <= '9')
            v = v * 10 + (s_[pos_ + n++] - '0');
        if (n < min) return false;
        pos_ += static_cast<size_t>(n);
        out = v;
        return true;
    }
    std::string Word() {
        const size_t first = pos_;
        while (pos_ < s_.size() && ((s_[pos_] | 0x20) >= 'a' && (s_[pos_] | 0x20) <= 'z')) ++pos_;
        return s_.substr(first, pos_ - first);
    }
    void SkipDigits() {
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    }

private:
    const std::string& s_;
    size_t pos_ = 0;
};

bool ValidOffset(int hours, int minutes) { return minutes < 60 && hours * 60 + minutes <= kMaxOffsetMinutes; }

// "+02:00", the form EXIF gives; "+0200" also, as some writers leave the colon out.
bool ParseExifOffset(const std::string& text, int& minutes) {
    TextCursor c(text);
    c.SkipSpaces();
    const char sign = c.Peek();
    if (!c.Char('+') && !c.Char('-')) return false;
    int h, m;
    if (!c.Number(2, 2, h)) return false;
    c.Char(':');
    if (!c.Number(2, 2, m) || !ValidOffset(h, m) || !c.AtEnd()) return false;
    minutes = (sign == '-' ? -1 : 1) * (h * 60 + m);
    return true;
}

std::tm Calendar(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

struct TextDate {
    std::tm clock{};
    bool zoned = false;
    int offsetMinutes = 0;
};

// The zone at the end of a text date: Z, GMT, UT, UTC, +hh, +hhmm or +hh:mm.
// Nothing at all leaves the date unzoned.
bool ParseZone(TextCursor& c, TextDate& out) {
    c.SkipSpaces();
    if (c.AtEnd()) return true;
    const char sign = c.Peek();
    if (c.Char('+') || c.Char('-')) {
        int h, m = 0;
        if (!c.Number(2, 2, h)) return false;
        const bool colon = c.Char(':');
        if (!c.Number(colon ? 2 : 0, 2, m) || !ValidOffset(h, m)) return false;
        out.zoned = true;
        out.offsetMinutes = (sign == '-' ? -1 : 1) * (h * 60 + m);
        return c.AtEnd();
    }
    // RFC 822 names these; its military letters other than Z were never used.
    static constexpr struct {
        const char* name;
        int minutes;
    } kZones[] = {{"z", 0},       {"gmt", 0},      {"ut", 0},       {"utc", 0},      {"est", -300}, {"edt", -240},
                  {"cst", -360}, {"cdt", -300},   {"mst", -420},   {"mdt", -360},   {"pst", -480}, {"pdt", -420}};
    std::string word = c.Word();
    for (char& ch : word) ch = static_cast<char>(ch | 0x20);
    for (const auto& zone : kZones) {
        if (word != zone.name) continue;
        out.zoned = true;
        out.offsetMinutes = zone.minutes;
        return c.AtEnd();
    }
    return false;
}

// HH:MM[:SS[.fraction]] and the zone after it.
bool ParseClock(TextCursor& c, int year, int month, int day, TextDate& out) {
    int h, mi, s = 0;
    if (!c.Number(1, 2, h) || !c.Char(':') || !c.Number(2, 2, mi)) return false;
    if (c.Char(':')) {
        if (!c.Number(2, 2, s)) return false;
        if (c.Char('.') || c.Char(',')) c.SkipDigits();
    }
    out.clock = Calendar(year, month, day, h, mi, s);
    return platform::IsValidCalendarTime(out.clock) && ParseZone(c, out);
}

// "2023:05:01 10:00:00" (EXIF), "2023-05-01T10:00:00+02:00" and its kin
// (ISO 8601), "Mon, 01 May 2023 10:00:00 GMT" (RFC 1123): the forms that
// writers put in a PNG "Creation Time".
bool ParseTextDate(const std::string& text, TextDate& out) {
    static constexpr const char* kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                "jul", "aug", "sep", "oct", "nov", "dec"};
    TextCursor c(text);
    c.SkipSpaces();
    int year, month, day;
    if (c.Number(4, 4, year)) {
        const char sep = c.Peek();
        if (sep != ':' && sep != '-') return false;
        c.Char(sep);
        if (!c.Number(1, 2, month) || !c.Char(sep) || !c.Number(1, 2, day)) return false;
        if (!c.Char('T')) c.SkipSpaces();
        return ParseClock(c, year, month, day, out);
    }
    // RFC 1123: the day of the week is optional, and says nothing the date does not.
    std::string word = c.Word();
    if (!word.empty()) {
        if (!c.Char(',')) return false;
        c.SkipSpaces();
    }
    if (!c.Number(1, 2, day)) return false;
    c.SkipSpaces();
    word = c.Word();
    for (char& ch : word) ch = static_cast<char>(ch | 0x20);
    month = 0;
    for (int i = 0; i < 12; ++i)
        if (word == kMonths[i]) month = i + 1;
    if (month == 0) return false;
    c.SkipSpaces();
    if (!c.Number(4, 4, year)) return false;
    c.SkipSpaces();
    return ParseClock(c, year, month, day, out);
}

// ---- EXIF ----

enum DateKind { kOriginal, kDigitized, kModified, kDateKinds };

struct ExifDates {
    std::array<bool, kDateKinds> have{};
    std::array<std::tm, kDateKinds> clock{};
    std::array<bool, kDateKinds> haveOffset{};
    std::array<int, kDateKinds> offset{};
};

constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kDateTags[kDateKinds] = {0x9003, 0x9004, 0x0132};
constexpr uint16_t kOffsetTags[kDateKinds] = {0x9011, 0x9012, 0x9010};
// Bytes per component of the TIFF formats 1-13 (13: IFD, a 32-bit offset).
constexpr uint64_t kFormatSizes[14] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};

// A TIFF structure: a block in memory (the EXIF of a JPEG, PNG, WebP or
// HEIF), or a TIFF file read as far as its offsets lead.
class TiffBytes {
public:
    TiffBytes(std::vector<uint8_t> block, size_t start) : bytes_(std::move(block)), base_(start) {}
    explicit TiffBytes(CBoundedReader& file) : file_(&file) {}

    // True when [offset, offset + length) of the structure can be read.
    bool Have(uint64_t offset, uint64_t length) {
        const uint64_t end = base_ + offset + length;  // each term below 2^36
        if (end <= bytes_.size()) return true;
        // Read ahead in steps that grow, so that scattered directories cost
        // a few reads rather than one per entry.
        if (!file_ || end > kMaxReadBytes) return false;
        const uint64_t want = std::min<uint64_t>(std::max<uint64_t>({end, 2 * bytes_.size(), 64 << 10}), kMaxReadBytes);
        const size_t had = bytes_.size();
        bytes_.resize(static_cast<size_t>(want));
        bytes_.resize(had + file_->ReadUpTo(bytes_.data() + had, bytes_.size() - had));
        // The file ended: asking again, once per entry that points past it,
        // would only allocate and read nothing.
        if (bytes_.size() < want) file_ = nullptr;
        return end <= bytes_.size();
    }
    const uint8_t* At(uint64_t offset) const { return bytes_.data() + base_ + offset; }
    uint16_t Get16(uint64_t offset) const {
        const uint8_t* p = At(offset);
        return static_cast<uint16_t>(bigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    uint32_t Get32(uint64_t offset) const { return bigEndian ? Be32(At(offset)) : Le32(At(offset)); }

    bool bigEndian = false;

private:
    std::vector<uint8_t> bytes_;
    size_t base_ = 0;
    CBoundedReader* file_ = nullptr;
};

// The text of an ASCII entry, cut at its first NUL and at `maxChars`.
bool EntryText(TiffBytes& t, uint64_t entry, size_t maxChars, std::string& out) {
    const uint16_t format = t.Get16(entry + 2);
    if (format >= std::size(kFormatSizes) || kFormatSizes[format] == 0) return false;
    const uint64_t bytes = t.Get32(entry + 4) * kFormatSizes[format];
    const uint64_t length = std::min<uint64_t>(bytes, maxChars);
    const uint64_t at = bytes <= 4 ? entry + 8 : t.Get32(entry + 8);
    if (!t.Have(at, length)) return false;
    const auto* text = reinterpret_cast<const char*>(t.At(at));
    out.assign(text, std::find(text, text + length, '\0'));
    return true;
}

// Walks the main directory and the EXIF directory it links to. `rawMagic`
// lets in the TIFF variants of raw files (ORF, RW2), which change only the
// magic number.
bool ReadTiff(TiffBytes& t, bool rawMagic, ExifDates& dates) {
    if (!t.Have(0, 8)) return false;
    const uint8_t* h = t.At(0);
    if (h[0] == 'M' && h[1] == 'M')
        t.bigEndian = true;
    else if (h[0] != 'I' || h[1] != 'I')
        return false;
    const uint16_t magic = t.Get16(2);
    if (magic != 42 && !(rawMagic && (magic == 0x4F52 || magic == 0x5352 || magic == 0x55))) return false;

    std::array<uint32_t, kMaxDirectories> queue{};
    int queued = 0;
    queue[queued++] = t.Get32(4);
    for (int next = 0; next < queued; ++next) {
        const uint32_t dir = queue[next];
        // A link back to a directory already walked would only repeat it.
        if (std::find(queue.begin(), queue.begin() + next, dir) != queue.begin() + next) continue;
        if (!t.Have(dir, 2)) continue;
        const uint16_t count = t.Get16(dir);
        if (!t.Have(dir + 2, 12 * static_cast<uint64_t>(count))) continue;
        for (uint64_t entry = dir + 2; entry < dir + 2 + 12 * static_cast<uint64_t>(count); entry += 12) {
            const uint16_t tag = t.Get16(entry);
            if (tag == kTagExifDirectory) {
                if (queued < kMaxDirectories) queue[queued++] = t.Get32(entry + 8);
                continue;
            }
            for (int k = 0; k < kDateKinds; ++k) {
                std::string text;
                if (tag == kDateTags[k] && !dates.have[k] && EntryText(t, entry, kMaxDateChars, text))
                    dates.have[k] = ParsePictureDate(text, dates.clock[k]);
                if (tag == kOffsetTags[k] && !dates.haveOffset[k] && EntryText(t, entry, 16, text))
                    dates.haveOffset[k] = ParseExifOffset(text, dates.offset[k]);
            }
        }
    }
    return true;
}

// The best of the dates, with the offset recorded for it.
bool TakeExif(const ExifDates& dates, CDateTaken& out) {
    static constexpr CDateTaken::Source kSources[kDateKinds] = {CDateTaken::Source::kDateTimeOriginal,
                                                                CDateTaken::Source::kDateTimeDigitized,
                                                                CDateTaken::Source::kDateTime};
    for (int k = 0; k < kDateKinds; ++k) {
        if (!dates.have[k]) continue;
        out = CDateTaken{};
        out.found = true;
        out.source = kSources[k];
        out.wallClock = dates.clock[k];
        if (dates.haveOffset[k]) {
            out.hasOffset = true;
            out.offsetMinutes = dates.offset[k];
            out.instant = InstantOf(dates.clock[k], dates.offset[k]);
        }
        return true;
    }
    return false;
}

// A TIFF block in memory, found at `start` of `block`, perhaps behind the
// "Exif\0\0" that JPEG puts before it and that other containers copy.
bool ExifBlock(std::vector<uint8_t> block, size_t start, CDateTaken& out) {
    if (block.size() >= start + 6 && std::memcmp(block.data() + start, "Exif\0\0", 6) == 0) start += 6;
    if (start > block.size()) return false;
    TiffBytes t(std::move(block), start);
    ExifDates dates;
    return ReadTiff(t, false, dates) && TakeExif(dates, out);
}

// ---- Containers ----

CDateTaken ScanJpeg(CBoundedReader& r) {
    CDateTaken out;
    if (!r.Skip(2)) return out;
    std::vector<uint8_t> body;
    for (int section = 0; section < kMaxJpegSections; ++section) {
        uint8_t marker = 0;
        if (!r.Read(&marker, 1) || marker != 0xFF) return out;
        for (int padding = 0; marker == 0xFF; ++padding)
            if (padding > kMaxJpegPadding || !r.Read(&marker, 1)) return out;
        // The image data starts, or the picture ends: the date comes before both.
        if (marker == 0xDA || marker == 0xD9) return out;
        // Markers without a length of their own.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        uint8_t length[2];
        if (!r.Read(length, 2)) return out;
        const size_t size = static_cast<size_t>(length[0] << 8 | length[1]);
        if (size < 2) return out;
        if (marker != 0xE1) {
            if (!r.Skip(size - 2)) return out;
            continue;
        }
        // APP1 also carries XMP, which is skipped like any other section.
        if (!r.Read(body, size - 2)) return out;
        if (body.size() >= 6 && std::memcmp(body.data(), "Exif\0\0", 6) == 0 && ExifBlock(std::move(body), 0, out))
            return out;
    }
    return out;
}

CDateTaken ScanTiff(CBoundedReader& r) {
    CDateTaken out;
    TiffBytes t(r);
    ExifDates dates;
    if (ReadTiff(t, true, dates)) TakeExif(dates, out);
    return out;
}

bool TakeTextDate(const std::string& text, CDateTaken& out) {
    TextDate d;
    if (!ParseTextDate(text, d)) return false;
    out = CDateTaken{};
    out.source = CDateTaken::Source::kPngText;
    out.wallClock = d.clock;
    if (d.zoned) {
        out.hasOffset = true;
        out.offsetMinutes = d.offsetMinutes;
        out.utcInstant = true;
        out.instant = InstantOf(d.clock, d.offsetMinutes);
        if (!platform::ToLocalTime(out.instant, out.wallClock)) return false;
    }
    out.found = true;
    return true;
}

// tEXt is "keyword\0text"; iTXt is "keyword\0" then the compression flag and
// method, "language\0translated keyword\0" and the text.
bool PngTextDate(const std::vector<uint8_t>& chunk, bool international, CDateTaken& out) {
    static constexpr char kKeyword[] = "Creation Time";
    const size_t keyword = sizeof kKeyword;  // with its NUL
    if (chunk.size() < keyword || std::memcmp(chunk.data(), kKeyword, keyword) != 0) return false;
    size_t at = keyword;
    if (international) {
        // Compressed text would need inflating; no writer compresses a date.
        if (chunk.size() < at + 2 || chunk[at] != 0) return false;
        at += 2;
        for (int field = 0; field < 2; ++field) {
            const auto end = std::find(chunk.begin() + static_cast<std::ptrdiff_t>(at), chunk.end(), 0);
            if (end == chunk.end()) return false;
            at = static_cast<size_t>(end - chunk.begin()) + 1;
        }
    }
    const auto text = chunk.begin() + static_cast<std::ptrdiff_t>(at);
    return TakeTextDate(std::string(text, std::find(text, chunk.end(), 0)), out);
}

CDateTaken ScanPng(CBoundedReader& r) {
    CDateTaken out;
    CDateTaken text;
    if (!r.Skip(8)) return out;
    std::vector<uint8_t> chunk;
    for (int n = 0; n < kMaxChunks; ++n) {
        uint8_t header[8];
        if (!r.Read(header, 8)) break;
        const uint32_t length = Be32(header);
        const uint8_t* type = header + 4;
        if (Is(type, "IEND") || length > 0x7FFFFFFF) break;
        if (Is(type, "eXIf") && length <= kMaxBlockBytes) {
            if (!r.Read(chunk, length)) break;
            if (ExifBlock(std::move(chunk), 0, out)) return out;
        } else if ((Is(type, "tEXt") || Is(type, "iTXt")) && length <= kMaxTextChunkBytes && !text.found) {
            if (!r.Read(chunk, length)) break;
            PngTextDate(chunk, type[0] == 'i', text);
        } else {
            // eXIf belongs before the image data. Text may follow it, but
            // one already found makes reading through the image not worth it.
            if (Is(type, "IDAT") && text.found) break;
            if (!r.Skip(length)) break;
        }
        if (!r.Skip(4)) break;  // CRC
    }
    return text;
}

CDateTaken ScanWebp(CBoundedReader& r) {
    CDateTaken out;
    if (!r.Skip(12)) return out;
    std::vector<uint8_t> chunk;
    for (int n = 0; n < kMaxChunks; ++n) {
        uint8_t header[8];
        if (!r.Read(header, 8)) break;
        const uint32_t length = Le32(header + 4);
        const uint64_t padded = length + (length & 1u);
        if (Is(header, "EXIF") && length <= kMaxBlockBytes) {
            if (!r.Read(chunk, length)) break;
            ExifBlock(std::move(chunk), 0, out);
            return out;
        }
        if (!r.Skip(padded)) break;
    }
    return out;
}

// ISO base media file format: HEIF pictures and MP4/QuickTime videos.

struct Box {
    uint8_t type[4];
    uint64_t start = 0;
    uint64_t end = 0;  // UINT64_MAX: the box runs to the end of the file
};

// Reads a box header at the reader's position, which is left at the payload.
bool ReadBoxHeader(CBoundedReader& r, uint64_t limit, Box& box) {
    uint8_t h[8];
    box.start = r.pos();
    if (limit - box.start < 8 || !r.Read(h, 8)) return false;
    std::memcpy(box.type, h + 4, 4);
    uint64_t size = Be32(h);
    if (size == 1) {
        uint8_t large[8];
        if (limit - r.pos() < 8 || !r.Read(large, 8)) return false;
        size = static_cast<uint64_t>(Be32(large)) << 32 | Be32(large + 4);
        if (size < 16) return false;
    } else if (size == 0) {
        box.end = limit;
        return true;
    } else if (size < 8) {
        return false;
    }
    if (size > limit - box.start) return false;  // runs past its parent
    box.end = box.start + size;
    return true;
}

// Calls `each(type, payload, size)` for every box inside the payload of one
// in memory, until it returns false.
template <typename Each>
void ForEachBox(const uint8_t* data, size_t size, Each&& each) {
    BoxCursor c(data, size);
    for (int n = 0; n < kMaxBoxes && c.left() >= 8; ++n) {
        const uint8_t* start = c.here();
        const size_t left = c.left();
        uint64_t boxSize = c.Get(4);
        c.Skip(4);
        if (boxSize == 1) boxSize = c.Get(8);
        if (boxSize == 0) boxSize = left;
        const size_t header = static_cast<size_t>(c.here() - start);
        if (!c.ok() || boxSize < header || boxSize > left) return;
        if (!each(start + 4, c.here(), static_cast<size_t>(boxSize) - header)) return;
        c.Skip(boxSize - header);
    }
}

// Where the Exif item of a HEIF meta box keeps its bytes.
struct ItemExtent {
    bool inIdat = false;  // inside the meta box's idat, not at a file offset
    uint64_t offset = 0;
    uint64_t length = 0;  // 0: to the end of the file
};

// The first Exif item listed in iinf.
bool ExifItemId(const uint8_t* iinf, size_t size, uint32_t& id) {
    BoxCursor c(iinf, size);
    const uint64_t version = c.Get(1);
    c.Skip(3);
    c.Skip(version == 0 ? 2 : 4);  // entry count: the boxes themselves tell
    if (!c.ok()) return false;
    bool found = false;
    ForEachBox(c.here(), c.left(), [&](const uint8_t* type, const uint8_t* data, size_t length) {
        if (!Is(type, "infe")) return true;
        BoxCursor e(data, length);
        const uint64_t v = e.Get(1);
        e.Skip(3);
        // Versions 0 and 1 name no item type.
        if (v < 2) return true;
        const uint64_t item = e.Get(v == 2 ? 2 : 4);
        e.Skip(2);  // protection index
        if (e.ok() && e.left() >= 4 && Is(e.here(), "Exif")) {
            id = static_cast<uint32_t>(item);
            found = true;
        }
        return !found;
    });
    return found;
}

// The first extent of item `id` in iloc.
bool ItemLocation(const uint8_t* iloc, size_t size, uint32_t id, ItemExtent& out) {
    BoxCursor c(iloc, size);
    const uint64_t version = c.Get(1);
    c.Skip(3);
    const uint64_t sizes = c.Get(2);
    const int offsetSize = static_cast<int>(sizes >> 12 & 15), lengthSize = static_cast<int>(sizes >> 8 & 15);
    const int baseSize = static_cast<int>(sizes >> 4 & 15);
    const int indexSize = version >= 1 ? static_cast<int>(sizes & 15) : 0;
    for (int s : {offsetSize, lengthSize, baseSize, indexSize})
        if (s != 0 && s != 4 && s != 8) return false;
    if (version > 2 || !c.ok()) return false;
    const uint64_t items = c.Get(version < 2 ? 2 : 4);
    // Every item takes bytes, so a count beyond them ends with the data.
    for (uint64_t i = 0; i < items && c.ok(); ++i) {
        const uint64_t item = c.Get(version < 2 ? 2 : 4);
        const uint64_t method = version >= 1 ? c.Get(2) & 15 : 0;
        const uint64_t dataReference = c.Get(2);
        const uint64_t base = c.Get(baseSize);
        const uint64_t extents = c.Get(2);
        if (extents == 0) continue;
        c.Get(indexSize);
        const uint64_t offset = c.Get(offsetSize);
        const uint64_t length = c.Get(lengthSize);
        c.Skip((extents - 1) * static_cast<uint64_t>(indexSize + offsetSize + lengthSize));
        if (!c.ok()) return false;
        if (item != id) continue;
        // Writers keep the Exif item in one piece, in this file or its idat.
        if (dataReference != 0 || method > 1 || base > UINT64_MAX - offset) return false;
        out.inIdat = method == 1;
        out.offset = base + offset;
        out.length = length;
        return true;
    }
    return false;
}

// What a meta box holds of the Exif item: its bytes when they are inside
// the box (idat), else where in the file they are.
struct MetaExif {
    bool located = false;
    ItemExtent extent;
    std::vector<uint8_t> bytes;  // when inside the box
};

MetaExif ParseMeta(const std::vector<uint8_t>& meta) {
    MetaExif out;
    // ISO meta is a full box; QuickTime's is not, and starts with its hdlr.
    const size_t skip = meta.size() >= 8 && Is(meta.data() + 4, "hdlr") ? 0 : 4;
    if (meta.size() < skip) return out;
    const uint8_t *iinf = nullptr, *iloc = nullptr, *idat = nullptr;
    size_t iinfSize = 0, ilocSize = 0, idatSize = 0;
    ForEachBox(meta.data() + skip, meta.size() - skip, [&](const uint8_t* type, const uint8_t* data, size_t size) {
        if (Is(type, "iinf") && !iinf) iinf = data, iinfSize = size;
        if (Is(type, "iloc") && !iloc) iloc = data, ilocSize = size;
        if (Is(type, "idat") && !idat) idat = data, idatSize = size;
        return true;
    });
    uint32_t id = 0;
    if (!iinf || !iloc || !ExifItemId(iinf, iinfSize, id) || !ItemLocation(iloc, ilocSize, id, out.extent))
        return out;
    out.located = true;
    if (out.extent.inIdat) {
        if (!idat || out.extent.offset > idatSize) return MetaExif{};
        const uint64_t length = out.extent.length ? out.extent.length : idatSize - out.extent.offset;
        if (length > idatSize - out.extent.offset) return MetaExif{};
        out.bytes.assign(idat + out.extent.offset, idat + out.extent.offset + length);
    }
    return out;
}

// The Exif item starts with the offset of the TIFF header behind it.
bool ExifItem(std::vector<uint8_t> item, CDateTaken& out) {
    if (item.size() < 4) return false;
    const uint64_t start = 4 + static_cast<uint64_t>(Be32(item.data()));
    return start <= item.size() && ExifBlock(std::move(item), static_cast<size_t>(start), out);
}

// creation_time of an mvhd box of `size` bytes after its header: seconds
// since 1904 in UTC, 0 when not set.
bool ReadMovieHeader(CBoundedReader& r, uint64_t size, CDateTaken& out) {
    uint8_t h[12];
    if (size < 8 || !r.Read(h, 4)) return false;
    const bool wide = h[0] == 1;
    if ((wide && size < 12) || !r.Read(h + 4, wide ? 8 : 4)) return false;
    const uint64_t created = wide ? static_cast<uint64_t>(Be32(h + 4)) << 32 | Be32(h + 8) : Be32(h + 4);
    if (created == 0 || created > static_cast<uint64_t>(kLastSecond + kSeconds1904To1970)) return false;
    CDateTaken video;
    video.source = CDateTaken::Source::kVideoHeader;
    video.utcInstant = true;
    video.instant = static_cast<int64_t>(created) - kSeconds1904To1970;
    if (!platform::ToLocalTime(video.instant, video.wallClock)) return false;
    video.found = true;
    out = video;
    return true;
}

CDateTaken ScanIsoMedia(CBoundedReader& r) {
    CDateTaken picture, video;
    MetaExif pending;       // an Exif item still ahead in the file
    bool inFile = false;    // pending.extent is a file offset
    uint64_t metaStart = 0;  // of the meta payload, kept in `meta`
    std::vector<uint8_t> meta;
    int boxes = 0;
    Box box;
    while (++boxes <= kMaxBoxes && ReadBoxHeader(r, UINT64_MAX, box)) {
        if (Is(box.type, "meta") && !pending.located) {
            const uint64_t size = box.end - r.pos();
            if (box.end == UINT64_MAX || size > kMaxMetaBytes) break;
            metaStart = r.pos();
            if (!r.Read(meta, static_cast<size_t>(size))) break;
            pending = ParseMeta(meta);
            if (pending.located && pending.extent.inIdat) {
                if (ExifItem(std::move(pending.bytes), picture)) return picture;
            } else if (pending.located) {
                // Some writers put the item inside the meta box itself.
                const ItemExtent& e = pending.extent;
                const uint64_t inside = e.offset - metaStart;
                if (e.offset >= metaStart && inside <= meta.size() &&
                    (e.length ? e.length : 1) <= meta.size() - inside) {
                    const auto* at = meta.data() + inside;
                    const uint64_t length = e.length ? e.length : meta.size() - inside;
                    if (ExifItem(std::vector<uint8_t>(at, at + length), picture)) return picture;
                } else {
                    inFile = e.offset >= r.pos();
                }
            }
        } else if (Is(box.type, "moov") && !video.found) {
            Box child;
            for (int n = 0; n < kMaxBoxes && ReadBoxHeader(r, box.end, child); ++n) {
                if (Is(child.type, "mvhd")) {
                    ReadMovieHeader(r, child.end - r.pos(), video);
                    break;
                }
                if (child.end == box.end || !r.SkipTo(child.end)) break;
            }
            if (video.found && !inFile) return video;
        } else if (inFile && pending.extent.offset < box.end) {
            const ItemExtent& e = pending.extent;
            inFile = false;
            const uint64_t length = std::min<uint64_t>(e.length ? e.length : kMaxBlockBytes, kMaxBlockBytes);
            std::vector<uint8_t> item(static_cast<size_t>(length));
            if (!r.SkipTo(e.offset)) break;
            item.resize(r.ReadUpTo(item.data(), item.size()));
            if (ExifItem(std::move(item), picture)) return picture;
            if (video.found) return video;
        }
        if (box.end == UINT64_MAX || !r.SkipTo(box.end)) break;
    }
    return video;
}

// QuickTime files from before ftyp start with one of these boxes.
bool IsIsoMedia(const uint8_t* head, size_t size) {
    if (size < 8) return false;
    for (const char* type : {"ftyp", "moov", "mdat", "wide", "free", "skip", "pnot"})
        if (Is(head + 4, type)) return true;
    return false;
}

}  // namespace

CDateTaken ScanDateTaken(platform::IReadStream& in) {
    CBoundedReader r(in, kMaxReadBytes);
    const uint8_t* h = r.head();
    const size_t n = r.headSize();
    if (n >= 3 && h[0] == 0xFF && h[1] == 0xD8 && h[2] == 0xFF) return ScanJpeg(r);
    if (n >= 4 && ((h[0] == 'I' && h[1] == 'I') || (h[0] == 'M' && h[1] == 'M'))) return ScanTiff(r);
    if (n >= 8 && std::memcmp(h, "\x89PNG\r\n\x1a\n", 8) == 0) return ScanPng(r);
    if (n >= 12 && Is(h, "RIFF") && Is(h + 8, "WEBP")) return ScanWebp(r);
    if (IsIsoMedia(h, n)) return ScanIsoMedia(r);
    return CDateTaken{};
}

CDateTaken ScanDateTaken(const uint8_t* data, size_t size) {
    CMemoryStream in(data, size);
    return ScanDateTaken(in);
}

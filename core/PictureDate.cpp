#include "core/PictureDate.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <vector>

#include "core/PictureInfo.h"
#include "core/BoundedReader.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"

namespace {

// Kept in the scan result for diagnosis; never shown to the user.
constexpr char kNotJpeg[] = "Not a jpeg file";
constexpr char kTooManySections[] = "Too many sections in jpg file";
constexpr char kTooManyPadding[] = "too many padding unsigned chars";
constexpr char kInvalidMarker[] = "invalid marker";
constexpr char kNoMemory[] = "Could not allocate memory";
constexpr char kPrematureEnd[] = "Premature end of file?";
constexpr char kNoImage[] = "No image in jpeg!";
constexpr char kBadExifHeader[] = "Incorrect Exif header";
constexpr char kBadAlignment[] = "Invalid Exif alignment marker.";
constexpr char kBadExifStart[] = "Invalid Exif start (1)";
constexpr char kSuspiciousFirstOffset[] = "Suspicious offset of first IFD value";
constexpr char kBadDirectorySize[] = "Illegally sized directory";
constexpr char kBadFormat[] = "Illegal format code in EXIF dir";
constexpr char kBadPointer[] = "Illegal pointer offset value in EXIF.";
constexpr char kBadSubdirectoryLink[] = "Illegal subdirectory link";

constexpr int kMaxSections = 20;
constexpr int kMaxPadding = 6;
constexpr size_t kMaxDateChars = 19;
// Real files nest three deep (main, EXIF, interoperability directory); the
// limit only keeps a hostile file from recursing through distinct offsets.
constexpr int kMaxDirectoryDepth = 16;

constexpr uint8_t kMarkerImageEnd = 0xD9;
constexpr uint8_t kMarkerScanStart = 0xDA;
constexpr uint8_t kMarkerApp0 = 0xE0;
constexpr uint8_t kMarkerApp1 = 0xE1;
constexpr uint8_t kMarkerComment = 0xFE;

constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kTagInteropDirectory = 0xA005;

// Bytes per component of the TIFF formats 1-12.
constexpr uint64_t kFormatSizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

// One TIFF block: every offset in it counts from its first byte, and every
// read is checked against its length before it happens.
class ExifBlock {
public:
    ExifBlock(const uint8_t* tiff, size_t length, bool bigEndian, CPictureScan& scan)
        : tiff_(tiff), length_(length), bigEndian_(bigEndian), scan_(scan), visited_(length, false) {}

    bool Walk(uint32_t offset, int depth);

private:
    uint16_t Get16(size_t pos) const {
        const uint8_t* p = tiff_ + pos;
        return bigEndian_ ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
    }
    uint32_t Get32(size_t pos) const {
        const uint8_t* p = tiff_ + pos;
        if (bigEndian_)
            return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
                   static_cast<uint32_t>(p[2]) << 8 | p[3];
        return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 |
               static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
    bool Fail(const char* text) {
        scan_.error = text;
        return false;
    }
    void CopyDate(size_t pos, uint64_t size) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(size, kMaxDateChars));
        const auto* text = reinterpret_cast<const char*>(tiff_ + pos);
        scan_.dateTime.assign(text, std::find(text, text + n, '\0'));
    }

    const uint8_t* tiff_;
    size_t length_;
    bool bigEndian_;
    CPictureScan& scan_;
    std::vector<bool> visited_;
};

bool ExifBlock::Walk(uint32_t offset, int depth) {
    if (depth > kMaxDirectoryDepth) return true;
    for (;;) {
        if (static_cast<uint64_t>(offset) + 2 > length_) return Fail(kBadDirectorySize);
        // A directory already walked has given all it has; going round again
        // would never end.
        if (visited_[offset]) return true;
        visited_[offset] = true;

        const uint64_t entriesEnd = static_cast<uint64_t>(offset) + 2 + 12 * static_cast<uint64_t>(Get16(offset));
        if (entriesEnd > length_) return Fail(kBadDirectorySize);
        for (size_t entry = offset + 2; entry < entriesEnd; entry += 12) {
            const uint16_t tag = Get16(entry);
            const uint16_t format = Get16(entry + 2);
            if (format < 1 || format > 12) return Fail(kBadFormat);
            const uint64_t byteCount = static_cast<uint64_t>(Get32(entry + 4)) * kFormatSizes[format];
            size_t value = entry + 8;
            if (byteCount > 4) {
                const uint32_t at = Get32(entry + 8);
                if (static_cast<uint64_t>(at) + byteCount > length_) return Fail(kBadPointer);
                value = at;
            }
            if (tag == kTagDateTimeOriginal) {
                CopyDate(value, byteCount);
            } else if (tag == kTagExifDirectory || tag == kTagInteropDirectory) {
                // Four bytes are there either way: the entry's own value field
                // or a range already checked to hold more than four.
                const uint32_t sub = Get32(value);
                if (sub >= length_) return Fail(kBadSubdirectoryLink);
                if (!Walk(sub, depth + 1)) return false;
            }
        }

        // The link to the next directory is 32 bits like every TIFF offset.
        // A block that ends before it simply has no next directory.
        if (entriesEnd + 4 > length_) return true;
        const uint32_t next = Get32(static_cast<size_t>(entriesEnd));
        if (next == 0) return true;
        if (depth == 0) {
            // After the main directory comes the thumbnail's (IFD1). What it
            // holds is not the photo's, so a damaged one, or a link to it
            // that leads nowhere, ends the walk with what the main directory
            // and its sub-directories gave, as readers of such files do.
            const std::string error = scan_.error;
            if (next >= length_ || !Walk(next, depth + 1)) scan_.error = error;
            return true;
        }
        if (next >= length_) return Fail(kBadSubdirectoryLink);
        offset = next;
    }
}

// `data` is an APP1 section after its length bytes.
bool ReadExif(const uint8_t* data, size_t size, CPictureScan& scan) {
    auto fail = [&scan](const char* text) {
        scan.error = text;
        return false;
    };
    if (size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) return fail(kBadExifHeader);
    if (size < 8) return fail(kBadAlignment);
    bool bigEndian;
    if (data[6] == 'I' && data[7] == 'I')
        bigEndian = false;
    else if (data[6] == 'M' && data[7] == 'M')
        bigEndian = true;
    else
        return fail(kBadAlignment);
    const uint8_t* tiff = data + 6;
    const size_t length = size - 6;
    auto get16 = [&](size_t pos) {
        return bigEndian ? tiff[pos] << 8 | tiff[pos + 1] : tiff[pos + 1] << 8 | tiff[pos];
    };
    if (length < 4 || get16(2) != 42) return fail(kBadExifStart);
    if (length < 8) return fail(kSuspiciousFirstOffset);
    const uint32_t first =
        bigEndian ? static_cast<uint32_t>(get16(4)) << 16 | get16(6) : static_cast<uint32_t>(get16(6)) << 16 | get16(4);
    if (first < 8 || first > 16) return fail(kSuspiciousFirstOffset);
    // Read where the header says: a writer that leaves a gap after the header
    // would otherwise have its gap read as a directory.
    ExifBlock block(tiff, length, bigEndian, scan);
    return block.Walk(first, 0);
}

// Like one "%d" of scanf: white space, an optional sign, at least one digit.
bool ScanNumber(const std::string& s, size_t& pos, int& out) {
    while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    const size_t first = pos;
    long value = 0;
    for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos)
        if (value < 1000000) value = value * 10 + (s[pos] - '0');  // large enough to be refused later
    if (pos == first) return false;
    out = static_cast<int>(negative ? -value : value);
    return true;
}

}  // namespace

CPictureScan ScanPicture(platform::IReadStream& in) {
    CPictureScan scan;
    auto fail = [&scan](const char* text) {
        scan.error = text;
        scan.exifRead = false;
        return scan;
    };
    uint8_t start[2];
    if (in.Read(start, 2) != 2 || start[0] != 0xFF || start[1] != 0xD8) return fail(kNotJpeg);

    int sections = 0;
    bool haveComment = false;
    bool exifRead = false;
    std::vector<uint8_t> body;
    for (;;) {
        if (sections >= kMaxSections) return fail(kTooManySections);
        uint8_t marker = 0;
        for (int padding = 0;;) {
            if (in.Read(&marker, 1) != 1) return fail(kPrematureEnd);
            if (marker != 0xFF) break;
            if (++padding > kMaxPadding) return fail(kTooManyPadding);
        }
        // Neither marker has a length of its own, so they are handled before
        // one is read: the scan needs nothing from the image data itself.
        if (marker == kMarkerImageEnd) return fail(kNoImage);
        if (marker == kMarkerScanStart) {
            scan.exifRead = exifRead;
            return scan;
        }
        uint8_t lengthBytes[2];
        if (in.Read(lengthBytes, 2) != 2) return fail(kPrematureEnd);
        const size_t length = static_cast<size_t>(lengthBytes[0]) << 8 | lengthBytes[1];
        if (length < 2) return fail(kInvalidMarker);
        try {
            body.resize(length - 2);
        } catch (const std::bad_alloc&) {
            return fail(kNoMemory);
        }
        if (in.Read(body.data(), body.size()) != body.size()) return fail(kPrematureEnd);

        switch (marker) {
            case kMarkerApp0:
                break;
            case kMarkerApp1:
                // APP1 also carries XMP; only an EXIF block counts as a section.
                if (body.size() >= 4 && std::memcmp(body.data(), "Exif", 4) == 0) {
                    exifRead = ReadExif(body.data(), body.size(), scan);
                    ++sections;
                }
                break;
            case kMarkerComment:
                if (!haveComment) ++sections;
                haveComment = true;
                break;
            default:  // frame headers (image size), tables and other application data
                ++sections;
                break;
        }
    }
}

CPictureScan ScanPicture(const uint8_t* data, size_t size) {
    CMemoryStream in(data, size);
    return ScanPicture(in);
}

bool ParsePictureDate(const std::string& text, std::tm& out) {
    int fields[6];
    size_t pos = 0;
    for (int i = 0; i < 6; ++i) {
        // The pattern is "%d:%d:%d %d:%d:%d"; %d skips white space itself, so
        // only the colons have to be matched here.
        if ((i == 1 || i == 2 || i == 4 || i == 5) && (pos >= text.size() || text[pos++] != ':')) return false;
        if (!ScanNumber(text, pos, fields[i])) return false;
    }
    std::tm t{};
    t.tm_year = fields[0] - 1900;
    t.tm_mon = fields[1] - 1;
    t.tm_mday = fields[2];
    t.tm_hour = fields[3];
    t.tm_min = fields[4];
    t.tm_sec = fields[5];
    t.tm_isdst = -1;
    if (!platform::IsValidCalendarTime(t)) return false;
    out = t;
    return true;
}

bool HasPictureInfo(const CFileDescriptor& fd, platform::IFileSystem& fs) {
    auto& info = fd.pictureInfo();
    if (info && info->exifRead) return true;
    uint32_t error = 0;
    const auto in = fs.OpenRead(fd.path(), error);
    if (!in) return false;
    const CPictureScan scan = ScanPicture(*in);
    if (!scan.exifRead) return false;
    if (!info) info = std::make_unique<CPictureInfo>();
    info->dateTime = scan.dateTime;
    info->exifRead = true;
    return true;
}

bool PictureDateTime(const CFileDescriptor& fd, std::tm& out) {
    const auto& info = fd.pictureInfo();
    return info && info->exifRead && ParsePictureDate(info->dateTime, out);
}

const CDateTaken& DateTakenOf(const CFileDescriptor& fd, platform::IFileSystem& fs) {
    auto& info = fd.pictureInfo();
    if (!info) info = std::make_unique<CPictureInfo>();
    if (!info->takenRead) {
        // A file without a date is not read again: a preview asks on every
        // keystroke, and most files of a folder of documents have none.
        uint32_t error = 0;
        if (const auto in = fs.OpenRead(fd.path(), error)) info->taken = ScanDateTaken(*in);
        info->takenRead = true;
    }
    return info->taken;
}

bool DateTakenTime(const CDateTaken& taken, int64_t& seconds) {
    if (!taken.found) return false;
    if (taken.utcInstant || taken.hasOffset) {
        seconds = taken.instant;
        return true;
    }
    return platform::FromLocalTime(taken.wallClock, seconds);
}

int64_t PictureDate(const CFileDescriptor& fd) {
    std::tm local;
    int64_t seconds = 0;
    if (!PictureDateTime(fd, local) || !platform::FromLocalTime(local, seconds)) return 0;
    return seconds;
}

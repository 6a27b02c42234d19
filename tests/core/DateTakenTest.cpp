#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/BoundedReader.h"
#include "core/DateTaken.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Bytes.h"
#include "tests/support/TempDir.h"

namespace {

using namespace testing_support;
using namespace std::string_literals;
using Source = CDateTaken::Source;

CDateTaken Scan(const std::string& bytes) {
    return ScanDateTaken(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
std::string Text(const std::tm& t) {
    char out[64];
    std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return out;
}
bool UtcZone() {
    std::tm t{};
    return platform::ToLocalTime(0, t) && t.tm_hour == 0 && platform::ToLocalTime(15552000, t) && t.tm_hour == 0;
}
std::string Fixture(const std::string& name) { return FixtureBytes("media", name); }

std::string FullBox(const std::string& type, int version, const std::string& payload) {
    return Box(type, Be(static_cast<uint64_t>(version) << 24, 4) + payload);
}
std::string Mvhd(int version, uint64_t created) {
    return FullBox("mvhd", version, Be(created, version ? 8 : 4) + std::string(88, '\0'));
}
const std::string kFtyp = Box("ftyp", "isom"s + Be(0, 4) + "isom");
constexpr uint64_t kCreated = 3765772800;  // 2023-05-01 08:00:00 UTC, in seconds since 1904
constexpr int64_t kInstant = 1682928000;   // the same since 1970

// The dates DateTimeOriginal, DateTimeDigitized, DateTime and their offsets,
// empty ones left out, all in the EXIF directory.
std::string DatesTiff(const std::array<std::string, 6>& texts) {
    static constexpr uint16_t kTags[6] = {0x9003, 0x9004, 0x0132, 0x9011, 0x9012, 0x9010};
    TiffBuilder t(false);
    const uint32_t ifd0 = t.Directory({{0x8769, kLong, 1, 0}});
    std::vector<ExifEntry> entries;
    for (int i = 0; i < 6; ++i)
        if (!texts[i].empty()) entries.push_back({kTags[i], kAscii, static_cast<uint32_t>(texts[i].size() + 1), 0});
    const uint32_t exif = t.Directory(entries);
    t.Set32(TiffBuilder::ValueField(ifd0, 0), exif);
    for (int i = 0, n = 0; i < 6; ++i)
        if (!texts[i].empty()) t.Set32(TiffBuilder::ValueField(exif, n++), t.Data(texts[i] + '\0'));
    return t.bytes;
}
constexpr uint32_t kExifDir = 8 + 2 + 12 + 4;
std::string Jpeg(const std::string& tiff) { return JpegBuilder().Exif(tiff).Tables().Build(); }

// A HEIF file whose Exif item lies in the meta box's idat or in mdat, where
// iloc says; `at` moves it.
std::string Heif(const std::string& tiff, int ilocVersion, bool inIdat, int64_t at = 0) {
    const std::string item = Be(6, 4) + "Exif\0\0"s + tiff;
    const std::string iinf = FullBox("iinf", 0, Be(1, 2) + FullBox("infe", 2, Be(1, 2) + Be(0, 2) + "Exif"));
    const std::string hdlr = FullBox("hdlr", 0, Be(0, 4) + "pict" + std::string(13, '\0'));
    auto iloc = [&](uint64_t offset) {
        const int count = ilocVersion < 2 ? 2 : 4;
        return FullBox("iloc", ilocVersion,
                       Be(0x4400, 2) + Be(1, count) + Be(1, count) + (ilocVersion ? Be(inIdat, 2) : "") + Be(0, 2) +
                           Be(1, 2) + Be(offset, 4) + Be(item.size(), 4));
    };
    if (inIdat) return kFtyp + FullBox("meta", 0, hdlr + iinf + iloc(at) + Box("idat", item));
    const std::string meta = FullBox("meta", 0, hdlr + iinf + iloc(0));
    const uint64_t start = kFtyp.size() + meta.size() + 8 + 16;
    return kFtyp + FullBox("meta", 0, hdlr + iinf + iloc(start + at)) + Box("mdat", std::string(16, 'x') + item);
}
std::string Png(const std::string& chunks) {
    return "\x89PNG\r\n\x1a\n"s + Be(13, 4) + "IHDR" + std::string(17, '\0') + chunks + Be(0, 4) + "IEND" + Be(0, 4);
}
std::string Chunk(const std::string& type, const std::string& data) { return Be(data.size(), 4) + type + data + "crc!"; }
const std::string kIdat = Chunk("IDAT", "pixels");

TEST(DateTaken, FixturesReadAsExiftoolReadsThem) {
    // The dates scripts/make-media-fixtures.sh wrote and exiftool read back
    // (tests/fixtures/media/exiftool.txt); clocks of UTC instants in UTC.
    struct Case {
        const char* file;
        Source source;
        const char* clock;
        std::optional<int> offset;
        int64_t instant;
    };
    const Case cases[] = {
        {"jpeg-original.jpg", Source::kDateTimeOriginal, "2023-05-01 10:00:00", 120, kInstant},
        {"jpeg-digitized.jpg", Source::kDateTimeDigitized, "2022-06-02 11:30:00", -330, 1654189200},
        {"jpeg-modified.jpg", Source::kDateTime, "2021-07-03 12:45:30", {}, 0},
        {"jpeg-no-date.jpg", Source::kNone, "", {}, 0},
        {"tiff-le.tif", Source::kDateTimeOriginal, "2023-05-01 10:00:00", {}, 0},
        {"tiff-be.tif", Source::kDateTime, "2021-07-03 12:45:30", 540, 1625283930},
        {"png-exif.png", Source::kDateTimeOriginal, "2023-05-01 10:00:00", {}, 0},
        {"png-text.png", Source::kPngText, "2023-05-01 08:00:00", 120, kInstant},
        {"png-rfc1123.png", Source::kPngText, "2023-05-01 08:00:00", 0, kInstant},
        {"png-itxt.png", Source::kPngText, "2023-05-01 10:00:00", {}, 0},
        {"png-no-date.png", Source::kNone, "", {}, 0},
        {"webp-exif.webp", Source::kDateTimeOriginal, "2023-05-01 10:00:00", 120, kInstant},
        {"heic-exif.heic", Source::kDateTimeOriginal, "2023-05-01 10:00:00", 120, kInstant},
        {"avif-exif.avif", Source::kDateTimeDigitized, "2022-06-02 11:30:00", {}, 0},
        {"mp4-v0.mp4", Source::kVideoHeader, "2023-05-01 08:00:00", {}, kInstant},
        {"mov-v1-moov-last.mov", Source::kVideoHeader, "2023-05-01 08:00:00", {}, kInstant},
        {"mp4-largesize.mp4", Source::kVideoHeader, "2023-05-01 08:00:00", {}, kInstant},
        {"m4v-open-mdat.m4v", Source::kVideoHeader, "2023-05-01 08:00:00", {}, kInstant},
        {"3gp-no-date.3gp", Source::kNone, "", {}, 0},
    };
    for (const auto& c : cases) {
        const std::string bytes = Fixture(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file;
        const CDateTaken d = Scan(bytes);
        EXPECT_EQ(d.found, c.source != Source::kNone) << c.file;
        EXPECT_EQ(d.source, c.source) << c.file;
        EXPECT_EQ(d.hasOffset ? std::optional<int>(d.offsetMinutes) : std::nullopt, c.offset) << c.file;
        EXPECT_EQ(d.instant, c.instant) << c.file;
        if (d.found && (!d.utcInstant || UtcZone())) {
            EXPECT_EQ(Text(d.wallClock), c.clock) << c.file;
        }

        // A file cut short has lost dates, never gained one: what it gives
        // is a date the whole file gives second to the best, or the same.
        for (size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 8) {
            const CDateTaken part = Scan(bytes.substr(0, cut));
            if (!part.found) continue;
            EXPECT_TRUE(d.found && part.source >= d.source) << c.file << " cut at " << cut;
            if (part.source == d.source) {
                EXPECT_EQ(Text(part.wallClock), Text(d.wallClock)) << c.file << " cut at " << cut;
            }
        }
    }
}

TEST(DateTaken, ExifDatesInOrderWithTheirOwnOffset) {
    const std::string kOriginal = "2023:05:01 10:00:00", kDigitized = "2022:06:02 11:30:00";
    const std::string kModified = "2021:07:03 12:45:30";
    struct Case {
        const char* what;
        std::string tiff;
        Source source;
        const char* clock;
        std::optional<int> offset;
    };
    TiffBuilder patch(false);
    patch.bytes = DatesTiff({kOriginal, kDigitized, "", "+02:00", "", ""});
    patch.Set32(TiffBuilder::ValueField(kExifDir, 0), 0xFFFFFFF0);
    const Case cases[] = {
        {"all three", DatesTiff({kOriginal, kDigitized, kModified, "+02:00", "-05:00", "+09:00"}),
         Source::kDateTimeOriginal, "2023-05-01 10:00:00", 120},
        {"month 0", DatesTiff({"2023:00:01 10:00:00", kDigitized, kModified, "+02:00", "", "+09:00"}),
         Source::kDateTimeDigitized, "2022-06-02 11:30:00", {}},
        {"31 April, all zeros", DatesTiff({"2023:04:31 10:00:00", "0000:00:00 00:00:00", kModified, "", "", "-03:30"}),
         Source::kDateTime, "2021-07-03 12:45:30", -210},
        {"blank text", DatesTiff({"    :  :     :  :  ", "", kModified, "", "", ""}), Source::kDateTime,
         "2021-07-03 12:45:30", {}},
        {"unreadable offset", DatesTiff({kOriginal, "", "", "+2:00", "", ""}), Source::kDateTimeOriginal,
         "2023-05-01 10:00:00", {}},
        {"offset past the end", patch.bytes, Source::kDateTimeDigitized, "2022-06-02 11:30:00", {}},
        {"none usable", DatesTiff({"", "2022:13:01 00:00:00", "", "+02:00", "", ""}), Source::kNone, "", {}},
    };
    for (const auto& c : cases) {
        for (const std::string& file : {Jpeg(c.tiff), c.tiff}) {
            const CDateTaken d = Scan(file);
            EXPECT_EQ(d.source, c.source) << c.what;
            EXPECT_EQ(d.hasOffset ? std::optional<int>(d.offsetMinutes) : std::nullopt, c.offset) << c.what;
            if (!d.found) continue;
            // The clock stays as the camera wrote it; the offset only fixes the instant.
            EXPECT_EQ(Text(d.wallClock), c.clock) << c.what;
            EXPECT_FALSE(d.utcInstant) << c.what;
            std::tm utc{};
            if (c.offset && platform::ToLocalTime(d.instant + *c.offset * 60, utc) && UtcZone()) {
                EXPECT_EQ(Text(utc), c.clock) << c.what;
            }
        }
    }
}

TEST(DateTaken, ContainersAndTextForms) {
    const std::string tiff = DatesTiff({"2023:05:01 10:00:00", "", "", "", "", ""});
    struct Case {
        const char* what;
        std::string file;
        const char* clock;  // empty: no date
        std::optional<int> zone;
    };
    const Case cases[] = {
        {"HEIF, iloc 0, mdat", Heif(tiff, 0, false), "2023-05-01 10:00:00", {}},
        {"HEIF, iloc 1, idat", Heif(tiff, 1, true), "2023-05-01 10:00:00", {}},
        {"HEIF, iloc 2, mdat", Heif(tiff, 2, false), "2023-05-01 10:00:00", {}},
        {"HEIF, item past the end", Heif(tiff, 1, false, 1000), "", {}},
        {"HEIF, item past the idat", Heif(tiff, 1, true, 4), "", {}},
        {"raw TIFF variant (ORF)", "IIRO" + tiff.substr(4), "2023-05-01 10:00:00", {}},
        {"WebP, odd chunk, Exif prefix",
         "RIFF" + Le(4 + 10 + 14 + tiff.size(), 4) + "WEBPVP8 " + Le(1, 4) + "x\0"s + "EXIF" + Le(6 + tiff.size(), 4) +
             "Exif\0\0"s + tiff,
         "2023-05-01 10:00:00", {}},
        {"PNG eXIf over text", Png(Chunk("tEXt", "Creation Time\0"s + "2001:01:01 00:00:00") + Chunk("eXIf", tiff) + kIdat),
         "2023-05-01 10:00:00", {}},
        {"PNG text after the image", Png(kIdat + Chunk("tEXt", "Creation Time\0"s + "2023-05-01 10:00")),
         "2023-05-01 10:00:00", {}},
        {"ISO 8601 zoned", Png(Chunk("tEXt", "Creation Time\0"s + "2023-05-01T10:00:00.250-04:00")),
         "2023-05-01 14:00:00", -240},
        {"RFC 1123 with a named zone", Png(Chunk("tEXt", "Creation Time\0"s + "Mon, 1 May 2023 06:00:00 EDT")),
         "2023-05-01 10:00:00", -240},
        {"RFC 1123 numeric zone", Png(Chunk("tEXt", "Creation Time\0"s + "01 May 2023 12:00 +0200")),
         "2023-05-01 10:00:00", 120},
        {"compressed iTXt", Png(Chunk("iTXt", "Creation Time\0\1\0\0\0"s + "2023-05-01T10:00:00")), "", {}},
        {"29 February 2023", Png(Chunk("tEXt", "Creation Time\0"s + "2023-02-29 10:00:00")), "", {}},
        {"zone out of range", Png(Chunk("tEXt", "Creation Time\0"s + "2023-05-01 10:00:00+25:00")), "", {}},
        {"other keyword", Png(Chunk("tEXt", "Creation Timer\0"s + "2023-05-01 10:00:00")), "", {}},
    };
    for (const auto& c : cases) {
        const CDateTaken d = Scan(c.file);
        EXPECT_EQ(d.found, *c.clock != '\0') << c.what;
        EXPECT_EQ(d.hasOffset ? std::optional<int>(d.offsetMinutes) : std::nullopt, c.zone) << c.what;
        if (d.found && (!d.utcInstant || UtcZone())) {
            EXPECT_EQ(Text(d.wallClock), c.clock) << c.what;
        }
    }
}

TEST(DateTaken, DamagedAndBounded) {
    const std::string moov = Box("moov", Mvhd(1, kCreated));
    const std::string tiff = DatesTiff({"2023:05:01 10:00:00", "", "", "", "", ""});
    std::string selfLoop = tiff;  // the main directory's EXIF link leads back to it
    selfLoop[8 + 2 + 8] = 8;
    struct Case {
        const char* what;
        std::string file;
        bool found;
    };
    const Case cases[] = {
        {"moov running past the end, mvhd whole", kFtyp + Be(4096, 4) + moov.substr(4), true},
        {"mvhd cut in its creation time", kFtyp + moov.substr(0, 8 + 8 + 6), false},
        {"mvhd too short for its version", kFtyp + Box("moov", Box("mvhd", Be(1u << 24, 4) + Be(kCreated, 4))), false},
        {"creation time 0", kFtyp + Box("moov", Mvhd(1, 0)), false},
        {"creation time past 9999", kFtyp + Box("moov", Mvhd(1, 1ull << 62)), false},
        {"box past the end ahead of moov", kFtyp + Be(100000, 4) + "free" + moov, false},
        {"size-0 moov to the end", kFtyp + Be(0, 4) + moov.substr(4), true},
        {"size-0 mdat ahead of moov", kFtyp + Be(0, 4) + "mdat" + moov, false},
        {"largesize ahead of moov", kFtyp + Be(1, 4) + "free" + Be(20, 8) + "abcd" + moov, true},
        {"largesize below its header", kFtyp + Be(1, 4) + "free" + Be(12, 8) + moov, false},
        {"size below a header", kFtyp + Be(4, 4) + "free" + moov, false},
        {"child box past its parent, then a good moov", kFtyp + Box("moov", Be(200, 4) + "trak") + moov, true},
        {"moov behind 3 MiB", kFtyp + Box("mdat", std::string(3 << 20, '\0')) + moov, true},
        {"moov behind 5 MiB, passed over", kFtyp + Box("mdat", std::string(5 << 20, '\0')) + moov, true},
        {"meta past the end", kFtyp + Be(4096, 4) + Heif(tiff, 1, true).substr(kFtyp.size() + 4), false},
        {"main directory linking to itself", Jpeg(selfLoop), false},
        {"no date at all", "Just some text, no picture or video.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Scan(c.file).found, c.found) << c.what;

    // A stream that cannot move on is read instead, within the budget.
    class Unskippable final : public platform::IReadStream {
    public:
        explicit Unskippable(const std::string& bytes)
            : in_(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}
        size_t Read(void* buffer, size_t size) override { return in_.Read(buffer, size); }

    private:
        CMemoryStream in_;
    };
    for (const auto& [media, found] : {std::pair{3u << 20, true}, {5u << 20, false}}) {
        const std::string file = kFtyp + Box("mdat", std::string(media, '\0')) + moov;
        Unskippable in(file);
        EXPECT_EQ(ScanDateTaken(in).found, found) << media;
    }

    // A terabyte of media data: the budget stops the reading.
    class Endless final : public platform::IReadStream {
    public:
        size_t Read(void* buffer, size_t size) override {
            const std::string head = kFtyp + Be(1, 4) + "mdat" + Be(1ull << 40, 8);
            for (size_t i = 0; i < size; ++i, ++read)
                static_cast<char*>(buffer)[i] = read < head.size() ? head[read] : '\0';
            return size;
        }
        size_t read = 0;
    } endless;
    EXPECT_FALSE(ScanDateTaken(endless).found);
    EXPECT_LE(endless.read, 4u << 20);

    // A phone's video: the movie header behind its media. A file on the disk
    // is passed over, not read, so no budget stands in the way.
    testing_support::TempDir dir;
    const std::string path = dir / "behind.mp4";
    {
        constexpr uint64_t kMedia = 64ull << 20;
        std::ofstream out(testing_support::U8(path), std::ios::binary);
        out << kFtyp << Be(1, 4) << "mdat" << Be(kMedia + 16, 8);
        out.seekp(static_cast<std::streamoff>(kFtyp.size() + kMedia + 16));
        out << moov;
    }
    uint32_t error = 0;
    auto stream = platform::RealFileSystem().OpenRead(path, error);
    ASSERT_TRUE(stream) << error;
    EXPECT_TRUE(ScanDateTaken(*stream).found);
}

#ifndef _WIN32
// Windows takes the zone from the system, which a test cannot change.
TEST(DateTaken, VideoTimeShownInTheLocalZone) {
    const std::string video = Fixture("mp4-v0.mp4");
    struct RestoreZone {
        std::optional<std::string> saved = std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
        ~RestoreZone() {
            saved ? ::setenv("TZ", saved->c_str(), 1) : ::unsetenv("TZ");
            ::tzset();
        }
    } restore;
    for (const auto& [zone, clock] : {std::pair{"UTC", "2023-05-01 08:00:00"},
                                      std::pair{"America/New_York", "2023-05-01 04:00:00"},
                                      std::pair{"Asia/Kolkata", "2023-05-01 13:30:00"}}) {
        ::setenv("TZ", zone, 1);
        const CDateTaken d = Scan(video);
        EXPECT_TRUE(d.utcInstant);
        EXPECT_EQ(d.instant, kInstant) << zone;
        EXPECT_EQ(Text(d.wallClock), clock) << zone;
    }
}
#endif

}  // namespace

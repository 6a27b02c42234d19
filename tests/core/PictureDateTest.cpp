#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/PictureDate.h"
#include "core/PictureInfo.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"
#include "tests/support/NoJournalFileSystem.h"

namespace {

using namespace testing_support;

const std::string kDate = "2004:03:05 14:07:09";
constexpr int64_t kDateUtc = 1078495629;  // 2004-03-05 14:07:09 UTC

CPictureScan Scan(const std::string& bytes) {
    return ScanPicture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string WithTiff(const std::string& tiff) {
    return JpegBuilder().Exif(tiff).Tables().Build();
}

// The camera block with one 32-bit field changed.
std::string PatchedCamera(uint32_t at, uint32_t value, bool bigEndian = false) {
    TiffBuilder t(bigEndian);
    t.bytes = CameraTiff(kDate, bigEndian);
    t.Set32(at, value);
    return WithTiff(t.bytes);
}
std::string PatchedCamera16(uint32_t at, uint16_t value) {
    TiffBuilder t(false);
    t.bytes = CameraTiff(kDate, false);
    t.Set16(at, value);
    return WithTiff(t.bytes);
}

// Directory offsets of CameraTiff: main directory at 8 with two entries, the
// maker text after it, then the EXIF directory.
constexpr uint32_t kIfd0 = 8;
constexpr uint32_t kExifDir = 8 + 2 + 24 + 4 + 8;

std::string Sections(int kept, int dropped = 0) {
    JpegBuilder b;
    for (int i = 0; i < dropped; ++i) b.Section(0xE0, "JFIF");
    b.Exif(CameraTiff(kDate, false));
    for (int i = 1; i < kept; ++i) b.Section(0xE2 + i % 10, "x");
    return b.Build();
}

struct ScanCase {
    const char* what;
    std::function<std::string()> make;
    bool exifRead;
    std::string date;
    std::string error;
};

TEST(PictureScan, SectionsAndExifBlocks) {
    const std::vector<ScanCase> cases = {
        {"little-endian camera file", [] { return CameraJpeg(kDate, false); }, true, kDate, ""},
        {"big-endian camera file", [] { return CameraJpeg(kDate, true); }, true, kDate, ""},
        {"no EXIF at all", [] { return JpegBuilder().Section(0xE0, "JFIF").Tables().Build(); }, false, "", ""},
        {"empty input", [] { return std::string(); }, false, "", "Not a jpeg file"},
        {"PNG signature", [] { return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16); }, false, "",
         "Not a jpeg file"},
        {"six padding bytes",
         [] { return std::string("\xFF\xD8\xFF\xFF\xFF\xFF\xFF", 7) + CameraJpeg(kDate).substr(2); }, true, kDate, ""},
        {"seven padding bytes",
         [] { return std::string("\xFF\xD8\xFF\xFF\xFF\xFF\xFF\xFF", 8) + CameraJpeg(kDate).substr(2); }, false, "",
         "too many padding unsigned chars"},
        {"section length 1", [] { return JpegBuilder().Raw(std::string("\xFF\xE1\x00\x01", 4)).Build(); }, false, "",
         "invalid marker"},
        {"section longer than the file",
         [] { return JpegBuilder().Raw(std::string("\xFF\xE2\x10\x00", 4)).Head() + "short"; }, false, "",
         "Premature end of file?"},
        {"file ends before the image data", [] { return JpegBuilder().Exif(CameraTiff(kDate, false)).Head(); }, false,
         kDate, "Premature end of file?"},
        {"end of image before any scan",
         [] { return JpegBuilder().Exif(CameraTiff(kDate, false)).Raw("\xFF\xD9").Head(); }, false, kDate,
         "No image in jpeg!"},
        {"19 kept sections", [] { return Sections(19); }, true, kDate, ""},
        {"20 kept sections", [] { return Sections(20); }, false, kDate, "Too many sections in jpg file"},
        {"dropped sections do not count", [] { return Sections(19, 30); }, true, kDate, ""},
        {"only the first comment counts",
         [] {
             JpegBuilder b;
             for (int i = 0; i < 10; ++i) b.Section(0xFE, "comment");
             b.Exif(CameraTiff(kDate, false));
             for (int i = 0; i < 17; ++i) b.Section(0xEB, "x");
             return b.Build();
         },
         true, kDate, ""},
        {"XMP in APP1 is passed over",
         [] { return JpegBuilder().Section(0xE1, "http://ns.adobe.com/xap/1.0/").Tables().Build(); }, false, "", ""},
        {"second EXIF block decides",
         [] {
             return JpegBuilder()
                 .Section(0xE1, std::string("Exif\0\0XX", 8))
                 .Exif(CameraTiff(kDate, true))
                 .Tables()
                 .Build();
         },
         true, kDate, "Invalid Exif alignment marker."},
        {"later error after a good EXIF block",
         [] { return JpegBuilder().Exif(CameraTiff(kDate, false)).Raw(std::string("\xFF\xC4\x00", 3)).Head(); }, false,
         kDate, "Premature end of file?"},
    };
    for (const auto& c : cases) {
        const CPictureScan scan = Scan(c.make());
        EXPECT_EQ(scan.exifRead, c.exifRead) << c.what;
        EXPECT_EQ(scan.dateTime, c.date) << c.what;
        EXPECT_EQ(scan.error, c.error) << c.what;
    }
}

TEST(PictureScan, ExifHeaderAndDirectories) {
    constexpr uint32_t dateEntry = kExifDir + 2;  // the EXIF directory's first entry
    const std::vector<ScanCase> cases = {
        {"header without the two zero bytes",
         [] { return JpegBuilder().Section(0xE1, "Exif\0X" + CameraTiff(kDate, false)).Tables().Build(); }, false, "",
         "Incorrect Exif header"},
        {"header cut after Exif", [] { return JpegBuilder().Section(0xE1, "Exif").Tables().Build(); }, false, "",
         "Incorrect Exif header"},
        {"byte order IM", [] { return WithTiff("IM" + CameraTiff(kDate, false).substr(2)); }, false, "",
         "Invalid Exif alignment marker."},
        {"block ends after the byte order", [] { return WithTiff("II"); }, false, "", "Invalid Exif start (1)"},
        {"43 instead of 42", [] { return WithTiff("II\x2B" + CameraTiff(kDate, false).substr(3)); }, false, "",
         "Invalid Exif start (1)"},
        {"first offset 7", [] { return PatchedCamera(4, 7); }, false, "", "Suspicious offset of first IFD value"},
        {"first offset 17", [] { return PatchedCamera(4, 17); }, false, "", "Suspicious offset of first IFD value"},
        {"first offset past a gap",
         [] {
             TiffBuilder t(true, 16);
             t.Data(std::string(8, '\xEE'));
             const uint32_t dir = t.Directory({{0x9003, kAscii, 20, 0}});
             t.Set32(TiffBuilder::ValueField(dir, 0), t.Data(kDate + '\0'));
             return WithTiff(t.bytes);
         },
         true, kDate, ""},
        {"entry count past the block", [] { return PatchedCamera16(kExifDir, 0x0FFF); }, false, "",
         "Illegally sized directory"},
        {"format 0", [] { return PatchedCamera16(dateEntry + 2, 0); }, false, "", "Illegal format code in EXIF dir"},
        {"format 13", [] { return PatchedCamera16(dateEntry + 2, 13); }, false, "", "Illegal format code in EXIF dir"},
        {"value past the block", [] { return PatchedCamera(dateEntry + 8, 0x7000); }, false, "",
         "Illegal pointer offset value in EXIF."},
        {"value offset that wraps", [] { return PatchedCamera(dateEntry + 8, 0xFFFFFFF0u); }, false, "",
         "Illegal pointer offset value in EXIF."},
        {"component count that overflows 32 bits",
         [] {
             TiffBuilder t(false);
             t.Directory({{0x829A, kRational, 0x40000000u, 0x10}});
             return WithTiff(t.bytes);
         },
         false, "", "Illegal pointer offset value in EXIF."},
        {"EXIF directory link past the block", [] { return PatchedCamera(TiffBuilder::ValueField(kIfd0, 1), 5000); },
         false, "", "Illegal subdirectory link"},
        {"EXIF directory's next link past the block",
         [] { return PatchedCamera(TiffBuilder::LinkField(kExifDir, 2), 0x10000); }, false, kDate,
         "Illegal subdirectory link"},
        {"interop link past the block", [] { return PatchedCamera(TiffBuilder::ValueField(kExifDir, 1), 0x7FFF); },
         false, kDate, "Illegal subdirectory link"},
        {"date longer than 19 characters", [] { return WithTiff(CameraTiff("2004:03:05 14:07:09.123 extra", false)); },
         true, kDate, ""},
        {"short date in the entry itself",
         [] {
             TiffBuilder t(true);
             t.Directory({{0x9003, kAscii, 4, 0x00343030}});  // "004"
             return WithTiff(t.bytes);
         },
         true, "004", ""},
        {"no DateTimeOriginal",
         [] {
             TiffBuilder t(false);
             t.Directory({{0x0132, kAscii, 20, 0}});  // DateTime, not the original
             return WithTiff(t.bytes);
         },
         true, "", ""},
    };
    for (const auto& c : cases) {
        const CPictureScan scan = Scan(c.make());
        EXPECT_EQ(scan.exifRead, c.exifRead) << c.what;
        EXPECT_EQ(scan.dateTime, c.date) << c.what;
        EXPECT_EQ(scan.error, c.error) << c.what;
    }
}

// The thumbnail's directory (IFD1) follows the main one. However it is
// damaged, the date that the main directory's tree gave stands, in both byte
// orders.
TEST(PictureScan, ADamagedThumbnailDirectoryKeepsTheDate) {
    struct Damage {
        const char* what;
        std::function<void(TiffBuilder&, uint32_t ifd1)> apply;
    };
    const Damage damages[] = {
        {"sound", [](TiffBuilder&, uint32_t) {}},
        {"link past the block", [](TiffBuilder& t, uint32_t) { t.Set32(TiffBuilder::LinkField(kIfd0, 2), 0x10000); }},
        {"entry count past the block", [](TiffBuilder& t, uint32_t ifd1) { t.Set16(ifd1, 0x0FFF); }},
        {"illegal format", [](TiffBuilder& t, uint32_t ifd1) { t.Set16(ifd1 + 2 + 2, 0); }},
        {"value past the block", [](TiffBuilder& t, uint32_t ifd1) { t.Set32(TiffBuilder::ValueField(ifd1, 1), 0x7000); }},
        {"sub-directory link past the block",
         [](TiffBuilder& t, uint32_t ifd1) { t.Set32(TiffBuilder::ValueField(ifd1, 2), 0x7FFF); }},
        {"next link past the block", [](TiffBuilder& t, uint32_t ifd1) { t.Set32(TiffBuilder::LinkField(ifd1, 3), 0x7FFF); }},
    };
    for (const bool bigEndian : {true, false}) {
        for (const auto& damage : damages) {
            TiffBuilder t(bigEndian);
            t.bytes = CameraTiff(kDate, bigEndian);
            // Compression, a thumbnail text longer than four bytes, an EXIF link.
            const uint32_t ifd1 = t.Directory({{0x0103, kShort, 1, 6}, {0x010E, kAscii, 8, 0}, {0x8769, kLong, 1, 0}});
            t.Set32(TiffBuilder::ValueField(ifd1, 1), t.Data(std::string("thumb\0\0\0", 8)));
            t.Set32(TiffBuilder::ValueField(ifd1, 2), kExifDir);
            t.Set32(TiffBuilder::LinkField(kIfd0, 2), ifd1);
            damage.apply(t, ifd1);
            const CPictureScan scan = Scan(WithTiff(t.bytes));
            const std::string label = std::string(damage.what) + (bigEndian ? ", big-endian" : ", little-endian");
            EXPECT_TRUE(scan.exifRead) << label;
            EXPECT_EQ(scan.dateTime, kDate) << label;
            EXPECT_EQ(scan.error, "") << label;
        }
    }
}

// Where the date lies in the directory tree, in both byte orders.
TEST(PictureScan, FindsTheDateWhereverTheTreeHoldsIt) {
    for (bool be : {false, true}) {
        SCOPED_TRACE(be ? "big-endian" : "little-endian");
        {  // In the main directory itself.
            TiffBuilder t(be);
            const uint32_t dir = t.Directory({{0x0112, kShort, 1, 1}, {0x9003, kAscii, 20, 0}});
            t.Set32(TiffBuilder::ValueField(dir, 1), t.Data(kDate + '\0'));
            EXPECT_EQ(Scan(WithTiff(t.bytes)).dateTime, kDate);
        }
        {  // In the interoperability directory under the EXIF one.
            TiffBuilder t(be);
            const uint32_t ifd0 = t.Directory({{0x8769, kLong, 1, 0}});
            const uint32_t exif = t.Directory({{0xA005, kLong, 1, 0}});
            const uint32_t interop = t.Directory({{0x9003, kAscii, 20, 0}});
            t.Set32(TiffBuilder::ValueField(ifd0, 0), exif);
            t.Set32(TiffBuilder::ValueField(exif, 0), interop);
            t.Set32(TiffBuilder::ValueField(interop, 0), t.Data(kDate + '\0'));
            const CPictureScan scan = Scan(WithTiff(t.bytes));
            EXPECT_TRUE(scan.exifRead);
            EXPECT_EQ(scan.dateTime, kDate);
        }
        {  // In a second main directory behind the 32-bit link (a big-endian
           // link read as 16 bits would be 0 and the date missed).
            TiffBuilder t(be);
            const uint32_t ifd0 = t.Directory({{0x0112, kShort, 1, 1}});
            const uint32_t ifd1 = t.Directory({{0x9003, kAscii, 20, 0}});
            t.Set32(TiffBuilder::LinkField(ifd0, 1), ifd1);
            t.Set32(TiffBuilder::ValueField(ifd1, 0), t.Data(kDate + '\0'));
            EXPECT_EQ(Scan(WithTiff(t.bytes)).dateTime, kDate);
        }
    }
}

TEST(PictureScan, LinksThatLoopEnd) {
    struct Case {
        const char* what;
        uint32_t at;
        uint32_t value;
        std::string date;
    };
    const Case cases[] = {
        {"main directory linked to itself", TiffBuilder::LinkField(kIfd0, 2), kIfd0, kDate},
        {"EXIF directory linked back to the main one", TiffBuilder::LinkField(kExifDir, 2), kIfd0, kDate},
        {"EXIF directory as its own interoperability directory", TiffBuilder::ValueField(kExifDir, 1), kExifDir, kDate},
        // The EXIF directory, which holds the date, is never reached.
        {"main directory as its own EXIF directory", TiffBuilder::ValueField(kIfd0, 1), kIfd0, ""},
    };
    for (const auto& c : cases) {
        for (bool be : {false, true}) {
            const CPictureScan scan = Scan(PatchedCamera(c.at, c.value, be));
            EXPECT_TRUE(scan.exifRead) << c.what;
            EXPECT_EQ(scan.error, "") << c.what;
            EXPECT_EQ(scan.dateTime, c.date) << c.what;
        }
    }
    // A chain of distinct EXIF directories deeper than any camera writes ends
    // without a crash; the date at its far end is not reached.
    TiffBuilder t(false);
    std::vector<uint32_t> dirs;
    for (int i = 0; i < 1000; ++i) dirs.push_back(t.Directory({{0x8769, kLong, 1, 0}}));
    for (size_t i = 0; i + 1 < dirs.size(); ++i) t.Set32(TiffBuilder::ValueField(dirs[i], 0), dirs[i + 1]);
    const uint32_t last = t.Directory({{0x9003, kAscii, 20, 0}});
    t.Set32(TiffBuilder::ValueField(dirs.back(), 0), last);
    t.Set32(TiffBuilder::ValueField(last, 0), t.Data(kDate + '\0'));
    ASSERT_LT(t.Size(), 65000u);
    const CPictureScan deep = Scan(WithTiff(t.bytes));
    EXPECT_TRUE(deep.exifRead);
    EXPECT_EQ(deep.dateTime, "");
}

// Every prefix of a good file must be refused cleanly (the sanitizer build
// and the fuzzer catch reads past the end; here the answers must be sane).
TEST(PictureScan, EveryTruncationIsAnError) {
    const std::string full = CameraJpeg(kDate, true);
    const size_t scanStart = full.find("\xFF\xDA");
    for (size_t n = 0; n < scanStart; ++n) {
        const CPictureScan scan = Scan(full.substr(0, n));
        EXPECT_FALSE(scan.exifRead) << n;
        EXPECT_FALSE(scan.error.empty()) << n;
    }
    EXPECT_TRUE(Scan(full.substr(0, scanStart + 2)).exifRead);
}

TEST(PictureDateText, ParsesOnlyRealCalendarTimes) {
    struct Case {
        const char* text;
        bool ok;
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    };
    const Case cases[] = {
        {"2004:03:05 14:07:09", true, 2004, 3, 5, 14, 7, 9},
        {"  2004:03:05 14:07:09 \t", true, 2004, 3, 5, 14, 7, 9},
        {"2004:3:5 4:7:9", true, 2004, 3, 5, 4, 7, 9},
        {"2004:03:05    14:07:09", true, 2004, 3, 5, 14, 7, 9},
        {"2004:03:0514:07:09", false},  // the day runs into the hour: 514
        {"2000:02:29 00:00:00", true, 2000, 2, 29, 0, 0, 0},
        {"2041:12:31 23:59:59", true, 2041, 12, 31, 23, 59, 59},
        {"2004:03:05 14:07:09.50", true, 2004, 3, 5, 14, 7, 9},
        {"", false},
        {"   ", false},
        {"0000:00:00 00:00:00", false},
        {"2004:00:05 14:07:09", false},
        {"2004:13:05 14:07:09", false},
        {"2004:04:31 14:07:09", false},
        {"1900:02:29 14:07:09", false},
        {"2004:03:00 14:07:09", false},
        {"2004:03:05 24:00:00", false},
        {"2004:03:05 14:60:00", false},
        {"2004:03:05 14:07:60", false},
        {"2004-03-05 14:07:09", false},
        {"2004 :03:05 14:07:09", false},
        {"2004:03:05", false},
        {"2004:03:05 14:07", false},
        {"99999999999:03:05 14:07:09", false},
        {"-2004:03:05 14:07:09", false},
    };
    for (const auto& c : cases) {
        std::tm t{};
        ASSERT_EQ(ParsePictureDate(c.text, t), c.ok) << '"' << c.text << '"';
        if (!c.ok) continue;
        EXPECT_EQ(t.tm_year + 1900, c.year) << c.text;
        EXPECT_EQ(t.tm_mon + 1, c.month) << c.text;
        EXPECT_EQ(t.tm_mday, c.day) << c.text;
        EXPECT_EQ(t.tm_hour, c.hour) << c.text;
        EXPECT_EQ(t.tm_min, c.minute) << c.text;
        EXPECT_EQ(t.tm_sec, c.second) << c.text;
    }
}

// Serves files from memory and counts what is read of them.
class MemoryFileSystem final : public NoJournalFileSystem {
public:
    std::map<std::string, std::string> files;
    size_t bytesRead = 0;
    int opens = 0;

    uint32_t GetAttributes(const std::string&, platform::Attributes&) override { return platform::kErrorNotSupported; }
    uint32_t ListFolderEntries(const std::string&,
                               const std::function<void(const std::string&, platform::EntryKind)>&) override {
        return platform::kErrorNotSupported;
    }
    uint32_t Move(const std::string&, const std::string&, const std::string&) override {
        return platform::kErrorNotSupported;
    }
    void Paused() override {}
    uint32_t GetWorkingFolder(std::string&) override { return platform::kErrorNotSupported; }
    uint32_t SetWorkingFolder(const std::string&) override { return platform::kErrorNotSupported; }
    uint32_t GetTimes(const std::string&, platform::FileTimes&) override { return platform::kErrorNotSupported; }
    uint32_t WriteFile(const std::string&, const std::string&) override { return platform::kErrorNotSupported; }
    std::unique_ptr<platform::IReadStream> OpenRead(const std::string& path, uint32_t& error) override {
        const auto it = files.find(path);
        if (it == files.end()) {
            error = platform::kErrorFileNotFound;
            return nullptr;
        }
        ++opens;
        return std::make_unique<Stream>(it->second, bytesRead);
    }

private:
    class Stream final : public platform::IReadStream {
    public:
        Stream(const std::string& data, size_t& counter) : data_(data), counter_(counter) {}
        size_t Read(void* buffer, size_t size) override {
            const size_t n = std::min(size, data_.size() - pos_);
            std::copy_n(data_.data() + pos_, n, static_cast<char*>(buffer));
            pos_ += n;
            counter_ += n;
            return n;
        }

    private:
        const std::string& data_;
        size_t& counter_;
        size_t pos_ = 0;
    };
};

const std::string kFolder = "pics";
std::string At(const std::string& name) {
    return kFolder + platform::kPathSeparator + name;
}

// The expected time stamps below are UTC ones; the test run sets TZ=UTC.
bool UtcZone() {
    std::tm t{};
    return platform::ToLocalTime(0, t) && t.tm_year == 70 && t.tm_hour == 0 && platform::ToLocalTime(15552000, t) &&
           t.tm_hour == 0;
}

TEST(PictureInfo, ReadsOnlyTheHeadOfABigPhoto) {
    MemoryFileSystem fs;
    const std::string photo = CameraJpeg(kDate);
    const size_t head = photo.find("\xFF\xDA") + 2;
    fs.files[At("big.jpg")] = photo + std::string(8 << 20, '\x33');
    CFileDescriptor fd(kFolder, "big.jpg", 0);
    ASSERT_TRUE(HasPictureInfo(fd, fs));
    EXPECT_EQ(fs.bytesRead, head);
    std::tm t{};
    ASSERT_TRUE(PictureDateTime(fd, t));
    EXPECT_EQ(t.tm_mday, 5);
}

TEST(PictureInfo, KeepsTheRecordOnlyForPictureFiles) {
    MemoryFileSystem fs;
    fs.files[At("good.jpg")] = CameraJpeg(kDate);
    fs.files[At("plain.jpg")] = JpegBuilder().Tables().Build();
    CFileDescriptor good(kFolder, "good.jpg", 1);
    CFileDescriptor plain(kFolder, "plain.jpg", 1);
    CFileDescriptor missing(kFolder, "missing.jpg", 1);

    EXPECT_TRUE(HasPictureInfo(good, fs));
    EXPECT_TRUE(HasPictureInfo(good, fs));
    EXPECT_EQ(fs.opens, 1) << "a picture is read once, then its record answers";
    ASSERT_TRUE(good.pictureInfo());
    EXPECT_EQ(good.pictureInfo()->dateTime, kDate);

    EXPECT_FALSE(HasPictureInfo(plain, fs));
    EXPECT_FALSE(plain.pictureInfo());
    EXPECT_EQ(PictureDate(plain), 0);
    EXPECT_FALSE(HasPictureInfo(missing, fs));
    EXPECT_EQ(PictureDate(missing), 0);

    // A file without information is read again, so one that became a picture
    // since is seen.
    fs.files[At("plain.jpg")] = CameraJpeg("2010:01:02 03:04:05");
    EXPECT_TRUE(HasPictureInfo(plain, fs));
    std::tm t{};
    ASSERT_TRUE(PictureDateTime(plain, t));
    EXPECT_EQ(t.tm_year + 1900, 2010);

    // A copy reads afresh; the original keeps its record.
    CFileDescriptor copy(good);
    EXPECT_FALSE(copy.pictureInfo());
    EXPECT_TRUE(good.pictureInfo());
}

TEST(PictureInfo, DateAsTimeStamp) {
    if (!UtcZone()) GTEST_SKIP() << "needs TZ=UTC, as the test run sets it";
    struct Case {
        const char* date;
        int64_t utc;  // with TZ=UTC; 0 means no date
    };
    const Case cases[] = {
        {"2004:03:05 14:07:09", kDateUtc},
        {"2041:12:31 23:59:58", 2272147198},
        {"2106:02:07 06:28:16", 4294967296},
        {"1969:12:31 23:59:59", -1},
        {"2004:00:05 14:07:09", 0},
        {"0000:00:00 00:00:00", 0},
        {"", 0},
    };
    MemoryFileSystem fs;
    for (const auto& c : cases) {
        fs.files[At("p.jpg")] = CameraJpeg(c.date, true);
        CFileDescriptor fd(kFolder, "p.jpg", 0);
        ASSERT_TRUE(HasPictureInfo(fd, fs)) << c.date;
        EXPECT_EQ(PictureDate(fd), c.utc) << c.date;
    }
}

TEST(PictureInfo, ReadsThroughTheRealFileSystem) {
    TempDir dir;
    dir.File("photo.jpg", CameraJpeg(kDate));
    dir.File("notes.jpg", "not a picture");
    CFileDescriptor photo(dir.str(), "photo.jpg", 1);
    CFileDescriptor notes(dir.str(), "notes.jpg", 1);
    dir.Folder("album.jpg");
    CFileDescriptor folder(dir.str(), "album.jpg", 1);
    EXPECT_TRUE(HasPictureInfo(photo, platform::RealFileSystem()));
    EXPECT_NE(PictureDate(photo), 0);
    EXPECT_FALSE(HasPictureInfo(notes, platform::RealFileSystem()));
    EXPECT_FALSE(HasPictureInfo(folder, platform::RealFileSystem()));
}

}  // namespace

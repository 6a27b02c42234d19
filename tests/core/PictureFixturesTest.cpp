#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "core/PictureDate.h"
#include "core/PictureInfo.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

namespace {

using testing_support::FromPath;
using testing_support::U8;

const std::string kFixtures = std::string(QLN_FIXTURE_DIR) + "/jpeg";

// What exiftool read from each fixture when the fixtures were made.
std::map<std::string, std::string> ExiftoolDates() {
    std::map<std::string, std::string> out;
    std::ifstream in(U8(kFixtures + "/expected.txt"), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto tab = line.find('\t');
        if (tab != std::string::npos) out[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return out;
}

// The reader's date text, empty when the file has no picture information.
std::string ReaderDate(const std::string& name) {
    CFileDescriptor fd(kFixtures, name, 0);
    if (!HasPictureInfo(fd, platform::RealFileSystem())) return "";
    return fd.pictureInfo()->dateTime;
}

TEST(PictureFixtures, ReaderAgreesWithExiftool) {
    // Where the reader refuses on purpose what exiftool still reads.
    const std::map<std::string, std::string> deliberate = {
        {"sections-20.jpg", ""},       // 20 kept sections before the image data: over the limit
        {"truncated-tables.jpg", ""},  // ends before the image data
    };
    const auto expected = ExiftoolDates();
    ASSERT_GE(expected.size(), 10u) << "expected.txt missing or short under " << kFixtures;

    std::set<std::string> onDisk;
    for (const auto& e : std::filesystem::directory_iterator(U8(kFixtures)))
        if (e.path().extension() == ".jpg") onDisk.insert(FromPath(e.path().filename()));
    std::set<std::string> listed;
    for (const auto& [name, date] : expected) listed.insert(name);
    EXPECT_EQ(onDisk, listed) << "every fixture needs its line in expected.txt";

    for (const auto& [name, date] : expected) {
        const auto d = deliberate.find(name);
        EXPECT_EQ(ReaderDate(name), d == deliberate.end() ? date : d->second) << name;
    }
}

TEST(PictureFixtures, InformationAndDate) {
    struct Case {
        const char* name;
        bool info;
        bool date;
    };
    const Case cases[] = {
        {"exif-le.jpg", true, true},           {"exif-be.jpg", true, true},
        {"exif-be-thumbnail.jpg", true, true}, {"exif-no-date.jpg", true, false},
        {"month-zero.jpg", true, false},       {"all-zero.jpg", true, false},
        {"ifd-loop.jpg", true, true},          {"sections-19.jpg", true, true},
        {"truncated-image.jpg", true, true},   {"sections-20.jpg", false, false},
        {"no-exif.jpg", false, false},         {"xmp-only.jpg", false, false},
        {"png-named.jpg", false, false},       {"text-named.jpg", false, false},
        {"truncated-exif.jpg", false, false},  {"truncated-tables.jpg", false, false},
        {"missing.jpg", false, false},
    };
    for (const auto& c : cases) {
        CFileDescriptor fd(kFixtures, c.name, 1);
        EXPECT_EQ(HasPictureInfo(fd, platform::RealFileSystem()), c.info) << c.name;
        EXPECT_EQ(PictureDate(fd) != 0, c.date) << c.name;
    }
    CFileDescriptor le(kFixtures, "exif-le.jpg", 0);
    CFileDescriptor be(kFixtures, "exif-be.jpg", 0);
    ASSERT_TRUE(HasPictureInfo(le, platform::RealFileSystem()));
    ASSERT_TRUE(HasPictureInfo(be, platform::RealFileSystem()));
    EXPECT_EQ(PictureDate(le), PictureDate(be));
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/PictureInfo.h"
#include "operations/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"
#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"
#include "tests/support/NoJournalFileSystem.h"
#include "tests/support/Compute.h"

namespace {

using namespace testing_support;

std::tm Calendar(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
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

// The time stamp of a local time: expectations are written as local
// calendar times, so they hold in whatever zone the tests run.
int64_t Local(int year, int month, int day, int hour, int minute, int second) {
    int64_t s = 0;
    EXPECT_TRUE(platform::FromLocalTime(Calendar(year, month, day, hour, minute, second), s));
    return s;
}

// The real file system, with the times of chosen paths replaced: access and
// creation times cannot be set portably, and some file systems have no
// creation time at all.
class TimesFileSystem final : public NoJournalFileSystem {
public:
    std::map<std::string, platform::FileTimes> times;
    std::map<std::string, uint32_t> failures;
    int opens = 0;

    uint32_t GetAttributes(const std::string& p, platform::Attributes& out) override {
        return real().GetAttributes(p, out);
    }
    uint32_t ListFolderEntries(const std::string& f,
                               const std::function<void(const std::string&, platform::EntryKind)>& each) override {
        return real().ListFolderEntries(f, each);
    }
    uint32_t Move(const std::string& f, const std::string& a, const std::string& b) override {
        return real().Move(f, a, b);
    }
    void Paused() override { real().Paused(); }
    uint32_t GetWorkingFolder(std::string& out) override { return real().GetWorkingFolder(out); }
    uint32_t SetWorkingFolder(const std::string& p) override { return real().SetWorkingFolder(p); }
    uint32_t GetTimes(const std::string& p, platform::FileTimes& out) override {
        if (const auto f = failures.find(p); f != failures.end()) return f->second;
        if (const auto t = times.find(p); t != times.end()) {
            out = t->second;
            return platform::kErrorSuccess;
        }
        return real().GetTimes(p, out);
    }
    std::unique_ptr<platform::IReadStream> OpenRead(const std::string& p, uint32_t& error) override {
        ++opens;
        return real().OpenRead(p, error);
    }
    uint32_t WriteFile(const std::string& p, const std::string& data) override { return real().WriteFile(p, data); }

private:
    static platform::IFileSystem& real() { return platform::RealFileSystem(); }
};

const std::string kFolder = "photos";
std::string At(const std::string& name) {
    return kFolder + platform::kPathSeparator + name;
}

TEST(DateFormats, EveryDateAndTimeFormat) {
    const std::tm afternoon = Calendar(2004, 3, 5, 14, 7, 9);
    const char* const dates[] = {"",           "0305",     "030504",    "03052004", "03-05",      "03-05-04",
                                 "03-05-2004", "040503",   "20040503",  "04-05-03", "2004-05-03", "0503",
                                 "050304",     "05032004", "05-03",     "05-03-04", "05-03-2004", "040305",
                                 "20040305",   "04-03-05", "2004-03-05"};
    for (int i = 0; i < 21; ++i) EXPECT_EQ(FormatDateTime(afternoon, i, 0, "_"), dates[i]) << "date format " << i;
    const char* const times[] = {"",         "02 07 pm", "02 07 09 pm", "02 07 PM", "02 07 09 PM", "14 07",
                                 "14 07 09", "02-07 pm", "02-07-09 pm", "02-07 PM", "02-07-09 PM", "14-07",
                                 "14-07-09"};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(FormatDateTime(afternoon, 0, i, "_"), times[i]) << "time format " << i;
}

TEST(DateFormats, TwelveHourClockAndSeparator) {
    struct Case {
        std::tm time;
        int date, clock;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {Calendar(2004, 3, 5, 9, 5, 0), 0, 1, "_", "09 05 am"},
        {Calendar(2004, 3, 5, 9, 5, 0), 0, 3, "_", "09 05 AM"},
        {Calendar(2004, 3, 5, 0, 30, 0), 0, 7, "_", "12-30 am"},
        {Calendar(2004, 3, 5, 12, 0, 0), 0, 8, "_", "12-00-00 pm"},
        {Calendar(2004, 3, 5, 23, 59, 59), 0, 10, "_", "11-59-59 PM"},
        {Calendar(2004, 3, 5, 14, 7, 9), 20, 12, "_", "2004-03-05_14-07-09"},
        {Calendar(2004, 3, 5, 14, 7, 9), 18, 6, " at ", "20040305 at 14 07 09"},
        {Calendar(2004, 3, 5, 14, 7, 9), 18, 0, "_", "20040305"},  // no separator without a time
        {Calendar(2004, 3, 5, 14, 7, 9), 0, 11, "_", "14-07"},     // nor without a date
        {Calendar(2004, 3, 5, 14, 7, 9), 18, 5, "", "2004030514 07"},
        {Calendar(1999, 12, 31, 8, 0, 0), 2, 0, "", "123199"},
        {Calendar(2000, 1, 1, 8, 0, 0), 19, 0, "", "00-01-01"},
        {Calendar(2041, 12, 31, 23, 59, 58), 20, 12, "_", "2041-12-31_23-59-58"},
        {Calendar(2500, 6, 15, 15, 0, 0), 3, 0, "", "06152500"},
        {Calendar(2004, 3, 5, 14, 7, 9), 21, 0, "_", ""},  // outside the lists
        {Calendar(2004, 3, 5, 14, 7, 9), 1, -1, "_", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.time, c.date, c.clock, c.separator), c.text) << c.text;
}

struct OpCase {
    const char* what;
    const char* name;
    int scope;
    int source;
    int date, clock;
    const char* separator;
    const char* newName;
};

void RunToDate(TimesFileSystem& fs, const OpCase& c) {
    CToDateExecute op(CRunOptions{.scope = c.scope}, c.source, c.date, c.clock, c.separator);
    const CFileDescriptor fd(kFolder, c.name, c.scope);
    const auto out = testing_support::CPass(op, fs)(fd);
    EXPECT_EQ(out->name(), c.newName) << c.what;
    EXPECT_EQ(fd.name(), c.name) << c.what << ": the given descriptor is untouched";
}

TEST(ToDate, TakesTheChosenFileTime) {
    TimesFileSystem fs;
    fs.times[At("photo.jpg")] = {Local(2004, 3, 5, 14, 7, 9), Local(2010, 1, 2, 3, 4, 5),
                                 Local(1999, 12, 31, 23, 0, 0)};
    fs.times[At("linux.txt")] = {Local(2004, 3, 5, 14, 7, 9), Local(2010, 1, 2, 3, 4, 5), std::nullopt};
    fs.times[At("future.txt")] = {Local(2099, 12, 31, 23, 59, 59), Local(2500, 6, 15, 15, 0, 0),
                                  Local(2038, 1, 19, 4, 0, 0)};
    fs.times[At("y10k.txt")] = {Local(9999, 12, 31, 12, 0, 0) + 2 * 86400, 0, 0};
    fs.failures[At("locked.txt")] = platform::kErrorAccessDenied;

    const OpCase cases[] = {
        {"modification", "photo.jpg", 1, kDateModification, 20, 12, "_", "2004-03-05_14-07-09.jpg"},
        {"last access", "photo.jpg", 1, kDateLastAccess, 20, 12, "_", "2010-01-02_03-04-05.jpg"},
        {"creation", "photo.jpg", 1, kDateCreation, 20, 12, "_", "1999-12-31_23-00-00.jpg"},
        {"whole name", "photo.jpg", 0, kDateModification, 18, 0, "_", "20040305"},
        {"extension", "photo.jpg", 3, kDateModification, 1, 0, "_", "photo.0305"},
        {"no date and no time empties the part", "photo.jpg", 1, kDateModification, 0, 0, "_", ".jpg"},
        {"no creation time on this file system", "linux.txt", 1, kDateCreation, 20, 12, "_", "linux.txt"},
        {"but a modification time", "linux.txt", 1, kDateModification, 20, 0, "_", "2004-03-05.txt"},
        {"status not readable", "locked.txt", 1, kDateModification, 20, 12, "_", "locked.txt"},
        {"file that is not there", "gone.txt", 1, kDateModification, 20, 12, "_", "gone.txt"},
        {"past 2038", "future.txt", 1, kDateModification, 20, 12, "_", "2099-12-31_23-59-59.txt"},
        {"far past 2038", "future.txt", 1, kDateLastAccess, 20, 4, "_", "2500-06-15_03 00 00 PM.txt"},
        {"the 2038 second", "future.txt", 1, kDateCreation, 3, 6, " ", "01192038 04 00 00.txt"},
        {"after year 9999", "y10k.txt", 1, kDateModification, 20, 0, "_", "y10k.txt"},
        {"unknown source", "photo.jpg", 1, 4, 20, 12, "_", "photo.jpg"},
        {"date format outside the list", "photo.jpg", 1, kDateModification, 21, 0, "_", "photo.jpg"},
        {"time format outside the list", "photo.jpg", 1, kDateModification, 0, 13, "_", "photo.jpg"},
    };
    for (const auto& c : cases) RunToDate(fs, c);
}

TEST(ToDate, PictureTakenDate) {
    TimesFileSystem fs;
    const std::string dir = std::string(QLN_FIXTURE_DIR) + "/jpeg";
    struct Case {
        const char* name;
        const char* newName;
    };
    const Case cases[] = {
        {"exif-le.jpg", "2004-03-05_14-07-09.jpg"},
        {"exif-be.jpg", "2004-03-05_14-07-09.jpg"},
        {"exif-be-thumbnail.jpg", "2041-12-31_23-59-58.jpg"},
        {"exif-no-date.jpg", "exif-no-date.jpg"},
        {"month-zero.jpg", "month-zero.jpg"},
        {"png-named.jpg", "png-named.jpg"},
        {"text-named.jpg", "text-named.jpg"},
        {"missing.jpg", "missing.jpg"},
    };
    for (const auto& c : cases) {
        CToDateExecute op(CRunOptions{.scope = 1}, kDatePictureTaken, 20, 12, "_");
        const CFileDescriptor fd(dir, c.name, 1);
        EXPECT_EQ(testing_support::CPass(op, fs)(fd)->name(), c.newName) << c.name;
    }
}

// "Use Date Taken (photos and videos)": a picture's name shows its camera's
// clock, offset or not; a video's, its UTC time in this computer's zone; a
// file without a date keeps its name. "Use Picture Taken Date" still reads
// JPEG alone.
TEST(ToDate, DateTakenOfEveryKindOfFile) {
    const std::string dir = std::string(QLN_FIXTURE_DIR) + "/media";
    std::tm video{};
    ASSERT_TRUE(platform::ToLocalTime(1682928000, video));  // 2023-05-01 08:00:00 UTC
    char shown[32];
    std::strftime(shown, sizeof shown, "%Y-%m-%d_%H-%M-%S.mp4", &video);
    struct Case {
        const char* name;
        int source;
        std::string newName;
    };
    const Case cases[] = {
        {"jpeg-original.jpg", kDateTaken, "2023-05-01_10-00-00.jpg"},  // at +02:00, shown as written
        {"jpeg-digitized.jpg", kDateTaken, "2022-06-02_11-30-00.jpg"},  // no real original: the digitized
        {"heic-exif.heic", kDateTaken, "2023-05-01_10-00-00.heic"},
        {"tiff-be.tif", kDateTaken, "2021-07-03_12-45-30.tif"},         // DateTime alone
        {"png-exif.png", kDateTaken, "2023-05-01_10-00-00.png"},
        {"webp-exif.webp", kDateTaken, "2023-05-01_10-00-00.webp"},
        {"mp4-v0.mp4", kDateTaken, shown},
        {"png-no-date.png", kDateTaken, "png-no-date.png"},
        {"3gp-no-date.3gp", kDateTaken, "3gp-no-date.3gp"},
        {"heic-exif.heic", kDatePictureTaken, "heic-exif.heic"},
        {"jpeg-original.jpg", kDatePictureTaken, "2023-05-01_10-00-00.jpg"},
    };
    for (const auto& c : cases) {
        CToDateExecute op(CRunOptions{.scope = 1}, c.source, 20, 12, "_");
        const CFileDescriptor fd(dir, c.name, 1);
        EXPECT_EQ(testing_support::CPass(op, platform::RealFileSystem())(fd)->name(), c.newName)
            << c.name << " " << c.source;
    }
}

TEST(ToDate, PictureIsReadOnceAndCachedOnTheDescriptor) {
    TempDir dir;
    dir.File("shot.jpg", CameraJpeg("2012:08:09 10:11:12", true));
    TimesFileSystem fs;
    CToDateExecute op(CRunOptions{.scope = 1}, kDatePictureTaken, 18, 6, "-");
    testing_support::CPass pass(op, fs);
    const CFileDescriptor fd(dir.str(), "shot.jpg", 1);
    EXPECT_EQ(pass(fd)->name(), "20120809-10 11 12.jpg");
    EXPECT_EQ(pass(fd)->name(), "20120809-10 11 12.jpg");
    EXPECT_EQ(fs.opens, 1);
    ASSERT_TRUE(fd.pictureInfo());
    EXPECT_EQ(fd.pictureInfo()->dateTime, "2012:08:09 10:11:12");
}

TEST(ToDate, ModificationTimeFromDisk) {
    TempDir dir;
    dir.File("scan.tif", "x");
    const int64_t when = Local(2041, 6, 7, 8, 9, 10);
    const auto sys = std::chrono::system_clock::time_point(std::chrono::seconds(when));
    std::filesystem::last_write_time(U8(dir / "scan.tif"), std::chrono::file_clock::from_sys(sys));
    CToDateExecute op(CRunOptions{.scope = 1}, kDateModification, 20, 12, "_");
    EXPECT_EQ(testing_support::CPass(op)(CFileDescriptor(dir.str(), "scan.tif", 1))->name(), "2041-06-07_08-09-10.tif");
}

#ifndef _WIN32
TEST(ToDate, WritesLocalTime) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "JST-9", 1);
    TimesFileSystem fs;
    fs.times[At("epoch.txt")] = {0, 0, 0};
    CToDateExecute op(CRunOptions{.scope = 1}, kDateModification, 20, 12, "_");
    EXPECT_EQ(testing_support::CPass(op, fs)(CFileDescriptor(kFolder, "epoch.txt", 1))->name(), "1970-01-01_09-00-00.txt");
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
}
#endif

TEST(AddDate, BeginningAndEnd) {
    TimesFileSystem fs;
    fs.times[At("holiday.jpg")] = {Local(2004, 3, 5, 14, 7, 9), 0, std::nullopt};
    fs.times[At("20040305.jpg")] = {Local(2004, 3, 5, 14, 7, 9), 0, std::nullopt};
    fs.times[At("README")] = {Local(2004, 3, 5, 14, 7, 9), 0, std::nullopt};
    struct Case {
        const char* what;
        bool atEnd;
        const char* name;
        int scope, source, date, clock, space;
        const char* newName;
    };
    const Case cases[] = {
        {"end with space", true, "holiday.jpg", 1, kDateModification, 18, 0, 1, "holiday 20040305.jpg"},
        {"end without space", true, "holiday.jpg", 1, kDateModification, 18, 0, 0, "holiday20040305.jpg"},
        {"beginning with space", false, "holiday.jpg", 1, kDateModification, 18, 0, 1, "20040305 holiday.jpg"},
        {"beginning, date and time", false, "holiday.jpg", 1, kDateModification, 20, 12, 0,
         "2004-03-05_14-07-09holiday.jpg"},
        {"whole name", true, "holiday.jpg", 0, kDateModification, 4, 0, 1, "holiday.jpg 03-05"},
        {"empty extension", true, "README", 3, kDateModification, 18, 0, 0, "README20040305"},
        {"part already reads like the date", true, "20040305.jpg", 1, kDateModification, 18, 0, 1, "20040305.jpg"},
        {"no date and no time adds nothing", false, "holiday.jpg", 1, kDateModification, 0, 0, 1, "holiday.jpg"},
        {"no creation time", false, "holiday.jpg", 1, kDateCreation, 18, 0, 1, "holiday.jpg"},
        {"no picture information", false, "holiday.jpg", 1, kDatePictureTaken, 18, 0, 1, "holiday.jpg"},
        {"no picture information, end", true, "holiday.jpg", 1, kDatePictureTaken, 18, 0, 1, "holiday.jpg"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CExecute> op;
        if (c.atEnd)
            op = std::make_unique<CAddDateAtEndExecute>(CRunOptions{.scope = c.scope}, c.source, c.date, c.clock, c.space,
                                                        "_");
        else
            op = std::make_unique<CAddDateAtBeginningExecute>(CRunOptions{.scope = c.scope}, c.source, c.date, c.clock,
                                                              c.space, "_");
        EXPECT_EQ(testing_support::CPass(*op, fs)(CFileDescriptor(kFolder, c.name, c.scope))->name(), c.newName) << c.what;
    }
}

TEST(AddDate, PictureDateOfAFixture) {
    TimesFileSystem fs;
    const std::string dir = std::string(QLN_FIXTURE_DIR) + "/jpeg";
    CAddDateAtBeginningExecute op(CRunOptions{.scope = 1}, kDatePictureTaken, 18, 0, 1, "_");
    testing_support::CPass pass(op, fs);
    EXPECT_EQ(pass(CFileDescriptor(dir, "exif-be.jpg", 1))->name(), "20040305 exif-be.jpg");
    EXPECT_EQ(pass(CFileDescriptor(dir, "sections-20.jpg", 1))->name(), "sections-20.jpg");
}

}  // namespace

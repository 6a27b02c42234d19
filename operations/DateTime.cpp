#include "operations/DateTime.h"

#include "core/PictureDate.h"
#include "platform/FileSystem.h"
#include "platform/Time.h"

const std::array<const char*, 5> kDateSourceTexts = {
    "Use Creation Date",
    "Use Modification Date",
    "Use Last Access Date",
    "Use Picture Taken Date",
    "Use Date Taken (photos and videos)",
};

const std::array<CDateFormat, 21> kDateFormats = {{
    {"", ""},
    {"MMDD", "%m%d"},
    {"MMDDYY", "%m%d%y"},
    {"MMDDYYYY", "%m%d%Y"},
    {"MM-DD", "%m-%d"},
    {"MM-DD-YY", "%m-%d-%y"},
    {"MM-DD-YYYY", "%m-%d-%Y"},
    {"YYDDMM", "%y%d%m"},
    {"YYYYDDMM", "%Y%d%m"},
    {"YY-DD-MM", "%y-%d-%m"},
    {"YYYY-DD-MM", "%Y-%d-%m"},
    {"DDMM", "%d%m"},
    {"DDMMYY", "%d%m%y"},
    {"DDMMYYYY", "%d%m%Y"},
    {"DD-MM", "%d-%m"},
    {"DD-MM-YY", "%d-%m-%y"},
    {"DD-MM-YYYY", "%d-%m-%Y"},
    {"YYMMDD", "%y%m%d"},
    {"YYYYMMDD", "%Y%m%d"},
    {"YY-MM-DD", "%y-%m-%d"},
    {"YYYY-MM-DD", "%Y-%m-%d"},
}};

// The 12-hour patterns end in a space so that the suffix stands apart.
const std::array<CTimeFormat, 13> kTimeFormats = {{
    {"", "", CTimeSuffix::kNone},
    {"HH MM (am/pm)", "%I %M ", CTimeSuffix::kLowerAmPm},
    {"HH MM SS (am/pm)", "%I %M %S ", CTimeSuffix::kLowerAmPm},
    {"HH MM (AM/PM)", "%I %M ", CTimeSuffix::kDesignator},
    {"HH MM SS (AM/PM)", "%I %M %S ", CTimeSuffix::kDesignator},
    {"HH MM (24 hour clock)", "%H %M", CTimeSuffix::kNone},
    {"HH MM SS (24 hour clock)", "%H %M %S", CTimeSuffix::kNone},
    {"HH-MM (am/pm)", "%I-%M ", CTimeSuffix::kLowerAmPm},
    {"HH-MM-SS (am/pm)", "%I-%M-%S ", CTimeSuffix::kLowerAmPm},
    {"HH-MM (AM/PM)", "%I-%M ", CTimeSuffix::kDesignator},
    {"HH-MM-SS (AM/PM)", "%I-%M-%S ", CTimeSuffix::kDesignator},
    {"HH-MM (24 hour clock)", "%H-%M", CTimeSuffix::kNone},
    {"HH-MM-SS (24 hour clock)", "%H-%M-%S", CTimeSuffix::kNone},
}};

namespace {

std::string Strftime(const char* pattern, const std::tm& t) {
    char buffer[64];
    const size_t n = std::strftime(buffer, sizeof buffer, pattern, &t);
    return std::string(buffer, n);
}

}  // namespace

std::string FormatDateTime(const std::tm& local, int dateFormat, int timeFormat, const std::string& separator) {
    if (dateFormat < 0 || dateFormat >= static_cast<int>(kDateFormats.size())) return "";
    if (timeFormat < 0 || timeFormat >= static_cast<int>(kTimeFormats.size())) return "";
    std::string text;
    if (dateFormat != 0) text = Strftime(kDateFormats[dateFormat].pattern, local);
    if (timeFormat != 0) {
        const CTimeFormat& format = kTimeFormats[timeFormat];
        if (dateFormat != 0) text += separator;
        text += Strftime(format.pattern, local);
        if (format.suffix == CTimeSuffix::kLowerAmPm)
            text += Strftime("%p", local) == "AM" ? "am" : "pm";
        else if (format.suffix == CTimeSuffix::kDesignator)
            text += Strftime("%p", local);
    }
    return text;
}

CToDateExecute::CToDateExecute(const CRunOptions& options, int source, int dateFormat, int timeFormat,
                               const std::string& separator)
    : CExecute(options),
      source_(source),
      dateFormat_(dateFormat),
      timeFormat_(timeFormat),
      separator_(separator) {}

bool CToDateExecute::LocalTime(const CFileDescriptor& fd, platform::IFileSystem& fs, std::tm& out) {
    if (source_ == kDatePictureTaken) {
        // The calendar time as the camera wrote it: a round trip through a time
        // stamp would move a time that falls in a daylight saving gap.
        return HasPictureInfo(fd, fs) && PictureDateTime(fd, out);
    }
    if (source_ == kDateTaken) {
        // A picture shows the clock the camera wrote, a video its UTC time
        // in this computer's zone: both as the reader gives them.
        const CDateTaken& taken = DateTakenOf(fd, fs);
        if (!taken.found) return false;
        out = taken.wallClock;
        return platform::IsValidCalendarTime(out);
    }
    if (source_ < kDateCreation || source_ > kDateLastAccess) return false;
    platform::FileTimes times;
    if (fs.GetTimes(fd.path(), times) != platform::kErrorSuccess) return false;
    int64_t seconds;
    if (source_ == kDateModification) {
        seconds = times.modification;
    } else if (source_ == kDateLastAccess) {
        seconds = times.lastAccess;
    } else {
        // Not every POSIX file system records when a file was made; such a
        // file has no creation date rather than a made-up one.
        if (!times.creation) return false;
        seconds = *times.creation;
    }
    // Years past 9999 (or before 1) are no dates anyone wants in a name.
    return platform::ToLocalTime(seconds, out) && platform::IsValidCalendarTime(out);
}

bool CToDateExecute::DateText(const CFileDescriptor& fd, platform::IFileSystem& fs, std::string& out) {
    if (dateFormat_ < 0 || dateFormat_ >= static_cast<int>(kDateFormats.size())) return false;
    if (timeFormat_ < 0 || timeFormat_ >= static_cast<int>(kTimeFormats.size())) return false;
    std::tm local;
    if (!LocalTime(fd, fs, local)) return false;
    out = FormatDateTime(local, dateFormat_, timeFormat_, separator_);
    return true;
}

std::unique_ptr<CFileDescriptor> CToDateExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    std::string text;
    if (!DateText(context.OnDisk(fd), context.fileSystem, text)) return std::make_unique<CFileDescriptor>(fd);
    return WithPart(fd, text);
}

CAddDateAtBeginningExecute::CAddDateAtBeginningExecute(const CRunOptions& options, int source, int dateFormat,
                                                       int timeFormat, int space, const std::string& separator)
    : CToDateExecute(options, source, dateFormat,
                     timeFormat, separator),
      space_(space) {}

std::unique_ptr<CFileDescriptor> CAddDateAtBeginningExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    std::string text;
    // A part that already reads exactly like the date is passed over, as is a
    // date text with nothing in it (no date and no time chosen).
    if (!DateText(context.OnDisk(fd), context.fileSystem, text) || text.empty() || text == fd.part()) return std::make_unique<CFileDescriptor>(fd);
    return WithPart(fd, text + (space_ ? " " : "") + fd.part());
}

CAddDateAtEndExecute::CAddDateAtEndExecute(const CRunOptions& options, int source, int dateFormat,
                                           int timeFormat, int space, const std::string& separator)
    : CToDateExecute(options, source, dateFormat,
                     timeFormat, separator),
      space_(space) {}

std::unique_ptr<CFileDescriptor> CAddDateAtEndExecute::Compute(const CFileDescriptor& fd, const CNameContext& context) {
    std::string text;
    if (!DateText(context.OnDisk(fd), context.fileSystem, text) || text.empty() || text == fd.part()) return std::make_unique<CFileDescriptor>(fd);
    return WithPart(fd, fd.part() + (space_ ? " " : "") + text);
}

#pragma once

#include <array>
#include <ctime>
#include <memory>
#include <string>

#include "core/Execute.h"

/// Where "Rename to date" and its kin take the date from (index of the list).
enum CDateSource {
    kDateCreation = 0,
    kDateModification = 1,
    kDateLastAccess = 2,
    kDatePictureTaken = 3,
    /// Any photo or video: EXIF of every camera format, a video's header.
    kDateTaken = 4,
};

/// The list texts of the date sources, in list order.
extern const std::array<const char*, 5> kDateSourceTexts;

/// One entry of the date format list: its text and its strftime pattern. The
/// first entry is "no date" (empty text and pattern).
struct CDateFormat {
    const char* listText;
    const char* pattern;
};
extern const std::array<CDateFormat, 21> kDateFormats;

/// What follows a time: nothing, "am"/"pm", or the "%p" designator as the C
/// library gives it.
enum class CTimeSuffix { kNone, kLowerAmPm, kDesignator };

/// One entry of the time format list; the first is "no time".
struct CTimeFormat {
    const char* listText;
    const char* pattern;
    CTimeSuffix suffix;
};
extern const std::array<CTimeFormat, 13> kTimeFormats;

/// The date text of `local`: the date format, then (with a time format) the
/// separator if a date was written, the time and its suffix. Empty for index
/// 0 and 0 or for an index outside the lists.
std::string FormatDateTime(const std::tm& local, int dateFormat, int timeFormat, const std::string& separator);

/// "Rename to date": the part becomes the file's date text. A file without a
/// usable date (no such time on this file system, unreadable status, no
/// picture date) keeps its name.
class CToDateExecute : public CExecute {
public:
    CToDateExecute(const CRunOptions& options,
                   int source, int dateFormat, int timeFormat, const std::string& separator);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

protected:
    /// The date text of `fd`; false when the file has no usable date or the
    /// choices are not ones of the lists.
    bool DateText(const CFileDescriptor& fd, platform::IFileSystem& fs, std::string& out);

private:
    bool LocalTime(const CFileDescriptor& fd, platform::IFileSystem& fs, std::tm& out);

    int source_;
    int dateFormat_;
    int timeFormat_;
    std::string separator_;
};

/// "Add date/time to beginning": date text, a space if asked, then the part.
class CAddDateAtBeginningExecute : public CToDateExecute {
public:
    CAddDateAtBeginningExecute(const CRunOptions& options, int source, int dateFormat, int timeFormat, int space,
                               const std::string& separator);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int space_;
};

/// "Add date/time to end": the part, a space if asked, then the date text.
class CAddDateAtEndExecute : public CToDateExecute {
public:
    CAddDateAtEndExecute(const CRunOptions& options, int source, int dateFormat, int timeFormat, int space,
                         const std::string& separator);
    std::unique_ptr<CFileDescriptor> Compute(const CFileDescriptor& fd, const CNameContext& context) override;

private:
    int space_;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "core/DateTaken.h"
#include "core/FileDescriptor.h"

namespace platform {
class IFileSystem;
class IReadStream;
}  // namespace platform

/// What a scan of the head of a JPEG file found.
struct CPictureScan {
    /// DateTimeOriginal as EXIF stores it, at most 19 characters; empty when
    /// the tag is missing.
    std::string dateTime;
    /// True when the EXIF block was read without error and the scan reached the
    /// image data; only then does the file count as having picture information.
    bool exifRead = false;
    /// The last error met, empty when none. Kept for diagnosis, never shown.
    std::string error;
};

/// Scans a JPEG stream section by section up to the start of the image data
/// and walks its EXIF directories. Reads no further than the last section
/// header it needs, so a big photo costs only its head.
CPictureScan ScanPicture(platform::IReadStream& in);

/// The same scan over bytes in memory.
CPictureScan ScanPicture(const uint8_t* data, size_t size);

/// Reads "YYYY:MM:DD HH:MM:SS" (white space around it, and between the fields
/// where a scanf pattern would allow it) into a local calendar time. False
/// for an empty text, missing fields or impossible values such as a month 0
/// or a 31 April, which cameras write when their clock was never set.
bool ParsePictureDate(const std::string& text, std::tm& out);

/// True when the JPEG at the descriptor's path has a readable EXIF block. The
/// answer is cached in the descriptor when yes; a file without it is read
/// again at the next query.
bool HasPictureInfo(const CFileDescriptor& fd, platform::IFileSystem& fs);

/// The DateTimeOriginal of the picture as seconds since 1970 in local time
/// rules, or 0 when there is none (no record, empty or unreadable text).
int64_t PictureDate(const CFileDescriptor& fd);

/// The DateTimeOriginal as the calendar time the camera wrote, without the
/// round trip through a time stamp (which would move a time inside a daylight
/// saving gap). False when there is no usable date.
bool PictureDateTime(const CFileDescriptor& fd, std::tm& out);

/// The date any photo or video was taken (ScanDateTaken), read once per
/// descriptor and kept in it, found or not.
const CDateTaken& DateTakenOf(const CFileDescriptor& fd, platform::IFileSystem& fs);

/// The moment of `taken`, to order by: its instant where the file fixes it
/// (a video, a picture with its offset), otherwise the camera's clock read
/// in this computer's zone. False when there is no date.
bool DateTakenTime(const CDateTaken& taken, int64_t& seconds);

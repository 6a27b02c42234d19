#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace platform {
class IReadStream;
}  // namespace platform

/// When a photo was taken or a video recorded, as the file itself tells.
struct CDateTaken {
    /// Where the date came from, best first: a file with several gives the
    /// first one that holds a real calendar date.
    enum class Source : uint8_t {
        kNone,
        kDateTimeOriginal,   ///< EXIF 0x9003: when the shutter was pressed
        kDateTimeDigitized,  ///< EXIF 0x9004 (CreateDate): when the picture was stored
        kDateTime,           ///< TIFF 0x0132 (ModifyDate): when the file was last changed
        kPngText,            ///< a PNG text chunk "Creation Time"
        kVideoHeader,        ///< creation_time of the movie header (mvhd) of an MP4/MOV/3GP
    };

    bool found = false;
    Source source = Source::kNone;
    /// The time to show. For a picture, the clock reading the camera wrote,
    /// whatever zone it was in (tm_isdst -1). With utcInstant, `instant` in
    /// the computer's local time instead.
    std::tm wallClock{};
    /// The file recorded the zone of its date: EXIF OffsetTimeOriginal (0x9011)
    /// for DateTimeOriginal, OffsetTimeDigitized (0x9012) for the digitized
    /// date, OffsetTime (0x9010) for DateTime; or the zone of a PNG text date.
    bool hasOffset = false;
    /// Minutes east of UTC, "+02:00" being 120. Only with hasOffset.
    int offsetMinutes = 0;
    /// The date is a point in time, shown in local time: a video's
    /// creation_time (UTC by the format; some cameras write their local time
    /// there, which nothing in the file tells apart), or a PNG text date that
    /// names its zone.
    bool utcInstant = false;
    /// Seconds since 1970-01-01 UTC when the file fixes the moment (utcInstant,
    /// or a picture date with its offset); 0 otherwise.
    int64_t instant = 0;
};

/// Reads the date taken from the head of a photo or video, recognised by its
/// first bytes whatever its name: EXIF in JPEG, TIFF and the raw formats built
/// on TIFF (DNG, CR2, NEF, ARW, ORF, RW2), HEIF/HEIC/AVIF, PNG and WebP; the
/// movie header of MP4, MOV, M4V and 3GP. Nothing in the file is trusted:
/// every offset and length is checked, and the work is bounded (boxes,
/// chunks and directories visited; at most 4 MiB read). What lies between
/// boxes is passed over where the stream can move on without reading (a
/// file), so the movie header behind the media data of a large video is
/// found; a stream that cannot is read through, within the 4 MiB.
CDateTaken ScanDateTaken(platform::IReadStream& in);

/// The same scan over bytes in memory.
CDateTaken ScanDateTaken(const uint8_t* data, size_t size);

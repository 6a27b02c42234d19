#pragma once

#include <memory>
#include <string>

#include "core/DateTaken.h"
#include "core/MusicTags.h"

/// What the picture-date reader keeps per descriptor: the DateTimeOriginal
/// text as EXIF stores it ("YYYY:MM:DD HH:MM:SS", at most 19 characters) and
/// whether the EXIF block was read successfully.
struct CPictureInfo {
    std::string dateTime;
    bool exifRead = false;
    /// The date taken of any photo or video, once read (found or not).
    bool takenRead = false;
    CDateTaken taken;
    /// The music tags, once read (found or not); apart, since most files
    /// whose picture is read are no music.
    std::unique_ptr<CMusicTags> tags;
};

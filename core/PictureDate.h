#pragma once

#include <cstdint>

#include "core/FileDescriptor.h"

namespace platform {
class IFileSystem;
}

/// True when the JPEG at the descriptor's path has a readable EXIF block. The
/// answer is cached in the descriptor when yes; a file without it is read
/// again at the next query.
bool HasPictureInfo(CFileDescriptor& fd, platform::IFileSystem& fs);

/// The DateTimeOriginal of the picture as seconds since 1970 in local time
/// rules, or 0 when there is none (no record, empty or unreadable text).
int64_t PictureDate(const CFileDescriptor& fd);

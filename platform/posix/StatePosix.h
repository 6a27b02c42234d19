#pragma once

#include <sys/stat.h>

#include <cstdint>

namespace platform {

/// 0 for a file (or, with `folder`, a folder) that this user alone may
/// change: owned by the user and writable by nobody else; else why not
/// (kErrorNotRegularFile, kErrorNotOwner, kErrorOpenToOthers).
uint32_t PrivateEntry(const struct stat& st, bool folder);

}  // namespace platform

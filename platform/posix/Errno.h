#pragma once

// errno and the Windows codes that every layer above speaks: the mapping, in
// both directions, for the POSIX side of the platform.

#include <cstdint>
#include <string>

namespace platform {

/// The code for `err`, met on `path`: Windows tells "file not found" from
/// "path not found", errno does not, so the folder that should hold the
/// entry is asked about.
uint32_t FromErrno(int err, const std::string& path);

}  // namespace platform

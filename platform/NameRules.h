#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

/// How a platform's file systems tell names apart, which names they take and
/// how long a name and a path may be: what a preview needs to foresee what a
/// rename will meet. Both platforms' rules exist on every platform, so that
/// either can be tested natively.
struct NameRules {
    /// Names that differ only in letter case name one entry (Windows).
    bool ignoreCase = false;
    /// Lengths count UTF-16 code units (Windows) rather than bytes (POSIX).
    bool utf16 = false;
    /// The longest name, and the longest full path, in those units.
    size_t maxName = 255;
    size_t maxPath = 4095;
    /// 0 when `name` may be used as one name, else kErrorInvalidName.
    uint32_t (*check)(const std::string& name) = nullptr;

    /// The length of `text` in the units the limits count.
    size_t length(std::string_view text) const;
    /// Appends the key of `name` to `out`: two names are one entry of a
    /// folder exactly when their keys are equal.
    void AppendKey(std::string_view name, std::string& out) const;
};

/// The rules of Linux file systems: names are bytes, told apart exactly; a
/// name holds up to 255 bytes (NAME_MAX) and a path up to 4095 (PATH_MAX
/// with its terminating NUL).
NameRules PosixNameRules();

/// The rules of Windows: names compare as the file system's upper-case table
/// compares them; a name holds up to 255 UTF-16 units and a path up to 259
/// (MAX_PATH with its NUL), or 32,767 where long paths are enabled.
NameRules WindowsNameRules(bool longPaths);

/// The rules of the running platform.
const NameRules& SystemNameRules();

/// The line end of text files written on this platform.
#ifdef _WIN32
inline constexpr const char* kLineEnd = "\r\n";
#else
inline constexpr const char* kLineEnd = "\n";
#endif

}  // namespace platform

#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

/// Paths this long or longer go to the file calls in their long form: a
/// folder's own path must leave room for a name of 8.3 characters within
/// MAX_PATH (260 with its terminator), so a plain path of 248 characters is
/// where creating a folder would begin to fail without the system policy.
inline constexpr size_t kPlainPathLimit = 248;

/// `path` as a Win32 file call takes it at any length: unchanged while it is
/// short enough, else made full and normal (".." resolved, "/" turned into
/// "\\") and written in the "\\\\?\\" form, "\\\\?\\UNC\\server\\share\\..." for
/// a network path. A path already in that form, or a device path
/// ("\\\\.\\..."), is left as it is.
std::wstring FileCallPath(std::wstring path);

/// The same for a UTF-8 path: every path that reaches a Win32 file call
/// goes through here.
std::wstring FileCallPath(std::string_view utf8);

/// The full path of the file of `module` (null: the program), whatever its
/// length; empty when the system does not say.
std::wstring ModuleFileName(HMODULE module);

}  // namespace platform

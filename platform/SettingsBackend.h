#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

/// Where the settings of the rename dialog persist: one flat set of named
/// values, each either a signed 32-bit number or a text. A name holds one
/// value of one type at a time; writing the other type replaces it.
class ISettingsBackend {
public:
    virtual ~ISettingsBackend() = default;

    /// The number stored under `name`; nothing when the value is missing or
    /// is not a number.
    virtual std::optional<int32_t> ReadNumber(const std::string& name) = 0;
    /// The text stored under `name`, whole; nothing when missing or not a text.
    virtual std::optional<std::string> ReadText(const std::string& name) = 0;

    /// False when the value could not be stored.
    virtual bool WriteNumber(const std::string& name, int32_t value) = 0;
    virtual bool WriteText(const std::string& name, const std::string& value) = 0;

    /// Makes the values written so far durable.
    virtual void Flush() = 0;
};

/// The environment variable that points every store of the process elsewhere,
/// so that tests and experiments never touch a user's real settings: on
/// Windows a key path under HKEY_CURRENT_USER that takes the place of
/// "Software\Tavrel", on POSIX the path of the JSON file.
inline constexpr const char* kSettingsLocationVariable = "QUORLIN_SETTINGS";

/// Where the settings of `subKey` live: `location` when it is not empty, else
/// the variable above, else the platform's default. On Windows the key path
/// below HKEY_CURRENT_USER ("Software\Tavrel\" + subKey by default); on POSIX
/// the JSON file ($XDG_CONFIG_HOME or ~/.config, then "quorlin/settings.json"),
/// which holds one object per sub key. Empty when no place can be found.
std::string SettingsLocation(const std::string& subKey, const std::string& location = {});

/// Opens the settings of `subKey` at SettingsLocation(subKey, location),
/// creating the key or the file's folder when missing. Null when they cannot
/// be opened; callers then read nothing and write nothing.
std::unique_ptr<ISettingsBackend> OpenSettings(const std::string& subKey, const std::string& location = {});

}  // namespace platform

#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <variant>

#include "platform/SettingsBackend.h"

namespace platform {

/// The settings of one sub key in a JSON file that mirrors the registry key:
/// the top-level object holds one object per sub key, whose members are the
/// values (numbers as JSON integers, texts as JSON strings).
///
/// The file is read once, when the backend is made. A save writes a temporary
/// file in the same folder and renames it over the settings file, so a crash
/// leaves either the old file or the new one, never half of one. A save merges
/// only the values written since the last save into what is on disk then, so
/// other sub keys, and values this process never wrote, survive.
class CJsonSettings : public ISettingsBackend {
public:
    /// Reads `filePath`. A file that cannot be parsed is renamed aside (see
    /// keptAside) and the backend starts empty.
    CJsonSettings(std::string filePath, std::string subKey);
    /// Saves what was written and not yet flushed, as the registry would have
    /// kept it.
    ~CJsonSettings() override;
    CJsonSettings(const CJsonSettings&) = delete;
    CJsonSettings& operator=(const CJsonSettings&) = delete;

    std::optional<int32_t> ReadNumber(const std::string& name) override;
    std::optional<std::string> ReadText(const std::string& name) override;
    bool WriteNumber(const std::string& name, int32_t value) override;
    bool WriteText(const std::string& name, const std::string& value) override;
    /// Saves when something was written since the last save.
    void Flush() override;

    /// Where an unreadable settings file was moved; empty when none was.
    const std::string& keptAside() const { return keptAside_; }
    /// 0, or the errno of the last save that failed.
    int LastErrno() const { return lastErrno_; }

protected:
    /// Called when the new contents are complete in the temporary file and
    /// before it replaces the settings file. Tests end the process here to
    /// leave exactly what a crash at that moment would leave.
    virtual void temporaryWritten(const std::string& temporaryPath) { (void)temporaryPath; }

private:
    using Value = std::variant<int32_t, std::string>;

    bool save();

    std::string path_;
    std::string subKey_;
    std::map<std::string, Value> values_;
    std::set<std::string> unsaved_;
    std::string keptAside_;
    int lastErrno_ = 0;
};

}  // namespace platform

#pragma once

#include <windows.h>

#include <string>

#include "platform/SettingsBackend.h"
#include "platform/win32/Scoped.h"

namespace platform {

/// The settings of one key below HKEY_CURRENT_USER: numbers as REG_DWORD,
/// texts as REG_SZ. The registry keeps each value as soon as it is set; a
/// flush asks it to write the key to disk now.
class CRegistrySettings : public ISettingsBackend {
public:
    /// Opens `keyPath` (below HKEY_CURRENT_USER), creating it when missing.
    explicit CRegistrySettings(const std::string& keyPath);
    CRegistrySettings(const CRegistrySettings&) = delete;
    CRegistrySettings& operator=(const CRegistrySettings&) = delete;

    /// False when the key could not be opened or created.
    bool isOpen() const { return key_.valid(); }

    std::optional<int32_t> ReadNumber(const std::string& name) override;
    std::optional<std::string> ReadText(const std::string& name) override;
    bool WriteNumber(const std::string& name, int32_t value) override;
    bool WriteText(const std::string& name, const std::string& value) override;
    void Flush() override;

private:
    win::ScopedKey key_;
};

}  // namespace platform

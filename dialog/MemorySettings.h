#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/SettingsBackend.h"

/// Settings held in memory, for tests and for runs that must leave nothing
/// behind. It records what its callers did, so that tests can see what was
/// written and how often it was flushed.
class CMemorySettings : public platform::ISettingsBackend {
public:
    using Value = std::variant<int32_t, std::string>;

    std::optional<int32_t> ReadNumber(const std::string& name) override;
    std::optional<std::string> ReadText(const std::string& name) override;
    bool WriteNumber(const std::string& name, int32_t value) override;
    bool WriteText(const std::string& name, const std::string& value) override;
    void Flush() override { ++flushes; }

    /// A backend that forwards to `settings`, which the caller keeps: several
    /// stores in turn can then see the same values, as runs of the dialog
    /// see the same registry key.
    static std::unique_ptr<platform::ISettingsBackend> Borrow(CMemorySettings& settings);

    /// Every value by name.
    std::map<std::string, Value> values;
    /// Names in the order they were written, one entry per write.
    std::vector<std::string> writes;
    int flushes = 0;
    /// When set, writes fail and change nothing.
    bool failWrites = false;
};

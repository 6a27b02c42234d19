#include "dialog/MemorySettings.h"

namespace {

class BorrowedSettings final : public platform::ISettingsBackend {
public:
    explicit BorrowedSettings(CMemorySettings& settings) : settings_(settings) {}
    std::optional<int32_t> ReadNumber(const std::string& name) override { return settings_.ReadNumber(name); }
    std::optional<std::string> ReadText(const std::string& name) override { return settings_.ReadText(name); }
    bool WriteNumber(const std::string& name, int32_t value) override { return settings_.WriteNumber(name, value); }
    bool WriteText(const std::string& name, const std::string& value) override {
        return settings_.WriteText(name, value);
    }
    void Flush() override { settings_.Flush(); }

private:
    CMemorySettings& settings_;
};

}  // namespace

std::unique_ptr<platform::ISettingsBackend> CMemorySettings::Borrow(CMemorySettings& settings) {
    return std::make_unique<BorrowedSettings>(settings);
}

std::optional<int32_t> CMemorySettings::ReadNumber(const std::string& name) {
    const auto it = values.find(name);
    if (it == values.end() || !std::holds_alternative<int32_t>(it->second)) return std::nullopt;
    return std::get<int32_t>(it->second);
}

std::optional<std::string> CMemorySettings::ReadText(const std::string& name) {
    const auto it = values.find(name);
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
}

bool CMemorySettings::WriteNumber(const std::string& name, int32_t value) {
    writes.push_back(name);
    if (failWrites) return false;
    values[name] = value;
    return true;
}

bool CMemorySettings::WriteText(const std::string& name, const std::string& value) {
    writes.push_back(name);
    if (failWrites) return false;
    values[name] = value;
    return true;
}

#include "dialog/MemorySettings.h"

namespace {

class BorrowedSettings final : public platform::ISettingsBackend {
public:
    explicit BorrowedSettings(CMemorySettings& settings) : settings_(settings) {}
    std::optional<int32_t> readNumber(const std::string& name) override { return settings_.readNumber(name); }
    std::optional<std::string> readText(const std::string& name) override { return settings_.readText(name); }
    bool writeNumber(const std::string& name, int32_t value) override { return settings_.writeNumber(name, value); }
    bool writeText(const std::string& name, const std::string& value) override {
        return settings_.writeText(name, value);
    }
    void flush() override { settings_.flush(); }

private:
    CMemorySettings& settings_;
};

}  // namespace

std::unique_ptr<platform::ISettingsBackend> CMemorySettings::Borrow(CMemorySettings& settings) {
    return std::make_unique<BorrowedSettings>(settings);
}

std::optional<int32_t> CMemorySettings::readNumber(const std::string& name) {
    const auto it = values.find(name);
    if (it == values.end() || !std::holds_alternative<int32_t>(it->second)) return std::nullopt;
    return std::get<int32_t>(it->second);
}

std::optional<std::string> CMemorySettings::readText(const std::string& name) {
    const auto it = values.find(name);
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
    return std::get<std::string>(it->second);
}

bool CMemorySettings::writeNumber(const std::string& name, int32_t value) {
    writes.push_back(name);
    if (failWrites) return false;
    values[name] = value;
    return true;
}

bool CMemorySettings::writeText(const std::string& name, const std::string& value) {
    writes.push_back(name);
    if (failWrites) return false;
    values[name] = value;
    return true;
}

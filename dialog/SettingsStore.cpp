#include "dialog/SettingsStore.h"

#include "dialog/StringTable.h"
#include "platform/Text.h"

CSettingsStore::CSettingsStore(const std::string& subKey, const std::string& location)
    : CSettingsStore(subKey, platform::OpenSettings(subKey, location)) {}

CSettingsStore::CSettingsStore(const std::string& subKey, std::unique_ptr<platform::ISettingsBackend> backend)
    : subKey_(subKey), backend_(std::move(backend)) {}

CSettingsStore::~CSettingsStore() = default;

int CSettingsStore::ReadNumber(int nameId) {
    const std::string name = LoadStringText(nameId);
    if (!backend_ || name.empty()) return -1;
    return backend_->ReadNumber(name).value_or(-1);
}

std::string CSettingsStore::ReadString(int nameId) {
    const std::string name = LoadStringText(nameId);
    if (!backend_ || name.empty()) return {};
    std::string text = backend_->ReadText(name).value_or(std::string());
    if (text::CharCount(text) >= kTextCapacity) return {};
    return text;
}

std::string CSettingsStore::ReadLongText(int nameId) {
    const std::string name = LoadStringText(nameId);
    if (!backend_ || name.empty()) return {};
    return backend_->ReadText(name).value_or(std::string());
}

void CSettingsStore::WriteNumber(int nameId, int value) {
    dirty_ = 1;
    const std::string name = LoadStringText(nameId);
    // An empty name would be the key's default value: never ours to write.
    if (!backend_ || name.empty()) return;
    backend_->WriteNumber(name, static_cast<int32_t>(value));
}

void CSettingsStore::WriteString(int nameId, const std::string& text) {
    dirty_ = 1;
    const std::string name = LoadStringText(nameId);
    if (!backend_ || name.empty()) return;
    backend_->WriteText(name, text.substr(0, text.find('\0')));
}

void CSettingsStore::Flush() {
    if (!dirty_) return;
    if (backend_) backend_->Flush();
    dirty_ = 0;
}

#include "platform/win32/RegistrySettings.h"

#include <vector>

#include "platform/win32/Wide.h"

namespace platform {

namespace {

std::string EnvironmentValue(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD got = ::GetEnvironmentVariableW(name, value.data(), size);
    if (got == 0 || got >= size) return {};
    value.resize(got);
    return Narrow(value);
}

}  // namespace

CRegistrySettings::CRegistrySettings(const std::string& keyPath) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(keyPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS)
        key_.reset(key);
}

std::optional<int32_t> CRegistrySettings::ReadNumber(const std::string& name) {
    if (!key_) return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    // Only a REG_DWORD is a number: the bytes of a text read as one would be
    // a silent wrong value.
    if (::RegGetValueW(key_.get(), nullptr, Widen(name).c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<std::string> CRegistrySettings::ReadText(const std::string& name) {
    if (!key_) return std::nullopt;
    const std::wstring wide = Widen(name);
    // The value may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        LONG status = ::RegGetValueW(key_.get(), nullptr, wide.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = ::RegGetValueW(key_.get(), nullptr, wide.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        // A REG_SZ ends at its first terminator, as every reader sees it.
        return Narrow(std::wstring_view(buffer.data()));
    }
    return std::nullopt;
}

bool CRegistrySettings::WriteNumber(const std::string& name, int32_t value) {
    if (!key_) return false;
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExW(key_.get(), Widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                            sizeof data) == ERROR_SUCCESS;
}

bool CRegistrySettings::WriteText(const std::string& name, const std::string& value) {
    if (!key_) return false;
    const std::wstring wide = Widen(value);
    // The terminator is part of a REG_SZ.
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key_.get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()), bytes) ==
           ERROR_SUCCESS;
}

void CRegistrySettings::Flush() {
    if (key_) ::RegFlushKey(key_.get());
}

std::string SettingsLocation(const std::string& subKey, const std::string& location) {
    std::string base = location;
    if (base.empty()) base = EnvironmentValue(Widen(kSettingsLocationVariable).c_str());
    if (base.empty()) base = "Software\\Tavrel";
    while (!base.empty() && base.back() == '\\') base.pop_back();
    if (subKey.empty()) return base;
    if (base.empty()) return subKey;
    return base + "\\" + subKey;
}

std::unique_ptr<ISettingsBackend> OpenSettings(const std::string& subKey, const std::string& location) {
    auto backend = std::make_unique<CRegistrySettings>(SettingsLocation(subKey, location));
    if (!backend->isOpen()) return nullptr;
    return backend;
}

}  // namespace platform

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/SettingsBackend.h"

/// The settings of one run of the rename dialog. Values are named by their id
/// in the shared string table (dialog/StringTable.h); the backend only ever
/// sees the text. No operation reports a failure: a value that cannot be read
/// reads as missing, a write that fails leaves the old value.
class CSettingsStore {
public:
    /// The sub key under which the rename dialog keeps its settings.
    static constexpr const char* kDialogSubKey = "A Quorlin";
    /// Texts of this many characters or more read back as empty, as they did
    /// through the fixed buffer of the earlier versions that wrote them.
    static constexpr size_t kTextCapacity = 200;

    /// Opens the platform's settings for `subKey`; `location` (or the
    /// QUORLIN_SETTINGS variable) points them elsewhere, as
    /// platform::SettingsLocation describes.
    explicit CSettingsStore(const std::string& subKey, const std::string& location = {});
    /// The same over a given backend; null reads nothing and writes nothing.
    CSettingsStore(const std::string& subKey, std::unique_ptr<platform::ISettingsBackend> backend);
    virtual ~CSettingsStore();
    CSettingsStore(const CSettingsStore&) = delete;
    CSettingsStore& operator=(const CSettingsStore&) = delete;

    /// The number named `nameId`; -1 when it is missing or is not a number.
    int ReadNumber(int nameId);
    /// The text named `nameId`; empty when it is missing, is not a text, or
    /// has kTextCapacity characters or more.
    std::string ReadString(int nameId);
    /// The text named `nameId` whatever its length, for the values that no
    /// earlier version wrote (steps, presets); empty when missing.
    std::string ReadLongText(int nameId);
    void WriteNumber(int nameId, int value);
    /// Stores `text` up to its first NUL, as a registry text ends there.
    void WriteString(int nameId, const std::string& text);
    /// Makes the writes since the last flush durable; does nothing when there
    /// were none.
    void Flush();

    const std::string& subKey() const { return subKey_; }
    /// True when a value was written since the last flush (also when the
    /// write failed, so that the next flush still runs).
    bool isDirty() const { return dirty_ != 0; }

private:
    std::string subKey_;
    std::unique_ptr<platform::ISettingsBackend> backend_;
    int dirty_ = 0;
};

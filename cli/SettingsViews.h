#pragma once

// The settings as a run of the command line sees them: what it reads of an
// earlier run, and what it leaves for the next.

#include <memory>
#include <optional>
#include <string>

#include "platform/SettingsBackend.h"

// A preview leaves the stored settings as they were: reads go through,
// writes are dropped.
class ReadOnlySettings final : public platform::ISettingsBackend {
public:
    explicit ReadOnlySettings(std::unique_ptr<platform::ISettingsBackend> inner) : inner_(std::move(inner)) {}
    std::optional<int32_t> ReadNumber(const std::string& name) override {
        return inner_ ? inner_->ReadNumber(name) : std::nullopt;
    }
    std::optional<std::string> ReadText(const std::string& name) override {
        return inner_ ? inner_->ReadText(name) : std::nullopt;
    }
    bool WriteNumber(const std::string&, int32_t) override { return true; }
    bool WriteText(const std::string&, const std::string&) override { return true; }
    void Flush() override {}

private:
    std::unique_ptr<platform::ISettingsBackend> inner_;
};

// A run without --last starts from the defaults, whatever an earlier run
// left behind, and still stores what it used: reads find nothing, writes go
// through.
class WriteOnlySettings final : public platform::ISettingsBackend {
public:
    explicit WriteOnlySettings(std::unique_ptr<platform::ISettingsBackend> inner) : inner_(std::move(inner)) {}
    std::optional<int32_t> ReadNumber(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ReadText(const std::string&) override { return std::nullopt; }
    bool WriteNumber(const std::string& name, int32_t value) override {
        return inner_ && inner_->WriteNumber(name, value);
    }
    bool WriteText(const std::string& name, const std::string& value) override {
        return inner_ && inner_->WriteText(name, value);
    }
    void Flush() override {
        if (inner_) inner_->Flush();
    }

private:
    std::unique_ptr<platform::ISettingsBackend> inner_;
};

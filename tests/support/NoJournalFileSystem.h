#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

/// A base for test file systems that serve other concerns: they keep no
/// run journal, so a run through one that asks for a journal stops before
/// its first rename, as a real one that cannot write its journal does.
class NoJournalFileSystem : public platform::IFileSystem {
public:
    std::unique_ptr<platform::IAppendStream> CreateAppend(const std::string&, uint32_t& error) override {
        error = platform::kErrorNotSupported;
        return nullptr;
    }
    uint32_t RemoveFile(const std::string&) override { return platform::kErrorNotSupported; }
    uint32_t GetIdentity(const std::string&, bool, platform::FileIdentity&) override {
        return platform::kErrorNotSupported;
    }
    std::unique_ptr<platform::IReadStream> OpenPrivate(const std::string&, uint64_t&, uint32_t& error) override {
        error = platform::kErrorNotSupported;
        return nullptr;
    }
};

#include "dialog/RecordedFileSystem.h"

namespace {

// The recorded answer for `key`, asking `ask` the first time.
template <typename Map, typename Value, typename Ask>
uint32_t Recall(Map& map, const std::string& key, Value& out, bool& replayed, Ask ask) {
    const auto it = map.find(key);
    if (it != map.end()) {
        replayed = true;
        out = it->second.second;
        return it->second.first;
    }
    replayed = false;
    Value value{};
    const uint32_t code = ask(value);
    map.emplace(key, std::make_pair(code, value));
    out = std::move(value);
    return code;
}

}  // namespace

void CRecordedFileSystem::Reset(platform::IFileSystem& inner) {
    inner_ = &inner;
    attributes_.clear();
    entries_.clear();
    times_.clear();
    replayed_ = false;
}

uint32_t CRecordedFileSystem::getAttributes(const std::string& path, platform::Attributes& out) {
    return Recall(attributes_, path, out, replayed_,
                  [&](platform::Attributes& value) { return inner_->getAttributes(path, value); });
}

uint32_t CRecordedFileSystem::listFolderEntries(
    const std::string& folder, const std::function<void(const std::string&, platform::EntryKind)>& each) {
    auto it = entries_.find(folder);
    replayed_ = it != entries_.end();
    if (!replayed_) {
        Entries entries;
        const uint32_t code = inner_->listFolderEntries(
            folder, [&](const std::string& name, platform::EntryKind kind) { entries.emplace_back(name, kind); });
        it = entries_.emplace(folder, std::make_pair(code, std::move(entries))).first;
    }
    for (const auto& [name, kind] : it->second.second) each(name, kind);
    return it->second.first;
}

uint32_t CRecordedFileSystem::getTimes(const std::string& path, platform::FileTimes& out) {
    return Recall(times_, path, out, replayed_,
                  [&](platform::FileTimes& value) { return inner_->getTimes(path, value); });
}

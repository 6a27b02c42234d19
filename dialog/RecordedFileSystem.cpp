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
    SetInner(inner);
    attributes_.clear();
    entries_.clear();
    times_.clear();
    replayed_ = false;
}

uint32_t CRecordedFileSystem::GetAttributes(const std::string& path, platform::Attributes& out) {
    return Recall(attributes_, path, out, replayed_,
                  [&](platform::Attributes& value) { return inner().GetAttributes(path, value); });
}

uint32_t CRecordedFileSystem::ListFolderEntries(
    const std::string& folder, const std::function<void(const std::string&, platform::EntryKind)>& each) {
    auto it = entries_.find(folder);
    replayed_ = it != entries_.end();
    if (!replayed_) {
        Listing listing;
        listing.code = inner().ListFolderEntries(folder, [&](const std::string& name, platform::EntryKind kind) {
            listing.names.append(name).push_back('\0');
            listing.kinds.push_back(static_cast<char>(kind));
        });
        listing.names.shrink_to_fit();
        listing.kinds.shrink_to_fit();
        it = entries_.emplace(folder, std::move(listing)).first;
    }
    const Listing& listing = it->second;
    std::string name;
    size_t at = 0;
    for (const char kind : listing.kinds) {
        const size_t end = listing.names.find('\0', at);
        name.assign(listing.names, at, end - at);
        at = end + 1;
        each(name, static_cast<platform::EntryKind>(kind));
    }
    return listing.code;
}

uint32_t CRecordedFileSystem::GetTimes(const std::string& path, platform::FileTimes& out) {
    return Recall(times_, path, out, replayed_,
                  [&](platform::FileTimes& value) { return inner().GetTimes(path, value); });
}

#include "core/FolderMoves.h"

#include "platform/FileSystem.h"

const std::string& CFolderMoves::Where(const std::shared_ptr<const std::string>& folder) {
    if (names_.empty()) return *folder;
    if (folder == lastFolder_ && generation_ == lastGeneration_) return where_;
    lastFolder_ = folder;
    lastGeneration_ = generation_;
    // Folder by folder from the top: each takes its new name, if it has one,
    // below what those above it are called now.
    const std::string& path = *folder;
    constexpr char kSep = platform::kPathSeparator;
    where_.clear();
    size_t done = 0;
    for (size_t sep = path.find(kSep, 1);; sep = path.find(kSep, sep + 1)) {
        const size_t end = sep == std::string::npos ? path.size() : sep;
        const auto it = names_.find(std::string_view(path).substr(0, end));
        if (it != names_.end() && end > 0) {
            const size_t start = path.rfind(kSep, end - 1) + 1;
            where_.append(path, done, start - done).append(it->second);
        } else {
            where_.append(path, done, end - done);
        }
        done = end;
        if (sep == std::string::npos) break;
    }
    return where_;
}

void CFolderMoves::Renamed(const std::string& path, std::string_view name) {
    names_.insert_or_assign(path, std::string(name));
    ++generation_;
}

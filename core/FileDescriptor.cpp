#include "core/FileDescriptor.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/PictureInfo.h"
#include "platform/FileSystem.h"

CFileDescriptor::CFileDescriptor(const std::string& path, int scope) : scope_(scope) {
    const auto sep = path.find_last_of(platform::kPathSeparator);
    if (sep == std::string::npos) {
        folder_ = std::make_shared<const std::string>(path);
    } else {
        folder_ = std::make_shared<const std::string>(path, 0, sep);
        name_ = path.substr(sep + 1);
    }
    // Kept as given: it is the path that the caller named.
    path_ = path;
    havePath_ = true;
    ComputePart();
}

CFileDescriptor::CFileDescriptor(const std::string& folder, const std::string& name, int scope)
    : CFileDescriptor(std::make_shared<const std::string>(folder), name, scope) {}

CFileDescriptor::CFileDescriptor(std::shared_ptr<const std::string> folder, std::string_view name, int scope)
    : folder_(std::move(folder)), name_(name), scope_(scope) {
    ComputePart();
}

CFileDescriptor::CFileDescriptor(const CFileDescriptor& other)
    : folder_(other.folder_),
      path_(other.havePath_ ? other.path_ : std::string()),
      name_(other.name_),
      part_(other.part_ ? std::make_unique<std::string>(*other.part_) : nullptr),
      start_(other.start_),
      scope_(other.scope_),
      kind_(other.kind_),
      unreadable_(other.unreadable_),
      havePath_(other.havePath_) {}

CFileDescriptor::~CFileDescriptor() = default;

std::unique_ptr<CFileDescriptor> CFileDescriptor::Rescoped(int scope) const {
    auto copy = std::make_unique<CFileDescriptor>(folder_, name_, scope);
    copy->kind_ = kind_;
    copy->unreadable_ = unreadable_;
    return copy;
}

const std::string& CFileDescriptor::path() const {
    if (!havePath_) {
        path_.reserve(folder_->size() + 1 + name_.size());
        path_.append(*folder_).append(1, platform::kPathSeparator).append(name_);
        havePath_ = true;
    }
    return path_;
}

void CFileDescriptor::CopyPathTo(std::string& out) const {
    if (havePath_) {
        out = path_;
        return;
    }
    out.assign(*folder_).append(1, platform::kPathSeparator).append(name_);
}

void CFileDescriptor::ScopeRange(const std::string& name, int scope, int& start, int& length) {
    // '.' is ASCII, so the last byte '.' is the last character '.' in UTF-8.
    const auto dot = name.rfind('.');
    const int size = static_cast<int>(name.size());
    switch (scope) {
        case kNameOnly:
            start = 0;
            length = dot == std::string::npos ? size : static_cast<int>(dot);
            break;
        case kExtensionWithDot:
            start = dot == std::string::npos ? size : static_cast<int>(dot);
            length = size - start;
            break;
        case kExtensionOnly:
            start = dot == std::string::npos ? size : static_cast<int>(dot) + 1;
            length = size - start;
            break;
        default:
            start = 0;
            length = size;
            break;
    }
}

void CFileDescriptor::ComputePart() {
    int length = 0;
    ScopeRange(name_, scope_, start_, length);
    if (start_ == 0 && length == static_cast<int>(name_.size()) && scope_ == kEntireName) {
        part_.reset();
        return;
    }
    part_ = std::make_unique<std::string>(start_ < static_cast<int>(name_.size()) ? name_.substr(start_, length)
                                                                                  : std::string());
}

void CFileDescriptor::SetName(const std::string& name) {
    // The part stays as it was, also where it is the name itself.
    if (!part_ && name != name_) part_ = std::make_unique<std::string>(name_);
    name_ = name;
    havePath_ = false;
    path_.clear();
}

void CFileDescriptor::SetPart(const std::string& part) {
    int length = 0;
    ScopeRange(name_, scope_, start_, length);
    // Put together in one string: a preview does this for every item on
    // every keystroke.
    const size_t start = std::min(static_cast<size_t>(start_), name_.size());
    const size_t rest = std::min(start + static_cast<size_t>(length), name_.size());
    std::string name;
    name.reserve(start + part.size() + (name_.size() - rest));
    name.append(name_, 0, start).append(part).append(name_, rest, std::string::npos);
    if (!part_ && name == part) {
        // The part is the whole new name again.
        name_ = std::move(name);
        havePath_ = false;
        path_.clear();
        return;
    }
    SetName(name);
    if (part_)
        *part_ = part;
    else
        part_ = std::make_unique<std::string>(part);
}

void SortByAddress(CFileList& list) {
    // A radix sort over the bits in which the addresses differ: for a million
    // items a comparison sort costs more than the freeing it speeds up.
    if (list.size() > 1) {
        uintptr_t low = UINTPTR_MAX, high = 0, last = 0;
        bool ordered = true;
        for (const auto& fd : list) {
            const auto address = reinterpret_cast<uintptr_t>(fd.get());
            low = std::min(low, address);
            high = std::max(high, address);
            ordered = ordered && address >= last;
            last = address;
        }
        // A list whose descriptors were made in its order, as a folder
        // listed by name is, is in order already.
        if (ordered) return;
        constexpr unsigned kBits = 11;
        constexpr size_t kBuckets = size_t{1} << kBits;
        CFileList other(list.size());
        std::vector<size_t> start(kBuckets);
        for (unsigned shift = 0; shift < 64 && (high - low) >> shift; shift += kBits) {
            const auto bucket = [&](const std::unique_ptr<CFileDescriptor>& fd) {
                return ((reinterpret_cast<uintptr_t>(fd.get()) - low) >> shift) & (kBuckets - 1);
            };
            std::fill(start.begin(), start.end(), 0);
            for (const auto& fd : list) ++start[bucket(fd)];
            size_t at = 0;
            for (auto& s : start) at += std::exchange(s, at);
            for (auto& fd : list) {
                const size_t b = bucket(fd);
                other[start[b]++] = std::move(fd);
            }
            list.swap(other);
        }
    }
}

void ReleaseFileList(CFileList& list) {
    SortByAddress(list);
    list.clear();
}

#include "core/FileDescriptor.h"

#include "core/PictureInfo.h"
#include "platform/FileSystem.h"

CFileDescriptor::CFileDescriptor(const std::string& path, int scope) : path_(path), scope_(scope) {
    const auto sep = path.find_last_of(platform::kPathSeparator);
    if (sep == std::string::npos) {
        folder_ = path;
    } else {
        folder_ = path.substr(0, sep);
        name_ = path.substr(sep + 1);
    }
    ComputePart();
}

CFileDescriptor::CFileDescriptor(const std::string& folder, const std::string& name, int scope)
    : folder_(folder), path_(folder + platform::kPathSeparator + name), name_(name), scope_(scope) {
    ComputePart();
}

CFileDescriptor::CFileDescriptor(const CFileDescriptor& other)
    : folder_(other.folder_),
      isFolder_(other.isFolder_),
      path_(other.path_),
      part_(other.part_),
      start_(other.start_),
      name_(other.name_),
      scope_(other.scope_) {}

CFileDescriptor::~CFileDescriptor() = default;

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
    part_ = start_ < static_cast<int>(name_.size()) ? name_.substr(start_, length) : std::string();
}

void CFileDescriptor::SetName(const std::string& name) {
    name_ = name;
    path_ = folder_ + platform::kPathSeparator + name;
}

void CFileDescriptor::SetPart(const std::string& part) {
    part_ = part;
    int length = 0;
    ScopeRange(name_, scope_, start_, length);
    std::string name;
    if (start_ < static_cast<int>(name_.size()))
        name = name_.substr(0, start_) + part + name_.substr(start_ + length);
    else
        name = name_ + part;
    SetName(name);
}

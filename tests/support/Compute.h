#pragma once

#include <cstddef>
#include <memory>

#include "core/Execute.h"
#include "platform/FileSystem.h"

namespace testing_support {

/// Asks `source` for new names one item after another, as a run does: each
/// call is the next position of one pass, reading times and pictures
/// through `fs`.
class CPass {
public:
    explicit CPass(INameSource& source, platform::IFileSystem& fs = platform::RealFileSystem())
        : source_(source), fs_(fs) {}
    std::unique_ptr<CFileDescriptor> operator()(const CFileDescriptor& fd) { return source_.Compute(fd, {next_++, fs_}); }

private:
    INameSource& source_;
    platform::IFileSystem& fs_;
    size_t next_ = 0;
};

}  // namespace testing_support

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Execute.h"
#include "core/RenameRun.h"
#include "platform/FileSystem.h"

namespace testing_support {

using NamePairs = std::vector<std::pair<std::string, std::string>>;

/// The old and new name of each row of a preview of `paths` by `op`, through
/// the steps every front end takes.
inline NamePairs PreviewNames(CExecute& op, const std::vector<std::string>& paths,
                              platform::IFileSystem& fs = platform::RealFileSystem(),
                              IPrompts& prompts = SkippingPrompts()) {
    CRenameRun run(op.options(), fs, prompts);
    CSelection selection = run.Collect(paths);
    run.Arrange(selection);
    CPreview rows;
    run.Preview(selection, op, rows);
    NamePairs out;
    for (const auto& r : rows) out.emplace_back(r.item->name(), r.newName);
    return out;
}

/// The old names, and the new names, of `rows` alone.
inline std::vector<std::string> OldNames(const NamePairs& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.first);
    return out;
}
inline std::vector<std::string> NewNames(const NamePairs& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.second);
    return out;
}

/// The old names, and the new names, of the rows of a preview.
inline std::vector<std::string> OldNames(const CPreview& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.item->name());
    return out;
}
inline std::vector<std::string> NewNames(const CPreview& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.newName);
    return out;
}

}  // namespace testing_support

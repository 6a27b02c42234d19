#pragma once

#include <string>
#include <vector>

#include "cli/Output.h"
#include "core/Selection.h"

/// The paths as a person typed them: where each is, whether it stands for a
/// folder's contents ("." and "..", alone or at the end of a path: the folder
/// itself is never renamed), and how its items are shown. Reads nothing but
/// the status of each typed path: the run reads the items.
class CTypedPaths {
public:
    /// Resolves `typed`; false with a one-line reason when a path is not
    /// there, or cannot be renamed (the root of a file system).
    bool Resolve(const std::vector<std::string>& typed, std::string& error);
    /// What the run is given. With `subfolders` off, a folder's contents are
    /// nothing: false, with the reason, when nothing at all is left.
    bool Given(bool subfolders, std::vector<CGivenPath>& out, std::string& error) const;
    /// False, with the reason, when a list written to `file` (a full path)
    /// would replace an item of the run: by its name, as what it is (a link
    /// to one, another name of one), or as an item inside a folder the run
    /// reads. `shown` is how the person typed the file.
    bool ListMayReplace(const std::string& file, const std::string& shown, bool subfolders, std::string& error) const;

    /// How the items show in tables and messages.
    CShownPaths& shown() { return shown_; }

private:
    struct Path {
        std::string typed;
        std::string full;
        bool contentsOnly = false;
        bool folder = false;
    };
    std::vector<Path> paths_;
    CShownPaths shown_;
};

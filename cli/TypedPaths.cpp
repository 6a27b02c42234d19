#include "cli/TypedPaths.h"

#include "platform/Console.h"
#include "platform/FileSystem.h"

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == platform::kPathSeparator;
}

// `text` without separators at its end (a root keeps its one).
std::string WithoutTrailingSeparators(const std::string& text) {
    std::string out = text;
    while (out.size() > 1 && IsSeparator(out.back())) out.pop_back();
    return out;
}

// "." and "..", alone or at the end of a path, stand for a folder that
// the person is in or above: its contents may be renamed, never the folder
// itself.
bool StandsInFolder(const std::string& typed) {
    const std::string t = WithoutTrailingSeparators(typed);
    for (const std::string_view tail : {".", ".."}) {
        if (t == tail) return true;
        if (t.size() > tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0 &&
            IsSeparator(t[t.size() - tail.size() - 1]))
            return true;
    }
    return false;
}

// How the contents of a folder typed as "." or "x/.." show: "" and "x/../".
std::string ContentsPrefix(const std::string& typed) {
    std::string t = WithoutTrailingSeparators(typed);
    if (t == ".") return {};
    if (t.size() >= 2 && t.compare(t.size() - 2, 2, "/.") == 0) t.resize(t.size() - 1);
    if (t.size() >= 2 && t.back() == '.' && IsSeparator(t[t.size() - 2])) t.resize(t.size() - 1);
    if (!t.empty() && !IsSeparator(t.back())) t += platform::kPathSeparator;
    return t;
}

// True when `path` lies inside the folder `folder`.
bool Inside(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == platform::kPathSeparator;
}

}  // namespace

bool CTypedPaths::Resolve(const std::vector<std::string>& typed, std::string& error) {
    for (const auto& t : typed) {
        Path p;
        p.typed = WithoutTrailingSeparators(t);
        p.contentsOnly = StandsInFolder(t);
        p.full = platform::FullPathName(t);
        if (p.full.empty()) {
            error = "cannot tell where \"" + DisplayName(t) + "\" is: the current folder cannot be read";
            return false;
        }
        platform::Attributes attrs;
        const uint32_t code = platform::RealFileSystem().GetAttributes(p.full, attrs);
        if (code != platform::kErrorSuccess) {
            error = "\"" + DisplayName(t) + "\": " + platform::ErrorMessage(code);
            return false;
        }
        p.folder = attrs.kind == platform::EntryKind::kFolder;
        if (p.contentsOnly && !attrs.isFolder()) {
            error = "\"" + DisplayName(t) + "\" is not a folder";
            return false;
        }
        if (!p.contentsOnly && platform::IsRootPath(p.full)) {
            error = "\"" + DisplayName(t) + "\" is the root of a file system, which cannot be renamed";
            return false;
        }
        if (p.contentsOnly)
            shown_.AddFolder(p.full, ContentsPrefix(p.typed));
        else
            shown_.AddGiven(p.full, p.typed);
        paths_.push_back(std::move(p));
    }
    return true;
}

bool CTypedPaths::Given(bool subfolders, std::vector<CGivenPath>& out, std::string& error) const {
    out.clear();
    for (const auto& p : paths_)
        if (!p.contentsOnly || subfolders) out.push_back({p.full, p.contentsOnly});
    if (!out.empty() || paths_.empty()) return true;
    error = "nothing to rename: \"" + DisplayName(paths_.front().typed) +
            "\" is never renamed itself, and --no-subfolders leaves out what it holds";
    return false;
}

bool CTypedPaths::ListMayReplace(const std::string& file, const std::string& shown, bool subfolders,
                                 std::string& error) const {
    platform::IFileSystem& fs = platform::RealFileSystem();
    platform::FileIdentity target, entry, item;
    const bool haveTarget = fs.GetIdentity(file, true, target) == platform::kErrorSuccess;
    const bool haveEntry = fs.GetIdentity(file, false, entry) == platform::kErrorSuccess;
    for (const auto& p : paths_) {
        const bool same = !p.contentsOnly && (p.full == file || (fs.GetIdentity(p.full, false, item) == 0 &&
                                                                 ((haveTarget && item == target) ||
                                                                  (haveEntry && item == entry))));
        // What a folder holds is an item too, when the run reads it.
        const bool held = (p.contentsOnly || p.folder) && subfolders && Inside(file, p.full);
        if (same || held) {
            error = "\"" + DisplayName(shown) + "\" is one of the items to list: the list would replace it";
            return false;
        }
    }
    return true;
}

#pragma once

// The names a person brings: a list read from a file (one new name per line,
// two columns of old and new, or a plan that --preview --json wrote), and the
// names edited in an editor. Only reading and checking here; the run matches
// them with its items.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One entry of a list: where it stands in the file and what it says.
struct CListedName {
    size_t line = 0;
    /// The item it names: an old name, or a path (typed as it was, or full in
    /// a plan). Empty in a list of new names only.
    std::string old;
    std::string name;  ///< the new name; a path in a column of new names
    /// A plan's record of the item as it found it, to find out whether it
    /// changed since.
    std::string kind;
    std::optional<uint64_t> size;
    std::optional<int64_t> modified;
};

struct CNameList {
    enum class Kind {
        kNames,    ///< one new name per line, in the run's order
        kColumns,  ///< old name or path, new name: by a tab, or as CSV
        kPlan,     ///< one JSON object per line, as --preview --json writes
    };
    Kind kind = Kind::kNames;
    std::vector<CListedName> entries;
};

/// Reads a list. A plan starts with "{"; a line with a tab makes tab
/// columns; a file whose name ends in ".csv", or whose first line is a
/// header such as "old,new", is CSV; anything else is one name per line.
/// False with the reason (and its line) when the text is not a list of its
/// kind. An empty line, or a new name with a path separator in a list of
/// names, is refused here; a list of names says nothing of how many items
/// there are, which the caller checks.
bool ReadNameList(std::string_view text, std::string_view fileName, CNameList& out, std::string& error);

/// Reads one new name per line, whatever the lines hold (a tab, a "{"):
/// what an editor gives back. False with the reason and its line for an
/// empty line or a name with a path separator.
bool ReadNames(std::string_view text, CNameList& out, std::string& error);

/// True when `name` holds a separator of the platform's paths.
bool HasSeparator(std::string_view name);

/// One line of a plan, as --preview --json writes it: the item's full path,
/// its new name and the preview's status, with what the item is, so that a
/// run of the plan can tell whether it changed since. Names that are not
/// UTF-8 go as hexadecimal bytes ("path_hex", "new_hex"), so that every
/// name comes back as it was.
std::string PlanLine(const std::string& path, const std::string& newName, std::string_view status,
                     std::string_view kind, std::optional<uint64_t> size, std::optional<int64_t> modified);

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Selection.h"
#include "core/PreviewCheck.h"

class CMainDlgModel;

/// `name` as it can be shown on one line of a terminal: control characters
/// and bytes that are not UTF-8 are written as \xNN, so that no name can
/// break a table or move the cursor.
std::string DisplayName(std::string_view name);

/// The columns `text` takes on a terminal: two for an East Asian wide or
/// fullwidth character, none for a combining mark or a zero-width one, one
/// for any other. `text` is shown text (no control characters).
size_t DisplayWidth(std::string_view text);

/// How the items of a run are shown to the person who typed its paths: as
/// the path they came from was typed, followed by the rest of their path
/// below it, so that a table holds short paths a shell would take.
class CShownPaths {
public:
    /// The item at `full` shows as `typed`; what lies below it, as `typed`,
    /// a separator and the rest; what lies beside it, as the folder `typed`
    /// names and its name.
    void AddGiven(const std::string& full, const std::string& typed);
    /// What lies below the folder `full` shows as `prefix` and the rest: the
    /// contents of "." show as the paths below it.
    void AddFolder(const std::string& full, const std::string& prefix);

    /// Appends how the item `name` of `folder` shows.
    void Append(const std::string& folder, std::string_view name, std::string& out);
    /// How the item at the full path `path` shows.
    std::string Show(const std::string& path);

private:
    struct Folder {
        std::string prefix;       ///< shown, ends in a separator unless empty
        bool holdsGiven = false;  ///< some of its items were given
    };
    const Folder& Find(const std::string& folder);

    std::unordered_map<std::string, std::string> given_;   ///< full path -> typed
    std::unordered_map<std::string, std::string> below_;   ///< folder -> prefix of what lies below
    std::unordered_map<std::string, std::string> beside_;  ///< folder of a given item -> its typed folder
    std::unordered_map<std::string, Folder> folders_;
    const std::string* last_ = nullptr;
    const Folder* lastFolder_ = nullptr;
};

/// How the preview table is written.
struct CTableStyle {
    bool all = false;     ///< rows whose names stay show too
    bool colour = false;  ///< the marks in colour (a terminal that wants it)
};

/// Writes the preview as three columns under the headings "Status", "Old"
/// and "New": the mark, the item as `paths` shows it, and the new name,
/// aligned by display width; passes the text to `write` in large pieces.
/// Unchanged rows are left out unless `style.all`.
void WritePreviewTable(const CPreview& rows, CShownPaths& paths, const CTableStyle& style,
                       const std::function<void(std::string_view)>& write);

/// The one line under the table: "3 to rename, 1 unchanged, 2 conflicts".
std::string PreviewSummary(const CPreviewCounts& counts);

/// Every action of the catalogue with its values: their names, kinds,
/// defaults and the choices they allow; and the scopes and sorting orders.
std::string DescribeActions(const CMainDlgModel& model);

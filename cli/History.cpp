#include "cli/History.h"

#include <algorithm>
#include <unordered_map>

#include "cli/Output.h"
#include "platform/FileSystem.h"

namespace {

std::string FileName(const std::string& path) {
    const auto sep = path.find_last_of(platform::kPathSeparator);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string PadLeft(const std::string& s, size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string PadRight(const std::string& s, size_t width) {
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

}  // namespace

std::string HistoryTable(const std::vector<CJournalRun>& runs) {
    // Which later undo took each run back.
    std::unordered_map<std::string, size_t> undoneBy;
    for (size_t i = 0; i < runs.size(); ++i)
        if (runs[i].header.kind == CJournalHeader::kUndo && !runs[i].header.undone.empty())
            undoneBy.emplace(runs[i].header.undone, i + 1);  // the newest undo of it, listed first

    struct Row {
        std::string number, started, items, run;
    };
    std::vector<Row> rows;
    rows.push_back({"#", "Started", "Items", "Run"});
    for (size_t i = 0; i < runs.size(); ++i) {
        const CJournalRun& r = runs[i];
        Row row{std::to_string(i + 1), "", "", ""};
        if (!r.readable) {  // refused before it could be read
            row.started = row.items = "-";
            row.run = DisplayName(FileName(r.path)) + " (refused: " + DisplayName(r.refusal) + ")";
            rows.push_back(std::move(row));
            continue;
        }
        row.started = JournalTimeText(r.header.time);
        row.items = std::to_string(r.renamed + r.unsure);
        row.run = r.header.kind == CJournalHeader::kUndo ? "undo of " + DisplayName(r.header.what)
                                                         : "\"" + DisplayName(r.header.what) + "\"";
        if (!r.header.where.empty()) row.run += " in " + DisplayName(r.header.where);
        if (!r.ended)
            row.run += " (cut short: " + std::to_string(r.unsure) + " of the items perhaps not renamed)";
        else if (r.stopped)
            row.run += " (stopped before the end)";
        if (!r.whole && r.ended) row.run += " (damaged: read as far as it is whole)";
        if (!r.refusal.empty()) row.run += " (refused: " + DisplayName(r.refusal) + ")";
        const auto by = undoneBy.find(FileName(r.path));
        if (by != undoneBy.end() && by->second < i + 1) row.run += " (taken back by #" + std::to_string(by->second) + ")";
        rows.push_back(std::move(row));
    }
    size_t w0 = 0, w1 = 0, w2 = 0;
    for (const auto& row : rows) {
        w0 = std::max(w0, row.number.size());
        w1 = std::max(w1, row.started.size());
        w2 = std::max(w2, row.items.size());
    }
    std::string out;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        std::string line = PadLeft(row.number, w0) + "  " + PadRight(row.started, w1) + "  " +
                           (i == 0 ? PadRight(row.items, w2) : PadLeft(row.items, w2)) + "  " + row.run;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

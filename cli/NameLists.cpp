#include "cli/NameLists.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/Output.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

struct Line {
    size_t number;
    std::string_view text;
};

// The lines of `text` without their breaks (a CR before a LF too: a list
// from a Windows program), and without a last empty one after the final
// break.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({++number, line});
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto first = out.find_first_not_of(" \t");
    const auto last = out.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

// A first line that names the two columns rather than an item.
bool IsHeader(std::string_view oldColumn, std::string_view newColumn) {
    static const char* const kOld[] = {"old", "old name", "oldname", "old path", "from", "source", "path",
                                       "name", "original", "file", "filename", "file name", "current"};
    static const char* const kNew[] = {"new", "new name", "newname", "new path", "to", "target", "destination",
                                       "rename to"};
    const std::string o = Lower(oldColumn), n = Lower(newColumn);
    return std::find(std::begin(kOld), std::end(kOld), o) != std::end(kOld) &&
           std::find(std::begin(kNew), std::end(kNew), n) != std::end(kNew);
}

std::string At(size_t line) {
    return "line " + std::to_string(line) + ": ";
}

// The records of CSV text, as spreadsheets write it: fields apart by
// commas, quoted with '"' where they hold a comma, a quote (doubled) or a
// line break. Each record with the line it starts on.
bool ParseCsv(std::string_view text, std::vector<std::pair<size_t, std::vector<std::string>>>& records,
              std::string& error) {
    size_t line = 1;
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = line;
        std::vector<std::string> fields(1);
        bool ended = false;
        while (!ended) {
            std::string& field = fields.back();
            if (i < text.size() && text[i] == '"') {
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        error = At(start) + "a quoted field has no closing quote";
                        return false;
                    }
                    const char c = text[i++];
                    if (c == '"') {
                        if (i < text.size() && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                }
                if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                    error = At(line) + "text after a closing quote";
                    return false;
                }
            } else {
                while (i < text.size() && text[i] != ',' && text[i] != '\n') field += text[i++];
                if (!field.empty() && field.back() == '\r' && (i >= text.size() || text[i] == '\n')) field.pop_back();
            }
            if (i < text.size() && text[i] == '\r') ++i;
            if (i >= text.size() || text[i] == '\n') {
                ended = true;
                if (i < text.size()) ++i, ++line;
            } else {
                ++i;  // the comma
                fields.emplace_back();
            }
        }
        records.emplace_back(start, std::move(fields));
    }
    return true;
}

bool EndsWithCsv(std::string_view name) {
    return name.size() >= 4 && Lower(name.substr(name.size() - 4)) == ".csv";
}

bool ValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        char32_t cp;
        bool valid = true;
        i += text::Decode(s, i, cp, &valid);
        if (!valid) return false;
    }
    return true;
}

std::string Hex(std::string_view s) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

bool FromHex(const std::string& hex, std::string& out) {
    if (hex.size() % 2) return false;
    out.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (size_t k = i; k < i + 2; ++k) {
            const char c = hex[k];
            const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (digit < 0) return false;
            value = value * 16 + digit;
        }
        out += static_cast<char>(value);
    }
    return true;
}

// A text field of a plan, or its hexadecimal form.
bool PlanText(const nlohmann::json& object, const char* key, std::string& out) {
    const std::string hexKey = std::string(key) + "_hex";
    if (object.contains(hexKey) && object[hexKey].is_string()) return FromHex(object[hexKey].get<std::string>(), out);
    if (!object.contains(key) || !object[key].is_string()) return false;
    out = object[key].get<std::string>();
    return true;
}

bool ReadPlan(const std::vector<Line>& lines, CNameList& out, std::string& error) {
    for (const Line& line : lines) {
        if (line.text.find_first_not_of(" \t") == std::string_view::npos) continue;
        const nlohmann::json object = nlohmann::json::parse(line.text, nullptr, false);
        CListedName entry;
        entry.line = line.number;
        if (object.is_discarded() || !object.is_object() || !PlanText(object, "path", entry.old) ||
            !PlanText(object, "new", entry.name)) {
            error = At(line.number) + "not a line of a plan (a JSON object with \"path\" and \"new\")";
            return false;
        }
        if (object.contains("kind") && object["kind"].is_string()) entry.kind = object["kind"].get<std::string>();
        if (object.contains("size") && object["size"].is_number_unsigned()) entry.size = object["size"].get<uint64_t>();
        if (object.contains("modified") && object["modified"].is_number_integer())
            entry.modified = object["modified"].get<int64_t>();
        out.entries.push_back(std::move(entry));
    }
    return true;
}

bool CheckNewName(const CListedName& entry, std::string& error) {
    if (entry.name.empty()) {
        error = At(entry.line) + "the new name is empty";
        return false;
    }
    return true;
}

}  // namespace

bool HasSeparator(std::string_view name) {
    return name.find('/') != std::string_view::npos ||
           name.find(platform::kPathSeparator) != std::string_view::npos;
}

bool ReadNameList(std::string_view text, std::string_view fileName, CNameList& out, std::string& error) {
    out = {};
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte order mark some editors write
    const std::vector<Line> lines = SplitLines(text);
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '{') {
        out.kind = CNameList::Kind::kPlan;
        return ReadPlan(lines, out, error);
    }
    const bool tabs = std::any_of(lines.begin(), lines.end(), [](const Line& l) {
        return l.text.find('\t') != std::string_view::npos;
    });
    if (tabs) {
        out.kind = CNameList::Kind::kColumns;
        for (const Line& line : lines) {
            const size_t tab = line.text.find('\t');
            if (tab == std::string_view::npos || line.text.find('\t', tab + 1) != std::string_view::npos) {
                error = At(line.number) + "two columns apart by one tab are wanted: the item, then its new name";
                return false;
            }
            const std::string_view oldColumn = line.text.substr(0, tab), newColumn = line.text.substr(tab + 1);
            if (line.number == 1 && IsHeader(oldColumn, newColumn)) continue;
            out.entries.push_back({line.number, std::string(oldColumn), std::string(newColumn), {}, {}, {}});
            if (oldColumn.empty()) {
                error = At(line.number) + "the item is empty";
                return false;
            }
            if (!CheckNewName(out.entries.back(), error)) return false;
        }
        return true;
    }
    if (!lines.empty()) {
        std::vector<std::pair<size_t, std::vector<std::string>>> records;
        std::string csvError;
        const bool parsed = ParseCsv(text, records, csvError);
        const bool header = parsed && !records.empty() && records[0].second.size() == 2 &&
                            IsHeader(records[0].second[0], records[0].second[1]);
        if (EndsWithCsv(fileName) || header) {
            if (!parsed) {
                error = csvError;
                return false;
            }
            out.kind = CNameList::Kind::kColumns;
            for (size_t r = header ? 1 : 0; r < records.size(); ++r) {
                const auto& [line, fields] = records[r];
                if (fields.size() != 2) {
                    error = At(line) + "two fields are wanted, the item and its new name, not " +
                            std::to_string(fields.size());
                    return false;
                }
                if (fields[0].empty()) {
                    error = At(line) + "the item is empty";
                    return false;
                }
                out.entries.push_back({line, fields[0], fields[1], {}, {}, {}});
                if (!CheckNewName(out.entries.back(), error)) return false;
            }
            return true;
        }
    }
    return ReadNames(text, out, error);
}

bool ReadNames(std::string_view text, CNameList& out, std::string& error) {
    out = {};
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    out.kind = CNameList::Kind::kNames;
    for (const Line& line : SplitLines(text)) {
        if (line.text.empty()) {
            error = At(line.number) + "the line is empty: every item needs its name";
            return false;
        }
        if (HasSeparator(line.text)) {
            error = At(line.number) + "\"" + DisplayName(std::string(line.text)) +
                    "\" holds a path separator: a name stays in its folder";
            return false;
        }
        out.entries.push_back({line.number, {}, std::string(line.text), {}, {}, {}});
    }
    return true;
}

std::string PlanLine(const std::string& path, const std::string& newName, std::string_view status,
                     std::string_view kind, std::optional<uint64_t> size, std::optional<int64_t> modified) {
    // Written by hand, in a fixed order, so that a plan reads well and
    // compares line by line.
    auto field = [](std::string& out, const char* key, const std::string& value) {
        if (ValidUtf8(value))
            out += "\"" + std::string(key) + "\":" + nlohmann::json(value).dump();
        else
            out += "\"" + std::string(key) + "_hex\":\"" + Hex(value) + "\"";
    };
    std::string out = "{";
    field(out, "path", path);
    out += ",";
    field(out, "new", newName);
    out += ",\"status\":" + nlohmann::json(std::string(status)).dump();
    out += ",\"kind\":" + nlohmann::json(std::string(kind)).dump();
    if (size) out += ",\"size\":" + std::to_string(*size);
    if (modified) out += ",\"modified\":" + std::to_string(*modified);
    return out + "}\n";
}

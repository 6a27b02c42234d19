#include "cli/Output.h"

#include <algorithm>

#include "cli/Names.h"
#include "core/Words.h"
#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

void AppendHex(std::string& out, unsigned char byte) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

// Most names need no escaping; they are passed on as they are.
bool Plain(std::string_view name) {
    for (unsigned char c : name)
        if (c < 0x20 || c >= 0x7F) return false;
    return true;
}

void AppendShown(std::string& out, std::string_view name) {
    if (Plain(name))
        out.append(name);
    else
        out += DisplayName(name);
}

constexpr size_t kChunk = 1 << 16;

std::string Quote(const std::string& s) {
    return "\"" + DisplayName(s) + "\"";
}

struct Range {
    char32_t first, last;
};

// East Asian Wide and Fullwidth, after Unicode's EastAsianWidth table.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18AFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// Marks that join the character before them, and characters of no width.
constexpr Range kZero[] = {
    {0x0300, 0x036F},   {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2}, {0x05C4, 0x05C5},
    {0x05C7, 0x05C7},   {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670}, {0x06D6, 0x06DC}, {0x06DF, 0x06E4},
    {0x0900, 0x0902},   {0x093C, 0x093C}, {0x0941, 0x0948}, {0x094D, 0x094D}, {0x0E31, 0x0E31}, {0x0E34, 0x0E3A},
    {0x0E47, 0x0E4E},   {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064},
    {0x20D0, 0x20FF},   {0x302A, 0x302D}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
    {0xE0100, 0xE01EF},
};

template <size_t N>
bool In(const Range (&ranges)[N], char32_t cp) {
    const auto it = std::upper_bound(std::begin(ranges), std::end(ranges), cp,
                                     [](char32_t c, const Range& r) { return c < r.first; });
    return it != std::begin(ranges) && cp <= std::prev(it)->last;
}

const char* MarkColour(CRowStatus status) {
    switch (status) {
        case CRowStatus::kRenamed:
            return "\x1b[32m";  // green
        case CRowStatus::kUnchanged:
        case CRowStatus::kLeftOut:
            return "\x1b[2m";  // dim
        default:
            return "\x1b[1;31m";  // bold red
    }
}


const char* ScopeRuleText(ScopeRule rule) {
    switch (rule) {
        case ScopeRule::kAlways:
            return "every scope";
        case ScopeRule::kNotExtension:
            return "scopes entire and name";
        case ScopeRule::kNotExtensionWithSeparator:
            return "scopes entire, name and ext";
        case ScopeRule::kNameOnly:
            return "scope name only";
    }
    return "";
}

void DescribeValue(std::string& out, const CRenameDlg& panel, const CPanelBinding& b) {
    out += "    " + b.name();
    out += std::string(b.name().size() < 26 ? 26 - b.name().size() : 1, ' ');
    switch (b.kind) {
        case ValueKind::kEditText:
            switch (b.rule) {
                case TextRule::kAny:
                    out += "text";
                    break;
                case TextRule::kDigitsOnly:
                    out += b.name() == "step" ? "a whole number, negative too" : "digits";
                    break;
                case TextRule::kStartLetters:
                    out += "letters a to z";
                    break;
            }
            if (b.maxChars > 0) out += ", at most " + std::to_string(b.maxChars) + " character(s)";
            out += ", default " + Quote(b.defaultText) + "\n";
            return;
        case ValueKind::kCheckBox:
            out += "0 or 1, default " + std::to_string(b.defaultNumber) + "\n";
            return;
        case ValueKind::kComboIndex: {
            const auto names = ChoiceNames(panel, b);
            const auto entries = PanelComboEntries(panel.templateId(), b.controlId);
            const size_t d = static_cast<size_t>(b.defaultNumber);
            out += "choice, default " + (d < names.size() ? names[d] : std::to_string(b.defaultNumber)) + "\n";
            for (int i = 0; i < b.entries; ++i) {
                const size_t k = static_cast<size_t>(i);
                out += "        " + std::to_string(i);
                if (k < names.size()) out += "  " + names[k];
                if (k < entries.size() && !entries[k].empty()) out += "  " + Quote(entries[k]);
                out += "\n";
            }
            return;
        }
        case ValueKind::kRadioGroup: {
            const auto names = ChoiceNames(panel, b);
            std::string fallback = std::to_string(b.defaultNumber);
            for (size_t i = 0; i < b.radios.size(); ++i)
                if (b.radios[i].radioId == b.defaultNumber && i < names.size()) fallback = names[i];
            out += "choice, default " + fallback + "\n";
            for (size_t i = 0; i < b.radios.size(); ++i) {
                out += "        " + (i < names.size() ? names[i] : std::string("?")) + " (" +
                       std::to_string(b.radios[i].radioId) + ") uses";
                for (int id : b.radios[i].enables)
                    if (const CPanelBinding* used = panel.FindControl(id)) out += " " + used->name();
                out += "\n";
            }
            return;
        }
    }
}

}  // namespace

std::string DisplayName(std::string_view name) {
    if (Plain(name)) return std::string(name);
    std::string out;
    size_t i = 0;
    while (i < name.size()) {
        char32_t cp = 0;
        bool valid = true;
        const size_t next = i + text::Decode(name, i, cp, &valid);
        if (!valid || next <= i) {
            AppendHex(out, static_cast<unsigned char>(name[i]));
            ++i;
            continue;
        }
        if (cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) {
            for (size_t k = i; k < next; ++k) AppendHex(out, static_cast<unsigned char>(name[k]));
        } else {
            out.append(name.substr(i, next - i));
        }
        i = next;
    }
    return out;
}

size_t DisplayWidth(std::string_view text) {
    if (Plain(text)) return text.size();
    size_t width = 0;
    for (size_t i = 0; i < text.size();) {
        char32_t cp;
        i += text::Decode(text, i, cp);
        if (cp < 0x300)
            ++width;
        else if (In(kZero, cp))
            continue;
        else
            width += In(kWide, cp) ? 2 : 1;
    }
    return width;
}

void CShownPaths::AddGiven(const std::string& full, const std::string& typed) {
    given_[full] = typed;
    below_[full] = typed + platform::kPathSeparator;
    const auto sep = full.find_last_of(platform::kPathSeparator);
    const auto typedSep = typed.find_last_of(platform::kPathSeparator);
    if (sep != std::string::npos)
        beside_[full.substr(0, sep)] = typedSep == std::string::npos ? std::string() : typed.substr(0, typedSep + 1);
    folders_.clear();
    last_ = nullptr;
}

void CShownPaths::AddFolder(const std::string& full, const std::string& prefix) {
    below_[full] = prefix;
    folders_.clear();
    last_ = nullptr;
}

const CShownPaths::Folder& CShownPaths::Find(const std::string& folder) {
    const auto known = folders_.find(folder);
    if (known != folders_.end()) return known->second;
    Folder f;
    const auto beside = beside_.find(folder);
    f.holdsGiven = beside != beside_.end();
    // The folder itself as typed, the folder of a given item, or else the
    // nearest folder above it that was given; the full path as a last resort.
    const auto exact = below_.find(folder);
    if (exact != below_.end()) {
        f.prefix = DisplayName(exact->second);
    } else if (f.holdsGiven) {
        f.prefix = DisplayName(beside->second);
    } else {
        f.prefix = DisplayName(folder + platform::kPathSeparator);
        std::string_view up = folder;
        for (auto sep = up.find_last_of(platform::kPathSeparator); sep != std::string_view::npos && sep > 0;
             sep = up.find_last_of(platform::kPathSeparator)) {
            up = up.substr(0, sep);
            const auto it = below_.find(std::string(up));
            if (it == below_.end()) continue;
            f.prefix = DisplayName(it->second) + DisplayName(folder.substr(up.size() + 1)) + platform::kPathSeparator;
            break;
        }
    }
    return folders_.emplace(folder, std::move(f)).first->second;
}

void CShownPaths::Append(const std::string& folder, std::string_view name, std::string& out) {
    if (&folder != last_) {
        lastFolder_ = &Find(folder);
        last_ = &folder;
    }
    if (lastFolder_->holdsGiven) {
        const auto it = given_.find(folder + platform::kPathSeparator + std::string(name));
        if (it != given_.end()) {
            out += DisplayName(it->second);
            return;
        }
    }
    out += lastFolder_->prefix;
    AppendShown(out, name);
}

std::string CShownPaths::Show(const std::string& path) {
    const auto sep = path.find_last_of(platform::kPathSeparator);
    std::string out;
    if (sep == std::string::npos) {
        AppendShown(out, path);
        return out;
    }
    // Looked up afresh: the string is not one the table keeps.
    last_ = nullptr;
    const std::string folder = path.substr(0, sep);
    Append(folder, std::string_view(path).substr(sep + 1), out);
    last_ = nullptr;
    return out;
}

#if defined(__GNUC__)
// Every cache line a descriptor spans, wherever it starts in one. A macro:
// GCC drops a call to a function that only prefetches.
#define QLN_PREFETCH_ITEM(item)                                                          \
    do {                                                                                 \
        const char* at = reinterpret_cast<const char*>(item);                            \
        for (size_t offset = 0; offset < sizeof(CFileDescriptor); offset += 64)          \
            __builtin_prefetch(at + offset);                                             \
        __builtin_prefetch(at + sizeof(CFileDescriptor) - 1);                            \
    } while (false)
#endif

void WritePreviewTable(const CPreview& rows, CShownPaths& paths, const CTableStyle& style,
                       const std::function<void(std::string_view)>& write) {
    constexpr size_t kMarkWidth = 12;  // "invalid name"
    // Calls `each` with every row shown and its old path as shown. The rows'
    // items lie scattered in memory when sorted by anything but name: each
    // is asked for a few rows ahead of its use.
    std::string cell;
    auto eachShown = [&](auto&& each) {
        constexpr size_t kAhead = 8;
        for (size_t i = 0; i < rows.size(); ++i) {
#if defined(__GNUC__)
            if (i + kAhead < rows.size()) QLN_PREFETCH_ITEM(rows[i + kAhead].item);
#endif
            const CPreviewRow& r = rows[i];
            if (KeepsName(r.status) && !style.all) continue;
            cell.clear();
            paths.Append(r.item->folder(), r.item->name(), cell);
            each(r);
        }
    };
    size_t width = 3;  // "Old"
    eachShown([&](const CPreviewRow&) { width = std::max(width, DisplayWidth(cell)); });
    std::string buffer;
    buffer.reserve(kChunk + 1024);
    auto line = [&](const char* mark, const char* colour, std::string_view old, std::string_view shownNew) {
        if (colour) buffer += colour;
        buffer += mark;
        if (colour) buffer += "\x1b[0m";
        buffer.append(kMarkWidth - std::string_view(mark).size() + 2, ' ');
        buffer += old;
        buffer.append(width - DisplayWidth(old) + 2, ' ');
        AppendShown(buffer, shownNew);
        buffer += '\n';
        if (buffer.size() >= kChunk) {
            write(buffer);
            buffer.clear();
        }
    };
    line("Status", nullptr, "Old", "New");
    eachShown([&](const CPreviewRow& r) {
        line(StatusWord(r.status), style.colour ? MarkColour(r.status) : nullptr, cell, r.newName);
    });
    if (!buffer.empty()) write(buffer);
}

std::string PreviewSummary(const CPreviewCounts& counts) {
    return GroupedNumber(counts.renamed) + " to rename, " + GroupedNumber(counts.unchanged) + " unchanged, " +
           Count(counts.conflicts, "conflict", "conflicts") +
           (counts.leftOut ? ", " + GroupedNumber(counts.leftOut) + " left out" : std::string()) + "\n";
}

std::string DescribeActions(const CMainDlgModel& model) {
    std::string out = "Scopes (--change, by name or number):\n";
    const auto scopes = ScopeTexts();
    for (size_t i = 0; i < scopes.size(); ++i)
        out += "    " + std::to_string(i) + "  " + ScopeNames()[i] + "  " + Quote(scopes[i]) + "\n";
    out += "Sorting orders (--sort, by name or number):\n";
    const auto orders = SortOrderTexts();
    for (size_t i = 0; i < orders.size(); ++i)
        out += "    " + std::to_string(i) + "  " + SortOrderNames()[i] + "  " + Quote(orders[i]) + "\n";
    out +=
        "Actions (--action, by text or short form) and their values (--set NAME=VALUE; a choice by name or "
        "number):\n";
    const auto catalogue = ActionCatalogue();
    for (size_t i = 0; i < catalogue.size(); ++i) {
        const CRenameDlg* panel = model.panels()[i].get();
        if (catalogue[i].blank()) continue;
        if (!panel) {
            out += "  " + Quote(LoadStringText(catalogue[i].textId)) + " (not available in this build)\n";
            continue;
        }
        out += "  " + Quote(panel->actionName()) + "  " + ShortForm(panel->actionName()) + "  (" +
               ScopeRuleText(panel->scopeRule()) + ")\n";
        if (panel->bindings().empty()) out += "    no values\n";
        for (const auto& b : panel->bindings()) DescribeValue(out, *panel, b);
    }
    return out;
}

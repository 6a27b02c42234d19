#include "cli/Output.h"

#include <algorithm>

#include "cli/Arguments.h"
#include "dialog/ActionCatalogue.h"
#include "dialog/ControlTexts.h"
#include "dialog/MainDlgModel.h"
#include "dialog/StringTable.h"
#include "dialog/panels/RenameDlg.h"
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

constexpr size_t kChunk = 1 << 16;

std::string Quote(const std::string& s) {
    return "\"" + DisplayName(s) + "\"";
}

const char* ScopeRuleText(ScopeRule rule) {
    switch (rule) {
        case ScopeRule::kAlways:
            return "every scope";
        case ScopeRule::kNotExtension:
            return "scopes 0 and 1";
        case ScopeRule::kNotExtensionWithSeparator:
            return "scopes 0, 1 and 3";
        case ScopeRule::kNameOnly:
            return "scope 1 only";
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
                    out += "digits";
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
            out += "choice, default " + std::to_string(b.defaultNumber) + "\n";
            const auto entries = PanelComboEntries(panel.templateId(), b.controlId);
            for (int i = 0; i < b.entries; ++i) {
                out += "        " + std::to_string(i);
                if (i < static_cast<int>(entries.size()))
                    out += entries[i].empty() ? " (none)" : " " + Quote(entries[i]);
                out += "\n";
            }
            return;
        }
        case ValueKind::kRadioGroup:
            out += "button, default " + std::to_string(b.defaultNumber) + "\n";
            for (const auto& radio : b.radios) {
                out += "        " + std::to_string(radio.radioId) + " uses";
                for (int id : radio.enables)
                    if (const CPanelBinding* used = panel.FindControl(id)) out += " " + used->name();
                out += "\n";
            }
            return;
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
        const size_t next = i + text::decode(name, i, cp, &valid);
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

void WritePreviewTable(const CPreview& rows, const std::function<void(std::string_view)>& write) {
    size_t width = 3;  // "Old"
    for (const auto& r : rows) {
        const std::string& n = r.item->name();
        width = std::max(width, Plain(n) ? n.size() : text::charCount(DisplayName(n)));
    }
    std::string buffer;
    buffer.reserve(kChunk + 1024);
    auto row = [&](const std::string& left, const std::string& right) {
        const bool plain = Plain(left);
        const std::string shown = plain ? std::string() : DisplayName(left);
        const std::string& l = plain ? left : shown;
        buffer += l;
        buffer.append(width - (plain ? l.size() : text::charCount(l)) + 2, ' ');
        if (Plain(right))
            buffer += right;
        else
            buffer += DisplayName(right);
        buffer += '\n';
        if (buffer.size() >= kChunk) {
            write(buffer);
            buffer.clear();
        }
    };
    row("Old", "New");
    for (const auto& r : rows) row(r.item->name(), r.newName);
    if (!buffer.empty()) write(buffer);
}

std::string DescribeActions(const CMainDlgModel& model) {
    std::string out = "Scopes (--change):\n";
    const auto scopes = ScopeTexts();
    for (size_t i = 0; i < scopes.size(); ++i) out += "    " + std::to_string(i) + "  " + Quote(scopes[i]) + "\n";
    out += "Sorting orders (--sort):\n";
    const auto orders = SortOrderTexts();
    for (size_t i = 0; i < orders.size(); ++i) out += "    " + std::to_string(i) + "  " + Quote(orders[i]) + "\n";
    out += "Actions (--action, by text or short form) and their values (--set NAME=VALUE):\n";
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

#include "dialog/panels/RenameDlg.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "dialog/ActionCatalogue.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "operations/Alpha.h"
#include "platform/Text.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Strict decimal, as typed on a command line: nothing before or after.
bool ParseInt(const std::string& s, int& out) {
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && ptr == end && !s.empty();
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Keeps what the rule allows; true when something was dropped.
bool ApplyRule(const CPanelBinding& b, std::string& text) {
    const std::string before = text;
    if (b.rule == TextRule::kDigitsOnly)
        std::erase_if(text, [](char c) { return !IsDigit(c); });
    else if (b.rule == TextRule::kStartLetters)
        FilterStartLetters(text);
    if (b.maxChars > 0) text.resize(text::ByteOffset(text, static_cast<size_t>(b.maxChars)));
    return text != before;
}

}  // namespace

std::string CPanelBinding::name() const {
    return LoadStringText(nameId);
}

bool CPanelBinding::Accepts(const std::string& value) const {
    if (kind != ValueKind::kEditText) return false;
    std::string copy = value;
    return !ApplyRule(*this, copy);
}

bool CPanelBinding::Accepts(int value) const {
    switch (kind) {
        case ValueKind::kComboIndex:
            return value >= 0 && value < entries;
        case ValueKind::kCheckBox:
            return value == 0 || value == 1;
        case ValueKind::kRadioGroup:
            return std::any_of(radios.begin(), radios.end(), [&](const CRadioChoice& r) { return r.radioId == value; });
        case ValueKind::kEditText:
            return false;
    }
    return false;
}

CRenameDlg::CRenameDlg(CSettingsStore* store, int actionNameId, ScopeRule scopeRule, FocusKind focusKind,
                       int focusControl)
    : actionName_(LoadStringText(actionNameId)),
      store_(store),
      actionNameId_(actionNameId),
      scopeRule_(scopeRule),
      focusKind_(focusKind),
      focusControl_(focusControl) {}

CRenameDlg::~CRenameDlg() = default;

int CRenameDlg::templateId() const {
    for (const CCatalogueSlot& slot : ActionCatalogue())
        if (!slot.blank() && slot.textId == actionNameId_) return slot.panelTemplate;
    return 0;
}

std::unique_ptr<CExecute> CRenameDlg::CreateOperation(const CRunOptions& options) {
    std::unique_ptr<CExecute> op = MakeOperation(options);
    if (op && saves_) Save();
    return op;
}

std::unique_ptr<CExecute> CRenameDlg::MakeOperation(const CRunOptions& options) const {
    CRunOptions scoped = options;
    scoped.scope = scope_;
    return Build(scoped);
}

std::vector<std::pair<std::string, std::string>> CRenameDlg::Values() const {
    std::vector<std::pair<std::string, std::string>> values;
    for (const auto& b : bindings_) values.emplace_back(b.name(), GetValue(b.name()));
    return values;
}

bool CRenameDlg::SetValues(const std::vector<std::pair<std::string, std::string>>& values, std::string* error) {
    ResetToDefaults();
    for (const auto& [name, value] : values) {
        const CPanelBinding* b = FindValue(name);
        if (!(b && SetNegativeStep(*b, value)) && !SetValue(name, value, error)) return false;
    }
    return true;
}

bool SetNegativeStep(const CPanelBinding& b, const std::string& value) {
    // The counter of a numbering action moves by any whole step; only the
    // dialog's number field keeps the minus sign out.
    if (b.kind != ValueKind::kEditText || b.rule != TextRule::kDigitsOnly || b.name() != "step" || !b.text)
        return false;
    if (value.size() < 2 || value[0] != '-' || value.size() > 11 ||
        value.find_first_not_of("0123456789", 1) != std::string::npos)
        return false;
    *b.text = value;
    return true;
}

bool CRenameDlg::AppliesToScope(int scope) const {
    switch (scopeRule_) {
        case ScopeRule::kAlways:
            return true;
        case ScopeRule::kNotExtension:
            return scope != 2 && scope != 3;
        case ScopeRule::kNotExtensionWithSeparator:
            return scope != 2;
        case ScopeRule::kNameOnly:
            return scope == 1;
    }
    return true;
}

const CPanelBinding* CRenameDlg::FindControl(int controlId) const {
    for (const auto& b : bindings_)
        if (b.controlId != 0 && b.controlId == controlId) return &b;
    return nullptr;
}

const CPanelBinding* CRenameDlg::FindValue(const std::string& name) const {
    for (const auto& b : bindings_)
        if (b.name() == name) return &b;
    return nullptr;
}

bool CRenameDlg::SetValue(const std::string& name, const std::string& value, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const CPanelBinding* b = FindValue(name);
    if (!b) return fail("\"" + actionName_ + "\" has no value \"" + name + "\"");
    if (b->kind == ValueKind::kEditText) {
        const std::string typed = b->lowercase ? LowerAscii(value) : value;
        if (!b->Accepts(typed)) {
            if (b->rule == TextRule::kDigitsOnly) return fail("\"" + name + "\" takes digits only");
            if (b->rule == TextRule::kStartLetters) return fail("\"" + name + "\" takes the letters a to z only");
            return fail("\"" + name + "\" takes at most " + std::to_string(b->maxChars) + " character(s)");
        }
        *b->text = typed;
        return true;
    }
    int n = 0;
    if (!ParseInt(value, n) || !b->Accepts(n)) {
        switch (b->kind) {
            case ValueKind::kComboIndex:
                return fail("\"" + name + "\" takes an index from 0 to " + std::to_string(b->entries - 1));
            case ValueKind::kCheckBox:
                return fail("\"" + name + "\" takes 0 or 1");
            default: {
                std::string ids;
                for (const auto& r : b->radios) ids += (ids.empty() ? "" : ", ") + std::to_string(r.radioId);
                return fail("\"" + name + "\" takes one of " + ids);
            }
        }
    }
    *b->number = n;
    return true;
}

std::string CRenameDlg::GetValue(const std::string& name) const {
    const CPanelBinding* b = FindValue(name);
    if (!b) return {};
    return b->kind == ValueKind::kEditText ? *b->text : std::to_string(*b->number);
}

bool CRenameDlg::CheckRadio(int radioId) {
    for (auto& b : bindings_) {
        if (b.kind != ValueKind::kRadioGroup || !b.Accepts(radioId)) continue;
        *b.number = radioId;
        return true;
    }
    return false;
}

std::vector<std::pair<int, bool>> CRenameDlg::ControlStates() const {
    std::vector<std::pair<int, bool>> out;
    for (const auto& b : bindings_) {
        if (b.kind != ValueKind::kRadioGroup) continue;
        for (const auto& r : b.radios)
            for (int id : r.enables) out.emplace_back(id, r.radioId == *b.number);
    }
    return out;
}

bool CRenameDlg::IsControlEnabled(int controlId) const {
    for (const auto& [id, enabled] : ControlStates())
        if (id == controlId) return enabled;
    return true;
}

bool CRenameDlg::FilterText(int controlId, std::string& text) const {
    const CPanelBinding* b = FindControl(controlId);
    if (!b || b->kind != ValueKind::kEditText) return false;
    if (b->lowercase) text = LowerAscii(text);
    return ApplyRule(*b, text);
}

void CRenameDlg::NotifyChanged() {
    if (listener_) listener_(*this);
}

void CRenameDlg::ResetToDefaults() {
    for (auto& b : bindings_) {
        if (b.kind == ValueKind::kEditText)
            *b.text = b.defaultText;
        else
            *b.number = b.defaultNumber;
    }
}

void CRenameDlg::BindText(int controlId, int nameId, std::string& member, const std::string& defaultText,
                          TextRule rule) {
    CPanelBinding b;
    b.controlId = controlId;
    b.kind = ValueKind::kEditText;
    b.nameId = nameId;
    b.text = &member;
    b.defaultText = defaultText;
    b.rule = rule;
    bindings_.push_back(std::move(b));
}

void CRenameDlg::BindCombo(int controlId, int nameId, int& member, int entries, int defaultIndex) {
    CPanelBinding b;
    b.controlId = controlId;
    b.kind = ValueKind::kComboIndex;
    b.nameId = nameId;
    b.number = &member;
    b.defaultNumber = defaultIndex;
    b.entries = entries;
    bindings_.push_back(std::move(b));
}

void CRenameDlg::BindCheck(int controlId, int nameId, int& member, int defaultValue) {
    CPanelBinding b;
    b.controlId = controlId;
    b.kind = ValueKind::kCheckBox;
    b.nameId = nameId;
    b.number = &member;
    b.defaultNumber = defaultValue;
    bindings_.push_back(std::move(b));
}

void CRenameDlg::BindRadios(int nameId, int& member, std::vector<CRadioChoice> radios, int defaultId) {
    CPanelBinding b;
    b.kind = ValueKind::kRadioGroup;
    b.nameId = nameId;
    b.number = &member;
    b.defaultNumber = defaultId;
    b.radios = std::move(radios);
    bindings_.push_back(std::move(b));
}

CPanelBinding& CRenameDlg::Binding(int nameId) {
    for (auto& b : bindings_)
        if (b.nameId == nameId) return b;
    // A panel asking for a value it never bound is a programming error that
    // the tests over every panel would show at once.
    std::abort();
}

void CRenameDlg::Restore() {
    ResetToDefaults();
    if (!store_) return;
    // Several actions share value names, so the stored values belong to the
    // last action that built an operation, and only to it.
    if (store_->ReadString(kStrLastSelection) != actionName_) return;
    for (auto& b : bindings_) {
        if (b.kind == ValueKind::kEditText) {
            std::string stored = store_->ReadString(b.nameId);
            if (b.emptyMeansDefault && stored.empty()) continue;
            if (b.Accepts(stored)) *b.text = std::move(stored);
        } else {
            // -1 is what a missing number reads as; it, and any index the
            // field cannot show, would reach the operation as a wrong choice.
            const int stored = store_->ReadNumber(b.nameId);
            if (b.Accepts(stored)) *b.number = stored;
        }
    }
}

void CRenameDlg::Save() {
    if (!store_) return;
    store_->WriteString(kStrLastSelection, actionName_);
    for (const auto& b : bindings_) {
        if (b.kind == ValueKind::kEditText)
            store_->WriteString(b.nameId, *b.text);
        else
            store_->WriteNumber(b.nameId, *b.number);
    }
}

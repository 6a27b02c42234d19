#include "dialog/Presets.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

using Json = nlohmann::ordered_json;

// What a preset file says it is. A later version that keeps the shape
// writes the same; one that cannot be read by this one would name another.
constexpr const char* kFormatKey = "quorlinPreset";
constexpr int kFormat = 1;
constexpr size_t kMaxNameChars = 100;
// A preset of a hundred steps takes a few tens of kilobytes: a file much
// larger is something else (or endless, as a device may be).
constexpr size_t kMaxFileBytes = 1 << 20;

// Structural faults: the member at fault and what it should be.
struct Fault {
    std::string where, what;
};

// The options a preset keeps: those of a run, not the preview's switch.
bool Kept(const CSectionOption& option) {
    return option.member != &CDialogOptions::preview;
}

Json StepJson(const CStep& step) {
    Json values = Json::object();
    for (const auto& [name, value] : step.values) values[name] = value;
    return Json{{"scope", step.scope}, {"action", step.action}, {"values", std::move(values)}};
}

Json StepsJson(const std::vector<CStep>& steps) {
    Json list = Json::array();
    for (const auto& step : steps) list.push_back(StepJson(step));
    return list;
}

const Json& Member(const Json& object, const char* name, const std::string& where, Json::value_t type,
                   const char* kind) {
    const auto it = object.find(name);
    if (it == object.end()) throw Fault{where + name, "is missing"};
    if (it->type() != type && !(type == Json::value_t::number_integer && it->is_number_unsigned()))
        throw Fault{where + name, std::string(kind) + " is expected"};
    return *it;
}

CStep StepOf(const Json& json, const std::string& where) {
    if (!json.is_object()) throw Fault{where, "a step ({\"scope\", \"action\", \"values\"}) is expected"};
    CStep step;
    const Json& scope = Member(json, "scope", where + ".", Json::value_t::number_integer, "a number from 0 to 3");
    step.scope = scope.get<int>();
    if (step.scope < 0 || step.scope > 3) throw Fault{where + ".scope", "a number from 0 to 3 is expected"};
    step.action = Member(json, "action", where + ".", Json::value_t::string, "a text").get<std::string>();
    const auto values = json.find("values");
    if (values == json.end()) return step;
    if (!values->is_object()) throw Fault{where + ".values", "an object of names and values is expected"};
    for (const auto& [name, value] : values->items()) {
        if (value.is_string())
            step.values.emplace_back(name, value.get<std::string>());
        else if (value.is_number_integer())
            step.values.emplace_back(name, std::to_string(value.get<long long>()));
        else if (value.is_boolean())
            step.values.emplace_back(name, value.get<bool>() ? "1" : "0");
        else
            throw Fault{where + ".values." + name, "a text or a number is expected"};
    }
    return step;
}

std::vector<CStep> StepsOf(const Json& list, const std::string& where) {
    if (!list.is_array() || list.empty()) throw Fault{where, "a list of one step or more is expected"};
    std::vector<CStep> steps;
    for (size_t i = 0; i < list.size(); ++i) steps.push_back(StepOf(list[i], where + "[" + std::to_string(i) + "]"));
    return steps;
}

CPreset PresetOf(const Json& json, const std::string& where) {
    if (!json.is_object()) throw Fault{where.empty() ? "the file" : where, "a preset object is expected"};
    const std::string dot = where.empty() ? "" : where + ".";
    const auto format = json.find(kFormatKey);
    if (format == json.end() || !format->is_number_integer() || format->get<long long>() < 1)
        throw Fault{dot + kFormatKey, "is missing: this is not a preset file"};
    CPreset preset;
    if (const auto name = json.find("name"); name != json.end()) {
        if (!name->is_string()) throw Fault{dot + "name", "a text is expected"};
        preset.name = name->get<std::string>();
    }
    preset.steps = StepsOf(Member(json, "steps", dot, Json::value_t::array, "a list of steps"), dot + "steps");
    const auto options = json.find("options");
    if (options == json.end()) return preset;
    if (!options->is_object()) throw Fault{dot + "options", "an object of options is expected"};
    for (const CSectionOption& option : SectionOptions()) {
        if (!Kept(option)) continue;
        const std::string name = LoadStringText(option.nameId);
        const auto value = options->find(name);
        if (value == options->end()) continue;
        const std::string expected = "a number from 0 to " + std::to_string(option.values - 1) + " is expected";
        if (!value->is_number_integer() && !value->is_boolean()) throw Fault{dot + "options." + name, expected};
        const long long n = value->is_boolean() ? value->get<bool>() : value->get<long long>();
        if (n < 0 || n >= option.values) throw Fault{dot + "options." + name, expected};
        preset.options.*option.member = static_cast<int>(n);
    }
    return preset;
}

Json PresetJson(const CPreset& preset) {
    Json options = Json::object();
    for (const CSectionOption& option : SectionOptions())
        if (Kept(option)) options[LoadStringText(option.nameId)] = preset.options.*option.member;
    return Json{{kFormatKey, kFormat},
                {"name", preset.name},
                {"steps", StepsJson(preset.steps)},
                {"options", std::move(options)}};
}

// Where byte `offset` of `text` is, as an editor counts: lines and
// characters from 1.
std::string Place(const std::string& text, size_t offset) {
    offset = std::min(offset, text.size());
    const size_t lineStart = offset == 0 ? 0 : text.rfind('\n', offset - 1) + 1;  // npos + 1 is 0
    const size_t line = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + lineStart, '\n'));
    const size_t column = 1 + text::CharCount(std::string_view(text).substr(lineStart, offset - lineStart));
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The parser's reason without its own prefix and place, which Place tells.
std::string Reason(const nlohmann::json::parse_error& e) {
    std::string what = e.what();
    const auto colon = what.find(": ");
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

bool Parse(const std::string& text, Json& json, std::string& error) {
    try {
        json = Json::parse(text);
        return true;
    } catch (const nlohmann::json::parse_error& e) {
        // The parser counts the byte after the one at fault.
        error = Place(text, e.byte > 0 ? e.byte - 1 : 0) + ": " + Reason(e);
        return false;
    }
}

}  // namespace

std::string PresetText(const CPreset& preset) {
    return PresetJson(preset).dump(2) + "\n";
}

bool ReadPreset(const std::string& text, CPreset& preset, std::string& error) {
    Json json;
    if (!Parse(text, json, error)) return false;
    try {
        preset = PresetOf(json, "");
        return true;
    } catch (const Fault& fault) {
        error = fault.where + ": " + fault.what;
        return false;
    }
}

bool ReadPresetFile(platform::IFileSystem& fs, const std::string& path, CPreset& preset, std::string& error) {
    uint32_t code = platform::kErrorSuccess;
    platform::Attributes attributes;
    code = fs.GetAttributes(path, attributes);
    if (code == platform::kErrorSuccess && attributes.isFolder()) {
        error = "it is a folder";
        return false;
    }
    std::unique_ptr<platform::IReadStream> in;
    if (code == platform::kErrorSuccess) in = fs.OpenRead(path, code);
    if (!in) {
        error = platform::ErrorMessage(code);
        return false;
    }
    std::string text;
    char buffer[16384];
    while (text.size() <= kMaxFileBytes) {
        const size_t got = in->Read(buffer, sizeof buffer);
        if (got == 0) break;
        text.append(buffer, got);
    }
    if (text.size() > kMaxFileBytes) {
        error = "the file is larger than a preset can be";
        return false;
    }
    return ReadPreset(text, preset, error);
}

std::string StepsText(const std::vector<CStep>& steps, size_t shown) {
    return Json{{"shown", shown}, {"steps", StepsJson(steps)}}.dump();
}

bool ReadSteps(const std::string& text, std::vector<CStep>& steps, size_t& shown) {
    Json json;
    std::string error;
    if (text.empty() || !Parse(text, json, error) || !json.is_object()) return false;
    try {
        std::vector<CStep> read = StepsOf(Member(json, "steps", "", Json::value_t::array, "a list"), "steps");
        const auto at = json.find("shown");
        shown = at != json.end() && at->is_number_unsigned() ? std::min<size_t>(at->get<size_t>(), read.size() - 1) : 0;
        steps = std::move(read);
        return true;
    } catch (const Fault&) {
        return false;
    }
}

CPresetBook::CPresetBook(CSettingsStore& store) : store_(store) {
    Json json;
    std::string error;
    const std::string text = store_.ReadLongText(kStrPresets);
    if (text.empty() || !Parse(text, json, error) || !json.is_array()) return;
    try {
        for (size_t i = 0; i < json.size(); ++i) presets_.push_back(PresetOf(json[i], "[" + std::to_string(i) + "]"));
    } catch (const Fault&) {
        presets_.clear();
    }
}

const CPreset* CPresetBook::Find(const std::string& name) const {
    for (const auto& preset : presets_)
        if (preset.name == name) return &preset;
    return nullptr;
}

std::string CPresetBook::CheckName(const std::string& name) {
    if (name.empty()) return "A preset needs a name.";
    if (!text::IsValid(name)) return "The name is not valid text.";
    if (text::CharCount(name) > kMaxNameChars)
        return "The name is longer than " + std::to_string(kMaxNameChars) + " characters.";
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return "The name holds a line break or another control character.";
    return {};
}

bool CPresetBook::Save(const CPreset& preset, std::string& error) {
    error = CheckName(preset.name);
    if (!error.empty()) return false;
    auto it = std::find_if(presets_.begin(), presets_.end(), [&](const CPreset& p) { return p.name == preset.name; });
    if (it != presets_.end())
        *it = preset;
    else
        presets_.push_back(preset);
    Write();
    return true;
}

bool CPresetBook::Rename(const std::string& from, const std::string& to, std::string& error) {
    auto it = std::find_if(presets_.begin(), presets_.end(), [&](const CPreset& p) { return p.name == from; });
    if (it == presets_.end()) {
        error = "There is no preset \"" + from + "\".";
        return false;
    }
    error = CheckName(to);
    if (error.empty() && to != from && Find(to)) error = "A preset named \"" + to + "\" exists already.";
    if (!error.empty()) return false;
    it->name = to;
    Write();
    return true;
}

bool CPresetBook::Remove(const std::string& name) {
    const auto it = std::find_if(presets_.begin(), presets_.end(), [&](const CPreset& p) { return p.name == name; });
    if (it == presets_.end()) return false;
    presets_.erase(it);
    Write();
    return true;
}

void CPresetBook::Write() {
    Json list = Json::array();
    std::string names;
    for (const auto& preset : presets_) {
        list.push_back(PresetJson(preset));
        names += preset.name + "\n";
    }
    store_.WriteString(kStrPresets, list.dump());
    store_.WriteString(kStrPresetNames, names);
    store_.Flush();
}

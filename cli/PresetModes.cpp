#include "cli/PresetModes.h"

#include <algorithm>

#include "cli/Output.h"
#include "cli/Suggestions.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

bool LooksLikeFile(const std::string& text) {
    const bool json = text.size() > 5 && text::CompareNoCase(text.substr(text.size() - 5), ".json") == 0;
    return json || text.find('/') != std::string::npos || text.find(platform::kPathSeparator) != std::string::npos;
}

}  // namespace

bool FindPreset(const std::string& nameOrFile, CSettingsStore& store, CPreset& preset, std::string& error) {
    const CPresetBook book(store);
    if (!LooksLikeFile(nameOrFile)) {
        if (const CPreset* kept = book.Find(nameOrFile)) {
            preset = *kept;
            return true;
        }
    }
    platform::IFileSystem& fs = platform::RealFileSystem();
    platform::Attributes attributes;
    const std::string path = platform::FullPathName(nameOrFile);
    if (!LooksLikeFile(nameOrFile) && fs.GetAttributes(path, attributes) != platform::kErrorSuccess) {
        std::vector<std::string> names;
        for (const auto& p : book.presets()) names.push_back(p.name);
        error = "no preset named \"" + DisplayName(nameOrFile) + "\"" + DidYouMean(nameOrFile, names) +
                " (see quorlin --presets), and no such file";
        return false;
    }
    if (!ReadPresetFile(fs, path, preset, error)) {
        error = "the preset file \"" + DisplayName(nameOrFile) + "\" is refused: " + error + "; nothing was renamed";
        return false;
    }
    return true;
}

std::string StepsSummary(const std::vector<CStep>& steps) {
    std::string out;
    for (const auto& step : steps) out += (out.empty() ? "" : ", then ") + step.action;
    return out;
}

std::string PresetList(const std::vector<CPreset>& presets) {
    size_t width = 0;
    for (const auto& p : presets) width = std::max(width, text::CharCount(p.name));
    std::string out;
    for (const auto& p : presets)
        out += DisplayName(p.name) + std::string(width - text::CharCount(p.name) + 2, ' ') +
               DisplayName(StepsSummary(p.steps)) + "\n";
    return out;
}

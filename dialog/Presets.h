#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dialog/DialogOptions.h"

class CSettingsStore;
namespace platform {
class IFileSystem;
}

/// One step of a rename: an action with its values, seen through its own
/// "Change:" scope.
struct CStep {
    int scope = 0;
    std::string action;  ///< its text, as the "Action:" combo shows it
    /// The panel's values by their settings names, as text ("find", "IMG_").
    std::vector<std::pair<std::string, std::string>> values;

    bool operator==(const CStep&) const = default;
};

/// A rename kept under a name: its steps, and the choices of the sections
/// that a run takes (files, folders, subfolders, the order, confirmation).
struct CPreset {
    std::string name;
    std::vector<CStep> steps;
    CDialogOptions options;
};

/// The JSON text of a preset, as a preset file holds it: the same file on
/// every platform.
std::string PresetText(const CPreset& preset);
/// Reads a preset from the text of a file. False, with `error` saying where
/// ("line 3, column 7: ...") or which member is wrong, when it is not a
/// preset whole; `preset` is then left as it was. Whether its actions and
/// values exist is the dialog's to check.
bool ReadPreset(const std::string& text, CPreset& preset, std::string& error);

/// Reads the preset file `path` through `fs`, as ReadPreset reads its text.
/// False, with `error` (why the file cannot be read, or where its text is
/// wrong), when it is not a preset whole.
bool ReadPresetFile(platform::IFileSystem& fs, const std::string& path, CPreset& preset, std::string& error);

/// The steps of a rename as the settings store keeps them for the next run
/// ("steps"), with the step the dialog showed.
std::string StepsText(const std::vector<CStep>& steps, size_t shown);
/// False when `text` holds no steps.
bool ReadSteps(const std::string& text, std::vector<CStep>& steps, size_t& shown);

/// The presets kept in the settings store, in the order they were made. A
/// change is written and flushed at once, together with the list of their
/// names that the context menu reads ("presetNames", one a line).
class CPresetBook {
public:
    /// Reads the presets of `store`; a stored text that is not a list of
    /// presets reads as none.
    explicit CPresetBook(CSettingsStore& store);

    const std::vector<CPreset>& presets() const { return presets_; }
    const CPreset* Find(const std::string& name) const;
    /// Keeps `preset`, in place of the one of its name if there is one.
    /// False, with `error`, for a name that CheckName refuses.
    bool Save(const CPreset& preset, std::string& error);
    /// False, with `error`, when there is no preset `from`, another has the
    /// name `to` already, or CheckName refuses it.
    bool Rename(const std::string& from, const std::string& to, std::string& error);
    /// False when there is no preset `name`.
    bool Remove(const std::string& name);

    /// Why `name` cannot name a preset (empty, too long, a line break or
    /// another control character in it); empty when it can.
    static std::string CheckName(const std::string& name);

private:
    void Write();

    CSettingsStore& store_;
    std::vector<CPreset> presets_;
};

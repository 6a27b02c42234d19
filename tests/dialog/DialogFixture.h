#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "dialog/MainDlgModel.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/panels/RenameDlg.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TempDir.h"

namespace testing_support {

using FS = FaultyFileSystem;
using Names = std::vector<std::string>;

// One opening of the dialog over `paths`, with its own store over `memory`,
// and the journals of its runs in `journals` (its own folder when null).
struct Dialog {
    Dialog(CMemorySettings& memory, std::vector<std::string> paths, uint64_t seed = 7, const TempDir* journals = nullptr)
        : store(CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory)),
          model(std::move(paths), store, seed, fs, prompts) {
        model.SetJournalFolder((journals ? *journals : state).str());
    }
    // The texts of the "Action:" combo, "" for a blank line.
    Names Lines() const {
        Names out;
        for (const auto& line : model.actionLines()) out.push_back(line.panel ? line.panel->actionName() : "");
        return out;
    }
    std::string Current() const { return model.activePanel() ? model.activePanel()->actionName() : ""; }
    void Choose(const std::string& action, std::initializer_list<std::pair<const char*, const char*>> values = {}) {
        ASSERT_TRUE(model.SelectAction(action)) << action;
        for (const auto& [name, value] : values) ASSERT_TRUE(model.activePanel()->SetValue(name, value)) << name;
    }
    int DiskReads() const { return fs.Count(FS::kGetAttributes) + fs.Count(FS::kListFolder); }

    TempDir state;
    FaultyFileSystem fs;
    ScriptedPrompts prompts;
    CSettingsStore store;
    CMainDlgModel model;
};

}  // namespace testing_support

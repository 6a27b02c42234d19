#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/Execute.h"

class CSettingsStore;

/// The main dialog's own remembered choices: the "Change:" scope, the last
/// action and the options of its sections.
struct CDialogOptions {
    int renameKind = 0;         ///< "Change:" scope, 0 to 3
    std::string lastSelection;  ///< name of the last action that built an operation
    int sort = 0;               ///< "Order:" position, 0 to 9
    int sortFolders = 1;
    int preview = 1;
    int files = 1;
    int folders = 1;
    int subfolders = 1;
    int confirm = 0;

    /// What a run over these options and `scope` does; `randomSeed` is the
    /// rename call's own.
    CRunOptions RunOptions(int scope, uint64_t randomSeed) const;
};

/// One option of the sections: how the settings store keeps it, where the
/// dialog shows it and how the command line sets it. The rows come in the
/// order the store reads and writes them.
struct CSectionOption {
    int CDialogOptions::*member;
    int nameId;           ///< the settings name, by its string id
    int section;          ///< 0 Interaction, 1 Processing, 2 Instant Preview, 3 Sorting Order
    int controlId;        ///< its check box, or the "Order:" combo
    int values;           ///< how many values it takes: 2 for a check box
    const char* onFlag;   ///< the command line's switch, or null for none
    const char* offFlag;  ///< its opposite
    const char* help;     ///< what the command line's help says of it
};
/// The seven options of the sections.
std::span<const CSectionOption> SectionOptions();

/// Reads the options as the dialog opens. The section options are read only
/// when an action is remembered; a value that is missing, or that its control
/// cannot show, takes its default.
CDialogOptions ReadDialogOptions(CSettingsStore& store);

/// Writes the section options, and with `withScope` the scope too (OK stores
/// it, "Save file list..." does not), then flushes.
void SaveDialogOptions(CSettingsStore& store, const CDialogOptions& options, bool withScope);

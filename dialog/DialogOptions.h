#pragma once

#include <cstdint>
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

/// Reads the options as the dialog opens. The section options are read only
/// when an action is remembered; a value that is missing, or that its control
/// cannot show, takes its default.
CDialogOptions ReadDialogOptions(CSettingsStore& store);

/// Writes the section options, and with `withScope` the scope too (OK stores
/// it, "Save file list..." does not), then flushes.
void SaveDialogOptions(CSettingsStore& store, const CDialogOptions& options, bool withScope);

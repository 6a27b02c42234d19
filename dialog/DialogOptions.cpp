#include "dialog/DialogOptions.h"

#include "dialog/OptionIds.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"

namespace {

constexpr int kScopes = 4;
constexpr int kSortOrders = 12;

// The command line has its own option for the order (--sort), and a preview
// of its own (--preview).
constexpr CSectionOption kOptions[] = {
    {&CDialogOptions::sort, kStrSort, 3, IDC_OPTION_ORDER, kSortOrders, nullptr, nullptr, nullptr},
    {&CDialogOptions::sortFolders, kStrSortFolders, 3, IDC_OPTION_SORT_FOLDERS, 2, "--sort-each-folder",
     "--no-sort-each-folder", "Sort and number each folder's contents on their own (or not); on by default"},
    {&CDialogOptions::preview, kStrPreview, 2, IDC_OPTION_PREVIEW, 2, nullptr, nullptr, nullptr},
    {&CDialogOptions::files, kStrFiles, 1, IDC_OPTION_FILES, 2, "--files", "--no-files",
     "Rename files (or not); on by default"},
    {&CDialogOptions::folders, kStrFolders, 1, IDC_OPTION_FOLDERS, 2, "--folders", "--no-folders",
     "Rename the folders themselves (or not); on by default"},
    {&CDialogOptions::subfolders, kStrSubfolders, 1, IDC_OPTION_SUBFOLDERS, 2, "--subfolders", "--no-subfolders",
     "Rename the contents of folders, at every depth (or not); on by default"},
    {&CDialogOptions::confirm, kStrConfirm, 0, IDC_OPTION_CONFIRM, 2, "--confirm", "--no-confirm",
     "Ask before each rename (needs a terminal); off by default"},
};

}  // namespace

std::span<const CSectionOption> SectionOptions() {
    return kOptions;
}

CDialogOptions ReadDialogOptions(CSettingsStore& store) {
    CDialogOptions o;
    const int scope = store.ReadNumber(kStrRenameKind);
    if (scope >= 0 && scope < kScopes) o.renameKind = scope;
    o.lastSelection = store.ReadString(kStrLastSelection);
    if (o.lastSelection.empty()) return o;
    // A value that is missing, or that its control cannot show, keeps its
    // default.
    for (const CSectionOption& option : kOptions) {
        const int stored = store.ReadNumber(option.nameId);
        if (stored >= 0 && stored < option.values) o.*option.member = stored;
    }
    return o;
}

void SaveDialogOptions(CSettingsStore& store, const CDialogOptions& o, bool withScope) {
    if (withScope) store.WriteNumber(kStrRenameKind, o.renameKind);
    for (const CSectionOption& option : kOptions) store.WriteNumber(option.nameId, o.*option.member);
    store.Flush();
}

CRunOptions CDialogOptions::RunOptions(int scope, uint64_t randomSeed) const {
    CRunOptions o;
    o.files = files != 0;
    o.folders = folders != 0;
    o.subfolders = subfolders != 0;
    o.confirm = confirm != 0;
    o.scope = scope;
    o.sortOrder = sort;
    o.sortEachFolder = sortFolders != 0;
    o.randomSeed = randomSeed;
    return o;
}

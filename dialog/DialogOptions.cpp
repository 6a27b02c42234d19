#include "dialog/DialogOptions.h"

#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"

namespace {

// The stored value when it lies in [0, count), else the default.
void ReadChoice(CSettingsStore& store, int nameId, int count, int& value) {
    const int stored = store.ReadNumber(nameId);
    if (stored >= 0 && stored < count) value = stored;
}

constexpr int kScopes = 4;
constexpr int kSortOrders = 10;

}  // namespace

CDialogOptions ReadDialogOptions(CSettingsStore& store) {
    CDialogOptions o;
    ReadChoice(store, kStrRenameKind, kScopes, o.renameKind);
    o.lastSelection = store.ReadString(kStrLastSelection);
    if (o.lastSelection.empty()) return o;
    ReadChoice(store, kStrSort, kSortOrders, o.sort);
    ReadChoice(store, kStrSortFolders, 2, o.sortFolders);
    ReadChoice(store, kStrPreview, 2, o.preview);
    ReadChoice(store, kStrFiles, 2, o.files);
    ReadChoice(store, kStrFolders, 2, o.folders);
    ReadChoice(store, kStrSubfolders, 2, o.subfolders);
    ReadChoice(store, kStrConfirm, 2, o.confirm);
    return o;
}

void SaveDialogOptions(CSettingsStore& store, const CDialogOptions& o, bool withScope) {
    if (withScope) store.WriteNumber(kStrRenameKind, o.renameKind);
    store.WriteNumber(kStrSort, o.sort);
    store.WriteNumber(kStrSortFolders, o.sortFolders);
    store.WriteNumber(kStrPreview, o.preview);
    store.WriteNumber(kStrFiles, o.files);
    store.WriteNumber(kStrFolders, o.folders);
    store.WriteNumber(kStrSubfolders, o.subfolders);
    store.WriteNumber(kStrConfirm, o.confirm);
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

#include "dialog/StringTable.h"

#include <algorithm>
#include <array>

namespace {

// Ordered by id. The spellings ("occurence", "seperator", "replace4") are
// those under which earlier versions stored their values; they must stay.
constexpr std::array<CStringEntry, 91> kTable = {{
    {kStrMakeLowercase, "Make lowercase"},
    {kStrMakeUppercase, "Make UPPERCASE"},
    {kStrAddAtEnd, "Add to end"},
    {kStrRemoveAnywhere, "Remove anywhere"},
    {kStrTruncate, "Truncate"},
    {kStrAddAtBeginning, "Add to beginning"},
    {kStrRemoveVowels, "Remove vowels"},
    {kStrRemoveAtEnd, "Remove at end"},
    {kStrRemoveAtBeginning, "Remove at beginning"},
    {kStrRemoveExtensions, "Remove file/folder extensions"},
    {kStrReplaceExtensions, "Replace file/folder extensions"},
    {kStrReplaceAtEnd, "Replace at end"},
    {kStrReplaceAtBeginning, "Replace at beginning"},
    {kStrAddNumberAtBeginning, "Add number to beginning"},
    {kStrAddNumberAtEnd, "Add number to end"},
    {kStrProduceNumberedList, "Produce numbered list"},
    {kStrManually, "Manually rename"},
    {kStrPropercase, "Make Proper Case"},
    {kStrReplaceAnywhere, "Replace anywhere"},
    {kStrReformatNumber, "Change numbers"},
    {kStrReplaceCharacters, "Replace characters"},
    {kStrLastSelection, "lastSelection"},
    {kStrAdd, "add"},
    {kStrFiles, "files"},
    {kStrFolders, "folders"},
    {kStrSubfolders, "subfolders"},
    {kStrConfirm, "confirm"},
    {kStrStep, "step"},
    {kStrStart, "start"},
    {kStrDigits, "digits"},
    {kStrNew, "new"},
    {kStrPrefix, "prefix"},
    {kStrPostfix, "postfix"},
    {kStrType, "type"},
    {kStrNumber, "number"},
    {kStrRemove, "remove"},
    {kStrOccurenceType, "occurenceType"},
    {kStrOccurence, "occurence"},
    {kStrOrderType, "orderType"},
    {kStrPosition, "position"},
    {kStrToOccurenceType, "toOccurenceType"},
    {kStrToOccurence, "toOccurence"},
    {kStrToOrderType, "toOrderType"},
    {kStrToPosition, "toPosition"},
    {kStrToOrderOccurenceType, "toOrderOccurenceType"},
    {kStrToRemoveType, "toRemoveType"},
    {kStrToRemove, "toRemove"},
    {kStrIgnoreCase, "ignoreCase"},
    {kStrFind, "find"},
    {kStrReplace, "replace"},
    {kStrTruncateCount, "truncate"},
    {kStrIgnoreCase2, "ignoreCase2"},
    {kStrFind2, "find2"},
    {kStrReplace2, "replace2"},
    {kStrIgnoreCase3, "ignoreCase3"},
    {kStrFind3, "find3"},
    {kStrReplace3, "replace4"},
    {kStrSort, "sort"},
    {kStrRemoveAnywhereSelection, "removeAnywhereSelection"},
    {kStrToRemoveAnywhereSelection, "toRemoveAnywhereSelection"},
    {kStrToDate, "Rename to date"},
    {kStrDate, "date"},
    {kStrDateFormat, "dateFormat"},
    {kStrTimeFormat, "timeFormat"},
    {kStrAddDateAtBeginning, "Add date/time to beginning"},
    {kStrTrailing, "trailing"},
    {kStrAddDateAtEnd, "Add date/time to end"},
    {kStrLeading, "leading"},
    {kStrProduceAlphabeticalList, "Produce alphabetical list"},
    {kStrRenumber, "Renumber existing number sequence"},
    {kStrRenameKind, "renameKind"},
    {kStrAddAnywhere, "Insert anywhere"},
    {kStrAddAnywhereSelection, "addAnywhereSelection"},
    {kStrTitlecase, "Make a Title Case"},
    {kStrWords, "words"},
    {kStrAddFolderAtBeginning, "Add folder to beginning"},
    {kStrAddAlphaAtBeginning, "Add alphabetical sequence to beginning"},
    {kStrCapital, "Make the first letter uppercase"},
    {kStrSeparator, "seperator"},
    {kStrAddAlphaAtEnd, "Add alphabetical sequence to end"},
    {kStrPreview, "preview"},
    {kStrSortFolders, "sortFolders"},
    {kStrReplaceByPattern, "Replace by pattern"},
    {kStrPattern, "pattern"},
    {kStrWith, "with"},
    {kStrAllMatches, "all"},
    {kStrSteps, "steps"},
    {kStrPresets, "presets"},
    {kStrPresetNames, "presetNames"},
    {kStrRenameFromTags, "Rename from tags"},
    {kStrTagTemplate, "tagTemplate"},
}};

constexpr bool OrderedById() {
    for (size_t i = 1; i < kTable.size(); ++i)
        if (kTable[i - 1].id >= kTable[i].id) return false;
    return true;
}
static_assert(OrderedById(), "the string table must be ordered by id, without duplicates");

}  // namespace

std::span<const CStringEntry> StringTable() {
    return kTable;
}

std::string LoadStringText(int id) {
    const auto it =
        std::lower_bound(kTable.begin(), kTable.end(), id, [](const CStringEntry& e, int v) { return e.id < v; });
    if (it == kTable.end() || it->id != id) return {};
    return it->text;
}

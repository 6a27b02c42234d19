#pragma once

#include <span>
#include <string>

/// Ids of the texts that every platform shares: the action names shown in the
/// "Action:" combo and the names of the stored settings values. A settings
/// value is always named by its id; the text is what the store writes.
enum StringId : int {
    // Action names.
    kStrMakeLowercase = 4,
    kStrMakeUppercase = 5,  ///< also the value of the "Use uppercase characters" box
    kStrAddAtEnd = 6,
    kStrRemoveAnywhere = 7,
    kStrTruncate = 9,
    kStrAddAtBeginning = 10,
    kStrRemoveVowels = 11,
    kStrRemoveAtEnd = 12,
    kStrRemoveAtBeginning = 13,
    kStrRemoveExtensions = 14,
    kStrReplaceExtensions = 16,
    kStrReplaceAtEnd = 17,
    kStrReplaceAtBeginning = 18,
    kStrAddNumberAtBeginning = 19,
    kStrAddNumberAtEnd = 20,
    kStrProduceNumberedList = 21,
    kStrManually = 22,
    kStrPropercase = 23,
    kStrReplaceAnywhere = 24,
    kStrReformatNumber = 25,
    kStrReplaceCharacters = 26,
    kStrToDate = 66,
    kStrAddDateAtBeginning = 70,
    kStrAddDateAtEnd = 72,
    kStrProduceAlphabeticalList = 74,
    kStrRenumber = 75,
    kStrAddAnywhere = 77,
    kStrTitlecase = 79,
    kStrAddFolderAtBeginning = 81,
    kStrAddAlphaAtBeginning = 82,
    kStrCapital = 83,
    kStrAddAlphaAtEnd = 85,

    // Settings value names.
    kStrLastSelection = 27,
    kStrAdd = 28,
    kStrFiles = 29,
    kStrFolders = 30,
    kStrSubfolders = 31,
    kStrConfirm = 32,
    kStrStep = 33,
    kStrStart = 34,
    kStrDigits = 35,
    kStrNew = 36,
    kStrPrefix = 37,
    kStrPostfix = 38,
    kStrType = 39,
    kStrNumber = 40,
    kStrRemove = 41,
    kStrOccurenceType = 42,
    kStrOccurence = 43,
    kStrOrderType = 44,
    kStrPosition = 45,
    kStrToOccurenceType = 46,
    kStrToOccurence = 47,
    kStrToOrderType = 48,
    kStrToPosition = 49,
    kStrToOrderOccurenceType = 50,
    kStrToRemoveType = 51,
    kStrToRemove = 52,
    kStrIgnoreCase = 53,
    kStrFind = 54,
    kStrReplace = 55,
    kStrTruncateCount = 56,
    kStrIgnoreCase2 = 57,
    kStrFind2 = 58,
    kStrReplace2 = 59,
    kStrIgnoreCase3 = 60,
    kStrFind3 = 61,
    kStrReplace3 = 62,  ///< stored as "replace4"
    kStrSort = 63,
    kStrRemoveAnywhereSelection = 64,
    kStrToRemoveAnywhereSelection = 65,
    kStrDate = 67,
    kStrDateFormat = 68,
    kStrTimeFormat = 69,
    kStrTrailing = 71,
    kStrLeading = 73,
    kStrRenameKind = 76,
    kStrAddAnywhereSelection = 78,
    kStrWords = 80,
    kStrSeparator = 84,  ///< stored as "seperator"
    kStrPreview = 86,
    kStrSortFolders = 87,
    // Added after the earlier versions' table, which ends above.
    kStrReplaceByPattern = 88,
    kStrPattern = 89,
    kStrWith = 90,
    kStrAllMatches = 91,
    kStrSteps = 92,  ///< the steps of the last rename, when it had more than one
    kStrPresets = 93,
    kStrPresetNames = 94,  ///< one name a line, for the context menu
    kStrRenameFromTags = 95,
    kStrTagTemplate = 96,
};

/// One entry of the shared string table.
struct CStringEntry {
    int id;
    const char* text;
};

/// The whole table, ordered by id.
std::span<const CStringEntry> StringTable();

/// The text of `id`; empty for an id that is not in the table.
std::string LoadStringText(int id);

// Every parameter panel against its row of the action table: defaults, what
// it refuses, the operation it builds, the scopes it is offered for, what it
// restores and what it saves.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <typeinfo>

#include "dialog/ActionCatalogue.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/StringTable.h"
#include "operations/AddInsert.h"
#include "operations/Alpha.h"
#include "operations/Case.h"
#include "operations/DateTime.h"
#include "operations/Numbers.h"
#include "operations/Pattern.h"
#include "operations/Tags.h"
#include "operations/Remove.h"
#include "operations/Replace.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"
#include "tests/support/Compute.h"

namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

struct Value {
    const char* name;
    ValueKind kind;
    int control;  // 0 for a radio group
    const char* def;
};

struct OpCase {
    Values set;
    int scope;
    std::vector<std::string> in;   // names, computed in this order by one operation
    std::vector<std::string> out;  // the names they get
};

struct Radio {
    int id;
    std::vector<int> enabled;
    std::vector<int> disabled;
};

struct Row {
    int actionId;
    std::vector<Value> values;
    std::array<bool, 4> scopes;
    FocusKind focus;
    int focusControl;
    bool (*isOperation)(const CExecute&);
    std::vector<Values> nulls;  // values that leave the panel without an operation
    std::vector<OpCase> ops = {};
    std::vector<Radio> radios = {};
    bool writes = true;
};

template <class T>
bool Is(const CExecute& e) {
    return typeid(e) == typeid(T);
}

constexpr auto kText = ValueKind::kEditText;
constexpr auto kCombo = ValueKind::kComboIndex;
constexpr auto kCheck = ValueKind::kCheckBox;
constexpr auto kRadio = ValueKind::kRadioGroup;
constexpr std::array<bool, 4> kAll = {true, true, true, true};
constexpr std::array<bool, 4> kNotExt = {true, true, false, false};
constexpr std::array<bool, 4> kNotExtWithDot = {true, true, false, true};
constexpr std::array<bool, 4> kNameOnly = {false, true, false, false};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {kStrAddAnywhere,
         {{"add", kText, 1047, ""},
          {"toPosition", kText, 1026, "1"},
          {"toOrderType", kCombo, 1025, "0"},
          {"toOccurenceType", kCombo, 1029, "0"},
          {"toOccurence", kText, 1042, ""},
          {"toOrderOccurenceType", kCombo, 1028, "0"},
          {"addAnywhereSelection", kRadio, 0, "1024"}},
         kAll,
         FocusKind::kSelectAll,
         1026,
         Is<CAddAnywhereExecute>,
         {{{"toPosition", ""}},
          {{"addAnywhereSelection", "1027"}},
          {{"addAnywhereSelection", "1027"}, {"toPosition", "5"}, {"add", "X"}}},
         {{{{"add", "X"}}, 0, {"abc"}, {"aXbc"}},
          {{{"add", "X"}, {"toPosition", "1"}, {"toOrderType", "1"}}, 0, {"abc"}, {"abXc"}},
          {{{"add", "X"}, {"toPosition", "0"}, {"toOrderType", "1"}}, 1, {"photo.jpg"}, {"photoX.jpg"}},
          {{{"add", ""}}, 0, {"abc"}, {"abc"}},
          {{{"add", "X"}, {"addAnywhereSelection", "1027"}, {"toOccurence", "a"}, {"toOccurenceType", "1"}},
           0,
           {"banana"},
           {"banXana"}},
          {{{"add", "X"},
            {"addAnywhereSelection", "1027"},
            {"toOccurence", "a"},
            {"toOccurenceType", "6"},
            {"toOrderOccurenceType", "1"},
            {"toPosition", ""}},
           0,
           {"banana"},
           {"bananaX"}}},
         {{1024, {1026, 1025}, {1028, 1029, 1042}}, {1027, {1028, 1029, 1042}, {1026, 1025}}}},
        {kStrAddAtBeginning,
         {{"add", kText, 1000, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CAddAtBeginningExecute>,
         {{}},
         {{{{"add", "x_"}}, 0, {"photo.jpg"}, {"x_photo.jpg"}}, {{{"add", "x"}}, 3, {"photo.jpg"}, {"photo.xjpg"}}}},
        {kStrAddAtEnd,
         {{"add", kText, 1000, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CAddAtEndExecute>,
         {{}},
         {{{{"add", "_x"}}, 0, {"photo.jpg"}, {"photo.jpg_x"}}, {{{"add", "_x"}}, 1, {"photo.jpg"}, {"photo_x.jpg"}}}},
        {kStrAddDateAtBeginning,
         {{"date", kCombo, 1021, "0"},
          {"dateFormat", kCombo, 1023, "0"},
          {"timeFormat", kCombo, 1022, "0"},
          {"trailing", kCheck, 1036, "0"},
          {"seperator", kText, 1049, " "}},
         kNotExt,
         FocusKind::kNone,
         0,
         Is<CAddDateAtBeginningExecute>,
         {{}, {{"date", "2"}, {"seperator", "x"}, {"trailing", "1"}}},
         {{{{"date", "1"}, {"dateFormat", "18"}, {"trailing", "1"}}, 0, {"holiday"}, {"20040305 holiday"}},
          {{{"date", "1"}, {"dateFormat", "18"}}, 1, {"holiday.jpg"}, {"20040305holiday.jpg"}},
          {{{"date", "1"}, {"timeFormat", "12"}}, 0, {"x"}, {"14-07-09x"}},
          // A plain file has no picture date: nothing is added.
          {{{"date", "3"}, {"dateFormat", "18"}}, 0, {"holiday"}, {"holiday"}}}},
        {kStrAddDateAtEnd,
         {{"date", kCombo, 1021, "0"},
          {"dateFormat", kCombo, 1023, "0"},
          {"timeFormat", kCombo, 1022, "0"},
          {"leading", kCheck, 1036, "0"},
          {"seperator", kText, 1049, " "}},
         kNotExtWithDot,
         FocusKind::kNone,
         0,
         Is<CAddDateAtEndExecute>,
         {{}, {{"leading", "1"}}},
         {{{{"date", "1"}, {"dateFormat", "18"}, {"leading", "1"}}, 0, {"holiday"}, {"holiday 20040305"}},
          {{{"date", "1"}, {"dateFormat", "4"}, {"timeFormat", "5"}, {"seperator", "@"}},
           3,
           {"a.txt"},
           {"a.txt03-05@14 07"}}}},
        {kStrAddFolderAtBeginning,
         {{"trailing", kCheck, 1036, "0"}},
         kNotExt,
         FocusKind::kNone,
         0,
         Is<CAddFolderAtBeginningExecute>,
         {},
         {{{}, 0, {"img.jpg"}, {"Tripimg.jpg"}}, {{{"trailing", "1"}}, 1, {"img.jpg"}, {"Trip img.jpg"}}}},
        {kStrRemoveAnywhere,
         {{"position", kText, 1023, "0"},
          {"orderType", kCombo, 1040, "0"},
          {"occurenceType", kCombo, 1022, "0"},
          {"occurence", kText, 1041, ""},
          {"toPosition", kText, 1026, "1"},
          {"toOrderType", kCombo, 1025, "0"},
          {"toOrderOccurenceType", kCombo, 1028, "0"},
          {"toOccurenceType", kCombo, 1029, "0"},
          {"toOccurence", kText, 1042, ""},
          {"toRemoveType", kCombo, 1031, "0"},
          {"toRemove", kText, 1043, "1"},
          {"removeAnywhereSelection", kRadio, 0, "1019"},
          {"toRemoveAnywhereSelection", kRadio, 0, "1024"}},
         kAll,
         FocusKind::kSelectAll,
         1023,
         Is<CRemoveAnywhereExecute>,
         {{{"position", ""}},
          {{"removeAnywhereSelection", "1020"}},
          {{"toPosition", ""}},
          {{"toRemoveAnywhereSelection", "1027"}},
          {{"toRemoveAnywhereSelection", "1030"}, {"toRemove", ""}},
          {{"removeAnywhereSelection", "1020"}, {"occurence", "("}, {"toRemoveAnywhereSelection", "1027"}}},
         {{{}, 0, {"abcdef"}, {"bcdef"}},
          {{{"position", "2"}, {"toRemoveAnywhereSelection", "1030"}, {"toRemove", "3"}}, 0, {"abcdef"}, {"abf"}},
          {{{"position", "2"}, {"toRemoveAnywhereSelection", "1030"}, {"toRemove", "3"}, {"toRemoveType", "1"}},
           0,
           {"abcdef"},
           {"cdef"}},
          {{{"position", "2"}, {"orderType", "1"}, {"toPosition", "0"}, {"toOrderType", "1"}}, 0, {"abcdef"}, {"abcd"}},
          {{{"removeAnywhereSelection", "1020"},
            {"occurence", "("},
            {"toRemoveAnywhereSelection", "1027"},
            {"toOccurence", ")"},
            {"toOrderOccurenceType", "1"}},
           1,
           {"song (live).mp3", "song (live.mp3"},
           {"song .mp3", "song (live.mp3"}},
          {{{"position", ""}, {"removeAnywhereSelection", "1020"}, {"occurence", "c"}, {"toPosition", "4"}},
           0,
           {"abcdef"},
           {"abef"}},
          {{{"removeAnywhereSelection", "1020"},
            {"occurence", "a"},
            {"occurenceType", "6"},
            {"toRemoveAnywhereSelection", "1027"},
            {"toOccurence", "a"},
            {"toOccurenceType", "6"},
            {"toOrderOccurenceType", "1"}},
           0,
           {"banana"},
           {"banan"}}},
         {{1019, {1023, 1040}, {1022, 1041}},
          {1020, {1022, 1041}, {1023, 1040}},
          {1024, {1026, 1025}, {1028, 1029, 1042, 1031, 1043}},
          {1027, {1028, 1029, 1042}, {1026, 1025, 1031, 1043}},
          {1030, {1031, 1043}, {1026, 1025, 1028, 1029, 1042}}}},
        {kStrRemoveAtBeginning,
         {{"remove", kText, 1000, "1"}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CRemoveAtBeginningExecute>,
         {{{"remove", ""}}},
         {{{}, 0, {"abcd"}, {"bcd"}}, {{{"remove", "3"}}, 0, {"abc", "abcd"}, {"abc", "d"}}}},
        {kStrRemoveAtEnd,
         {{"remove", kText, 1000, "1"}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CRemoveAtEndExecute>,
         {{{"remove", ""}}},
         {{{{"remove", "2"}}, 1, {"abcd.txt"}, {"ab.txt"}}}},
        {kStrRemoveExtensions,
         {},
         kNotExt,
         FocusKind::kNone,
         0,
         Is<CRemoveExtensionsExecute>,
         {},
         {{{}, 0, {"a.tar.gz"}, {"a.tar"}}},
         {},
         false},
        {kStrRemoveVowels,
         {},
         kAll,
         FocusKind::kNone,
         0,
         Is<CRemoveVowelsExecute>,
         {},
         {{{}, 0, {"Beautiful Day"}, {"Btfl Dy"}}},
         {},
         false},
        {kStrTruncate,
         {{"truncate", kText, 1000, "1"}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CTruncateToExecute>,
         {{{"truncate", ""}}},
         {{{}, 0, {"abc"}, {"a"}}, {{{"truncate", "8"}}, 0, {"holiday-photo", "short"}, {"holiday-", "short"}}}},
        {kStrReplaceAnywhere,
         {{"ignoreCase", kCheck, 1036, "0"},
          {"type", kCombo, 1002, "0"},
          {"find", kText, 1000, ""},
          {"replace", kText, 1001, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CReplaceAnywhereExecute>,
         {{}, {{"replace", "x"}}},
         {{{{"find", "a"}, {"replace", "aa"}}, 0, {"banana"}, {"baanaanaa"}},
          {{{"find", "AN"}, {"replace", "x"}, {"type", "1"}, {"ignoreCase", "1"}}, 0, {"BaNana"}, {"Bxana"}},
          {{{"find", "AN"}, {"replace", "x"}, {"type", "1"}}, 0, {"BaNana"}, {"BaNana"}},
          {{{"find", "na"}, {"replace", "x"}, {"type", "7"}}, 0, {"bananana"}, {"banaxna"}}}},
        {kStrReplaceByPattern,
         {{"ignoreCase", kCheck, 1036, "0"}, {"all", kCheck, 1037, "1"}, {"pattern", kText, 1000, ""},
          {"with", kText, 1001, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CReplaceByPatternExecute>,
         {{}, {{"with", "x"}}, {{"pattern", "(a"}, {"with", "x"}}},
         {{{{"pattern", R"((\d+))"}, {"with", "<$1>"}}, 1, {"a1b22.7z"}, {"a<1>b<22>.7z"}},
          {{{"pattern", "A"}, {"with", "x"}, {"all", "0"}, {"ignoreCase", "1"}}, 0, {"banana"}, {"bxnana"}}}},
        {kStrReplaceAtBeginning,
         {{"ignoreCase", kCheck, 1036, "0"}, {"find", kText, 1000, ""}, {"replace", kText, 1001, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CReplaceAtBeginningExecute>,
         {{}, {{"replace", "x"}}},
         {{{{"find", "img"}, {"replace", "pic"}, {"ignoreCase", "1"}}, 0, {"IMG_001"}, {"pic_001"}},
          {{{"find", "img"}, {"replace", "pic"}}, 0, {"IMG_001", "img_002"}, {"IMG_001", "pic_002"}}}},
        {kStrReplaceAtEnd,
         {{"ignoreCase", kCheck, 1036, "0"}, {"find", kText, 1000, ""}, {"replace", kText, 1001, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CReplaceAtEndExecute>,
         {{}},
         {{{{"find", "_old"}, {"replace", "_new"}},
           1,
           {"file_old.txt", "file_old_x.txt"},
           {"file_new.txt", "file_old_x.txt"}}}},
        {kStrReplaceExtensions,
         {{"ignoreCase", kCheck, 1036, "0"}, {"find", kText, 1000, ""}, {"replace", kText, 1001, ""}},
         kNotExt,
         FocusKind::kSelectAll,
         1000,
         Is<CReplaceExtensionsExecute>,
         {{}, {{"replace", "jpg"}}},
         {{{{"find", "jpeg"}, {"replace", "jpg"}, {"ignoreCase", "1"}},
           0,
           {"photo.JPEG", "photo.jpeg.bak"},
           {"photo.jpg", "photo.jpeg.bak"}},
          {{{"find", "jpeg"}, {"replace", "jpg"}}, 0, {"photo.JPEG"}, {"photo.JPEG"}}}},
        {kStrReplaceCharacters,
         {{"ignoreCase", kCheck, 1036, "0"},
          {"ignoreCase2", kCheck, 1037, "0"},
          {"ignoreCase3", kCheck, 1038, "0"},
          {"find", kText, 1000, ""},
          {"replace", kText, 1001, ""},
          {"find2", kText, 1002, ""},
          {"replace2", kText, 1003, ""},
          {"find3", kText, 1004, ""},
          {"replace4", kText, 1005, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CReplaceCharactersExecute>,
         {{}, {{"find2", "x"}, {"find3", "y"}, {"replace", "z"}}},
         {{{{"find", "_-"}, {"replace", " "}}, 0, {"my_file-name"}, {"my file name"}},
          {{{"find", "_"}, {"find2", "-"}, {"replace2", "+"}, {"find3", "E"}, {"replace4", "3"}, {"ignoreCase3", "1"}},
           0,
           {"my_file-name"},
           {"myfil3+nam3"}},
          {{{"find", "x"}, {"find2", "A"}, {"replace2", "4"}, {"ignoreCase2", "1"}}, 0, {"banana"}, {"b4n4n4"}},
          {{{"find", "A"}, {"replace", "4"}, {"ignoreCase", "1"}}, 0, {"bAnana"}, {"b4n4n4"}}}},
        // The names themselves come from tags, which these files lack.
        {kStrRenameFromTags,
         {{"tagTemplate", kText, 1000, ""}},
         kNameOnly,
         FocusKind::kSelectAll,
         1000,
         Is<CRenameFromTagsExecute>,
         {{{"tagTemplate", ""}}, {{"tagTemplate", "{composer}"}}},
         {{{{"tagTemplate", "{track}"}}, 1, {"untagged.mp3"}, {"untagged.mp3"}}}},
        {kStrCapital,
         {},
         kNameOnly,
         FocusKind::kNone,
         0,
         Is<CCapitalExecute>,
         {},
         {{{}, 1, {"hELLO wORLD.TXT", "1st place"}, {"Hello world.TXT", "1st place"}}}},
        {kStrMakeLowercase,
         {},
         kAll,
         FocusKind::kNone,
         0,
         Is<CLowercaseExecute>,
         {},
         {{{}, 0, {"ABC.TXT"}, {"abc.txt"}}}},
        {kStrPropercase,
         {{"type", kCombo, 1000, "0"}},
         kAll,
         FocusKind::kCombo,
         1000,
         Is<CPropercaseExecute>,
         {},
         {{{}, 0, {"rock'n'roll-star"}, {"Rock'n'roll-star"}},
          {{{"type", "1"}}, 0, {"rock'n'roll-star"}, {"Rock'N'Roll-Star"}},
          {{{"type", "2"}}, 0, {"rock'n'roll-star"}, {"Rock'n'roll-Star"}}}},
        {kStrTitlecase,
         {{"type", kCombo, 1000, "0"}, {"words", kText, 1001, "a an the and or of"}},
         kAll,
         FocusKind::kCombo,
         1000,
         Is<CTitlecaseExecute>,
         {},
         {{{}, 0, {"THE LORD OF THE RINGS"}, {"The Lord of the Rings"}},
          {{{"type", "1"}}, 0, {"best of (the) year"}, {"Best of (the) Year"}},
          {{{"words", "lord"}}, 0, {"THE LORD OF THE RINGS"}, {"The lord Of The Rings"}},
          {{{"words", ""}}, 0, {"the lord of"}, {"The Lord Of"}}}},
        {kStrMakeUppercase,
         {},
         kAll,
         FocusKind::kNone,
         0,
         Is<CUppercaseExecute>,
         {},
         {{{}, 1, {"abc.txt"}, {"ABC.txt"}}}},
        {kStrProduceAlphabeticalList,
         {{"step", kText, 1000, "1"},
          {"start", kText, 1001, "a"},
          {"digits", kText, 1002, "1"},
          {"prefix", kText, 1003, ""},
          {"postfix", kText, 1004, ""},
          {"Make UPPERCASE", kCheck, 1036, "0"}},
         kAll,
         FocusKind::kNextControl,
         1003,
         Is<CProduceAlphabeticalListExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}, {{"start", "zzzzzzzzzzzzz"}, {"prefix", "p"}}},
         {{{{"prefix", "Disc "}}, 0, {"x", "y"}, {"Disc a", "Disc b"}},
          {{{"start", "ba"}, {"Make UPPERCASE", "1"}, {"postfix", "!"}, {"digits", "3"}, {"step", "2"}},
           1,
           {"x.txt", "y.txt"},
           {"ABA!.txt", "ABC!.txt"}}}},
        {kStrProduceNumberedList,
         {{"step", kText, 1000, "1"},
          {"start", kText, 1001, "0"},
          {"digits", kText, 1002, "1"},
          {"prefix", kText, 1003, ""},
          {"postfix", kText, 1004, ""}},
         kAll,
         FocusKind::kNextControl,
         1003,
         Is<CProduceNumberedListExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}},
         {{{{"prefix", "Holiday "}, {"start", "1"}}, 1, {"a.jpg", "b.jpg"}, {"Holiday 1.jpg", "Holiday 2.jpg"}},
          {{{"start", "7"}, {"step", "3"}, {"digits", "3"}, {"prefix", "p"}, {"postfix", "s"}},
           0,
           {"x", "y"},
           {"p007s", "p010s"}}}},
        {kStrAddAlphaAtBeginning,
         {{"step", kText, 1000, "1"},
          {"start", kText, 1001, "a"},
          {"digits", kText, 1002, "1"},
          {"Make UPPERCASE", kCheck, 1036, "0"}},
         kAll,
         FocusKind::kNextControl,
         1001,
         Is<CAddAlphaAtBeginningExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}},
         {{{}, 0, {"f", "g"}, {"af", "bg"}}, {{{"start", "z"}}, 0, {"f", "g"}, {"zf", "bag"}}}},
        {kStrAddAlphaAtEnd,
         {{"step", kText, 1000, "1"},
          {"start", kText, 1001, "a"},
          {"digits", kText, 1002, "1"},
          {"Make UPPERCASE", kCheck, 1036, "0"}},
         kAll,
         FocusKind::kNextControl,
         1001,
         Is<CAddAlphaAtEndExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}},
         {{{{"start", "y"}, {"digits", "2"}, {"Make UPPERCASE", "1"}}, 0, {"n", "n", "n"}, {"nAY", "nAZ", "nBA"}}}},
        {kStrAddNumberAtBeginning,
         {{"step", kText, 1000, "1"}, {"start", kText, 1001, "0"}, {"digits", kText, 1002, "1"}},
         kAll,
         FocusKind::kNextControl,
         1001,
         Is<CAddNumberAtBeginningExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}},
         {{{}, 0, {"a", "b"}, {"0a", "1b"}},
          {{{"start", "1"}, {"digits", "3"}}, 0, {"a", "b", "c"}, {"001a", "002b", "003c"}}}},
        {kStrAddNumberAtEnd,
         {{"step", kText, 1000, "1"}, {"start", kText, 1001, "0"}, {"digits", kText, 1002, "1"}},
         kAll,
         FocusKind::kNextControl,
         1001,
         Is<CAddNumberAtEndExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}},
         {{{{"start", "9"}, {"step", "2"}, {"digits", "2"}}, 1, {"x.txt", "y.txt"}, {"x09.txt", "y11.txt"}}}},
        {kStrReformatNumber,
         {{"digits", kText, 1002, "1"}, {"number", kText, 1000, "0"}, {"add", kCombo, 1001, "0"}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CReformatNumberExecute>,
         {{{"digits", ""}}, {{"number", ""}}},
         {{{{"add", "1"}, {"number", "1"}, {"digits", "2"}}, 0, {"track10-part3"}, {"track09-part02"}},
          {{{"number", "1"}, {"digits", "0"}}, 0, {"img007"}, {"img8"}},
          {{{"number", "1"}, {"digits", "3"}}, 0, {"img007"}, {"img008"}}}},
        {kStrRenumber,
         {{"start", kText, 1001, "0"}, {"step", kText, 1000, "1"}, {"digits", kText, 1002, "1"}},
         kAll,
         FocusKind::kNextControl,
         1001,
         Is<CRenumberExecute>,
         {{{"step", ""}}, {{"start", ""}}, {{"digits", ""}}},
         {{{{"start", "1"}}, 0, {"x", "img5", "img9"}, {"x", "img1", "img2"}}}},
        {kStrToDate,
         {{"date", kCombo, 1021, "0"},
          {"dateFormat", kCombo, 1023, "0"},
          {"timeFormat", kCombo, 1022, "0"},
          {"seperator", kText, 1049, " "}},
         kNotExt,
         FocusKind::kNone,
         0,
         Is<CToDateExecute>,
         {{}, {{"date", "1"}, {"seperator", "_"}}},
         {{{{"date", "1"}, {"dateFormat", "20"}, {"timeFormat", "12"}, {"seperator", "_"}},
           1,
           {"x.txt"},
           {"2004-03-05_14-07-09.txt"}},
          {{{"date", "1"}, {"dateFormat", "18"}, {"seperator", "_"}}, 1, {"x.txt"}, {"20040305.txt"}},
          {{{"date", "1"}, {"timeFormat", "1"}}, 0, {"x"}, {"02 07 pm"}},
          {{{"date", "3"}, {"dateFormat", "18"}}, 1, {"x.txt"}, {"x.txt"}}}},
        {kStrManually,
         {{"new", kText, 1000, ""}},
         kAll,
         FocusKind::kSelectAll,
         1000,
         Is<CManuallyExecute>,
         {{}},
         {{{{"new", "typed"}}, 0, {"abc.txt"}, {"abc.txt"}}}},
    };
    return rows;
}

std::unique_ptr<CRenameDlg> MakePanel(int actionId, CSettingsStore* store) {
    for (const auto& slot : ActionCatalogue())
        if (slot.textId == actionId && slot.create) return slot.create(store);
    return nullptr;
}

struct Fixture {
    CMemorySettings memory;
    CSettingsStore store{CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory)};
};

void Apply(CRenameDlg& panel, const Values& values) {
    for (const auto& [name, value] : values) {
        std::string error;
        ASSERT_TRUE(panel.SetValue(name, value, &error)) << panel.actionName() << ": " << error;
    }
}

// A valid value other than the default, for each field.
std::string Alternative(const CPanelBinding& b) {
    switch (b.kind) {
        case ValueKind::kEditText:
            if (b.rule == TextRule::kDigitsOnly) return "7";
            if (b.rule == TextRule::kStartLetters) return "qb";
            if (b.maxChars == 1) return "_";
            return "v-" + b.name();
        case ValueKind::kComboIndex:
            return std::to_string(b.entries - 1);
        case ValueKind::kCheckBox:
            return std::to_string(1 - b.defaultNumber);
        case ValueKind::kRadioGroup:
            return std::to_string(b.radios.back().radioId);
    }
    return {};
}

// A stored value that the field cannot hold.
CMemorySettings::Value Invalid(const CPanelBinding& b) {
    switch (b.kind) {
        case ValueKind::kEditText:
            if (b.rule == TextRule::kDigitsOnly) return std::string("1x");
            if (b.rule == TextRule::kStartLetters) return std::string("aB");
            if (b.maxChars == 1) return std::string("ab");
            return int32_t{4};  // a number where a text belongs
        case ValueKind::kComboIndex:
            return int32_t{b.entries};
        case ValueKind::kCheckBox:
            return int32_t{2};
        case ValueKind::kRadioGroup:
            return int32_t{b.radios.back().radioId + 1};
    }
    return int32_t{-1};
}

// The items are real files in a folder "Trip", last modified on 5 March 2004
// at 14:07:09 local time, so that the date actions have a date to write.
class Items {
public:
    Items() { dir_.Folder("Trip"); }
    std::string Compute(CExecute& op, const std::string& name, int scope) {
        dir_.File("Trip/" + name);
        std::tm when{};
        when.tm_year = 2004 - 1900;
        when.tm_mon = 2;
        when.tm_mday = 5;
        when.tm_hour = 14;
        when.tm_min = 7;
        when.tm_sec = 9;
        when.tm_isdst = -1;
        const auto time = std::chrono::system_clock::from_time_t(std::mktime(&when));
        std::filesystem::last_write_time(testing_support::U8(dir_ / ("Trip/" + name)),
                                         std::chrono::file_clock::from_sys(time));
        const CFileDescriptor fd(dir_ / "Trip", name, scope);
        // The items of one operation are one pass, in order.
        if (&op != op_) {
            op_ = &op;
            position_ = 0;
        }
        return op.Compute(fd, {position_++, platform::RealFileSystem()})->name();
    }

private:
    testing_support::TempDir dir_;
    const CExecute* op_ = nullptr;
    size_t position_ = 0;
};

TEST(Panels, EveryActionOfTheCatalogueHasARow) {
    std::set<int> rows;
    for (const auto& r : Rows()) rows.insert(r.actionId);
    for (const auto& slot : ActionCatalogue())
        if (slot.create) {
            EXPECT_TRUE(rows.count(slot.textId)) << slot.panelClass;
        }
}

TEST(Panels, DefaultsBindingsAndFocus) {
    for (const auto& row : Rows()) {
        Fixture f;
        auto panel = MakePanel(row.actionId, &f.store);
        ASSERT_TRUE(panel) << LoadStringText(row.actionId);
        const std::string& action = panel->actionName();
        EXPECT_EQ(action, LoadStringText(row.actionId));
        EXPECT_EQ(panel->actionNameId(), row.actionId);
        EXPECT_EQ(panel->scope(), 0) << action;
        EXPECT_EQ(panel->focusKind(), row.focus) << action;
        EXPECT_EQ(panel->focusControl(), row.focusControl) << action;
        ASSERT_EQ(panel->bindings().size(), row.values.size()) << action;
        for (const auto& v : row.values) {
            const CPanelBinding* b = panel->FindValue(v.name);
            ASSERT_TRUE(b) << action << ": " << v.name;
            EXPECT_EQ(b->kind, v.kind) << action << ": " << v.name;
            EXPECT_EQ(b->controlId, v.control) << action << ": " << v.name;
            EXPECT_EQ(panel->GetValue(v.name), v.def) << action << ": " << v.name;
            if (v.control) {
                EXPECT_EQ(panel->FindControl(v.control), b) << action << ": " << v.name;
            }
        }
        // The first field is one of the panel's own controls.
        if (row.focus != FocusKind::kNone) {
            EXPECT_TRUE(panel->FindControl(row.focusControl)) << action;
        }
        // Reading the empty store wrote nothing.
        EXPECT_TRUE(f.memory.writes.empty()) << action;
    }
}

TEST(Panels, AppliesToScope) {
    for (const auto& row : Rows()) {
        Fixture f;
        auto panel = MakePanel(row.actionId, &f.store);
        for (int scope = 0; scope < 4; ++scope)
            EXPECT_EQ(panel->AppliesToScope(scope), row.scopes[scope]) << panel->actionName() << " scope " << scope;
    }
}

TEST(Panels, MissingValuesBuildNothingAndSaveNothing) {
    for (const auto& row : Rows()) {
        for (const auto& values : row.nulls) {
            Fixture f;
            auto panel = MakePanel(row.actionId, &f.store);
            Apply(*panel, values);
            EXPECT_EQ(panel->CreateOperation(CRunOptions{}), nullptr) << panel->actionName();
            EXPECT_TRUE(f.memory.writes.empty()) << panel->actionName();
        }
    }
}

TEST(Panels, TheOperationGetsTheCommonArgumentsAndItsOwn) {
    for (const auto& row : Rows()) {
        for (const auto& c : row.ops) {
            Fixture f;
            auto panel = MakePanel(row.actionId, &f.store);
            Apply(*panel, c.set);
            panel->SetScope(c.scope);
            // Every option off its default, and a scope that the panel's own
            // must replace.
            const CRunOptions given{.files = false,
                                    .folders = false,
                                    .subfolders = false,
                                    .confirm = false,
                                    .scope = (c.scope + 1) % 4,
                                    .sortOrder = 5,
                                    .sortEachFolder = false,
                                    .randomSeed = 99};
            auto op = panel->CreateOperation(given);
            ASSERT_TRUE(op) << panel->actionName();
            EXPECT_TRUE(row.isOperation(*op)) << panel->actionName() << " built " << typeid(*op).name();
            CRunOptions expected = given;
            expected.scope = c.scope;
            expected.confirm = Is<CManuallyExecute>(*op);  // manual renaming always asks
            EXPECT_EQ(op->options(), expected) << panel->actionName();
            ASSERT_EQ(c.in.size(), c.out.size());
            Items items;
            for (size_t i = 0; i < c.in.size(); ++i)
                EXPECT_EQ(items.Compute(*op, c.in[i], c.scope), c.out[i]) << panel->actionName() << " on " << c.in[i];
        }
    }
}

TEST(Panels, BuildingAnOperationSavesTheActionAndEveryValue) {
    for (const auto& row : Rows()) {
        Fixture f;
        auto panel = MakePanel(row.actionId, &f.store);
        std::map<std::string, CMemorySettings::Value> expected;
        for (const auto& b : panel->bindings()) {
            const std::string alt = Alternative(b);
            ASSERT_TRUE(panel->SetValue(b.name(), alt)) << panel->actionName() << ": " << b.name();
            if (b.kind == ValueKind::kEditText)
                expected[b.name()] = alt;
            else
                expected[b.name()] = int32_t{std::stoi(alt)};
        }
        ASSERT_TRUE(panel->CreateOperation(CRunOptions{})) << panel->actionName();
        if (!row.writes) {
            EXPECT_TRUE(f.memory.writes.empty()) << panel->actionName();
            continue;
        }
        expected["lastSelection"] = panel->actionName();
        EXPECT_EQ(f.memory.values, expected) << panel->actionName();
        EXPECT_EQ(f.memory.flushes, 0) << "panels leave flushing to the main dialog";

        // The next run restores exactly these.
        auto next = MakePanel(row.actionId, &f.store);
        for (const auto& b : next->bindings())
            EXPECT_EQ(next->GetValue(b.name()), Alternative(b)) << panel->actionName() << ": " << b.name();
    }
}

TEST(Panels, StoredValuesAreRestoredOnlyForTheLastAction) {
    for (const auto& row : Rows()) {
        for (const char* last : {"", "Some other action", "insert anywhere"}) {
            Fixture f;
            auto probe = MakePanel(row.actionId, &f.store);
            for (const auto& b : probe->bindings()) {
                const std::string alt = Alternative(b);
                if (b.kind == ValueKind::kEditText)
                    f.memory.values[b.name()] = alt;
                else
                    f.memory.values[b.name()] = int32_t{std::stoi(alt)};
            }
            f.memory.values["lastSelection"] = std::string(last);
            auto panel = MakePanel(row.actionId, &f.store);
            for (const auto& v : row.values)
                EXPECT_EQ(panel->GetValue(v.name), v.def) << panel->actionName() << " after " << last << ": " << v.name;
        }
    }
}

TEST(Panels, StoredValuesTheFieldsCannotHoldKeepTheirDefaults) {
    for (const auto& row : Rows()) {
        Fixture f;
        auto probe = MakePanel(row.actionId, &f.store);
        f.memory.values["lastSelection"] = probe->actionName();
        for (const auto& b : probe->bindings()) f.memory.values[b.name()] = Invalid(b);
        auto panel = MakePanel(row.actionId, &f.store);
        for (const auto& v : row.values)
            EXPECT_EQ(panel->GetValue(v.name), v.def) << panel->actionName() << ": " << v.name;

        // Missing numbers (-1) too.
        Fixture g;
        g.memory.values["lastSelection"] = probe->actionName();
        auto bare = MakePanel(row.actionId, &g.store);
        for (const auto& v : row.values)
            if (v.kind != kText) {
                EXPECT_EQ(bare->GetValue(v.name), v.def) << bare->actionName() << ": " << v.name;
            }
    }
}

TEST(Panels, RadioButtonsEnableOnlyTheirControls) {
    for (const auto& row : Rows()) {
        if (row.radios.empty()) continue;
        Fixture f;
        auto panel = MakePanel(row.actionId, &f.store);
        for (const auto& radio : row.radios) {
            ASSERT_TRUE(panel->CheckRadio(radio.id)) << panel->actionName() << " " << radio.id;
            for (int id : radio.enabled) EXPECT_TRUE(panel->IsControlEnabled(id)) << radio.id << ": " << id;
            for (int id : radio.disabled) EXPECT_FALSE(panel->IsControlEnabled(id)) << radio.id << ": " << id;
        }
        EXPECT_FALSE(panel->CheckRadio(1000)) << "not a radio button";
        EXPECT_FALSE(panel->CheckRadio(-1));
    }
}

TEST(Panels, DigitsOnlyFieldsDropEverythingElse) {
    for (const auto& row : Rows()) {
        Fixture f;
        auto panel = MakePanel(row.actionId, &f.store);
        for (const auto& b : panel->bindings()) {
            if (b.kind != ValueKind::kEditText || b.rule != TextRule::kDigitsOnly) continue;
            std::string text = "1a2-3 \xC3\xA9";
            EXPECT_TRUE(panel->FilterText(b.controlId, text)) << b.name();
            EXPECT_EQ(text, "123");
            std::string digits = "0042";
            EXPECT_FALSE(panel->FilterText(b.controlId, digits));
            EXPECT_EQ(digits, "0042");
            EXPECT_FALSE(panel->SetValue(b.name(), "-1")) << b.name();
        }
    }
}

TEST(Panels, TheDateSeparatorTakesOneCharacter) {
    for (int action : {kStrAddDateAtBeginning, kStrAddDateAtEnd, kStrToDate}) {
        Fixture f;
        auto panel = MakePanel(action, &f.store);
        std::string text = "\xC3\xA9-x";
        EXPECT_TRUE(panel->FilterText(1049, text));
        EXPECT_EQ(text, "\xC3\xA9") << "one character, not one byte";
        EXPECT_FALSE(panel->SetValue("seperator", "--"));
        EXPECT_TRUE(panel->SetValue("seperator", ""));
        EXPECT_TRUE(panel->SetValue("seperator", "\xE6\x97\xA5"));
    }
}

TEST(Panels, SetValueRefusesWhatAFieldCannotHold) {
    Fixture f;
    auto panel = MakePanel(kStrAddAnywhere, &f.store);
    const std::pair<const char*, const char*> refused[] = {
        {"toPosition", "1a"},
        {"toOrderType", "2"},
        {"toOrderType", "-1"},
        {"toOccurenceType", "12"},
        {"toOrderType", "x"},
        {"toOrderType", ""},
        {"addAnywhereSelection", "1025"},
        {"nosuch", "1"},
        {"find", "x"},
    };
    for (const auto& [name, value] : refused) {
        std::string error;
        EXPECT_FALSE(panel->SetValue(name, value, &error)) << name << "=" << value;
        EXPECT_FALSE(error.empty()) << name;
    }
    for (const auto& v : Rows()[0].values) EXPECT_EQ(panel->GetValue(v.name), v.def) << v.name;
    EXPECT_TRUE(panel->SetValue("toOccurenceType", "11"));
    EXPECT_EQ(panel->GetValue("nosuch"), "");
}

TEST(Panels, ChangesAreReportedToTheListener) {
    Fixture f;
    auto panel = MakePanel(kStrAddAtEnd, &f.store);
    panel->NotifyChanged();  // no listener yet: nothing happens
    std::vector<CRenameDlg*> seen;
    panel->SetChangeListener([&](CRenameDlg& p) { seen.push_back(&p); });
    panel->NotifyChanged();
    EXPECT_EQ(seen, std::vector<CRenameDlg*>{panel.get()});
}

}  // namespace

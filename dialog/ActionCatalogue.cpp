#include "dialog/ActionCatalogue.h"

#include <array>

#include "dialog/PanelIds.h"
#include "dialog/StringTable.h"
#include "dialog/panels/AddInsertPanels.h"
#include "dialog/panels/AlphaPanels.h"
#include "dialog/panels/CasePanels.h"
#include "dialog/panels/DatePanels.h"
#include "dialog/panels/NumberPanels.h"
#include "dialog/panels/RemovePanels.h"
#include "dialog/panels/ReplacePanels.h"
#include "dialog/panels/TagPanels.h"

namespace {

template <class Panel>
std::unique_ptr<CRenameDlg> Make(CSettingsStore* store) {
    return std::make_unique<Panel>(store);
}

template <class Panel>
constexpr CCatalogueSlot Slot(int textId, int panelTemplate, const char* panelClass) {
    return {textId, panelTemplate, panelClass, &Make<Panel>};
}
constexpr CCatalogueSlot kBlank{};

#define QLN_SLOT(id, tpl, cls) Slot<cls>(id, tpl, #cls)

constexpr std::array<CCatalogueSlot, 41> kCatalogue = {{
    QLN_SLOT(kStrAddAnywhere, IDD_PANEL_ADD_ANYWHERE, CAddAnywhereDlg),
    QLN_SLOT(kStrAddAtBeginning, IDD_PANEL_ADD_AT_BEGINNING, CAddAtBeginningDlg),
    QLN_SLOT(kStrAddAtEnd, IDD_PANEL_ADD_AT_END, CAddAtEndDlg),
    QLN_SLOT(kStrAddDateAtBeginning, IDD_PANEL_ADD_DATE_AT_BEGINNING, CAddDateAtBeginningDlg),
    QLN_SLOT(kStrAddDateAtEnd, IDD_PANEL_ADD_DATE_AT_END, CAddDateAtEndDlg),
    QLN_SLOT(kStrAddFolderAtBeginning, IDD_PANEL_ADD_FOLDER_AT_BEGINNING, CAddFolderAtBeginningDlg),
    kBlank,
    QLN_SLOT(kStrRemoveAnywhere, IDD_PANEL_REMOVE_ANYWHERE, CRemoveAnywhereDlg),
    QLN_SLOT(kStrRemoveAtBeginning, IDD_PANEL_REMOVE_AT_BEGINNING, CRemoveAtBeginningDlg),
    QLN_SLOT(kStrRemoveAtEnd, IDD_PANEL_REMOVE_AT_END, CRemoveAtEndDlg),
    QLN_SLOT(kStrRemoveExtensions, IDD_PANEL_REMOVE_EXTENSIONS, CRemoveExtensionsDlg),
    QLN_SLOT(kStrRemoveVowels, IDD_PANEL_REMOVE_VOWELS, CRemoveVowelsDlg),
    QLN_SLOT(kStrTruncate, IDD_PANEL_TRUNCATE, CTruncateToDlg),
    kBlank,
    QLN_SLOT(kStrReplaceAnywhere, IDD_PANEL_REPLACE_ANYWHERE, CReplaceAnywhereDlg),
    QLN_SLOT(kStrReplaceAtBeginning, IDD_PANEL_REPLACE_AT_BEGINNING, CReplaceAtBeginningDlg),
    QLN_SLOT(kStrReplaceAtEnd, IDD_PANEL_REPLACE_AT_END, CReplaceAtEndDlg),
    QLN_SLOT(kStrReplaceExtensions, IDD_PANEL_REPLACE_EXTENSIONS, CReplaceExtensionsDlg),
    QLN_SLOT(kStrReplaceCharacters, IDD_PANEL_REPLACE_CHARACTERS, CReplaceCharactersDlg),
    kBlank,
    QLN_SLOT(kStrCapital, IDD_PANEL_CAPITAL, CCapitalDlg),
    QLN_SLOT(kStrMakeLowercase, IDD_PANEL_LOWERCASE, CLowercaseDlg),
    QLN_SLOT(kStrPropercase, IDD_PANEL_PROPERCASE, CPropercaseDlg),
    QLN_SLOT(kStrTitlecase, IDD_PANEL_TITLECASE, CTitlecaseDlg),
    QLN_SLOT(kStrMakeUppercase, IDD_PANEL_UPPERCASE, CUppercaseDlg),
    kBlank,
    QLN_SLOT(kStrProduceAlphabeticalList, IDD_PANEL_PRODUCE_ALPHABETICAL_LIST, CProduceAlphabeticalListDlg),
    QLN_SLOT(kStrProduceNumberedList, IDD_PANEL_PRODUCE_NUMBERED_LIST, CProduceNumberedListDlg),
    QLN_SLOT(kStrAddAlphaAtBeginning, IDD_PANEL_ADD_ALPHA_AT_BEGINNING, CAddAlphaAtBeginningDlg),
    QLN_SLOT(kStrAddAlphaAtEnd, IDD_PANEL_ADD_ALPHA_AT_END, CAddAlphaAtEndDlg),
    QLN_SLOT(kStrAddNumberAtBeginning, IDD_PANEL_ADD_NUMBER_AT_BEGINNING, CAddNumberAtBeginningDlg),
    QLN_SLOT(kStrAddNumberAtEnd, IDD_PANEL_ADD_NUMBER_AT_END, CAddNumberAtEndDlg),
    QLN_SLOT(kStrReformatNumber, IDD_PANEL_REFORMAT_NUMBER, CReformatNumberDlg),
    QLN_SLOT(kStrRenumber, IDD_PANEL_RENUMBER, CRenumberDlg),
    kBlank,
    QLN_SLOT(kStrToDate, IDD_PANEL_TO_DATE, CToDateDlg),
    QLN_SLOT(kStrManually, IDD_PANEL_MANUALLY, CManuallyDlg),
    kBlank,
    QLN_SLOT(kStrReplaceByPattern, IDD_PANEL_REPLACE_BY_PATTERN, CReplaceByPatternDlg),
    kBlank,
    QLN_SLOT(kStrRenameFromTags, IDD_PANEL_RENAME_FROM_TAGS, CRenameFromTagsDlg),
}};

#undef QLN_SLOT

}  // namespace

std::span<const CCatalogueSlot> ActionCatalogue() {
    return kCatalogue;
}

std::vector<std::unique_ptr<CRenameDlg>> CreatePanels(CSettingsStore* store) {
    std::vector<std::unique_ptr<CRenameDlg>> panels;
    panels.reserve(kCatalogue.size());
    for (const auto& slot : kCatalogue) panels.push_back(slot.create ? slot.create(store) : nullptr);
    return panels;
}

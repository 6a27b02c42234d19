#include "dialog/ActionCatalogue.h"

#include <array>

#include "dialog/StringTable.h"
#include "dialog/panels/AddInsertPanels.h"

namespace {

template <class Panel>
std::unique_ptr<CRenameDlg> Make(CSettingsStore* store) {
    return std::make_unique<Panel>(store);
}

#define QLN_SLOT(id, tpl, cls) CCatalogueSlot{id, tpl, #cls, &Make<cls>}
// An action whose panel is not built yet: listed, but no panel is made.
#define QLN_PENDING(id, tpl, cls) CCatalogueSlot{id, tpl, #cls, nullptr}
#define QLN_BLANK CCatalogueSlot{}

const std::array<CCatalogueSlot, 37> kCatalogue = {{
    QLN_SLOT(kStrAddAnywhere, 1119, CAddAnywhereDlg),
    QLN_SLOT(kStrAddAtBeginning, 1012, CAddAtBeginningDlg),
    QLN_SLOT(kStrAddAtEnd, 1000, CAddAtEndDlg),
    QLN_PENDING(kStrAddDateAtBeginning, 1032, CAddDateAtBeginningDlg),
    QLN_PENDING(kStrAddDateAtEnd, 1033, CAddDateAtEndDlg),
    QLN_SLOT(kStrAddFolderAtBeginning, 1129, CAddFolderAtBeginningDlg),
    QLN_BLANK,
    QLN_PENDING(kStrRemoveAnywhere, 1009, CRemoveAnywhereDlg),
    QLN_PENDING(kStrRemoveAtBeginning, 1020, CRemoveAtBeginningDlg),
    QLN_PENDING(kStrRemoveAtEnd, 1019, CRemoveAtEndDlg),
    QLN_PENDING(kStrRemoveExtensions, 1022, CRemoveExtensionsDlg),
    QLN_PENDING(kStrRemoveVowels, 1023, CRemoveVowelsDlg),
    QLN_PENDING(kStrTruncate, 1021, CTruncateToDlg),
    QLN_BLANK,
    QLN_PENDING(kStrReplaceAnywhere, 1015, CReplaceAnywhereDlg),
    QLN_PENDING(kStrReplaceAtBeginning, 1014, CReplaceAtBeginningDlg),
    QLN_PENDING(kStrReplaceAtEnd, 1013, CReplaceAtEndDlg),
    QLN_PENDING(kStrReplaceExtensions, 1028, CReplaceExtensionsDlg),
    QLN_PENDING(kStrReplaceCharacters, 1027, CReplaceCharactersDlg),
    QLN_BLANK,
    QLN_PENDING(kStrCapital, 1137, CCapitalDlg),
    QLN_PENDING(kStrMakeLowercase, 1001, CLowercaseDlg),
    QLN_PENDING(kStrPropercase, 1029, CPropercaseDlg),
    QLN_PENDING(kStrTitlecase, 1124, CTitlecaseDlg),
    QLN_PENDING(kStrMakeUppercase, 1011, CUppercaseDlg),
    QLN_BLANK,
    QLN_PENDING(kStrProduceAlphabeticalList, 1034, CProduceAlphabeticalListDlg),
    QLN_PENDING(kStrProduceNumberedList, 1030, CProduceNumberedListDlg),
    QLN_PENDING(kStrAddAlphaAtBeginning, 1130, CAddAlphaAtBeginningDlg),
    QLN_PENDING(kStrAddAlphaAtEnd, 1151, CAddAlphaAtEndDlg),
    QLN_PENDING(kStrAddNumberAtBeginning, 1017, CAddNumberAtBeginningDlg),
    QLN_PENDING(kStrAddNumberAtEnd, 1016, CAddNumberAtEndDlg),
    QLN_PENDING(kStrReformatNumber, 1026, CReformatNumberDlg),
    QLN_PENDING(kStrRenumber, 1035, CRenumberDlg),
    QLN_BLANK,
    QLN_PENDING(kStrToDate, 1031, CToDateDlg),
    QLN_SLOT(kStrManually, 1025, CManuallyDlg),
}};


#undef QLN_SLOT
#undef QLN_PENDING
#undef QLN_BLANK

}  // namespace

std::span<const CCatalogueSlot> ActionCatalogue() { return kCatalogue; }

std::vector<std::unique_ptr<CRenameDlg>> CreatePanels(CSettingsStore* store) {
    std::vector<std::unique_ptr<CRenameDlg>> panels;
    panels.reserve(kCatalogue.size());
    for (const auto& slot : kCatalogue) panels.push_back(slot.create ? slot.create(store) : nullptr);
    return panels;
}

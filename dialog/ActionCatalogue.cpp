#include "dialog/ActionCatalogue.h"

#include <array>

#include "dialog/StringTable.h"
#include "dialog/panels/AddInsertPanels.h"
#include "dialog/panels/AlphaPanels.h"
#include "dialog/panels/CasePanels.h"
#include "dialog/panels/DatePanels.h"
#include "dialog/panels/NumberPanels.h"
#include "dialog/panels/RemovePanels.h"
#include "dialog/panels/ReplacePanels.h"

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

constexpr std::array<CCatalogueSlot, 37> kCatalogue = {{
    QLN_SLOT(kStrAddAnywhere, 1119, CAddAnywhereDlg),
    QLN_SLOT(kStrAddAtBeginning, 1012, CAddAtBeginningDlg),
    QLN_SLOT(kStrAddAtEnd, 1000, CAddAtEndDlg),
    QLN_SLOT(kStrAddDateAtBeginning, 1032, CAddDateAtBeginningDlg),
    QLN_SLOT(kStrAddDateAtEnd, 1033, CAddDateAtEndDlg),
    QLN_SLOT(kStrAddFolderAtBeginning, 1129, CAddFolderAtBeginningDlg),
    kBlank,
    QLN_SLOT(kStrRemoveAnywhere, 1009, CRemoveAnywhereDlg),
    QLN_SLOT(kStrRemoveAtBeginning, 1020, CRemoveAtBeginningDlg),
    QLN_SLOT(kStrRemoveAtEnd, 1019, CRemoveAtEndDlg),
    QLN_SLOT(kStrRemoveExtensions, 1022, CRemoveExtensionsDlg),
    QLN_SLOT(kStrRemoveVowels, 1023, CRemoveVowelsDlg),
    QLN_SLOT(kStrTruncate, 1021, CTruncateToDlg),
    kBlank,
    QLN_SLOT(kStrReplaceAnywhere, 1015, CReplaceAnywhereDlg),
    QLN_SLOT(kStrReplaceAtBeginning, 1014, CReplaceAtBeginningDlg),
    QLN_SLOT(kStrReplaceAtEnd, 1013, CReplaceAtEndDlg),
    QLN_SLOT(kStrReplaceExtensions, 1028, CReplaceExtensionsDlg),
    QLN_SLOT(kStrReplaceCharacters, 1027, CReplaceCharactersDlg),
    kBlank,
    QLN_SLOT(kStrCapital, 1137, CCapitalDlg),
    QLN_SLOT(kStrMakeLowercase, 1001, CLowercaseDlg),
    QLN_SLOT(kStrPropercase, 1029, CPropercaseDlg),
    QLN_SLOT(kStrTitlecase, 1124, CTitlecaseDlg),
    QLN_SLOT(kStrMakeUppercase, 1011, CUppercaseDlg),
    kBlank,
    QLN_SLOT(kStrProduceAlphabeticalList, 1034, CProduceAlphabeticalListDlg),
    QLN_SLOT(kStrProduceNumberedList, 1030, CProduceNumberedListDlg),
    QLN_SLOT(kStrAddAlphaAtBeginning, 1130, CAddAlphaAtBeginningDlg),
    QLN_SLOT(kStrAddAlphaAtEnd, 1151, CAddAlphaAtEndDlg),
    QLN_SLOT(kStrAddNumberAtBeginning, 1017, CAddNumberAtBeginningDlg),
    QLN_SLOT(kStrAddNumberAtEnd, 1016, CAddNumberAtEndDlg),
    QLN_SLOT(kStrReformatNumber, 1026, CReformatNumberDlg),
    QLN_SLOT(kStrRenumber, 1035, CRenumberDlg),
    kBlank,
    QLN_SLOT(kStrToDate, 1031, CToDateDlg),
    QLN_SLOT(kStrManually, 1025, CManuallyDlg),
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

#include "launcher/Wizard.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "dialog/win32/Dialog.h"
#include "dialog/win32/PictureFile.h"
#include "launcher/Launcher.h"
#include "launcher/Resource.h"
#include "platform/win32/Scoped.h"
#include "platform/win32/Wide.h"

namespace launcher {

namespace {

struct PageInfo {
    UINT textId;
    const wchar_t* name;  // of its picture file, without extension
    DWORD buttons;
};

constexpr std::array<PageInfo, 5> kPages{{
    {IDS_WIZARD_PAGE1, L"wizard1", PSWIZB_NEXT},
    {IDS_WIZARD_PAGE2, L"wizard2", PSWIZB_BACK | PSWIZB_NEXT},
    {IDS_WIZARD_PAGE3, L"wizard3", PSWIZB_BACK | PSWIZB_NEXT},
    {IDS_WIZARD_PAGE4, L"wizard4", PSWIZB_BACK | PSWIZB_NEXT},
    {IDS_WIZARD_PAGE5, L"wizard5", PSWIZB_BACK | PSWIZB_FINISH},
}};

// The pictures are delivered beside the rename library; the program takes
// them from its own folder when the library is not loaded, which in the
// installed product is the same folder.
std::wstring PictureFolder() {
    return ModuleFolder(::GetModuleHandleW(L"Qln"));
}

class CWizardPage final : public CDialog {
public:
    CWizardPage(const PageInfo& info, bool& finished) : info_(info), finished_(finished) {}

    PROPSHEETPAGEW Page() {
        PROPSHEETPAGEW page;
        FillPage(page, ModuleOfThisCode(), IDD_WIZARD_PAGE);
        return page;
    }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT && picture_.loaded()) {
            Paint();
            return TRUE;
        }
        return CDialog::HandleMessage(message, wParam, lParam);
    }

    bool OnInitDialog() override {
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(ModuleOfThisCode(), info_.textId, reinterpret_cast<wchar_t*>(&text), 0);
        ::SetDlgItemTextW(window(), IDC_WIZARD_TEXT, std::wstring(text ? text : L"", length > 0 ? length : 0).c_str());
        // A missing picture is told in a box owned by the sheet, so that the
        // box stays in front and the wizard waits for it.
        picture_.Load(platform::Narrow(PictureFolder() + info_.name + L".jpg"), ::GetParent(window()));
        Embolden(item(IDC_WIZARD_TEXT));
        return true;
    }

    LRESULT OnNotify(const NMHDR& header) override {
        switch (header.code) {
            case PSN_SETACTIVE:
                // Posted: the sheet is still switching pages when it asks.
                ::PostMessageW(::GetParent(window()), PSM_SETWIZBUTTONS, 0, info_.buttons);
                return 0;
            case PSN_WIZFINISH:
                finished_ = true;
                return 0;
            default:
                return 0;
        }
    }

private:
    // The same face and size as the control has, only bold.
    void Embolden(HWND control) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
        LOGFONTW form{};
        if (!::GetObjectW(font, sizeof form, &form)) return;
        form.lfWeight = FW_BOLD;
        bold_.reset(::CreateFontIndirectW(&form));
        if (bold_) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), TRUE);
    }

    void Paint() {
        const win::ScopedPaint paint(window());
        if (paint.dc() && !::IsIconic(::GetParent(window()))) picture_.Draw(paint.dc(), item(IDC_WIZARD_PICTURE));
    }

    PageInfo info_;
    bool& finished_;
    CPictureFile picture_;
    // Outlives the text control, which is destroyed with the sheet.
    win::ScopedGdiObject bold_;
};

}  // namespace

WizardEnd RunWizard() {
    bool finished = false;
    std::vector<std::unique_ptr<CWizardPage>> pages;
    std::vector<PROPSHEETPAGEW> sheetPages;
    for (const auto& info : kPages) {
        pages.push_back(std::make_unique<CWizardPage>(info, finished));
        sheetPages.push_back(pages.back()->Page());
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hInstance = ModuleOfThisCode();
    header.pszCaption = L"Quorlin Info";
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.nStartPage = 0;
    header.ppsp = sheetPages.data();
    if (::PropertySheetW(&header) < 0) return WizardEnd::Failed;
    return finished ? WizardEnd::Finished : WizardEnd::Cancelled;
}

bool OpenExplorer(ShellExecuteFunction execute) {
    // Anything above 32 is success, whatever the type says.
    return reinterpret_cast<INT_PTR>(execute(nullptr, L"explore", L"", nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace launcher

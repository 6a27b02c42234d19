#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/PanelIds.h"
#include "dialog/win32/Dialog.h"
#include "dialog/win32/DialogTemplate.h"
#include "dialog/win32/MainResource.h"
#include "dialog/win32/Resource.h"

// A window opened from a template's frame whose controls come after must end
// up as the dialog manager would have made it.

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Each control of `dialog` in its order, as a line of what sets it apart:
// class, text, id, styles, place and whether it has the dialog's font.
std::vector<std::wstring> Controls(HWND dialog) {
    std::vector<std::wstring> controls;
    const auto font = ::SendMessageW(dialog, WM_GETFONT, 0, 0);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {}, text[256] = {};
        ::GetClassNameW(child, name, 64);
        ::GetWindowTextW(child, text, 256);
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
        std::wstring line = std::wstring(name) + L"|" + text;
        for (const auto number : {static_cast<LONG_PTR>(::GetDlgCtrlID(child)), ::GetWindowLongPtrW(child, GWL_STYLE),
                                  ::GetWindowLongPtrW(child, GWL_EXSTYLE), static_cast<LONG_PTR>(r.left),
                                  static_cast<LONG_PTR>(r.top), static_cast<LONG_PTR>(r.right),
                                  static_cast<LONG_PTR>(r.bottom),
                                  static_cast<LONG_PTR>(::SendMessageW(child, WM_GETFONT, 0, 0) == font)})
            line += L"|" + std::to_wstring(number);
        controls.push_back(line);
    }
    return controls;
}

TEST(DialogTemplate, ControlsMadeLaterAreThoseTheDialogManagerMakes) {
    const HINSTANCE instance = ModuleOfThisCode();
    // The sections and panels are child dialogs: they need a parent.
    const HWND host = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, instance, nullptr);
    for (const int id : {IDD_MAIN, IDD_SECTION_PROCESSING, IDD_SECTION_SORTING, IDD_SECTION_LIST, IDD_PRESET_NAME,
                         IDD_DEFAULT_ERROR, IDD_DUPLICATE_ERROR, IDD_CONFIRM, IDD_PANEL_ADD_AT_BEGINNING,
                         IDD_PANEL_RENAME_FROM_TAGS}) {
        SCOPED_TRACE(id);
        CDialogTemplate staged;
        ASSERT_TRUE(staged.Load(instance, id));
        const HWND whole = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(id), host, Quiet, 0);
        const HWND frame = ::CreateDialogIndirectParamW(instance, staged.frame(), host, Quiet, 0);
        ASSERT_TRUE(whole && frame);
        EXPECT_EQ(::GetWindow(frame, GW_CHILD), nullptr) << "the frame opens without controls";
        EXPECT_EQ(::GetWindowLongPtrW(frame, GWL_STYLE), ::GetWindowLongPtrW(whole, GWL_STYLE));
        ASSERT_TRUE(staged.CreateItems(frame, instance));

        EXPECT_EQ(Controls(frame), Controls(whole));
        EXPECT_EQ(::SendMessageW(frame, DM_GETDEFID, 0, 0), ::SendMessageW(whole, DM_GETDEFID, 0, 0));
        ::DestroyWindow(whole);
        ::DestroyWindow(frame);
    }
    ::DestroyWindow(host);
}

TEST(DialogTemplate, ADamagedOrPlainTemplateIsRefused) {
    const HINSTANCE instance = ModuleOfThisCode();
    const HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(IDD_MAIN), RT_DIALOG);
    ASSERT_TRUE(found);
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(instance, found)));
    const std::vector<BYTE> whole(bytes, bytes + ::SizeofResource(instance, found));
    CDialogTemplate read;
    ASSERT_TRUE(read.Read(whole.data(), whole.size()));
    // Cut anywhere before its last control ends, it is refused; never read
    // past its end (each cut is a copy of its own).
    const size_t last = whole.size() - 2 * sizeof(WORD);  // a control's title and its data count
    for (size_t size = 0; size < last; ++size) {
        const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(read.Read(cut.data(), cut.size())) << size;
    }
    // The plain form.
    std::vector<BYTE> plain = whole;
    plain[2] = 0;
    EXPECT_FALSE(read.Read(plain.data(), plain.size()));
}

}  // namespace

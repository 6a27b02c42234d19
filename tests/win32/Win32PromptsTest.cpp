#include <gtest/gtest.h>

#include "dialog/win32/Resource.h"
#include "dialog/win32/Win32Prompts.h"
#include "tests/win32/DialogDriver.h"

// How the prompts place their dialogs and what they answer when no dialog can be shown.

namespace {

CNameRequest request() {
    CNameRequest r;
    r.oldName = "a.txt";
    r.computed = "b.txt";
    r.newName = "b.txt";
    return r;
}

TEST(Win32Prompts, DialogsAreOwnedByTheGivenWindowOrByNone) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                         nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    for (const HWND given : {owner, HWND{nullptr}}) {
        Win32Prompts prompts(given);
        CNameRequest r = request();
        HWND seen = reinterpret_cast<HWND>(1);
        const int code = dialog_test::Drive([&] { return prompts.TooLong(r); },
                                            [&](HWND dlg) {
                                                seen = ::GetWindow(dlg, GW_OWNER);
                                                dialog_test::Click(dlg, IDC_RENAME);
                                            });
        EXPECT_EQ(code, 1014);
        EXPECT_EQ(seen, given);
    }
    ::DestroyWindow(owner);
}

// Without its templates no dialog can ask: nothing may be renamed and the run
// must not carry on past questions nobody sees.
TEST(Win32Prompts, WithoutTemplatesEveryQuestionEndsTheRun) {
    Win32Prompts prompts(nullptr, ::GetModuleHandleW(L"ntdll.dll"));
    using Ask = int (Win32Prompts::*)(CNameRequest&);
    for (const Ask ask :
         {&Win32Prompts::Confirm, &Win32Prompts::Duplicate, &Win32Prompts::Illegal, &Win32Prompts::TooLong}) {
        CNameRequest r = request();
        EXPECT_EQ((prompts.*ask)(r), 1012);
        EXPECT_EQ(r.newName, "b.txt");
    }
    CErrorReport report;
    EXPECT_EQ(prompts.DefaultError(report), 1012);
}

TEST(Win32Prompts, AnOwnerThatIsGoneEndsTheRun) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                         nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    ::DestroyWindow(owner);
    Win32Prompts prompts(owner);
    CNameRequest r = request();
    EXPECT_EQ(dialog_test::Drive([&] { return prompts.Confirm(r); }, [](HWND dlg) { ::EndDialog(dlg, 1014); }), 1012);
    EXPECT_EQ(r.newName, "b.txt");
}

}  // namespace

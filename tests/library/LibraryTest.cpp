// Qln.dll as a program uses it: loaded with LoadLibrary, HandleRename called
// over real temporary folders, the dialog driven from a second thread with
// window messages, and the disk checked afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <set>

#include "dialog/ControlTexts.h"
#include "dialog/PanelIds.h"
#include "dialog/win32/MainResource.h"
#include "dialog/win32/Resource.h"
#include "platform/win32/Wide.h"
#include "tests/library/LibraryDriver.h"
#include "tests/support/TempDir.h"

using namespace library_test;
using testing_support::TempDir;

namespace {

using Snap = std::set<std::string>;
using Rows = std::vector<std::vector<std::string>>;

class LibraryTest : public testing::Test {
protected:
    void SetUp() override { ForgetSettings(); }
    void TearDown() override { ForgetSettings(); }
    Library library;
};

TEST_F(LibraryTest, APlainRename) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("b.txt", "b");
    Rename(library, {dir / "a.txt", dir / "b.txt"}, [](MainDialog& d) {
        ComboChoose(d.scope, 0);
        ASSERT_TRUE(d.Choose("Add to beginning"));
        EditSetText(d.Field(IDC_PANEL_TEXT), "x_");
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "x_a.txt", ""}, {"b.txt", "x_b.txt", ""}})) << ListRows(d.list).size();
        EXPECT_EQ(d.Status(), "2 items, 2 to rename");
        ClickLater(::GetDlgItem(d.main, IDOK));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"x_a.txt=a", "x_b.txt=b"}));
}

TEST_F(LibraryTest, CancelRenamesNothing) {
    TempDir dir;
    dir.File("a.txt", "a");
    Rename(library, {dir / "a.txt"}, [](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Make UPPERCASE"));
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "A.TXT", ""}}));
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=a"}));
}

// The window shows before its controls are made: OK or Cancel pressed as it
// appears is neither lost nor taken for the other.
TEST_F(LibraryTest, OkOrCancelAsTheWindowAppears) {
    for (const auto& [command, expected] : {std::pair{IDOK, Snap{"x_a.txt=a"}}, {IDCANCEL, Snap{"a.txt=a"}}}) {
        SCOPED_TRACE(command);
        StoreSettings({{L"lastSelection", L"Add to beginning"}, {L"add", L"x_"}}, {});
        TempDir dir;
        dir.File("a.txt", "a");
        const std::string path = dir / "a.txt";
        const char* paths[] = {path.c_str()};
        DriveWhile([&] { library.handleRename(nullptr, 0, paths, 1); },
                   [command = command] {
                       // Taken as soon as it exists, shown or not: the
                       // command comes before any control.
                       HWND main = nullptr;
                       for (const DWORD start = ::GetTickCount(); !main && ::GetTickCount() - start < 10000;) {
                           for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w && !main;
                                w = ::FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                               DWORD process = 0;
                               ::GetWindowThreadProcessId(w, &process);
                               if (process == ::GetCurrentProcessId()) main = w;
                           }
                       }
                       ASSERT_TRUE(main);
                       ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
                   });
        EXPECT_EQ(dir.Snapshot(), expected);
    }
}

TEST_F(LibraryTest, NoPathsOpenAnEmptyDialogAndOkRenamesNothing) {
    TempDir dir;
    dir.File("a.txt", "a");
    Rename(library, {}, [](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Make UPPERCASE"));
        EXPECT_TRUE(d.ShowsRows({}));
        EXPECT_EQ(d.Status(), "Nothing to rename.");
        ClickLater(::GetDlgItem(d.main, IDOK));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=a"}));
}

TEST_F(LibraryTest, ATakenNameIsSettledInTheDuplicateDialog) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("b.txt", "b");
    Rename(library, {dir / "a.txt"}, [](MainDialog& d) {
        ComboChoose(d.scope, 1);  // the name without its extension
        ASSERT_TRUE(d.Choose("Replace anywhere"));
        EditSetText(d.Field(IDC_PANEL_FIND), "a");
        EditSetText(d.Field(IDC_PANEL_REPLACE), "b");
        // The preview sees the conflict before anything is renamed.
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "b.txt", "name taken"}}));
        EXPECT_EQ(d.Status(), "1 item, 0 to rename, 1 conflict");
        ClickLater(::GetDlgItem(d.main, IDOK));
        const HWND duplicate = WaitForWindow("Duplicate file name");
        ASSERT_TRUE(duplicate);
        EXPECT_EQ(Text(duplicate, IDC_COMPUTED), "b.txt");
        ClickLater(::GetDlgItem(duplicate, IDC_ADD_NUMBER));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"b.txt=b", "b1.txt=a"}));
}

// The common save dialog is found from outside and given a name, as a user
// types one; the rename dialog stays open.
TEST_F(LibraryTest, SaveFileListWritesTheFullPaths) {
    TempDir dir;
    TempDir out;
    dir.File("a.txt", "a");
    dir.File("sub/b.txt", "b");
    const std::string list = out / "list.txt";
    Rename(library, {dir / "a.txt", dir / "sub"}, [&](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Make UPPERCASE"));
        ClickLater(::GetDlgItem(d.main, IDC_MAIN_SAVE_LIST));
        HWND save = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            save = WaitForWindow("Save", 100);
            return save && save != d.main;
        }));
        // The name field: an edit (1152) in the old style, the edit of a
        // ComboBoxEx (1148) in the explorer style.
        HWND name = ::GetDlgItem(save, 1152);
        if (!name) name = reinterpret_cast<HWND>(::SendMessageW(::GetDlgItem(save, 1148), CBEM_GETEDITCONTROL, 0, 0));
        ASSERT_TRUE(name) << "no file name field in the save dialog";
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(save, 1040))) << "no read-only box";
        EditSetText(name, list);
        ClickLater(::GetDlgItem(save, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return out.Exists("list.txt"); }));
        EXPECT_TRUE(::IsWindowVisible(d.main)) << "the dialog stays open";
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    EXPECT_EQ(out.Read("list.txt"), dir / "sub/b.txt" + "\r\n" + dir / "a.txt" + "\r\n" + dir / "sub" + "\r\n");
    EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=a", "sub/", "sub/b.txt=b"}));
}

TEST_F(LibraryTest, TheActionListFollowsTheScopeAndKeepsTheChoice) {
    TempDir dir;
    dir.File("a.txt", "a");
    Rename(library, {dir / "a.txt"}, [](MainDialog& d) {
        ComboChoose(d.scope, 0);
        // All but the two that change the name only, and the blank line
        // that would end the list.
        EXPECT_EQ(ComboEntries(d.action).size(), 38u);
        ComboChoose(d.scope, 1);
        EXPECT_EQ(ComboEntries(d.action).size(), 41u);
        ComboChoose(d.scope, 0);
        ASSERT_TRUE(d.Choose("Add date/time to beginning"));
        ComboChoose(d.scope, 2);  // extension with its separator
        const auto offered = ComboEntries(d.action);
        for (const char* missing : {"Add date/time to beginning", "Add date/time to end", "Add folder to beginning",
                                    "Rename to date", "Make the first letter uppercase"})
            EXPECT_EQ(std::count(offered.begin(), offered.end(), missing), 0) << missing;
        EXPECT_EQ(Text(d.action), offered.front()) << "the first action when the old one is not offered";
        ASSERT_TRUE(d.Choose("Add to end"));
        ComboChoose(d.scope, 3);
        EXPECT_EQ(Text(d.action), "Add to end") << "kept when still offered";
        // A blank line cannot be chosen.
        const int blank = ComboFind(d.action, "");
        ASSERT_GE(blank, 0);
        ComboChoose(d.action, blank);
        EXPECT_EQ(Text(d.action), "Add to end");
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

TEST_F(LibraryTest, ASecondCallRestoresScopeActionAndOptions) {
    TempDir dir;
    dir.File("a.txt", "a");
    Rename(library, {dir / "a.txt"}, [](MainDialog& d) {
        ComboChoose(d.scope, 1);
        ASSERT_TRUE(d.Choose("Add to end"));
        EditSetText(d.Field(IDC_PANEL_TEXT), "_v2");
        Click(::GetDlgItem(d.Section(IDC_OPTION_SUBFOLDERS), IDC_OPTION_SUBFOLDERS));
        ComboChoose(::GetDlgItem(d.Section(IDC_OPTION_ORDER), IDC_OPTION_ORDER), 1);
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "a_v2.txt", ""}}));
        ClickLater(::GetDlgItem(d.main, IDOK));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a_v2.txt=a"}));
    Rename(library, {dir / "a_v2.txt"}, [](MainDialog& d) {
        EXPECT_EQ(Text(d.scope), ScopeTexts()[1]);
        EXPECT_EQ(Text(d.action), "Add to end");
        EXPECT_EQ(Text(d.Field(IDC_PANEL_TEXT)), "_v2");
        EXPECT_FALSE(::SendMessageW(::GetDlgItem(d.Section(IDC_OPTION_SUBFOLDERS), IDC_OPTION_SUBFOLDERS),
                                    BM_GETCHECK, 0, 0));
        EXPECT_EQ(Text(::GetDlgItem(d.Section(IDC_OPTION_ORDER), IDC_OPTION_ORDER)), SortOrderTexts()[1]);
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

TEST_F(LibraryTest, TheCaptionShowsTheVersion) {
    Rename(library, {}, [](MainDialog& d) {
        EXPECT_EQ(Text(d.main), std::string("Quorlin ") + QLN_VERSION);
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

TEST_F(LibraryTest, TheSectionBoxesChangeThePreviewAtOnce) {
    TempDir dir;
    dir.File("a.txt", "a");
    dir.File("sub/b.txt", "b");
    Rename(library, {dir / "a.txt", dir / "sub"}, [](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Make UPPERCASE"));
        ComboChoose(::GetDlgItem(d.Section(IDC_OPTION_ORDER), IDC_OPTION_ORDER), 0);
        // What lies in a folder shows below it.
        EXPECT_TRUE(d.ShowsRows({{"sub\\b.txt", "B.TXT", ""}, {"a.txt", "A.TXT", ""}, {"sub", "SUB", ""}}));
        const HWND processing = d.Section(IDC_OPTION_FILES);
        Click(::GetDlgItem(processing, IDC_OPTION_FILES));
        EXPECT_TRUE(d.ShowsRows({{"sub", "SUB", ""}}));
        Click(::GetDlgItem(processing, IDC_OPTION_FILES));
        Click(::GetDlgItem(processing, IDC_OPTION_SUBFOLDERS));
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "A.TXT", ""}, {"sub", "SUB", ""}}));
        // Without "Show preview" the list is emptied and says why.
        Click(::GetDlgItem(d.Section(IDC_OPTION_PREVIEW), IDC_OPTION_PREVIEW));
        EXPECT_TRUE(d.ShowsRows({}));
        EXPECT_EQ(d.Status(), "The preview is off.");
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

TEST_F(LibraryTest, SectionsAndParametersCollapseAndExpand) {
    Rename(library, {}, [](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Add to end"));
        const HWND processing = d.Section(IDC_OPTION_FILES);
        const HWND files = ::GetDlgItem(processing, IDC_OPTION_FILES);
        auto height = [](HWND w) {
            RECT r{};
            ::GetWindowRect(w, &r);
            return r.bottom - r.top;
        };
        const int open = height(processing);
        auto clickHeader = [](HWND parent, int id) {
            ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(parent, id)));
        };
        clickHeader(processing, IDC_HEADER_PROCESSING);
        EXPECT_FALSE(::IsWindowVisible(files));
        EXPECT_LT(height(processing), open);
        clickHeader(processing, IDC_HEADER_PROCESSING);
        EXPECT_TRUE(::IsWindowVisible(files));
        EXPECT_EQ(height(processing), open);

        const HWND field = d.Field(IDC_PANEL_TEXT);
        RECT before{};
        ::GetWindowRect(processing, &before);
        clickHeader(d.main, IDC_MAIN_PARAMETERS);
        EXPECT_FALSE(::IsWindowVisible(field));
        RECT after{};
        ::GetWindowRect(processing, &after);
        EXPECT_LT(after.top, before.top) << "the sections move up into the room";
        clickHeader(d.main, IDC_MAIN_PARAMETERS);
        EXPECT_TRUE(::IsWindowVisible(field));
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

// Tab goes through the dialog's accelerators to the next control, across
// the panel; the reverse command goes back.
TEST_F(LibraryTest, TabMovesTheFocusThroughDialogAndPanel) {
    Rename(library, {}, [](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Replace anywhere"));
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        auto focus = [&] {
            ::GetGUIThreadInfo(::GetWindowThreadProcessId(d.main, nullptr), &info);
            return info.hwndFocus;
        };
        const HWND find = d.Field(IDC_PANEL_FIND);
        ASSERT_TRUE(WaitUntil([&] { return focus() == find; })) << "the panel's first field has the focus";
        ::PostMessageW(find, WM_KEYDOWN, VK_TAB, 1);
        ::PostMessageW(find, WM_KEYUP, VK_TAB, 0xC0000001);
        EXPECT_TRUE(WaitUntil([&] { return focus() == d.Field(IDC_PANEL_REPLACE); }));
        ::SendMessageW(d.main, WM_COMMAND, ID_PREVIOUS_CONTROL, 0);
        EXPECT_EQ(focus(), find);
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

TEST_F(LibraryTest, AMissingArrowPictureIsReportedOnce) {
    TempDir folder;
    std::filesystem::copy_file(LibraryPath(), testing_support::U8(folder / "Qln.dll"));
    Library copy(platform::Widen(folder / "Qln.dll"));
    ASSERT_TRUE(copy.handleRename);
    DriveWhile([&] { copy.handleRename(nullptr, 0, nullptr, 0); },
               [&] {
                   for (const char* picture : {"bitmap1.gif", "bitmap2.gif"}) {
                       const std::string caption = "Error opening file: " + (folder / picture);
                       const HWND box = WaitForWindow(caption);
                       EXPECT_TRUE(box) << caption;
                       if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                   }
                   MainDialog d;
                   ASSERT_TRUE(d.Find());
                   EXPECT_FALSE(WaitForWindow("Error opening file", 300)) << "each picture is reported once";
                   ClickLater(::GetDlgItem(d.main, IDCANCEL));
               });
}

// A folder tree that calls is told to refresh; no other window is.
TEST_F(LibraryTest, F5GoesToAFolderTreeParentOnly) {
    ::InitCommonControls();
    for (const wchar_t* cls : {WC_TREEVIEWW, L"Static"}) {
        const HWND parent = ::CreateWindowExW(0, cls, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(parent);
        Rename(library, {}, [](MainDialog& d) { ClickLater(::GetDlgItem(d.main, IDCANCEL)); }, parent);
        MSG msg{};
        const bool posted = ::PeekMessageW(&msg, parent, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
        if (std::wstring(cls) == WC_TREEVIEWW) {
            ASSERT_TRUE(posted);
            EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_F5));
            EXPECT_EQ(msg.lParam, 0x3F0001);
        } else {
            EXPECT_FALSE(posted);
        }
        ::DestroyWindow(parent);
    }
}

// A file another program holds open: the error dialog offers "Try again",
// which renames it once the program has let it go.
TEST_F(LibraryTest, AFileHeldOpenIsRenamedByTryAgainOnceFree) {
    TempDir dir;
    dir.File("a.txt", "a");
    const std::wstring path = platform::Widen(dir / "a.txt");
    HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Rename(library, {dir / "a.txt"}, [&](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Add to beginning"));
        EditSetText(d.Field(IDC_PANEL_TEXT), "x_");
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "x_a.txt", ""}}));
        ClickLater(::GetDlgItem(d.main, IDOK));
        const HWND box = WaitForWindow("Cannot rename");
        ASSERT_TRUE(box) << "the rename was not refused";
        EXPECT_EQ(Text(box, IDC_ERROR_CODE), "32");
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(box, IDC_TRY_AGAIN)));
        ::CloseHandle(held);
        held = nullptr;
        Click(::GetDlgItem(box, IDC_TRY_AGAIN));
    });
    if (held) ::CloseHandle(held);
    EXPECT_EQ(dir.Snapshot(), (Snap{"x_a.txt=a"}));
}

// Rows chosen one by one: two boxes cleared (one by Space, one by a click on
// the box), one name typed over its New cell. The choices outlast a change
// of the panel's value, and OK renames as they say.
TEST_F(LibraryTest, RowsLeftOutAndANameTypedByHandGoThroughOk) {
    TempDir dir;
    for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"}) dir.File(n, n);
    Rename(library, {dir / "a.txt", dir / "b.txt", dir / "c.txt", dir / "d.txt"}, [&](MainDialog& d) {
        ASSERT_TRUE(d.Choose("Add to beginning"));
        EditSetText(d.Field(IDC_PANEL_TEXT), "x_");
        ASSERT_TRUE(d.ShowsRows({{"a.txt", "x_a.txt", ""}, {"b.txt", "x_b.txt", ""}, {"c.txt", "x_c.txt", ""},
                                 {"d.txt", "x_d.txt", ""}}));
        auto focus = [&](int row) {
            LVITEMW state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            LVITEMW none = state;
            ::SendMessageW(d.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendMessageW(d.list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        };
        auto checked = [&](int row) {
            const auto state = ::SendMessageW(d.list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
            return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
        };
        EXPECT_TRUE(checked(0) && checked(1) && checked(2) && checked(3));
        focus(0);
        ::SendMessageW(d.list, WM_KEYDOWN, VK_SPACE, 0);
        // The box of row 2, found where the list says it is.
        RECT cell{};
        cell.left = LVIR_BOUNDS;
        ASSERT_TRUE(::SendMessageW(d.list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&cell)));
        LVHITTESTINFO hit{};
        for (int x = cell.left; x < cell.right; ++x) {
            hit.pt = {x, (cell.top + cell.bottom) / 2};
            if (::SendMessageW(d.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == 2 &&
                (hit.flags & LVHT_ONITEMSTATEICON))
                break;
        }
        ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON) << "no box on row 2";
        ::SendMessageW(d.list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
        ::SendMessageW(d.list, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "a.txt", "left out"}, {"b.txt", "x_b.txt", ""},
                                 {"c.txt", "c.txt", "left out"}, {"d.txt", "x_d.txt", ""}}));
        EXPECT_TRUE(!checked(0) && checked(1) && !checked(2) && checked(3));
        // F2 opens a box over the New cell; Enter keeps what was typed.
        focus(3);
        ::SendMessageW(d.list, WM_KEYDOWN, VK_F2, 0);
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = ::FindWindowExW(d.list, nullptr, L"Edit", nullptr)) != nullptr; }));
        EXPECT_EQ(Text(box), "x_d.txt");
        ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"mine.txt"));
        ::SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "a.txt", "left out"}, {"b.txt", "x_b.txt", ""},
                                 {"c.txt", "c.txt", "left out"}, {"d.txt", "mine.txt", "edited"}}));
        EXPECT_EQ(d.Status(), "4 items, 2 to rename, 2 left out");
        EditSetText(d.Field(IDC_PANEL_TEXT), "y_");
        EXPECT_TRUE(d.ShowsRows({{"a.txt", "a.txt", "left out"}, {"b.txt", "y_b.txt", ""},
                                 {"c.txt", "c.txt", "left out"}, {"d.txt", "mine.txt", "edited"}}));
        ClickLater(::GetDlgItem(d.main, IDOK));
    });
    EXPECT_EQ(dir.Snapshot(), (Snap{"a.txt=a.txt", "y_b.txt=b.txt", "c.txt=c.txt", "mine.txt=d.txt"}));
}

// Tab goes as the eye does: the left column from the top, each section's
// header among its controls, then the list, then the buttons under it; and
// a header toggles its section from the keyboard.
TEST_F(LibraryTest, TabFollowsTheEyeAndHeadersWorkFromTheKeyboard) {
    Rename(library, {}, [](MainDialog& d) {
        ComboChoose(d.scope, 0);
        ASSERT_TRUE(d.Choose("Add to beginning"));
        std::vector<int> order;
        const HWND first = ::GetDlgItem(d.main, IDC_MAIN_STEP_ADD);
        HWND at = first;
        do {
            order.push_back(::GetDlgCtrlID(at));
            at = ::GetNextDlgTabItem(d.main, at, FALSE);
        } while (at && at != first && order.size() < 40);
        std::vector<int> expected = {
            IDC_MAIN_STEP_ADD, IDC_MAIN_PRESETS, IDC_MAIN_SCOPE, IDC_MAIN_ACTION, IDC_MAIN_PARAMETERS, IDC_PANEL_TEXT,
            IDC_HEADER_INTERACTION, IDC_OPTION_CONFIRM, IDC_HEADER_PROCESSING, IDC_OPTION_FILES, IDC_OPTION_FOLDERS,
            IDC_OPTION_SUBFOLDERS, IDC_HEADER_PREVIEW, IDC_OPTION_PREVIEW, IDC_HEADER_SORTING, IDC_OPTION_ORDER,
            IDC_OPTION_SORT_FOLDERS, IDC_PREVIEW_LIST, IDC_MAIN_SAVE_LIST, IDCANCEL, IDOK};
        // "Undo last run..." is reached only when there is a run to take back.
        if (d.UndoOffered()) expected.insert(expected.end() - 2, IDC_MAIN_UNDO);
        EXPECT_EQ(order, expected);
        // Space on a header, as a keyboard gives it, closes its section.
        const HWND header = ::GetDlgItem(d.Section(IDC_HEADER_PROCESSING), IDC_HEADER_PROCESSING);
        const HWND files = ::GetDlgItem(d.Section(IDC_HEADER_PROCESSING), IDC_OPTION_FILES);
        ::PostMessageW(d.main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(header), TRUE);
        ::PostMessageW(header, WM_KEYDOWN, VK_SPACE, 0x00390001);
        ::PostMessageW(header, WM_KEYUP, VK_SPACE, 0xC0390001);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(files); })) << "Space did not close the section";
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
}

// On a small screen the dialog stays within the work area: its sections
// close until it fits.
TEST_F(LibraryTest, TheDialogFitsTheWorkArea) {
    RECT saved{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0));
    RECT small{saved.left, saved.top, saved.left + 820, saved.top + 480};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWORKAREA, 0, &small, 0));
    RECT shown{};
    bool closed = false;
    Rename(library, {}, [&](MainDialog& d) {
        ::GetWindowRect(d.main, &shown);
        closed = !::IsWindowVisible(::GetDlgItem(d.Section(IDC_HEADER_SORTING), IDC_OPTION_ORDER));
        ClickLater(::GetDlgItem(d.main, IDCANCEL));
    });
    EXPECT_TRUE(closed) << "the last section closes first";
    ::SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);
    EXPECT_GE(shown.left, small.left);
    EXPECT_GE(shown.top, small.top);
    EXPECT_LE(shown.right, small.right);
    EXPECT_LE(shown.bottom, small.bottom);
}

}  // namespace

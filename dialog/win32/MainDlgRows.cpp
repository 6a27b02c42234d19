// The preview list's own controls: a check box per row that leaves its item
// out of the run, and a name typed by hand over the computed one. Both are
// the model's choices, kept by the item's path for as long as the dialog is
// open; the list only shows them and passes the person's clicks and keys on.
#include "dialog/win32/MainDlg.h"

#include <commctrl.h>

#include "dialog/win32/Controls.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"

namespace {

constexpr int kUnchecked = 1;  // the state images of LVS_EX_CHECKBOXES
constexpr int kChecked = 2;

}  // namespace

void CMainDlg::SetUpRowChoices() {
    // The list holds no state of its own: it asks for each row's box.
    ListView_SetCallbackMask(listView_, LVIS_STATEIMAGEMASK);
    // Where the system draws one, a box in the header checks or clears
    // every row; a click on the header of the first column does the same.
    const HWND header = ListView_GetHeader(listView_);
    if (header) {
        ::SetWindowLongPtrW(header, GWL_STYLE, ::GetWindowLongPtrW(header, GWL_STYLE) | HDS_CHECKBOXES);
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (Header_GetItem(header, 0, &item)) {
            item.fmt |= HDF_CHECKBOX | HDF_CHECKED;
            Header_SetItem(header, 0, &item);
        }
    }
}

bool CMainDlg::RowChecked(const CPreviewRow& row) const {
    const CItemChoices& choices = model_.choices();
    return choices.leftOutCount() == 0 || !choices.LeftOut(CMainDlgModel::RowPath(row));
}

bool CMainDlg::RowEdited(const CPreviewRow& row) const {
    const CItemChoices& choices = model_.choices();
    return choices.namedCount() != 0 && choices.Name(CMainDlgModel::RowPath(row)) != nullptr;
}

std::vector<size_t> CMainDlg::SelectedRows() const {
    std::vector<size_t> rows;
    for (int i = ListView_GetNextItem(listView_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(listView_, i, LVNI_SELECTED))
        rows.push_back(static_cast<size_t>(i));
    return rows;
}

bool CMainDlg::RowNotify(const NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
            if (!(info.item.mask & LVIF_STATE)) return false;
            bool marked = false;
            const CPreviewRow* row = ShownRow(static_cast<size_t>(info.item.iItem), marked);
            info.item.state &= ~LVIS_STATEIMAGEMASK;
            info.item.state |= INDEXTOSTATEIMAGEMASK(!row || RowChecked(*row) ? kChecked : kUnchecked);
            info.item.stateMask |= LVIS_STATEIMAGEMASK;
            return false;  // the text too, where it is asked for
        }
        case NM_CLICK: {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            LVHITTESTINFO hit{};
            hit.pt = click.ptAction;
            if (ListView_HitTest(listView_, &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) {
                // The box clicked, with the others selected beside it.
                std::vector<size_t> rows = SelectedRows();
                const auto clicked = static_cast<size_t>(hit.iItem);
                if (std::find(rows.begin(), rows.end(), clicked) == rows.end()) rows = {clicked};
                std::erase(rows, clicked);
                rows.insert(rows.begin(), clicked);
                ToggleRows(rows);
            }
            return true;
        }
        case NM_DBLCLK: {
            const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
            LVHITTESTINFO hit{};
            hit.pt = click.ptAction;
            if (ListView_SubItemHitTest(listView_, &hit) >= 0 && hit.iSubItem == 1)
                EditName(static_cast<size_t>(hit.iItem));
            return true;
        }
        case NM_RCLICK: {
            POINT at{};
            ::GetCursorPos(&at);
            ShowRowMenu(at);
            return true;
        }
        case LVN_KEYDOWN: {
            const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
            if (key.wVKey == VK_SPACE) {
                std::vector<size_t> rows = SelectedRows();
                // The focused row leads: its box turns, the others follow it.
                const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
                if (focused >= 0 && std::find(rows.begin(), rows.end(), static_cast<size_t>(focused)) != rows.end()) {
                    std::erase(rows, static_cast<size_t>(focused));
                    rows.insert(rows.begin(), static_cast<size_t>(focused));
                }
                ToggleRows(rows);
                result = 1;  // no incremental search for the blank
            } else if (key.wVKey == VK_F2) {
                const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
                if (focused >= 0) EditName(static_cast<size_t>(focused));
            } else if (key.wVKey == VK_APPS || (key.wVKey == VK_F10 && ::GetKeyState(VK_SHIFT) < 0)) {
                const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
                RECT cell{};
                POINT at{};
                if (focused >= 0 && ListView_GetItemRect(listView_, focused, &cell, LVIR_LABEL)) at = {cell.left, cell.bottom};
                ::ClientToScreen(listView_, &at);
                ShowRowMenu(at);
            }
            return true;
        }
        case LVN_COLUMNCLICK: {
            if (reinterpret_cast<const NMLISTVIEW&>(header).iSubItem == 0) ToggleAll();
            return true;
        }
        default:
            return false;
    }
}

void CMainDlg::ToggleRows(const std::vector<size_t>& rows) {
    if (running_ || rows.empty()) return;
    std::vector<std::string> paths;
    bool firstChecked = true;
    for (size_t i = 0; i < rows.size(); ++i) {
        bool marked = false;
        const CPreviewRow* row = ShownRow(rows[i], marked);
        if (!row) continue;
        if (paths.empty()) firstChecked = RowChecked(*row);
        paths.push_back(CMainDlgModel::RowPath(*row));
    }
    if (paths.empty()) return;
    model_.LeaveOut(paths, firstChecked);
    ::InvalidateRect(listView_, nullptr, FALSE);
    RefreshPreview();
}

void CMainDlg::ToggleAll() {
    if (running_) return;
    const CPreview& rows = model_.rows();
    if (rows.empty()) return;
    // All checked: clear them all; otherwise check them all.
    const bool allChecked = model_.choices().leftOutCount() == 0;
    if (allChecked) {
        std::vector<std::string> paths;
        paths.reserve(rows.size());
        for (const auto& row : rows) paths.push_back(CMainDlgModel::RowPath(row));
        model_.LeaveOut(paths, true);
    } else {
        CItemChoices checked = model_.choices();
        checked.TakeAllIn();
        model_.SetChoices(std::move(checked));
    }
    if (const HWND header = ListView_GetHeader(listView_)) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (Header_GetItem(header, 0, &item)) {
            item.fmt = allChecked ? (item.fmt & ~HDF_CHECKED) : (item.fmt | HDF_CHECKED);
            Header_SetItem(header, 0, &item);
        }
    }
    ::InvalidateRect(listView_, nullptr, FALSE);
    RefreshPreview();
}

void CMainDlg::EditName(size_t index) {
    if (running_ || nameEdit_) return;
    bool marked = false;
    const CPreviewRow* row = ShownRow(index, marked);
    if (!row) return;
    ListView_EnsureVisible(listView_, static_cast<int>(index), FALSE);
    RECT cell{};
    if (!ListView_GetSubItemRect(listView_, static_cast<int>(index), 1, LVIR_LABEL, &cell)) return;
    editedPath_ = CMainDlgModel::RowPath(*row);
    const std::string* typed = model_.choices().Name(editedPath_);
    const std::wstring text = platform::Widen(typed ? *typed : row->newName);
    nameEdit_ = ::CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                  cell.left, cell.top - 1, cell.right - cell.left, cell.bottom - cell.top + 2,
                                  listView_, nullptr, instance_, nullptr);
    if (!nameEdit_) return;
    ::SendMessageW(nameEdit_, WM_SETFONT, ::SendMessageW(listView_, WM_GETFONT, 0, 0), TRUE);
    ::SetWindowSubclass(nameEdit_, &CMainDlg::NameEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // The name without its extension is what one mostly changes.
    const size_t dot = text.find_last_of(L'.');
    ::SendMessageW(nameEdit_, EM_SETSEL, 0, dot == std::wstring::npos || dot == 0 ? -1 : static_cast<LPARAM>(dot));
    ::SetFocus(nameEdit_);
}

LRESULT CALLBACK CMainDlg::NameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* dialog = reinterpret_cast<CMainDlg*>(data);
    switch (message) {
        case WM_GETDLGCODE:
            // Enter and Esc end the edit, not the dialog.
            return DLGC_WANTALLKEYS | ::DefSubclassProc(edit, message, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                ::PostMessageW(dialog->window(), WM_MAIN_NAME_EDITED, wParam == VK_RETURN ? 1 : 0, 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r' || wParam == 27) return 0;  // no beep
            break;
        case WM_KILLFOCUS:
            ::PostMessageW(dialog->window(), WM_MAIN_NAME_EDITED, 1, 0);
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(edit, &CMainDlg::NameEditProc, 1);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

void CMainDlg::NameEdited(bool keep) {
    if (!nameEdit_) return;  // ended already: a lost focus after Enter
    const HWND edit = std::exchange(nameEdit_, nullptr);
    const int length = ::GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), length + 1)));
    const bool hadFocus = ::GetFocus() == edit;
    ::DestroyWindow(edit);
    if (hadFocus) ::SetFocus(listView_);
    // An empty name is no name: the row keeps what it had.
    if (!keep || text.empty() || running_) return;
    const std::string typed = platform::Narrow(text);
    const std::string* before = model_.choices().Name(editedPath_);
    if (before && *before == typed) return;
    model_.SetName(editedPath_, typed);
    ::InvalidateRect(listView_, nullptr, FALSE);
    RefreshPreview();
}

void CMainDlg::ResetNames() {
    if (running_) return;
    std::vector<std::string> paths;
    for (size_t index : SelectedRows()) {
        bool marked = false;
        if (const CPreviewRow* row = ShownRow(index, marked); row && RowEdited(*row))
            paths.push_back(CMainDlgModel::RowPath(*row));
    }
    if (paths.empty()) return;
    model_.ResetNames(paths);
    ::InvalidateRect(listView_, nullptr, FALSE);
    RefreshPreview();
}

void CMainDlg::ShowRowMenu(POINT at) {
    if (running_) return;
    const std::vector<size_t> rows = SelectedRows();
    bool edited = false;
    for (size_t index : rows) {
        bool marked = false;
        if (const CPreviewRow* row = ShownRow(index, marked); row && RowEdited(*row)) edited = true;
    }
    const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
    const HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING | (focused >= 0 ? 0 : MF_GRAYED), ID_ROW_EDIT_NAME, L"Edit name\tF2");
    ::AppendMenuW(menu, MF_STRING | (edited ? 0 : MF_GRAYED), ID_ROW_RESET_NAME, L"Reset name");
    const int command = static_cast<int>(
        ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0,
                         window(), nullptr));
    ::DestroyMenu(menu);
    if (command == ID_ROW_EDIT_NAME && focused >= 0) EditName(static_cast<size_t>(focused));
    if (command == ID_ROW_RESET_NAME) ResetNames();
}

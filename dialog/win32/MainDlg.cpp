#include "dialog/win32/MainDlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "core/Words.h"
#include "dialog/ControlTexts.h"
#include "dialog/panels/RenameDlg.h"
#include "dialog/win32/Controls.h"
#include "dialog/win32/MainResource.h"
#include "dialog/win32/ProductVersion.h"
#include "platform/win32/Wide.h"

namespace {

// The grid of the left column, in dialog units.
constexpr int kMargin = 7;
constexpr int kColumnWidth = 280;   // as wide as a parameter panel
constexpr int kSectionLeft = 7;     // sections sit inside the column
constexpr int kSectionWidth = 266;  // from 7 to 273
constexpr int kRowGap = 4;
constexpr int kClosedSection = 10;  // a closed section shows its header only
constexpr int kButtonWidth = 50;
constexpr int kWideButtonWidth = 70;
constexpr int kButtonHeight = 14;
constexpr int kStatusHeight = 10;
constexpr int kMinimumListWidth = 200;
// The buttons under the list: two wide ones at the left, two at the right.
constexpr int kButtonRowWidth = 2 * kWideButtonWidth + 2 * kButtonWidth + 4 * kRowGap;
constexpr int kMinimumRightWidth = std::max(kMinimumListWidth, kButtonRowWidth);
constexpr int kStatusColumnWidth = 56;
constexpr int kMinimumListHeight = 60;

// The dialog whose accelerators the message filter translates. One rename
// dialog runs at a time on the one thread that shows it.
CMainDlg* g_active = nullptr;

std::string LibraryFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD n = ::GetModuleFileNameW(ModuleOfThisCode(), path, MAX_PATH);
    std::wstring folder(path, n);
    const auto slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return platform::Narrow(folder);
}

bool Inside(const RECT& r, POINT p) {
    return r.right > r.left && ::PtInRect(&r, p);
}

// The Status column: empty for a row that renames as shown, so that the
// rows that need a look stand out.
const char* StatusText(CRowStatus status) {
    return status == CRowStatus::kRenamed ? "" : StatusWord(status);
}

}  // namespace

// ---- Sections ----------------------------------------------------------------

CSectionPanel::CSectionPanel(CMainDlg& owner, int templateId, int headerId)
    : owner_(owner), templateId_(templateId), headerId_(headerId) {}

bool CSectionPanel::Create(HINSTANCE instance, HWND parent) {
    if (!CreateModeless(instance, templateId_, parent)) return false;
    RECT r{};
    ::GetWindowRect(window(), &r);
    openHeight_ = r.bottom - r.top;
    closedHeight_ = DialogUnitsToPixelsY(window(), kClosedSection);
    return true;
}

bool CSectionPanel::OnInitDialog() {
    return false;  // the main dialog places the focus
}

void CSectionPanel::SetCollapsed(bool collapsed) {
    collapsed_ = collapsed;
    // What a closed section hides must not take the focus either.
    for (HWND child = ::GetWindow(window(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id == headerId_ || id == IDC_SECTION_ARROW || id == IDC_SECTION_LINE) continue;
        WindowShow(child, !collapsed);
    }
    ::InvalidateRect(window(), nullptr, TRUE);
}

int CSectionPanel::height() const {
    return collapsed_ ? closedHeight_ : openHeight_;
}

void CSectionPanel::SetArrows(const CPictureFile& open, const CPictureFile& closed) {
    open_ = open.Share();
    closed_ = closed.Share();
}

INT_PTR CSectionPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(window(), &ps);
            if (headerId_) (collapsed_ ? closed_ : open_).Draw(dc, item(IDC_SECTION_ARROW));
            ::EndPaint(window(), &ps);
            return TRUE;
        }
        case WM_LBUTTONDOWN: {
            // The arrow's placeholder hides once the picture is drawn: a
            // click on the picture reaches the section itself.
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (headerId_ && (Inside(open_.target(), at) || Inside(closed_.target(), at))) owner_.SectionClicked(*this);
            return TRUE;
        }
        default:
            return CDialog::HandleMessage(message, wParam, lParam);
    }
}

void CSectionPanel::OnCommand(int id, int code) {
    if (headerId_ && (id == headerId_ || id == IDC_SECTION_ARROW) && code == STN_CLICKED) {
        owner_.SectionClicked(*this);
        return;
    }
    owner_.SectionChanged(id, code);
}

LRESULT CSectionPanel::OnNotify(const NMHDR& header) {
    return owner_.ListNotify(header);
}

// ---- The main dialog -----------------------------------------------------------

CMainDlg::CMainDlg(std::vector<std::string> paths, HWND parent)
    : parent_(parent),
      instance_(ModuleOfThisCode()),
      store_(CSettingsStore::kDialogSubKey),
      prompts_(nullptr, instance_),
      model_(std::move(paths), store_, std::random_device{}() ^ (static_cast<uint64_t>(::GetTickCount64()) << 20),
             platform::RealFileSystem(), prompts_) {
    for (const auto& [templateId, headerId] :
         {std::pair{IDD_SECTION_INTERACTION, IDC_HEADER_INTERACTION}, {IDD_SECTION_PROCESSING, IDC_HEADER_PROCESSING},
          {IDD_SECTION_PREVIEW, IDC_HEADER_PREVIEW}, {IDD_SECTION_SORTING, IDC_HEADER_SORTING}})
        sections_.push_back(std::make_unique<CSectionPanel>(*this, templateId, headerId));
    list_ = std::make_unique<CSectionPanel>(*this, IDD_SECTION_LIST, 0);
}

CMainDlg::~CMainDlg() {
    if (filter_) ::UnhookWindowsHookEx(filter_);
    if (g_active == this) g_active = nullptr;
}

INT_PTR CMainDlg::DoModal() {
    return RunModal(instance_, IDD_MAIN, parent_);
}

bool CMainDlg::OnInitDialog() {
    const std::string version = GetProductVersion("Qln");
    if (!version.empty()) WindowSetText(window(), "Quorlin " + version);
    HANDLE icon = ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    if (icon) ::SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    prompts_.SetOwner(window());

    // A missing picture is reported once, and its arrows stay empty.
    const std::string folder = LibraryFolder();
    open_.Load(folder + "bitmap1.gif", window());
    closed_.Load(folder + "bitmap2.gif", window());

    for (auto& section : sections_) {
        if (!section->Create(instance_, window())) return false;
        section->SetArrows(open_, closed_);
    }
    if (!list_->Create(instance_, window())) return false;
    listView_ = list_->item(IDC_PREVIEW_LIST);
    ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (const auto& [index, title] : {std::pair{0, L"Old"}, {1, L"New"}, {2, L"Status"}}) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title);
        column.cx = 120;
        column.iSubItem = index;
        ListView_InsertColumn(listView_, index, &column);
    }

    FillScopes();
    FillOptions();
    FillActions();
    accelerators_ = ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    g_active = this;
    filter_ = ::SetWindowsHookExW(WH_MSGFILTER, &CMainDlg::MessageFilter, nullptr, ::GetCurrentThreadId());

    ShowPanel();
    for (auto& section : sections_) WindowShow(section->window(), true);
    WindowShow(list_->window(), true);
    Relayout();
    RefreshPreview();
    UpdateUndo();
    return false;  // the panel's first field has the focus
}

INT_PTR CMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PANEL_CHANGED:
            RefreshPreview();
            return TRUE;
        case WM_SIZE:
            if (laidOut_) Relayout();
            return TRUE;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (minimum_.x > 0) info->ptMinTrackSize = minimum_;
            return TRUE;
        }
        case WM_PAINT:
            Paint();
            return TRUE;
        case WM_LBUTTONDOWN: {
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (ClickOnArrow(at)) ToggleParameters();
            return TRUE;
        }
        default:
            return CDialog::HandleMessage(message, wParam, lParam);
    }
}

void CMainDlg::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window(), &ps);
    (parametersCollapsed_ ? closed_ : open_).Draw(dc, item(IDC_MAIN_PARAMETERS_ARROW));
    ::EndPaint(window(), &ps);
}

bool CMainDlg::ClickOnArrow(POINT at) {
    return Inside(open_.target(), at) || Inside(closed_.target(), at);
}

void CMainDlg::OnCommand(int id, int code) {
    switch (id) {
        case IDC_MAIN_SCOPE:
            if (code == CBN_SELCHANGE) {
                const int scope = ComboSelection(item(IDC_MAIN_SCOPE));
                if (scope >= 0 && model_.SetScope(scope)) {
                    FillActions();
                    ShowPanel();
                    Relayout();
                    RefreshPreview();
                }
            }
            return;
        case IDC_MAIN_ACTION:
            if (code == CBN_SELCHANGE) {
                // A blank line keeps the action that was chosen.
                if (!model_.SelectLine(ComboSelection(item(IDC_MAIN_ACTION)))) {
                    ComboSelect(item(IDC_MAIN_ACTION), model_.currentLine());
                    return;
                }
                ShowPanel();
                Relayout();
                RefreshPreview();
            }
            return;
        case IDC_MAIN_PARAMETERS:
        case IDC_MAIN_PARAMETERS_ARROW:
            if (code == STN_CLICKED) ToggleParameters();
            return;
        case IDC_MAIN_SAVE_LIST:
            if (code == BN_CLICKED) SaveFileList();
            return;
        case IDC_MAIN_UNDO:
            if (code == BN_CLICKED && !running_) UndoLastRun();
            return;
        case IDOK:
            Ok();
            return;
        case IDCANCEL:
            // Not while the run is at work: it ends the dialog when it is done.
            if (!running_) End(IDCANCEL);
            return;
        case ID_NEXT_CONTROL:
        case ID_PREVIOUS_CONTROL:
            MoveFocus(id == ID_NEXT_CONTROL);
            return;
        default:
            return;
    }
}

void CMainDlg::FillScopes() {
    const HWND combo = item(IDC_MAIN_SCOPE);
    ComboClear(combo);
    for (const char* text : ScopeTexts()) ComboAdd(combo, text);
    ComboSelect(combo, model_.scope());
}

void CMainDlg::FillActions() {
    const HWND combo = item(IDC_MAIN_ACTION);
    ::SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    ComboClear(combo);
    for (const auto& line : model_.actionLines())
        ComboAdd(combo, line.panel ? line.panel->actionName() : std::string(), reinterpret_cast<LPARAM>(line.panel));
    ComboSelect(combo, model_.currentLine());
    ::SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
}

// The section controls show the model's options.
void CMainDlg::FillOptions() {
    const CDialogOptions& o = model_.options();
    const HWND order = ::GetDlgItem(sections_[3]->window(), IDC_OPTION_ORDER);
    ComboClear(order);
    for (const char* text : SortOrderTexts()) ComboAdd(order, text);
    for (const CSectionOption& option : SectionOptions()) {
        const HWND section = sections_[option.section]->window();
        if (option.controlId == IDC_OPTION_ORDER)
            ComboSelect(order, o.*option.member);
        else
            ButtonSetChecked(section, option.controlId, o.*option.member != 0);
    }
}

// The model's options follow the section controls.
void CMainDlg::ReadOptions() {
    CDialogOptions& o = model_.options();
    for (const CSectionOption& option : SectionOptions()) {
        const HWND section = sections_[option.section]->window();
        if (option.controlId == IDC_OPTION_ORDER) {
            const int chosen = ComboSelection(::GetDlgItem(section, IDC_OPTION_ORDER));
            if (chosen >= 0) o.*option.member = chosen;
        } else {
            o.*option.member = ButtonChecked(section, option.controlId) ? 1 : 0;
        }
    }
}

void CMainDlg::SectionChanged(int id, int code) {
    const auto options = SectionOptions();
    const bool click = code == BN_CLICKED && std::any_of(options.begin(), options.end(), [&](const CSectionOption& o) {
                           return o.controlId == id && id != IDC_OPTION_ORDER;
                       });
    const bool order = id == IDC_OPTION_ORDER && code == CBN_SELCHANGE;
    if (!click && !order) return;
    ReadOptions();
    // Every change that alters the result shows at once.
    RefreshPreview();
}

void CMainDlg::SectionClicked(CSectionPanel& section) {
    section.SetCollapsed(!section.collapsed());
    Relayout();
}

void CMainDlg::ToggleParameters() {
    parametersCollapsed_ = !parametersCollapsed_;
    if (shownHost_) WindowShow(shownHost_->window(), !parametersCollapsed_);
    ::InvalidateRect(window(), nullptr, TRUE);
    Relayout();
}

CPanelHost* CMainDlg::ActiveHost() {
    CRenameDlg* panel = model_.activePanel();
    if (!panel) return nullptr;
    auto& host = hosts_[panel];
    if (!host) host = std::make_unique<CPanelHost>(*panel);
    if (!host->window() && !host->Create(instance_, window())) return nullptr;
    return host.get();
}

void CMainDlg::ShowPanel() {
    CPanelHost* host = ActiveHost();
    if (host != shownHost_) {
        if (shownHost_) WindowShow(shownHost_->window(), false);
        shownHost_ = host;
    }
    if (!host) return;
    // The panel follows the tab order right after the "Action:" list.
    ::SetWindowPos(host->window(), item(IDC_MAIN_SEPARATOR), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    host->PushValues();
    WindowShow(host->window(), !parametersCollapsed_);
    if (!parametersCollapsed_) host->FocusFirstField();
}

void CMainDlg::Relayout() {
    const HWND w = window();
    auto px = [w](int units) { return DialogUnitsToPixelsX(w, units); };
    auto py = [w](int units) { return DialogUnitsToPixelsY(w, units); };
    RECT client{};
    ::GetClientRect(w, &client);

    // The left column, from the top.
    int y = py(kMargin);
    const int comboHeight = py(12);
    auto row = [&](int labelId, int comboId) {
        WindowMove(item(labelId), RECT{px(kMargin), y + py(2), px(77), y + py(10)});
        RECT combo = WindowRectInParent(item(comboId));
        const int height = combo.bottom - combo.top;
        WindowMove(item(comboId), RECT{px(80), y, px(273), y + height});
        y += std::max(comboHeight, height) + py(kRowGap);
    };
    row(IDC_MAIN_SCOPE_LABEL, IDC_MAIN_SCOPE);
    row(IDC_MAIN_ACTION_LABEL, IDC_MAIN_ACTION);
    y += py(2);
    WindowMove(item(IDC_MAIN_PARAMETERS_ARROW), RECT{px(kMargin), y, px(kMargin + 8), y + py(8)});
    WindowMove(item(IDC_MAIN_PARAMETERS), RECT{px(18), y, px(58), y + py(8)});
    WindowMove(item(IDC_MAIN_SEPARATOR), RECT{px(60), y + py(4), px(273), y + py(4) + 2});
    y += py(10);
    if (shownHost_ && !parametersCollapsed_) {
        RECT panel{};
        ::GetWindowRect(shownHost_->window(), &panel);
        const int height = panel.bottom - panel.top;
        WindowMove(shownHost_->window(), RECT{0, y, px(kColumnWidth), y + height});
        y += height;
    }
    y += py(kRowGap);
    for (auto& section : sections_) {
        const int height = section->height();
        WindowMove(section->window(), RECT{px(kSectionLeft), y, px(kSectionLeft + kSectionWidth), y + height});
        y += height + py(kRowGap);
    }
    const int leftBottom = y + py(kMargin - kRowGap);

    // The right column: the preview list takes what is left, the status line
    // and the buttons lie under it.
    const int left = px(kColumnWidth + kMargin);
    const int right = std::max<int>(client.right - px(kMargin), left + px(kMinimumRightWidth));
    const int bottom = std::max<int>(client.bottom, leftBottom) - py(kMargin);
    const int buttonsTop = bottom - py(kButtonHeight);
    const int statusTop = buttonsTop - py(kRowGap + kStatusHeight);
    const int listBottom = statusTop - py(kRowGap);
    WindowMove(list_->window(), RECT{left, py(kMargin), right, listBottom});
    WindowMove(listView_, RECT{0, 0, right - left, listBottom - py(kMargin)});
    const int status = px(kStatusColumnWidth);
    const int half = (right - left - status - ::GetSystemMetrics(SM_CXVSCROLL) - 4) / 2;
    ListView_SetColumnWidth(listView_, 0, std::max(half, 40));
    ListView_SetColumnWidth(listView_, 1, std::max(half, 40));
    ListView_SetColumnWidth(listView_, 2, status);
    WindowMove(item(IDC_MAIN_STATUS), RECT{left, statusTop, right, statusTop + py(kStatusHeight)});
    int x = right;
    for (const int id : {IDOK, IDCANCEL}) {
        WindowMove(item(id), RECT{x - px(kButtonWidth), buttonsTop, x, bottom});
        x -= px(kButtonWidth + kRowGap);
    }
    WindowMove(item(IDC_MAIN_SAVE_LIST), RECT{left, buttonsTop, left + px(kWideButtonWidth), bottom});
    const int undoLeft = left + px(kWideButtonWidth + kRowGap);
    WindowMove(item(IDC_MAIN_UNDO), RECT{undoLeft, buttonsTop, undoLeft + px(kWideButtonWidth), bottom});
    WindowMove(item(IDC_MAIN_DROPLET), RECT{left, buttonsTop, left + px(kWideButtonWidth), bottom});

    // The smallest window that shows all of it; one that is smaller now
    // grows to it.
    RECT needed{0, 0, left + px(kMinimumRightWidth + kMargin),
                std::max(leftBottom, py(kMargin + kMinimumListHeight + kRowGap + kStatusHeight + kRowGap +
                                        kButtonHeight + kMargin))};
    ::AdjustWindowRectEx(&needed, static_cast<DWORD>(::GetWindowLongPtrW(w, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(w, GWL_EXSTYLE)));
    minimum_ = POINT{needed.right - needed.left, needed.bottom - needed.top};
    RECT window{};
    ::GetWindowRect(w, &window);
    laidOut_ = true;
    if (window.right - window.left < minimum_.x || window.bottom - window.top < minimum_.y) {
        ::SetWindowPos(w, nullptr, 0, 0, std::max<int>(window.right - window.left, minimum_.x),
                       std::max<int>(window.bottom - window.top, minimum_.y), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The sections and the panel moved and changed size: each child paints
    // itself again, or a taller panel leaves the drawings of the old one
    // under the column.
    ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CMainDlg::RefreshPreview() {
    ReadOptions();
    model_.Changed();
    ShowRows();
}

void CMainDlg::ShowRows() {
    const bool on = model_.options().preview != 0;
    const CPreview& rows = model_.rows();
    const size_t shown = on ? rows.size() : 0;
    ListView_SetItemCountEx(listView_, static_cast<int>(shown), LVSICF_NOSCROLL);
    ::InvalidateRect(listView_, nullptr, TRUE);
    std::string status;
    if (!on) {
        status = "The preview is off.";
    } else if (!model_.activePanel() || rows.empty()) {
        status = model_.activePanel() ? "Nothing to rename." : "";
    } else {
        // What OK will do, and what it will have to ask about.
        const CPreviewCounts& counts = model_.counts();
        status = Count(counts.rows, "item", "items") + ", " + GroupedNumber(counts.renamed) + " to rename";
        if (counts.unchanged) status += ", " + GroupedNumber(counts.unchanged) + " unchanged";
        if (counts.conflicts) status += ", " + Count(counts.conflicts, "conflict", "conflicts");
    }
    DialogItemSetText(window(), IDC_MAIN_STATUS, status);
}

LRESULT CMainDlg::ListNotify(const NMHDR& header) {
    if (header.hwndFrom != listView_) return 0;
    if (header.code == NM_CUSTOMDRAW) return DrawRow(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
    if (header.code != LVN_GETDISPINFOW) return 0;
    auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
    if (!(info.item.mask & LVIF_TEXT)) return 0;
    const CPreview& rows = model_.rows();
    const auto index = static_cast<size_t>(info.item.iItem);
    if (index >= rows.size() || info.item.cchTextMax <= 0) return 0;
    const CPreviewRow& row = rows[index];
    switch (info.item.iSubItem) {
        case 0:
            cell_ = platform::Widen(row.item->name());
            break;
        case 1:
            cell_ = platform::Widen(row.newName);
            break;
        default:
            cell_ = platform::Widen(StatusText(row.status));
            break;
    }
    const size_t n = std::min(cell_.size(), static_cast<size_t>(info.item.cchTextMax - 1));
    std::copy_n(cell_.c_str(), n, info.item.pszText);
    info.item.pszText[n] = L'\0';
    return 0;
}

// A row that the run would have to ask about stands out.
LRESULT CMainDlg::DrawRow(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            const CPreview& rows = model_.rows();
            const size_t index = draw.nmcd.dwItemSpec;
            if (index < rows.size() && IsConflict(rows[index].status)) {
                draw.clrText = RGB(176, 0, 0);
                return CDRF_NEWFONT;
            }
            return CDRF_DODEFAULT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

void CMainDlg::Ok() {
    ReadOptions();
    // The run reads the disk afresh and the preview's items are let go: the
    // list would only show blank rows while a conflict is asked about.
    ListView_SetItemCountEx(listView_, 0, 0);
    DialogItemSetText(window(), IDC_MAIN_STATUS, "Renaming...");
    ::UpdateWindow(window());
    running_ = true;
    const CFinish finish = model_.Ok();
    running_ = false;
    if (finish == CFinish::kNoOperation) {  // the panel's fields are not complete
        ShowRows();
        return;
    }
    if (finish == CFinish::kJournalFailed) ShowJournalFailure("run");
    End(IDOK);
}

void CMainDlg::ShowJournalFailure(const char* what) {
    const std::string text = std::string("The ") + what +
                             " stopped before its next rename: its journal cannot be written, and nothing is "
                             "renamed that the journal does not know of.\n\n" +
                             (model_.journalPath().empty() ? std::string("%LOCALAPPDATA%\\Quorlin") : model_.journalPath()) +
                             "\n" + platform::ErrorMessage(model_.journalError());
    ::MessageBoxW(window(), platform::Widen(text).c_str(), L"Cannot write the journal", MB_OK | MB_ICONERROR);
}

void CMainDlg::UpdateUndo() {
    CJournalRun run;
    ::EnableWindow(item(IDC_MAIN_UNDO), model_.LastRun(run, false) ? TRUE : FALSE);
}

void CMainDlg::UndoLastRun() {
    ReadOptions();
    CJournalRun run;
    if (!model_.LastRun(run)) {  // taken back from elsewhere meanwhile
        UpdateUndo();
        return;
    }
    if (!run.refusal.empty()) {
        const std::string text = "The journal of the last run cannot be trusted, so nothing is renamed back.\n\n" +
                                 run.path + "\n" + run.refusal;
        ::MessageBoxW(window(), platform::Widen(text).c_str(), L"Undo last run", MB_OK | MB_ICONERROR);
        return;
    }
    std::string question = "Rename " + Count(UndoCount(run), "item", "items") +
                           " back to the names they had before the last run?\n\n" + JournalRunText(run) +
                           "\n\nAn item changed since the run is left as it is; nothing is overwritten.";
    if (run.unsure)
        question += "\n\nThe run was cut short: " + Count(run.unsure, "item", "items") +
                    " may not have been renamed. Each is renamed back only when it is found under its new name.";
    if (!run.whole) question += "\n\nIts journal is damaged: only what it holds whole is taken back.";
    if (::MessageBoxW(window(), platform::Widen(question).c_str(), L"Undo last run",
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    // The preview's rows point at items whose names the undo changes.
    ListView_SetItemCountEx(listView_, 0, 0);
    DialogItemSetText(window(), IDC_MAIN_STATUS, "Renaming back...");
    ::UpdateWindow(window());
    running_ = true;
    const CUndoResult result = model_.Undo(run);
    running_ = false;
    if (result.journalFailed) ShowJournalFailure("undo");
    std::string summary = UndoSummary(result);
    summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
    summary += ".";
    // The first few of what was left alone; the journal keeps them all.
    constexpr size_t kNotesShown = 10;
    for (size_t i = 0; i < result.notes.size() && i < kNotesShown; ++i)
        summary += (i == 0 ? "\n\nLeft alone:\n" : "\n") + result.notes[i].path + ": " + result.notes[i].reason;
    if (result.notes.size() > kNotesShown)
        summary += "\n... and " + Count(result.notes.size() - kNotesShown, "more", "more");
    const bool clean = !result.leftAlone && !result.failed && !result.stopped;
    ::MessageBoxW(window(), platform::Widen(summary).c_str(), L"Undo finished",
                  MB_OK | (clean ? MB_ICONINFORMATION : MB_ICONWARNING));
    // The dialog stays open over the same items under the names they have
    // now: its preview reads them afresh.
    UpdateUndo();
    RefreshPreview();
}

void CMainDlg::SaveFileList() {
    ReadOptions();
    model_.SaveFileList([this](std::string& fileName) {
        std::wstring buffer = platform::Widen(fileName);
        buffer.resize(32768, L'\0');
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window();
        dialog.lpstrFilter = L"Text (*.txt)\0*.txt\0";
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrDefExt = L"txt";
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
        if (!::GetSaveFileNameW(&dialog)) return false;
        fileName = platform::Narrow(buffer.c_str());
        return true;
    });
}

void CMainDlg::MoveFocus(bool forward) {
    const HWND next = ::GetNextDlgTabItem(window(), ::GetFocus(), forward ? FALSE : TRUE);
    if (next) DialogFocus(window(), next);
}

// Tab and Shift+Tab pass through the accelerators of the rename dialog: the
// modal loop translates none by itself, so a message filter does it.
LRESULT CALLBACK CMainDlg::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && g_active && g_active->accelerators_) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        const HWND dialog = g_active->window();
        if (dialog && (msg->hwnd == dialog || ::IsChild(dialog, msg->hwnd)) &&
            ::TranslateAcceleratorW(dialog, g_active->accelerators_, msg))
            return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

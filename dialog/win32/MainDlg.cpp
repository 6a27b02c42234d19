#include "dialog/win32/MainDlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <stdexcept>

#include "core/Words.h"
#include "dialog/ControlTexts.h"
#include "dialog/panels/RenameDlg.h"
#include "dialog/win32/Controls.h"
#include "dialog/win32/MainDlgGrid.h"
#include "dialog/win32/MainResource.h"
#include "dialog/win32/ProductVersion.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Scoped.h"

using namespace main_grid;

namespace {

// The dialog whose accelerators the message filter translates. One rename
// dialog runs at a time on the one thread that shows it.
CMainDlg* g_active = nullptr;

std::string LibraryFolder() {
    std::wstring folder = platform::ModuleFileName(ModuleOfThisCode());
    const auto slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return platform::Narrow(folder);
}


// The Status column: empty for a row that renames as shown, so that the
// rows that need a look stand out.
const char* StatusText(CRowStatus status) {
    return status == CRowStatus::kRenamed ? "" : StatusWord(status);
}

}  // namespace

// ---- The main dialog -----------------------------------------------------------

CMainDlg::CMainDlg(std::vector<std::string> paths, HWND parent)
    : parent_(parent),
      instance_(ModuleOfThisCode()),
      store_(CSettingsStore::kDialogSubKey),
      prompts_(nullptr, instance_),
      workerPrompts_(prompts_, worker_),
      model_(std::move(paths), store_, std::random_device{}() ^ (static_cast<uint64_t>(::GetTickCount64()) << 20),
             platform::RealFileSystem(), workerPrompts_) {
    for (const auto& [templateId, headerId] :
         {std::pair{IDD_SECTION_INTERACTION, IDC_HEADER_INTERACTION}, {IDD_SECTION_PROCESSING, IDC_HEADER_PROCESSING},
          {IDD_SECTION_PREVIEW, IDC_HEADER_PREVIEW}, {IDD_SECTION_SORTING, IDC_HEADER_SORTING}})
        sections_.push_back(std::make_unique<CSectionPanel>(*this, templateId, headerId));
    list_ = std::make_unique<CSectionPanel>(*this, IDD_SECTION_LIST, 0);
}

CMainDlg::~CMainDlg() {
    // Its jobs work on the model: none may outlive it.
    worker_.SetWindow(nullptr);
    worker_.Stop();
    worker_.WaitIdle();
    if (filter_) ::UnhookWindowsHookEx(filter_);
    if (g_active == this) g_active = nullptr;
}

INT_PTR CMainDlg::DoModal() {
    // The window opens empty and paints at once; its controls follow.
    if (template_.Load(instance_, IDD_MAIN)) return RunModal(instance_, template_.frame(), parent_);
    return RunModal(instance_, IDD_MAIN, parent_);
}

bool CMainDlg::OnInitDialog() {
    const std::string version = GetProductVersion("Qln");
    if (!version.empty()) WindowSetText(window(), "Quorlin " + version);
    HANDLE icon = ::LoadImageW(instance_, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    if (icon) ::SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    prompts_.SetOwner(window());
    worker_.SetWindow(window());
    workerPrompts_.SetWindow(window());
    model_.SetProgress([this](const CRunProgress& progress) {
        const std::lock_guard<std::mutex> lock(work_.mutex);
        work_.read = progress.read;
        work_.renamed = progress.renamed;
        if (progress.current) work_.current = progress.current->name();
    });
    if (item(IDOK)) {
        // Opened whole from its template.
        for (int stage = 0; Build(stage); ++stage) {
        }
        return false;  // the panel's first field has the focus
    }
    // Making every control takes Wine well over 100 ms on a busy machine:
    // the window shows first, and each stage of the rest is a message of its
    // own, so that it answers in between.
    ::ShowWindow(window(), SW_SHOW);
    ::UpdateWindow(window());
    ::PostMessageW(window(), WM_MAIN_BUILD, 0, 0);
    return false;
}

// A part that cannot be made ends the dialog (see OnFailure): half a
// dialog could rename with options the user never saw.
bool CMainDlg::Build(int stage) {
    switch (stage) {
        case 0: {
            if (!item(IDOK) && !template_.CreateItems(window(), instance_)) throw std::runtime_error("controls");
            // A missing picture is reported once, and its arrows stay empty.
            const std::string folder = LibraryFolder();
            open_.Load(folder + "bitmap1.gif", window());
            closed_.Load(folder + "bitmap2.gif", window());
            return true;
        }
        case 1:
            for (auto& section : sections_) {
                if (!section->Create(instance_, window())) throw std::runtime_error("sections");
                section->SetArrows(open_, closed_);
            }
            return true;
        case 2:
            if (!list_->Create(instance_, window())) throw std::runtime_error("list");
            listView_ = list_->item(IDC_PREVIEW_LIST);
            ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_CHECKBOXES);
            progress_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 0, 0, window(),
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MAIN_PROGRESS)), instance_,
                                          nullptr);
            for (const auto& [index, title] : {std::pair{0, L"Old"}, {1, L"New"}, {2, L"Status"}}) {
                LVCOLUMNW column{};
                column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
                column.pszText = const_cast<wchar_t*>(title);
                column.cx = 120;
                column.iSubItem = index;
                ListView_InsertColumn(listView_, index, &column);
            }
            SetUpRowChoices();
            FillScopes();
            FillOptions();
            FillActions();
            accelerators_ = ::LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
            g_active = this;
            filter_ = ::SetWindowsHookExW(WH_MSGFILTER, &CMainDlg::MessageFilter, nullptr, ::GetCurrentThreadId());
            return true;
        case 3:
            ShowPanel();
            return true;
        default:
            break;
    }
    ShowStepStrip();
    for (auto& section : sections_) WindowShow(section->window(), true);
    OrderTabs();
    WindowShow(list_->window(), true);
    Relayout();
    FitToWorkArea();
    UpdateUndo();
    built_ = true;
    // The selection is read, and its preview computed, on the worker. A
    // preset to apply starts that itself.
    const CPreset* preset = nullptr;
    const CPresetBook book(store_);
    if (!startPreset_.empty()) preset = book.Find(startPreset_);
    if (preset)
        ApplyPreset(*preset, startPreset_);
    else
        RefreshPreview();
    if (!startPreset_.empty() && !preset)
        ::PostMessageW(window(), WM_COMMAND, MAKEWPARAM(ID_NO_PRESET, 0), 0);
    if (okEarly_) ::PostMessageW(window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return false;
}

INT_PTR CMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MAIN_BUILD:
            // Controls made and moved in a window on the screen cost Wine
            // three times as much: it draws once they are all in place.
            ::SendMessageW(window(), WM_SETREDRAW, FALSE, 0);
            if (Build(static_cast<int>(wParam)))
                ::PostMessageW(window(), WM_MAIN_BUILD, wParam + 1, 0);
            ::SendMessageW(window(), WM_SETREDRAW, TRUE, 0);
            if (built_) ::RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            return TRUE;
        case WM_PANEL_CHANGED:
            RefreshPreview();
            return TRUE;
        case WM_WORKER_DONE:
            WorkDone(static_cast<unsigned>(wParam));
            return TRUE;
        case WM_PREVIEW_VISIBLE:
            PreviewVisible(static_cast<unsigned>(wParam));
            return TRUE;
        case WM_WORKER_ASK:
            workerPrompts_.Answer(lParam);
            return TRUE;
        case WM_MAIN_NAME_EDITED:
            NameEdited(wParam != 0);
            return TRUE;
        case WM_MAIN_BUSY: {
            // A change of the panel still in the queue is work as well: its
            // preview has not even started.
            MSG queued;
            const bool changed =
                ::PeekMessageW(&queued, window(), WM_PANEL_CHANGED, WM_PANEL_CHANGED, PM_NOREMOVE | PM_QS_POSTMESSAGE);
            ::SetWindowLongPtrW(window(), DWLP_MSGRESULT, !built_ || changed || previewJob_ != 0 || running_ ? 1 : 0);
            return TRUE;
        }
        case WM_TIMER:
            if (wParam == kWorkTimer) ShowProgress();
            return TRUE;
        case WM_SIZE:
            if (laidOut_) Relayout();
            return TRUE;
        case WM_DPICHANGED: {
            // Moved to a monitor of another scale: the system has given the
            // dialog and its panels the font of that scale; the window takes
            // the size it suggests and everything is laid out again in it.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (!built_) return TRUE;
            Relayout();
            FitToWorkArea();
            return TRUE;
        }
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (minimum_.x > 0) info->ptMinTrackSize = minimum_;
            return TRUE;
        }
        case WM_PAINT:
            Paint();
            return TRUE;
        case WM_DRAWITEM:
            DrawHeader(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
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
    const win::ScopedPaint paint(window());
    if (built_) (parametersCollapsed_ ? closed_ : open_).Draw(paint.dc(), item(IDC_MAIN_PARAMETERS_ARROW));
}

bool CMainDlg::ClickOnArrow(POINT at) {
    return RectHolds(open_.target(), at) || RectHolds(closed_.target(), at);
}

void CMainDlg::OnCommand(int id, int code) {
    // Until every control is made, only Cancel means something now; an OK
    // as early as that is kept for when they are.
    if (!built_ && id != IDCANCEL) {
        okEarly_ = okEarly_ || id == IDOK;
        return;
    }
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
        case IDC_MAIN_STEP_PREVIOUS:
        case IDC_MAIN_STEP_NEXT:
        case IDC_MAIN_STEP_ADD:
        case IDC_MAIN_STEP_REMOVE:
        case IDC_MAIN_STEP_EARLIER:
        case IDC_MAIN_STEP_LATER:
            if (code == BN_CLICKED && !running_) StepCommand(id);
            return;
        case IDC_MAIN_PRESETS:
            if (code == BN_CLICKED && !running_) ShowPresetsMenu();
            return;
        case IDOK:
            if (running_)
                StopRun();
            else
                Ok();
            return;
        case IDCANCEL:
            // The run at work ends after the rename under way, and the
            // dialog stays; a reading or a preview is simply abandoned.
            if (running_) {
                StopRun();
                return;
            }
            worker_.Stop();
            End(IDCANCEL);
            return;
        case ID_NO_PRESET:
            Say("There is no preset \"" + startPreset_ + "\" any more.", "Presets", MB_OK | MB_ICONWARNING);
            return;
        case ID_NEXT_CONTROL:
        case ID_PREVIOUS_CONTROL:
            MoveFocus(id == ID_NEXT_CONTROL);
            return;
        default:
            if (!running_) PresetCommand(id);
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
    OrderTabs();
    if (!host) return;
    host->PushValues();
    WindowShow(host->window(), !parametersCollapsed_);
    if (!parametersCollapsed_) host->FocusFirstField();
}

void CMainDlg::ShowRows() {
    const bool on = model_.options().preview != 0;
    const CPreview& rows = model_.rows();
    const size_t shown = on ? ShownRowCount() : 0;
    ListView_SetItemCountEx(listView_, static_cast<int>(shown), LVSICF_NOSCROLL);
    ::InvalidateRect(listView_, nullptr, TRUE);
    std::string status;
    if (!on) {
        status = "The preview is off.";
    } else if (!model_.activePanel() || rows.empty()) {
        // A step that builds nothing says why instead.
        status = model_.activePanel() && model_.previewProblem().empty() ? "Nothing to rename." : "";
    } else {
        // What OK will do, and what it will have to ask about.
        const CPreviewCounts& counts = model_.counts();
        status = Count(counts.rows, "item", "items") + ", " + GroupedNumber(counts.renamed) + " to rename";
        if (counts.unchanged) status += ", " + GroupedNumber(counts.unchanged) + " unchanged";
        if (counts.conflicts) status += ", " + Count(counts.conflicts, "conflict", "conflicts");
        if (counts.leftOut) status += ", " + GroupedNumber(counts.leftOut) + " left out";
    }
    // Said only where a rename has them: one step is as the dialog always was.
    if (model_.stepCount() > 1 && !status.empty())
        status += " (" + std::to_string(model_.stepCount()) + " steps)";
    if (!model_.previewProblem().empty()) status += (status.empty() ? "" : " ") + model_.previewProblem();
    if (!note_.empty()) status = note_ + (status.empty() ? "" : " ") + status;
    DialogItemSetText(window(), IDC_MAIN_STATUS, status);
}

LRESULT CMainDlg::ListNotify(const NMHDR& header) {
    if (header.hwndFrom != listView_) return 0;
    if (LRESULT result = 0; RowNotify(header, result)) return result;
    if (header.code == NM_CUSTOMDRAW) return DrawRow(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
    if (header.code != LVN_GETDISPINFOW) return 0;
    auto& info = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
    if (!(info.item.mask & LVIF_TEXT)) return 0;
    bool marked = false;
    const CPreviewRow* row = ShownRow(static_cast<size_t>(info.item.iItem), marked);
    if (!row || info.item.cchTextMax <= 0) return 0;
    switch (info.item.iSubItem) {
        case 0:
            cell_ = platform::Widen(model_.ShownOld(*row->item));
            break;
        case 1:
            // A name of an older keystroke is never shown.
            cell_ = marked && previewJob_ ? std::wstring() : platform::Widen(row->newName);
            break;
        default: {
            std::string status = marked && !previewJob_ ? StatusText(row->status) : "";
            // A name typed by hand says so, beside what the run will meet.
            if (row->status != CRowStatus::kLeftOut && RowEdited(*row))
                status = status.empty() ? "edited" : status + ", edited";
            cell_ = platform::Widen(status);
            break;
        }
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
            bool marked = false;
            const CPreviewRow* row = ShownRow(draw.nmcd.dwItemSpec, marked);
            if (row && marked && !previewJob_ && IsConflict(row->status)) {
                // In high contrast the system's colours stand: a colour of
                // our own could vanish into its background. The Status
                // column says the same in words.
                HIGHCONTRASTW contrast{};
                contrast.cbSize = sizeof contrast;
                if (::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON))
                    return CDRF_DODEFAULT;
                draw.clrText = RGB(176, 0, 0);
                return CDRF_NEWFONT;
            }
            return CDRF_DODEFAULT;
        }
        default:
            return CDRF_DODEFAULT;
    }
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

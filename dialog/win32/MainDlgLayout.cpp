// The rename dialog's layout: its option sections, and where every control
// goes as the window, the panel or a section changes size.
#include "dialog/win32/MainDlg.h"
#include "dialog/win32/Controls.h"
#include "dialog/win32/MainDlgGrid.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Scoped.h"

using namespace main_grid;


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
            const win::ScopedPaint paint(window());
            if (headerId_) (collapsed_ ? closed_ : open_).Draw(paint.dc(), item(IDC_SECTION_ARROW));
            return TRUE;
        }
        case WM_DRAWITEM:
            DrawHeader(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_LBUTTONDOWN: {
            // The arrow's placeholder hides once the picture is drawn: a
            // click on the picture reaches the section itself.
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (headerId_ && (RectHolds(open_.target(), at) || RectHolds(closed_.target(), at))) owner_.SectionClicked(*this);
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

// ---- Layout ------------------------------------------------------------------

// Tab goes as the eye does: the left column from the top (the step strip,
// the scope, the action, the panel, each section), then the list, then the
// status line and the buttons under it.
void CMainDlg::OrderTabs() {
    HWND after = item(IDC_MAIN_SEPARATOR);
    auto next = [&](HWND window) {
        if (!window) return;
        ::SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = window;
    };
    next(shownHost_ ? shownHost_->window() : nullptr);
    for (auto& section : sections_) next(section->window());
    next(list_->window());
    for (const int id : {IDC_MAIN_STATUS, IDC_MAIN_DROPLET, IDC_MAIN_SAVE_LIST, IDC_MAIN_UNDO, IDCANCEL, IDOK})
        next(item(id));
}

// The left column, from the top: scope, action, the "Parameters" header and
// the panel, then the sections. Returns where it ends.
int CMainDlg::LayOutLeftColumn() {
    const HWND w = window();
    auto px = [w](int units) { return DialogUnitsToPixelsX(w, units); };
    auto py = [w](int units) { return DialogUnitsToPixelsY(w, units); };
    int y = py(kMargin);
    const int comboHeight = py(12);
    auto row = [&](int labelId, int comboId) {
        WindowMove(item(labelId), RECT{px(kMargin), y + py(2), px(77), y + py(10)});
        RECT combo = WindowRectInParent(item(comboId));
        const int height = combo.bottom - combo.top;
        WindowMove(item(comboId), RECT{px(80), y, px(273), y + height});
        y += std::max(comboHeight, height) + py(kRowGap);
    };
    // The step strip: a label, then its buttons from left to right, and the
    // Presets button at the column's right edge.
    WindowMove(item(IDC_MAIN_STEP), RECT{px(kMargin), y + py(3), px(kMargin + 48), y + py(11)});
    struct StripButton {
        int id, left, width;
    };
    const StripButton strip[] = {{IDC_MAIN_STEP_PREVIOUS, 57, 12}, {IDC_MAIN_STEP_NEXT, 71, 12},
                                 {IDC_MAIN_STEP_ADD, 87, 26},      {IDC_MAIN_STEP_REMOVE, 115, 32},
                                 {IDC_MAIN_STEP_EARLIER, 149, 32}, {IDC_MAIN_STEP_LATER, 183, 28},
                                 {IDC_MAIN_PRESETS, 229, 44}};
    for (const auto& b : strip)
        WindowMove(item(b.id), RECT{px(b.left), y, px(b.left + b.width), y + py(kButtonHeight)});
    y += py(kButtonHeight + kRowGap);
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
    return y + py(kMargin - kRowGap);
}

// The right column: the preview list takes what is left, the status line and
// the buttons lie under it. Returns where it starts.
int CMainDlg::LayOutRightColumn(int leftBottom) {
    const HWND w = window();
    auto px = [w](int units) { return DialogUnitsToPixelsX(w, units); };
    auto py = [w](int units) { return DialogUnitsToPixelsY(w, units); };
    RECT client{};
    ::GetClientRect(w, &client);
    const int left = px(kColumnWidth + kMargin);
    const int right = std::max<int>(client.right - px(kMargin), left + px(kMinimumRightWidth));
    const int bottom = std::max<int>(client.bottom, leftBottom) - py(kMargin);
    const bool oneRow = right - left >= px(kButtonRowWidth);
    const int buttonsTop = bottom - py(kButtonHeight);
    const int wideTop = oneRow ? buttonsTop : buttonsTop - py(kButtonHeight + kRowGap);
    const int statusTop = wideTop - py(kRowGap + kStatusHeight);
    const int listBottom = statusTop - py(kRowGap);
    WindowMove(list_->window(), RECT{left, py(kMargin), right, listBottom});
    WindowMove(listView_, RECT{0, 0, right - left, listBottom - py(kMargin)});
    const int status = px(kStatusColumnWidth);
    const int half = (right - left - status - ::GetSystemMetrics(SM_CXVSCROLL) - 4) / 2;
    ListView_SetColumnWidth(listView_, 0, std::max(half, 40));
    ListView_SetColumnWidth(listView_, 1, std::max(half, 40));
    ListView_SetColumnWidth(listView_, 2, status);
    statusArea_ = RECT{left, statusTop, right, statusTop + py(kStatusHeight)};
    PlaceStatus();
    int x = right;
    for (const int id : {IDOK, IDCANCEL}) {
        WindowMove(item(id), RECT{x - px(kButtonWidth), buttonsTop, x, bottom});
        x -= px(kButtonWidth + kRowGap);
    }
    const int wideBottom = wideTop + py(kButtonHeight);
    WindowMove(item(IDC_MAIN_SAVE_LIST), RECT{left, wideTop, left + px(kWideButtonWidth), wideBottom});
    const int undoLeft = left + px(kWideButtonWidth + kRowGap);
    WindowMove(item(IDC_MAIN_UNDO), RECT{undoLeft, wideTop, undoLeft + px(kWideButtonWidth), wideBottom});
    WindowMove(item(IDC_MAIN_DROPLET), RECT{left, wideTop, left + px(kWideButtonWidth), wideBottom});
    return left;
}

void CMainDlg::Relayout() {
    const HWND w = window();
    auto px = [w](int units) { return DialogUnitsToPixelsX(w, units); };
    auto py = [w](int units) { return DialogUnitsToPixelsY(w, units); };
    const int leftBottom = LayOutLeftColumn();
    const int left = LayOutRightColumn(leftBottom);
    // The smallest window that shows all of it; one that is smaller now
    // grows to it.
    // At the smallest width the buttons take two rows.
    RECT needed{0, 0, left + px(kMinimumRightWidth + kMargin),
                std::max(leftBottom, py(kMargin + kMinimumListHeight + kRowGap + kStatusHeight + kRowGap +
                                        2 * kButtonHeight + kRowGap + kMargin))};
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

// Within the work area of the dialog's monitor, and never with its buttons
// under the taskbar: on a small screen the option sections close, from the
// last, until the dialog fits.
void CMainDlg::FitToWorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window(), MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT work = monitor.rcWork;
    // The primary monitor's work area as the system settings hold it too
    // (some systems update only these).
    RECT primary{};
    if ((monitor.dwFlags & MONITORINFOF_PRIMARY) && ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0))
        ::IntersectRect(&work, &work, &primary);
    const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    for (auto it = sections_.rbegin(); it != sections_.rend() && minimum_.y > workHeight; ++it) {
        if ((*it)->collapsed()) continue;
        (*it)->SetCollapsed(true);
        Relayout();
    }
    RECT r{};
    ::GetWindowRect(window(), &r);
    const int width = std::min<int>(r.right - r.left, workWidth);
    const int height = std::min<int>(r.bottom - r.top, workHeight);
    const int left = std::clamp<int>(r.left, work.left, std::max<int>(work.left, work.right - width));
    const int top = std::clamp<int>(r.top, work.top, std::max<int>(work.top, work.bottom - height));
    ::SetWindowPos(window(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

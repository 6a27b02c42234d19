// What the rename dialog hands to its worker: reading the selection,
// computing the preview, and OK's run. The window only starts the work,
// shows how far it got and takes the result.
#include "dialog/win32/MainDlg.h"

#include <algorithm>
#include <climits>

#include "core/Words.h"
#include "dialog/win32/Controls.h"
#include "dialog/win32/MainDlgGrid.h"
#include "dialog/win32/MainResource.h"

namespace {

constexpr UINT kWorkTimerMs = 100;
// Work shorter than this shows no bar: a keystroke's preview mostly is.
constexpr ULONGLONG kQuietMs = 300;
constexpr int kProgressWidth = 100;  // dialog units

}  // namespace

void CMainDlg::RefreshPreview(bool keepNote) {
    if (running_) return;
    if (!keepNote) note_.clear();
    ReadOptions();
    UpdateOk();
    std::shared_ptr<CPreviewTask> task;
    if (model_.options().preview) {
        const int top = std::max(0, ListView_GetTopIndex(listView_));
        const int page = std::max(1, ListView_GetCountPerPage(listView_)) + 1;
        task = model_.BeginPreview(static_cast<size_t>(top), static_cast<size_t>(page));
    }
    visibleShown_ = false;
    if (!task || !task->op) {
        // Nothing to compute: the preview is off, or the steps build nothing.
        worker_.Stop();
        previewJob_ = 0;
        previewTask_.reset();
        // The rows shown before go on the worker: there may be a million.
        if (task) {
            model_.AdoptPreview(*task);
            worker_.Dispose(task);
        } else {
            worker_.Dispose(model_.TakePreview());
        }
        ShowRows();
        return;
    }
    previewTask_ = task;
    {
        const std::lock_guard<std::mutex> lock(work_.mutex);
        work_.read = 0;
    }
    // The job posts to the window as it is now: the dialog forgets its
    // handle as the window goes, on its own thread.
    const HWND dialog = window();
    previewJob_ = worker_.Start([this, task, dialog](unsigned job) {
        model_.ComputePreview(
            *task, [this, job] { return worker_.Cancelled(job); },
            [dialog, job] { ::PostMessageW(dialog, WM_PREVIEW_VISIBLE, job, 0); });
    });
    workStarted_ = ::GetTickCount64();
    ::SetTimer(window(), kWorkTimer, kWorkTimerMs, nullptr);
    ShowProgress();
}

void CMainDlg::PreviewVisible(unsigned job) {
    if (job != previewJob_ || !previewTask_) return;
    visibleShown_ = true;
    if (!previewTask_->visibleFromShown) {
        // Rows of a selection the list has not shown yet.
        model_.ForgetShownFolders();
        ListView_SetItemCountEx(listView_, static_cast<int>(ShownRowCount()), 0);
    }
    ::InvalidateRect(listView_, nullptr, FALSE);
    ShowProgress();
}

void CMainDlg::WorkDone(unsigned job) {
    if (job != 0 && job == runJob_) {
        FinishRun();
        return;
    }
    if (job == 0 || job != previewJob_) return;  // abandoned for a newer one
    previewJob_ = 0;
    visibleShown_ = false;
    const std::shared_ptr<CPreviewTask> task = std::move(previewTask_);
    if (task->complete) model_.AdoptPreview(*task);
    worker_.Dispose(task);  // with the rows shown before
    ShowRows();
    UpdateOk();
    ShowProgress();
}

size_t CMainDlg::ShownRowCount() const {
    if (visibleShown_ && previewTask_ && !previewTask_->visibleFromShown) return previewTask_->visible.size();
    return model_.rows().size();
}

const CPreviewRow* CMainDlg::ShownRow(size_t index, bool& marked) const {
    marked = false;
    if (visibleShown_ && previewTask_) {
        const CPreviewTask& task = *previewTask_;
        if (index >= task.first && index - task.first < task.visible.size()) return &task.visible[index - task.first];
        if (!task.visibleFromShown) return nullptr;
    }
    const CPreview& rows = model_.rows();
    if (index >= rows.size()) return nullptr;
    marked = true;
    return &rows[index];
}

void CMainDlg::ShowProgress() {
    size_t read, renamed, total;
    std::string current;
    {
        const std::lock_guard<std::mutex> lock(work_.mutex);
        read = work_.read;
        renamed = work_.renamed;
        total = work_.total;
        current = work_.current;
    }
    if (running_) {
        if (total == 0) {
            DialogItemSetText(window(), IDC_MAIN_STATUS, "Reading... " + Count(read, "item", "items"));
            ShowProgressBar(true, true);
            return;
        }
        std::string status = (stopping_ ? "Stopping... " : "Renaming... ") + GroupedNumber(renamed) + " of " +
                             GroupedNumber(total);
        if (!current.empty()) status += ": " + current;
        DialogItemSetText(window(), IDC_MAIN_STATUS, status);
        ShowProgressBar(true, false);
        ::SendMessageW(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::min<size_t>(total, INT_MAX)));
        ::SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(std::min<size_t>(renamed, INT_MAX)), 0);
        return;
    }
    if (!previewJob_) {
        ::KillTimer(window(), kWorkTimer);
        ShowProgressBar(false, false);
        return;
    }
    // Until rows show, the status line counts what has been read.
    if (ShownRowCount() == 0) {
        DialogItemSetText(window(), IDC_MAIN_STATUS, "Reading... " + Count(read, "item", "items"));
        ShowProgressBar(true, true);
    } else if (model_.rows().empty()) {
        DialogItemSetText(window(), IDC_MAIN_STATUS, "Computing the new names...");
        ShowProgressBar(true, true);
    } else if (::GetTickCount64() - workStarted_ >= kQuietMs) {
        ShowProgressBar(true, true);
    }
}

void CMainDlg::ShowProgressBar(bool shown, bool marquee) {
    if (marquee != marquee_ && progress_) {
        const LONG_PTR style = ::GetWindowLongPtrW(progress_, GWL_STYLE);
        ::SetWindowLongPtrW(progress_, GWL_STYLE, marquee ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
        ::SendMessageW(progress_, PBM_SETMARQUEE, marquee ? TRUE : FALSE, 0);
        marquee_ = marquee;
    }
    if (shown == progressShown_) return;
    progressShown_ = shown;
    PlaceStatus();
}

void CMainDlg::PlaceStatus() {
    RECT status = statusArea_;
    if (progressShown_ && progress_) {
        const int width = DialogUnitsToPixelsX(window(), kProgressWidth);
        status.right = std::max(status.left, status.right - width - DialogUnitsToPixelsX(window(), main_grid::kRowGap));
        WindowMove(progress_, RECT{status.right + DialogUnitsToPixelsX(window(), main_grid::kRowGap), statusArea_.top,
                                   statusArea_.right, statusArea_.bottom});
    }
    WindowMove(item(IDC_MAIN_STATUS), status);
    if (progress_) WindowShow(progress_, progressShown_);
}

bool CMainDlg::Settle() {
    const bool abandoned = previewJob_ != 0;
    worker_.Stop();
    worker_.WaitIdle();
    previewJob_ = 0;
    previewTask_.reset();
    visibleShown_ = false;
    ListView_SetItemCountEx(listView_, static_cast<int>(ShownRowCount()), LVSICF_NOSCROLL);
    ShowProgress();
    return abandoned;
}

void CMainDlg::Ok() {
    ReadOptions();
    {
        const std::lock_guard<std::mutex> lock(work_.mutex);
        work_.read = work_.renamed = work_.total = 0;
        work_.current.clear();
    }
    // The preview's rows are let go, on the worker: the run reads the disk
    // afresh.
    worker_.Dispose(model_.TakePreview());
    std::shared_ptr<CRunTask> task = model_.BeginRun([this](const CPreview& rows) {
        const std::lock_guard<std::mutex> lock(work_.mutex);
        work_.total = rows.size();
    });
    if (!task) {  // the panel's fields are not complete: no rows, and why
        RefreshPreview();
        return;
    }
    previewJob_ = 0;
    previewTask_.reset();
    visibleShown_ = false;
    ListView_SetItemCountEx(listView_, 0, 0);
    running_ = true;
    stopping_ = false;
    stopRun_ = false;
    EnableForRun(true);
    DialogItemSetText(window(), IDOK, "Stop");
    runTask_ = task;
    runJob_ = worker_.Start([this, task](unsigned job) {
        model_.Run(*task, [this, job] { return stopRun_.load() || worker_.Cancelled(job); });
    });
    workStarted_ = ::GetTickCount64();
    ::SetTimer(window(), kWorkTimer, kWorkTimerMs, nullptr);
    ShowProgress();
}

void CMainDlg::StopRun() {
    if (stopping_) return;
    stopping_ = true;
    // The run may still wait for its turn behind an abandoned preview: it
    // starts, and ends at its first question.
    stopRun_ = true;
    ::EnableWindow(item(IDOK), FALSE);
    ShowProgress();
}

void CMainDlg::FinishRun() {
    const std::shared_ptr<CRunTask> task = std::move(runTask_);
    runJob_ = 0;
    running_ = false;
    model_.EndRun(*task);
    ::KillTimer(window(), kWorkTimer);
    ShowProgressBar(false, false);
    if (task->finish == CFinish::kJournalFailed) ShowJournalFailure("run");
    if (!task->stoppedByUser || task->finish == CFinish::kJournalFailed) {
        End(IDOK);
        return;
    }
    // Stopped: what was renamed stays renamed, and can be taken back from
    // here; the rest is shown under the names it has now.
    stopping_ = false;
    DialogItemSetText(window(), IDOK, "OK");
    EnableForRun(false);
    note_ = "Stopped after " + Count(task->result.renamed, "rename", "renames") + ".";
    UpdateUndo();
    RefreshPreview(true);
}

void CMainDlg::EnableForRun(bool running) {
    if (!running) {
        for (const HWND control : disabled_) ::EnableWindow(control, TRUE);
        disabled_.clear();
        ::EnableWindow(item(IDOK), TRUE);
        UpdateOk();
        return;
    }
    // Every control inside the panels and sections too, so that they look
    // as unavailable as they are.
    struct Walk {
        CMainDlg* dialog;
        HWND list;
    } walk{this, list_->window()};
    ::EnumChildWindows(
        window(),
        [](HWND child, LPARAM data) -> BOOL {
            auto& w = *reinterpret_cast<Walk*>(data);
            const int id = ::GetDlgCtrlID(child);
            const HWND parent = ::GetParent(child);
            if (child == w.list || parent == w.list || ::GetParent(parent) == w.list) return TRUE;
            if (parent == w.dialog->window() &&
                (id == IDOK || id == IDCANCEL || id == IDC_MAIN_STATUS || id == IDC_MAIN_PROGRESS))
                return TRUE;
            if (::IsWindowEnabled(child)) {
                ::EnableWindow(child, FALSE);
                w.dialog->disabled_.push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
}

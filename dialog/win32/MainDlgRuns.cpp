// What the rename dialog's buttons start: the run, the undo of the last run,
// the file list.
#include "dialog/win32/MainDlg.h"

#include <commdlg.h>

#include <cctype>

#include "core/Words.h"
#include "dialog/win32/Controls.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"

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
    // The undo changes the names the preview under way works on; that
    // preview starts again when nothing is taken back.
    const bool abandoned = Settle();
    const auto nothingDone = [&] {
        if (abandoned) RefreshPreview(true);
    };
    ReadOptions();
    CJournalRun run;
    if (!model_.LastRun(run)) {  // taken back from elsewhere meanwhile
        UpdateUndo();
        nothingDone();
        return;
    }
    if (!run.refusal.empty()) {
        const std::string text = "The journal of the last run cannot be trusted, so nothing is renamed back.\n\n" +
                                 run.path + "\n" + run.refusal;
        ::MessageBoxW(window(), platform::Widen(text).c_str(), L"Undo last run", MB_OK | MB_ICONERROR);
        nothingDone();
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
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        nothingDone();
        return;
    }
    // The preview's rows point at items whose names the undo changes.
    ListView_SetItemCountEx(listView_, 0, 0);
    DialogItemSetText(window(), IDC_MAIN_STATUS, "Renaming back...");
    ::UpdateWindow(window());
    const CUndoResult result = model_.Undo(run);
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
    const bool abandoned = Settle();
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
    if (abandoned) RefreshPreview();
}

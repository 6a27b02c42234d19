#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dialog/MainDlgModel.h"
#include "dialog/SettingsStore.h"
#include "dialog/win32/Dialog.h"
#include "dialog/win32/DialogTemplate.h"
#include "dialog/win32/PanelHost.h"
#include "dialog/win32/PictureFile.h"
#include "dialog/win32/Win32Prompts.h"
#include "dialog/win32/Worker.h"

/// The preview under way computed the rows on screen: `wParam` is its job.
inline constexpr UINT WM_PREVIEW_VISIBLE = 0x0C03;
/// The window makes the controls of stage `wParam`, and goes on to the next.
inline constexpr UINT WM_MAIN_BUILD = 0x0C06;
/// The timer that shows how far the worker got.
inline constexpr UINT_PTR kWorkTimer = 1;

class CMainDlg;

/// One option section of the main dialog (Interaction, Processing, Instant
/// Preview, Sorting Order) or its preview list: a frameless child panel from
/// its own template, with a clickable header and an arrow that collapse and
/// expand it. What its controls do is the main dialog's business.
class CSectionPanel : public CDialog {
public:
    /// `headerId` 0: a section without header (the preview list).
    CSectionPanel(CMainDlg& owner, int templateId, int headerId);

    bool Create(HINSTANCE instance, HWND parent);
    int templateId() const { return templateId_; }
    int headerId() const { return headerId_; }
    bool collapsed() const { return collapsed_; }
    void SetCollapsed(bool collapsed);
    /// Height in pixels, open or closed.
    int height() const;
    /// The arrow pictures of an open and of a closed section.
    void SetArrows(const CPictureFile& open, const CPictureFile& closed);

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OnNotify(const NMHDR& header) override;

private:
    CMainDlg& owner_;
    int templateId_;
    int headerId_;
    bool collapsed_ = false;
    int openHeight_ = 0;
    int closedHeight_ = 0;
    CPictureFile open_, closed_;
};

/// The rename dialog of one HandleRename call: the "Change:" scope, the
/// "Action:" list with the active action's panel under a collapsible
/// "Parameters" header, the option sections, the live preview and the ways
/// to finish. A thin view over CMainDlgModel.
class CMainDlg : public CDialog {
public:
    /// Over `paths`, owned by `parent` (may be null). Opens the settings.
    CMainDlg(std::vector<std::string> paths, HWND parent);
    ~CMainDlg() override;

    /// Runs the dialog modally; IDOK when it renamed, IDCANCEL otherwise,
    /// CDialog::kFailed when it could not open.
    INT_PTR DoModal();

    CMainDlgModel& model() { return model_; }
    /// The preset the dialog applies as it opens (from the context menu's
    /// presets); nothing runs until OK.
    void SetStartPreset(std::string name) { startPreset_ = std::move(name); }

    // Called by the sections.
    void SectionClicked(CSectionPanel& section);
    void SectionChanged(int id, int code);
    LRESULT ListNotify(const NMHDR& header);

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;

private:
    /// Makes the controls of `stage`; true while a stage is left.
    bool Build(int stage);
    void FillScopes();
    void FillActions();
    void FillOptions();
    void ReadOptions();
    void ShowPanel();
    void Relayout();
    void OrderTabs();
    void FitToWorkArea();
    int LayOutLeftColumn();
    int LayOutRightColumn(int leftBottom);
    /// Starts computing the preview of what the controls say, abandoning
    /// the one under way; a note of the last run stays with `keepNote`.
    void RefreshPreview(bool keepNote = false);
    void ShowRows();
    /// A job of the worker is over.
    void WorkDone(unsigned job);
    /// The preview under way has the rows on screen.
    void PreviewVisible(unsigned job);
    /// What the worker tells of its work, in the status line and the bar.
    void ShowProgress();
    void ShowProgressBar(bool shown, bool marquee);
    /// Puts the status line and the progress bar in the place the layout
    /// gave them.
    void PlaceStatus();
    /// Abandons the preview under way and waits until the worker is free:
    /// before what works on the selection here (undo, the file list).
    /// True when a preview was abandoned.
    bool Settle();
    void StopRun();
    void FinishRun();
    /// Disables everything but the list and Stop while a run is at work,
    /// and enables it again.
    void EnableForRun(bool running);
    /// The row at `index` as the list shows it now: from the preview under
    /// way where it has the rows on screen (`marked` false), otherwise the
    /// preview shown; null for none.
    const CPreviewRow* ShownRow(size_t index, bool& marked) const;
    size_t ShownRowCount() const;
    void ToggleParameters();
    void Ok();
    void SaveFileList();
    /// "Undo last run...": asks, takes the run back, and says what it did.
    void UndoLastRun();
    /// Enables "Undo last run..." when there is a run to take back.
    void UpdateUndo();
    /// Why a run or an undo stopped for its journal, in a message box.
    void ShowJournalFailure(const char* what);
    /// The step strip: which step shows, and which of its buttons can act.
    void ShowStepStrip();
    /// A button of the step strip.
    void StepCommand(int id);
    /// Every control shows the model again: after another step is shown or
    /// a preset applied.
    void ShowModel();
    /// OK can act unless a step cannot be built for a reason the panel
    /// shows (a pattern that does not compile).
    void UpdateOk();
    /// The Presets button's menu, under the button.
    void ShowPresetsMenu();
    /// A command of that menu; false for another command.
    bool PresetCommand(int id);
    void ApplyPreset(const CPreset& preset, const std::string& name);
    void SavePresetAs();
    void RenamePreset(const std::string& name);
    void DeletePreset(const std::string& name);
    void ImportPreset();
    void ExportPreset(const std::string& name);
    /// Asks for a name in the "Save preset"/"Rename preset" box until it
    /// is one a preset may have; false when the user cancels.
    bool AskPresetName(const char* caption, std::string& name);
    /// A message box over the dialog.
    int Say(const std::string& text, const char* caption, UINT type);
    void MoveFocus(bool forward);
    void Paint();
    LRESULT DrawRow(NMLVCUSTOMDRAW& draw);
    // The person's choices row by row (MainDlgRows.cpp): check boxes that
    // leave items out, and names typed by hand.
    void SetUpRowChoices();
    /// A notification of the list about those; true when it was one.
    bool RowNotify(const NMHDR& header, LRESULT& result);
    bool RowChecked(const CPreviewRow& row) const;
    bool RowEdited(const CPreviewRow& row) const;
    std::vector<size_t> SelectedRows() const;
    /// Checks the rows, or clears them when the first is checked.
    void ToggleRows(const std::vector<size_t>& rows);
    void ToggleAll();
    /// Opens a box over the New cell of the row for its name.
    void EditName(size_t row);
    void NameEdited(bool keep);
    void ResetNames();
    void ShowRowMenu(POINT at);
    static LRESULT CALLBACK NameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    bool ClickOnArrow(POINT at);
    CPanelHost* ActiveHost();

    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

    HWND parent_;
    HINSTANCE instance_;
    CSettingsStore store_;
    Win32Prompts prompts_;
    CWorker worker_;
    CWorkerPrompts workerPrompts_;  // the model asks through these, from any thread
    CMainDlgModel model_;

    std::map<const CRenameDlg*, std::unique_ptr<CPanelHost>> hosts_;
    CPanelHost* shownHost_ = nullptr;
    bool parametersCollapsed_ = false;
    std::vector<std::unique_ptr<CSectionPanel>> sections_;  // the four option sections
    std::unique_ptr<CSectionPanel> list_;                   // the preview list
    HWND listView_ = nullptr;
    std::wstring cell_;  // the text of the last list cell asked for
    HWND nameEdit_ = nullptr;  // the box over a New cell, while a name is typed
    std::string editedPath_;   // the item whose name it edits

    CPictureFile open_, closed_;  // the arrow of the "Parameters" header
    HACCEL accelerators_ = nullptr;
    HHOOK filter_ = nullptr;
    POINT minimum_{};  // the smallest window that shows every control
    CDialogTemplate template_;  // the window's own controls, made after it shows
    bool built_ = false;        // every control is made
    bool okEarly_ = false;      // OK came before that
    bool laidOut_ = false;
    bool running_ = false;  // OK's run is at work
    std::string startPreset_;

    // The work on the worker: the preview under way, and the run.
    std::shared_ptr<CPreviewTask> previewTask_;
    unsigned previewJob_ = 0;
    bool visibleShown_ = false;  // its rows on screen are in the list
    std::shared_ptr<CRunTask> runTask_;
    unsigned runJob_ = 0;
    bool stopping_ = false;
    std::atomic<bool> stopRun_{false};  // asked by the run before each rename
    std::string note_;            // said before the counts until the next change
    std::vector<HWND> disabled_;  // while a run is at work
    HWND progress_ = nullptr;
    RECT statusArea_{};
    bool progressShown_ = false;
    bool marquee_ = false;
    ULONGLONG workStarted_ = 0;
    // What the worker tells of its work, for the timer to show.
    struct CWorkState {
        std::mutex mutex;
        size_t read = 0;
        size_t renamed = 0;
        size_t total = 0;
        std::string current;
    } work_;
};

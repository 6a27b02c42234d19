// The rename dialog's step strip and its Presets button: a thin view over
// the steps and presets of CMainDlgModel.
#include "dialog/win32/MainDlg.h"

#include <commdlg.h>

#include "dialog/win32/Controls.h"
#include "dialog/win32/MainResource.h"
#include "dialog/win32/PresetNameDlg.h"
#include "platform/FileSystem.h"
#include "platform/win32/Wide.h"

namespace {

// A file box for preset files; false when the user cancels.
bool ChoosePresetFile(HWND owner, bool save, std::string& path) {
    std::wstring buffer = platform::Widen(path);
    buffer.resize(32768, L'\0');
    OPENFILENAMEW box{};
    box.lStructSize = sizeof box;
    box.hwndOwner = owner;
    box.lpstrFilter = L"Quorlin presets (*.json)\0*.json\0All files (*.*)\0*.*\0";
    box.lpstrFile = buffer.data();
    box.nMaxFile = static_cast<DWORD>(buffer.size());
    box.lpstrDefExt = L"json";
    box.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? ::GetSaveFileNameW(&box) : ::GetOpenFileNameW(&box))) return false;
    path = platform::Narrow(buffer.c_str());
    return true;
}

// The base name of a file, without its extension: the name an imported
// preset takes when its file names none.
std::string FileTitle(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = title.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? title : title.substr(0, dot);
}

}  // namespace

int CMainDlg::Say(const std::string& text, const char* caption, UINT type) {
    return ::MessageBoxW(window(), platform::Widen(text).c_str(), platform::Widen(caption).c_str(), type);
}

void CMainDlg::ShowStepStrip() {
    const size_t count = model_.stepCount(), shown = model_.currentStep();
    DialogItemSetText(window(), IDC_MAIN_STEP,
                      "Step " + std::to_string(shown + 1) + " of " + std::to_string(count));
    const std::pair<int, bool> states[] = {
        {IDC_MAIN_STEP_PREVIOUS, shown > 0}, {IDC_MAIN_STEP_NEXT, shown + 1 < count},
        {IDC_MAIN_STEP_REMOVE, count > 1},   {IDC_MAIN_STEP_EARLIER, shown > 0},
        {IDC_MAIN_STEP_LATER, shown + 1 < count},
    };
    const HWND focus = ::GetFocus();
    bool lostFocus = false;
    for (const auto& [id, on] : states) {
        lostFocus = lostFocus || (!on && focus == item(id));
        ::EnableWindow(item(id), on ? TRUE : FALSE);
    }
    // A button that can no longer act hands the focus on, not to nowhere.
    if (lostFocus) DialogFocus(window(), item(IDC_MAIN_STEP_ADD));
}

void CMainDlg::ShowModel() {
    FillScopes();
    FillOptions();
    FillActions();
    ShowPanel();
    ShowStepStrip();
    Relayout();
    RefreshPreview();
}

void CMainDlg::StepCommand(int id) {
    ReadOptions();
    const size_t shown = model_.currentStep();
    switch (id) {
        case IDC_MAIN_STEP_PREVIOUS:
            if (shown > 0) model_.SelectStep(shown - 1);
            break;
        case IDC_MAIN_STEP_NEXT:
            model_.SelectStep(shown + 1);
            break;
        case IDC_MAIN_STEP_ADD:
            model_.AddStep();
            break;
        case IDC_MAIN_STEP_REMOVE:
            model_.RemoveStep();
            break;
        case IDC_MAIN_STEP_EARLIER:
        case IDC_MAIN_STEP_LATER:
            model_.MoveStep(id == IDC_MAIN_STEP_LATER);
            break;
        default:
            return;
    }
    ShowModel();
}

void CMainDlg::UpdateOk() {
    ::EnableWindow(item(IDOK), model_.Problem().empty() ? TRUE : FALSE);
}

void CMainDlg::ShowPresetsMenu() {
    const CPresetBook book(store_);
    const auto& presets = book.presets();
    const HMENU menu = ::CreatePopupMenu();
    HMENU rename = ::CreatePopupMenu(), remove = ::CreatePopupMenu(), exported = ::CreatePopupMenu();
    for (size_t i = 0; i < presets.size() && i < QLN_PRESET_COMMANDS; ++i) {
        const std::wstring name = platform::Widen(presets[i].name);
        const UINT_PTR n = i;
        ::AppendMenuW(menu, MF_STRING, ID_PRESET_APPLY + n, name.c_str());
        ::AppendMenuW(rename, MF_STRING, ID_PRESET_RENAME + n, name.c_str());
        ::AppendMenuW(remove, MF_STRING, ID_PRESET_DELETE + n, name.c_str());
        ::AppendMenuW(exported, MF_STRING, ID_PRESET_EXPORT + n, name.c_str());
    }
    if (presets.empty()) ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"No presets kept yet");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, ID_PRESET_SAVE_AS, L"&Save as...");
    const UINT lists = presets.empty() ? MF_POPUP | MF_GRAYED : MF_POPUP;
    ::AppendMenuW(menu, lists, reinterpret_cast<UINT_PTR>(rename), L"&Rename");
    ::AppendMenuW(menu, lists, reinterpret_cast<UINT_PTR>(remove), L"&Delete");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, ID_PRESET_IMPORT, L"&Import...");
    ::AppendMenuW(menu, lists, reinterpret_cast<UINT_PTR>(exported), L"&Export");
    RECT button{};
    ::GetWindowRect(item(IDC_MAIN_PRESETS), &button);
    // The menu sends its command as WM_COMMAND, as a test can.
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, button.left, button.bottom, 0, window(),
                     nullptr);
    ::DestroyMenu(menu);  // and its submenus with it
}

bool CMainDlg::PresetCommand(int id) {
    if (id == ID_PRESET_SAVE_AS) {
        SavePresetAs();
        return true;
    }
    if (id == ID_PRESET_IMPORT) {
        ImportPreset();
        return true;
    }
    const int kinds[] = {ID_PRESET_APPLY, ID_PRESET_RENAME, ID_PRESET_DELETE, ID_PRESET_EXPORT};
    for (const int kind : kinds) {
        if (id < kind || id >= kind + QLN_PRESET_COMMANDS) continue;
        const CPresetBook book(store_);
        const size_t index = static_cast<size_t>(id - kind);
        if (index >= book.presets().size()) return true;  // gone meanwhile
        const CPreset preset = book.presets()[index];
        if (kind == ID_PRESET_APPLY) ApplyPreset(preset, preset.name);
        if (kind == ID_PRESET_RENAME) RenamePreset(preset.name);
        if (kind == ID_PRESET_DELETE) DeletePreset(preset.name);
        if (kind == ID_PRESET_EXPORT) ExportPreset(preset.name);
        return true;
    }
    return false;
}

void CMainDlg::ApplyPreset(const CPreset& preset, const std::string& name) {
    std::string error;
    if (!model_.ApplyPreset(preset, error)) {
        Say("The preset \"" + name + "\" cannot be applied: " + error + ".", "Presets", MB_OK | MB_ICONERROR);
        return;
    }
    ShowModel();
}

bool CMainDlg::AskPresetName(const char* caption, std::string& name) {
    for (;;) {
        CPresetNameDlg box(caption, name);
        if (box.DoModal(instance_, window()) != IDOK) return false;
        name = box.name();
        const std::string why = CPresetBook::CheckName(name);
        if (why.empty()) return true;
        Say(why, caption, MB_OK | MB_ICONWARNING);
    }
}

void CMainDlg::SavePresetAs() {
    ReadOptions();
    std::string name;
    if (!AskPresetName("Save preset", name)) return;
    CPresetBook book(store_);
    if (book.Find(name) &&
        Say("A preset named \"" + name + "\" exists already. Replace it?", "Save preset",
            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    std::string error;
    if (!book.Save(model_.MakePreset(name), error)) Say(error, "Save preset", MB_OK | MB_ICONERROR);
}

void CMainDlg::RenamePreset(const std::string& name) {
    std::string to = name;
    if (!AskPresetName("Rename preset", to) || to == name) return;
    CPresetBook book(store_);
    std::string error;
    if (!book.Rename(name, to, error)) Say(error, "Rename preset", MB_OK | MB_ICONERROR);
}

void CMainDlg::DeletePreset(const std::string& name) {
    if (Say("Delete the preset \"" + name + "\"?", "Delete preset", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
        IDYES)
        return;
    CPresetBook(store_).Remove(name);
}

void CMainDlg::ImportPreset() {
    std::string path;
    if (!ChoosePresetFile(window(), false, path)) return;
    CPreset preset;
    std::string error;
    if (!ReadPresetFile(platform::RealFileSystem(), path, preset, error)) {
        Say("The file is not a preset, and nothing was imported:\n\n" + path + "\n" + error, "Import preset",
            MB_OK | MB_ICONERROR);
        return;
    }
    if (preset.name.empty()) preset.name = FileTitle(path);
    // A preset this version cannot show is refused whole.
    if (!model_.CheckSteps(preset.steps, error)) {
        Say("The preset \"" + preset.name + "\" cannot be imported: " + error + ".", "Import preset",
            MB_OK | MB_ICONERROR);
        return;
    }
    CPresetBook book(store_);
    if (book.Find(preset.name) &&
        Say("A preset named \"" + preset.name + "\" exists already. Replace it?", "Import preset",
            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    if (!book.Save(preset, error)) Say(error, "Import preset", MB_OK | MB_ICONERROR);
}

void CMainDlg::ExportPreset(const std::string& name) {
    const CPresetBook book(store_);
    const CPreset* preset = book.Find(name);
    std::string path = name + ".json";
    if (!preset || !ChoosePresetFile(window(), true, path)) return;
    if (const uint32_t code = platform::RealFileSystem().WriteFile(path, PresetText(*preset)))
        Say("The preset cannot be written:\n\n" + path + "\n" + platform::ErrorMessage(code), "Export preset",
            MB_OK | MB_ICONERROR);
}

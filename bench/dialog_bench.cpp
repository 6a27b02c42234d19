// The rename dialog of Qln.dll over a large folder, under Wine:
//   dialog_bench <folder> <rounds>
// Each round times a bare listing of the folder (FindFirstFileW), the
// dialog's first full preview of the folder (HandleRename called over it,
// until the list holds every row), and the refresh after a keystroke in the
// panel (until the first row shows the new text). A run over the folder
// alone then gives the peak memory beyond what the process held before.
// Prints one line per figure: NAME MILLISECONDS..., and "bytes-per-file N".
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>  // after windows.h, which they need

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "dialog/PanelIds.h"
#include "dialog/win32/MainResource.h"
#include "platform/win32/Wide.h"
#include "tests/library/LibraryDriver.h"

using namespace library_test;
using Clock = std::chrono::steady_clock;

namespace {

double Millis(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

size_t Listing(const std::wstring& folder) {
    size_t n = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const wchar_t* name = data.cFileName;
        if (!(name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)))) ++n;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return n;
}

struct Round {
    double firstPreview = 0;
    double refresh = 0;
    bool ok = false;
};

Round DialogRound(Library& library, const std::string& folder, size_t files, bool keystroke) {
    Round round;
    const char* paths[] = {folder.c_str()};
    const auto start = Clock::now();
    bool done = false;
    std::thread driver([&] {
        const HWND main = WaitForWindow("Quorlin", 600000);
        if (!main) return;
        const HWND list = ::GetDlgItem(ChildDialogWith(main, IDC_PREVIEW_LIST), IDC_PREVIEW_LIST);
        const bool full = WaitUntil(
            [&] { return static_cast<size_t>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) == files; }, 600000);
        round.firstPreview = Millis(start, Clock::now());
        if (full && keystroke) {
            const HWND edit = ::GetDlgItem(ChildDialogWith(main, IDC_PANEL_TEXT), IDC_PANEL_TEXT);
            const auto typed = Clock::now();
            EditSetText(edit, "y_");
            const bool shown = WaitUntil(
                [&] {
                    return ListCell(list, 0, 1).rfind("y_", 0) == 0;
                },
                600000);
            round.refresh = Millis(typed, Clock::now());
            round.ok = shown;
        } else {
            round.ok = full;
        }
        while (!done) {
            CloseEverything();
            ::Sleep(50);
        }
    });
    library.handleRename(nullptr, 0, paths, 1);
    done = true;
    driver.join();
    return round;
}

size_t PeakBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

}  // namespace

int wmain() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    const std::wstring wideFolder = argv[1];
    const std::string folder = platform::Narrow(argv[1]);
    const int rounds = std::stoi(argv[2]);
    const bool memoryOnly = rounds == 0;
    ::LocalFree(argv);

    // A user who adds a text in front of every name, files only.
    StoreSettings({{L"lastSelection", L"Add to beginning"}, {L"add", L"x_"}}, {{L"folders", 0}});
    Library library;
    if (!library.handleRename) return 1;
    const size_t files = Listing(wideFolder);
    if (memoryOnly) {
        const size_t before = PeakBytes();
        DialogRound(library, folder, files, false);
        const size_t after = PeakBytes();
        std::printf("bytes-per-file %.1f\n", files ? static_cast<double>(after - before) / files : 0.0);
    } else {
        std::string listing = "listing", first = "first-preview", refresh = "refresh";
        for (int r = 0; r < rounds; ++r) {
            const auto start = Clock::now();
            const size_t listed = Listing(wideFolder);
            listing += " " + std::to_string(Millis(start, Clock::now()));
            const Round round = DialogRound(library, folder, listed, true);
            if (!round.ok) {
                std::printf("round %d did not complete\n", r + 1);
                return 1;
            }
            first += " " + std::to_string(round.firstPreview);
            refresh += " " + std::to_string(round.refresh);
        }
        std::printf("%s\n%s\n%s\n", listing.c_str(), first.c_str(), refresh.c_str());
    }
    std::fflush(stdout);
    ForgetSettings();
    return 0;
}

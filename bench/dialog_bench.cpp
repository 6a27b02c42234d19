// The rename dialog of Qln.dll over a large folder, under Wine:
//   dialog_bench <folder> <rounds>
//   dialog_bench <folder> 0|-1
// Each round times a bare listing of the folder (FindFirstFileW); the time
// from HandleRename to the dialog's window on the screen; the dialog's first
// full preview of the folder (until the list holds every row, computed to
// the end); and after a keystroke in the panel, the refresh of the rows on
// screen (until the first row shows the new text) and of the whole preview.
// All the while a second thread asks the window to answer an empty message
// and keeps the longest wait, apart for the reading, the preview after the
// keystroke and, in the last round, a run of OK stopped after a while.
// With 0 rounds, it gives the peak memory of a dialog over the folder; with
// -1, over one of its files.
// Prints one line per figure: NAME MILLISECONDS..., or "peak-bytes BYTES FILES".
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>  // after windows.h, which they need

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The name of one file of the folder.
std::wstring AnyFile(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*.jpg").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return {};
    ::FindClose(find);
    return data.cFileName;
}

enum Phase { kReading, kPreviewing, kRenaming, kPhases, kClosing = kPhases };

// Polls without sleeping long: what is timed may take a millisecond.
template <class Done>
bool Poll(Done done, double timeoutMs = 600000) {
    const auto start = Clock::now();
    while (!done()) {
        if (Millis(start, Clock::now()) > timeoutMs) return false;
        ::Sleep(1);
    }
    return true;
}

struct Round {
    double firstPaint = 0;
    double firstPreview = 0;
    double visibleRefresh = 0;
    double fullRefresh = 0;
    double longestPing[kPhases] = {};
    bool ok = false;
};

// Pings `window` until told to stop, keeping the longest answer of each
// phase.
class Pinger {
public:
    Pinger(HWND window, Round& round) : thread_([this, window, &round] {
        while (!done_) {
            const auto sent = Clock::now();
            DWORD_PTR result = 0;
            const bool answered = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
            const double waited = answered ? Millis(sent, Clock::now()) : 10000.0;
            const int phase = phase_.load();
            if (phase == kClosing || !::IsWindow(window)) break;
            round.longestPing[phase] = std::max(round.longestPing[phase], waited);
            ::Sleep(5);
        }
    }) {}
    ~Pinger() {
        done_ = true;
        thread_.join();
    }
    void Enter(Phase phase) { phase_ = phase; }

private:
    std::atomic<bool> done_{false};
    std::atomic<int> phase_{kReading};
    std::thread thread_;
};

bool Busy(HWND main) {
    return ::SendMessageW(main, WM_MAIN_BUSY, 0, 0) != 0;
}

Round DialogRound(Library& library, const std::string& folder, size_t files, bool keystroke, bool run) {
    Round round;
    const char* paths[] = {folder.c_str()};
    const auto start = Clock::now();
    bool done = false;
    std::thread driver([&] {
        // Looked for at once and often: the window's first paint is timed.
        HWND main = nullptr;
        while (Millis(start, Clock::now()) < 600000) {
            main = ::FindWindowW(L"#32770", nullptr);
            if (main && ::IsWindowVisible(main)) break;
            main = nullptr;
            ::Sleep(1);
        }
        if (!main) return;
        // Shown, and its thread back in its message loop: painted.
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer);
        round.firstPaint = Millis(start, Clock::now());
        Pinger pinger(main, round);
        // The controls come after the first paint.
        HWND list = nullptr;
        const bool full = Poll([&] {
            if (!list) list = ::GetDlgItem(ChildDialogWith(main, IDC_PREVIEW_LIST), IDC_PREVIEW_LIST);
            return list && !Busy(main) && static_cast<size_t>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) == files;
        });
        round.firstPreview = Millis(start, Clock::now());
        round.ok = full;
        if (full && keystroke) {
            pinger.Enter(kPreviewing);
            const HWND edit = ::GetDlgItem(ChildDialogWith(main, IDC_PANEL_TEXT), IDC_PANEL_TEXT);
            const auto typed = Clock::now();
            EditSetText(edit, "y_");
            round.ok = Poll([&] { return ListCell(list, 0, 1).rfind("y_", 0) == 0; });
            round.visibleRefresh = Millis(typed, Clock::now());
            round.ok = round.ok && Poll([&] { return !Busy(main); });
            round.fullRefresh = Millis(typed, Clock::now());
        }
        if (round.ok && run) {
            // Renamed for a while, then stopped: a million renames take
            // Wine far longer than a bench may.
            pinger.Enter(kRenaming);
            const HWND ok = ::GetDlgItem(main, IDOK);
            ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
            WaitUntil([&] { return Text(main, IDC_MAIN_STATUS).rfind("Renaming... ", 0) == 0; }, 600000);
            ::Sleep(3000);
            ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
            round.ok = WaitUntil([&] { return !Busy(main); }, 600000);
        }
        pinger.Enter(kClosing);
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
    const bool memoryOnly = rounds <= 0;
    ::LocalFree(argv);

    // The journal of the stopped run stays with the bench.
    if (const wchar_t* appData = _wgetenv(L"QLN_BENCH_APPDATA")) ::SetEnvironmentVariableW(L"LOCALAPPDATA", appData);
    // A user who adds a text in front of every name, files only.
    StoreSettings({{L"lastSelection", L"Add to beginning"}, {L"add", L"x_"}}, {{L"folders", 0}});
    Library library;
    if (!library.handleRename) return 1;
    const size_t files = Listing(wideFolder);
    if (memoryOnly) {
        // Over the whole folder, or over one of its files alone: what a
        // file costs is the difference, beyond what any dialog holds (its
        // libraries, windows, pictures and fonts).
        const bool oneFile = rounds < 0;
        const std::string path = oneFile ? platform::Narrow(wideFolder + L"\\" + AnyFile(wideFolder)) : folder;
        const size_t shown = oneFile ? 1 : files;
        const size_t before = PeakBytes();
        DialogRound(library, path, shown, false, false);
        std::printf("peak-bytes %zu %zu\n", PeakBytes() - before, shown);
    } else {
        std::string listing = "listing", paint = "first-paint", first = "first-preview",
                    visible = "visible-refresh", refresh = "refresh";
        std::string pings[kPhases] = {"ping-reading", "ping-preview", "ping-renaming"};
        for (int r = 0; r < rounds; ++r) {
            const auto start = Clock::now();
            const size_t listed = Listing(wideFolder);
            listing += " " + std::to_string(Millis(start, Clock::now()));
            const bool last = r + 1 == rounds;
            const Round round = DialogRound(library, folder, listed, true, last);
            if (!round.ok) {
                std::printf("round %d did not complete\n", r + 1);
                return 1;
            }
            paint += " " + std::to_string(round.firstPaint);
            first += " " + std::to_string(round.firstPreview);
            visible += " " + std::to_string(round.visibleRefresh);
            refresh += " " + std::to_string(round.fullRefresh);
            for (int p = 0; p < kPhases; ++p)
                if (p != kRenaming || last) pings[p] += " " + std::to_string(round.longestPing[p]);
        }
        std::printf("%s\n%s\n%s\n%s\n%s\n", listing.c_str(), paint.c_str(), first.c_str(), visible.c_str(),
                    refresh.c_str());
        for (const auto& line : pings) std::printf("%s\n", line.c_str());
    }
    std::fflush(stdout);
    ForgetSettings();
    return 0;
}

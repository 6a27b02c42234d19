// The preview of the main dialog's model over one folder: the first preview,
// which reads the folder, against a refresh after a parameter change, which
// only computes the names and their marks again; and that refresh against
// one that computes the names alone. Prints the median of each over the
// rounds.
//   refresh_bench DIR [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "dialog/MainDlgModel.h"
#include "platform/FileSystem.h"
#include "dialog/MemorySettings.h"
#include "dialog/SettingsStore.h"
#include "dialog/panels/RenameDlg.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: refresh_bench DIR [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<double> first, refresh, unchecked;
    size_t rows = 0;
    for (int round = 0; round < rounds; ++round) {
        CMemorySettings memory;
        CSettingsStore store(CSettingsStore::kDialogSubKey, CMemorySettings::Borrow(memory));
        CMainDlgModel model({std::filesystem::absolute(argv[1]).lexically_normal().string()}, store, 1,
                            platform::RealFileSystem(), SkippingPrompts());
        model.SelectAction("Add to beginning");
        model.options().folders = 0;
        model.activePanel()->SetValue("add", "x_");
        auto start = Clock::now();
        if (!model.RefreshPreview()) return 1;
        first.push_back(Since(start));
        // As typing one more character into the field does, with the marks
        // and without them, in turns, so that neither profits from the
        // other's warming up.
        for (const bool marked : {round % 2 == 0, round % 2 != 0}) {
            model.SetCheckPreview(marked);
            model.activePanel()->SetValue("add", marked ? "x_y" : "x_z");
            start = Clock::now();
            model.Changed();
            (marked ? refresh : unchecked).push_back(Since(start));
        }
        rows = model.rows().size();
    }
    std::printf("rows %zu first_ms %.1f refresh_ms %.1f unchecked_ms %.1f\n", rows, Median(first), Median(refresh),
                Median(unchecked));
    return 0;
}

// Names per second for each text action over a large mixed selection: plain
// ASCII camera names, accented European titles and CJK names, in the
// proportions a photo or music folder might hold.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "operations/Case.h"
#include "platform/FileSystem.h"
#include "operations/Remove.h"
#include "operations/Replace.h"

namespace {

constexpr int kNames = 20000;

const char* const kAsciiWords[] = {"img",   "DSC",  "holiday", "photo", "The",    "lord", "of", "the", "rings",
                                   "track", "live", "final",   "draft", "report", "IMG",  "a",  "and"};
const char* const kAccentedWords[] = {"Été",  "à",  "Paris", "Ärger", "über",     "Öl",     "café",   "élève",
                                      "Noël", "Ça", "señor", "Ñandú", "Ὀδυσσεύς", "Москва", "straße", "ÉCLAIR"};
const char* const kCjkWords[] = {"東京", "タワー", "夜景", "日本語", "写真", "北京", "서울", "音楽"};
const char* const kSeparators[] = {" ", "_", "-", " - ", "'", " (", ") ", "　"};
const char* const kExtensions[] = {"jpg", "JPEG", "mp3", "txt", "tar.gz", "png", "flac", "pdf"};

std::vector<CFileDescriptor> MakeNames() {
    std::mt19937 rng(7);
    auto pick = [&](const auto& list) {
        return std::string(list[std::uniform_int_distribution<size_t>(0, std::size(list) - 1)(rng)]);
    };
    std::vector<CFileDescriptor> names;
    names.reserve(kNames);
    for (int i = 0; i < kNames; ++i) {
        const int kind = i % 4;  // half ASCII, a quarter accented, a quarter CJK
        std::string name;
        const int words = std::uniform_int_distribution<int>(2, 6)(rng);
        for (int w = 0; w < words; ++w) {
            if (w) name += pick(kSeparators);
            name += kind < 2 ? pick(kAsciiWords) : kind == 2 ? pick(kAccentedWords) : pick(kCjkWords);
        }
        name += '_';
        name += std::to_string(i % 1000);
        name += '.';
        name += pick(kExtensions);
        names.emplace_back("/data/pictures", name, CFileDescriptor::kNameOnly);
    }
    return names;
}

const std::vector<CFileDescriptor>& Names() {
    static const std::vector<CFileDescriptor> names = MakeNames();
    return names;
}

template <typename Op, typename... Args>
std::unique_ptr<CExecute> New(Args... args) {
    return std::make_unique<Op>(CRunOptions{.scope = CFileDescriptor::kNameOnly}, args...);
}

struct Entry {
    const char* name;
    std::function<std::unique_ptr<CExecute>()> make;
};

const Entry kEntries[] = {
    {"Lowercase", [] { return New<CLowercaseExecute>(); }},
    {"Uppercase", [] { return New<CUppercaseExecute>(); }},
    {"Capital", [] { return New<CCapitalExecute>(); }},
    {"Titlecase", [] { return New<CTitlecaseExecute>(1, std::string("a an the and or of")); }},
    {"Propercase", [] { return New<CPropercaseExecute>(2); }},
    {"ReplaceAtBeginning", [] { return New<CReplaceAtBeginningExecute>(std::string("img"), std::string("pic"), 1); }},
    {"ReplaceAtEnd", [] { return New<CReplaceAtEndExecute>(std::string("7"), std::string("seven"), 0); }},
    {"ReplaceAnywhereAll", [] { return New<CReplaceAnywhereExecute>(std::string("é"), std::string("e"), 0, 1); }},
    {"ReplaceAnywhere2ndToLast", [] { return New<CReplaceAnywhereExecute>(std::string("_"), std::string(" "), 7, 0); }},
    {"ReplaceCharacters",
     [] {
         return New<CReplaceCharactersExecute>(std::string("_-"), std::string(" "), 0, std::string("éè"),
                                               std::string("e"), 1, std::string("　"), std::string(" "), 0);
     }},
    {"ReplaceExtensions", [] { return New<CReplaceExtensionsExecute>(std::string("tar"), std::string("cpio"), 1); }},
    {"RemoveAtBeginning", [] { return New<CRemoveAtBeginningExecute>(std::string("3")); }},
    {"RemoveAtEnd", [] { return New<CRemoveAtEndExecute>(std::string("3")); }},
    {"Truncate", [] { return New<CTruncateToExecute>(std::string("12")); }},
    {"RemoveExtensions", [] { return New<CRemoveExtensionsExecute>(); }},
    {"RemoveVowels", [] { return New<CRemoveVowelsExecute>(); }},
    {"RemoveAnywhereText",
     [] { return New<CRemoveAnywhereExecute>(0, 0, std::string(" ("), 1, 0, std::string(") "), 1); }},
    {"RemoveAnywherePosition",
     [] { return New<CRemoveAnywhereExecute>(1, 1, std::string("6"), 2, 0, std::string("3"), -1); }},
};

void Run(benchmark::State& state, const Entry& entry) {
    const auto& names = Names();
    auto op = entry.make();
    for (auto _ : state) {
        size_t position = 0;
        for (const auto& fd : names) {
            auto out = op->Compute(fd, {position++, platform::RealFileSystem()});
            benchmark::DoNotOptimize(out);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}

}  // namespace

int main(int argc, char** argv) {
    for (const Entry& entry : kEntries)
        benchmark::RegisterBenchmark(entry.name, [&entry](benchmark::State& state) {
            Run(state, entry);
        })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Random names and random parameters through every text action: whatever the
// values, the result is valid UTF-8, the given descriptor is untouched, and
// the name outside the scope stays as it was.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "operations/Case.h"
#include "operations/Remove.h"
#include "operations/Replace.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tests/support/Compute.h"

namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

// Characters chosen for trouble: case pairs whose forms differ in length
// (İ, ı, ſ), one- to four-byte forms, combining marks, punctuation and
// spaces from outside ASCII, apostrophes and dots.
const char* const kAlphabet[] = {
    "a", "e", "i", "o", "u", "A",  "E",  "I",  "b",  "Z", "0", "7",        " ",        "'", "-",
    "(", ")", "_", ".", ",", "é",  "É",  "ä",  "Ö",  "ü", "ß", "ÿ",        "İ",        "ı", "ſ",
    "ǅ", "Σ", "ς", "ф", "Д", "日", "本", "語", "　", "–", "😀", "\xCC\x81", "\xC2\xA0",
};

std::string RandomText(Rng& rng, int maxChars, bool allowDot = true) {
    std::string s;
    const int n = Pick(rng, 0, maxChars);
    for (int i = 0; i < n; ++i) {
        const char* c = kAlphabet[Pick(rng, 0, static_cast<int>(std::size(kAlphabet)) - 1)];
        if (!allowDot && c[0] == '.') c = "x";
        s += c;
    }
    return s;
}

// A text to look for: mostly a piece of the name itself, so that matches happen.
std::string Needle(Rng& rng, const std::string& name) {
    if (Pick(rng, 0, 3) == 0) return RandomText(rng, 3);
    const size_t chars = text::CharCount(name);
    const size_t from = static_cast<size_t>(Pick(rng, 0, static_cast<int>(chars)));
    const size_t len = static_cast<size_t>(Pick(rng, 0, 3));
    const size_t a = text::ByteOffset(name, from);
    const size_t b = text::ByteOffset(name, from + len);
    return Pick(rng, 0, 1) ? text::ToUpper(name.substr(a, b - a)) : name.substr(a, b - a);
}

std::string Number(Rng& rng) {
    static const char* const kOdd[] = {"", "x", "-1", " 3", "99999999999", "2a"};
    if (Pick(rng, 0, 5) == 0) return kOdd[Pick(rng, 0, 5)];
    return std::to_string(Pick(rng, 0, 12));
}

using Factory = std::function<std::unique_ptr<CExecute>(Rng&, const std::string& name, int scope)>;

template <typename Op, typename... Args>
std::unique_ptr<CExecute> New(int scope, Args&&... args) {
    return std::make_unique<Op>(CRunOptions{.scope = scope}, std::forward<Args>(args)...);
}

const std::vector<std::pair<const char*, Factory>>& Factories() {
    static const std::vector<std::pair<const char*, Factory>> all = {
        {"lowercase", [](Rng&, const std::string&, int s) { return New<CLowercaseExecute>(s); }},
        {"uppercase", [](Rng&, const std::string&, int s) { return New<CUppercaseExecute>(s); }},
        {"capital", [](Rng&, const std::string&, int s) { return New<CCapitalExecute>(s); }},
        {"titlecase",
         [](Rng& r, const std::string& n, int s) {
             return New<CTitlecaseExecute>(s, Pick(r, -1, 3), Needle(r, n) + " " + Needle(r, n) + " of the");
         }},
        {"propercase", [](Rng& r, const std::string&, int s) { return New<CPropercaseExecute>(s, Pick(r, -1, 3)); }},
        {"replace at beginning",
         [](Rng& r, const std::string& n, int s) {
             return New<CReplaceAtBeginningExecute>(s, Needle(r, n), RandomText(r, 3), Pick(r, 0, 1));
         }},
        {"replace at end",
         [](Rng& r, const std::string& n, int s) {
             return New<CReplaceAtEndExecute>(s, Needle(r, n), RandomText(r, 3), Pick(r, 0, 1));
         }},
        {"replace anywhere",
         [](Rng& r, const std::string& n, int s) {
             return New<CReplaceAnywhereExecute>(s, Needle(r, n), RandomText(r, 3), Pick(r, -1, 11), Pick(r, 0, 1));
         }},
        {"replace characters",
         [](Rng& r, const std::string& n, int s) {
             return New<CReplaceCharactersExecute>(s, Needle(r, n), RandomText(r, 2), Pick(r, 0, 1), Needle(r, n),
                                                   RandomText(r, 2), Pick(r, 0, 1), RandomText(r, 3), RandomText(r, 2),
                                                   Pick(r, 0, 1));
         }},
        {"replace extensions",
         [](Rng& r, const std::string& n, int s) {
             return New<CReplaceExtensionsExecute>(s, Needle(r, n), RandomText(r, 3), Pick(r, 0, 1));
         }},
        {"remove at beginning",
         [](Rng& r, const std::string&, int s) { return New<CRemoveAtBeginningExecute>(s, Number(r)); }},
        {"remove at end", [](Rng& r, const std::string&, int s) { return New<CRemoveAtEndExecute>(s, Number(r)); }},
        {"truncate", [](Rng& r, const std::string&, int s) { return New<CTruncateToExecute>(s, Number(r)); }},
        {"remove extensions", [](Rng&, const std::string&, int s) { return New<CRemoveExtensionsExecute>(s); }},
        {"remove vowels", [](Rng&, const std::string&, int s) { return New<CRemoveVowelsExecute>(s); }},
        {"remove anywhere",
         [](Rng& r, const std::string& n, int s) {
             const int startKind = Pick(r, 0, 2);
             const int endKind = Pick(r, -1, 3);
             return New<CRemoveAnywhereExecute>(
                 s, startKind, Pick(r, -1, startKind == 0 ? 12 : 2), startKind == 0 ? Needle(r, n) : Number(r), endKind,
                 Pick(r, -1, endKind == 1 ? 12 : 2), endKind == 1 ? Needle(r, n) : Number(r), Pick(r, 0, 1));
         }},
    };
    return all;
}

TEST(TextOpsProperty, RandomNamesAndParameters) {
    const std::string sep(1, platform::kPathSeparator);
    Rng rng(20240611);
    for (int round = 0; round < 1500; ++round) {
        // Always a real extension, so that both scopes leave something outside.
        const std::string base = RandomText(rng, 12) + "x";
        const std::string ext = RandomText(rng, 4, false) + "e";
        const std::string name = base + "." + ext;
        for (const int scope :
             {CFileDescriptor::kNameOnly, CFileDescriptor::kExtensionWithDot, CFileDescriptor::kExtensionOnly}) {
            const std::string prefix = scope == CFileDescriptor::kNameOnly           ? ""
                                       : scope == CFileDescriptor::kExtensionWithDot ? base
                                                                                     : base + ".";
            const std::string suffix = scope == CFileDescriptor::kNameOnly ? "." + ext : "";
            for (const auto& [label, factory] : Factories()) {
                const CFileDescriptor fd("dir", name, scope);
                auto op = factory(rng, name, scope);
                auto out = testing_support::CPass(*op)(fd);
                SCOPED_TRACE(std::string(label) + " on '" + name + "' scope " + std::to_string(scope));
                ASSERT_TRUE(out);
                // The given descriptor is exactly as it was.
                EXPECT_EQ(fd.name(), name);
                EXPECT_EQ(fd.path(), "dir" + sep + name);
                EXPECT_EQ(fd.part(), name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()));
                EXPECT_EQ(fd.folder(), "dir");
                EXPECT_EQ(fd.scope(), scope);
                // The result is whole characters and keeps what lies outside the scope.
                EXPECT_TRUE(text::IsValid(out->name())) << out->name();
                EXPECT_EQ(out->name(), prefix + out->part() + suffix);
                EXPECT_EQ(out->path(), "dir" + sep + out->name());
                EXPECT_EQ(out->folder(), "dir");
                if (testing::Test::HasFailure()) return;
            }
        }
    }
}

}  // namespace

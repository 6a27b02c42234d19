#include "cli/Suggestions.h"

#include <algorithm>
#include <cctype>

#include "cli/Names.h"

namespace {

// Edits between two words, a swap of neighbours counting as one.
size_t Distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool HasWords(const std::string& whole, const std::string& part) {
    if (part.empty()) return false;
    const std::string w = "-" + whole + "-";
    return w.find("-" + part + "-") != std::string::npos;
}

std::string Suggestion(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::string wanted = Lower(typed);
    if (wanted.empty()) return {};
    // A slip of a letter or two, in proportion to the word.
    const size_t allowed = std::max<size_t>(1, std::min<size_t>(3, wanted.size() / 4));
    std::string best;
    size_t bestDistance = allowed + 1;
    for (const auto& c : candidates) {
        const size_t d = Distance(wanted, Lower(c));
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    if (!best.empty()) return best;
    // A word or two of a longer name: "uppercase" for "make-uppercase".
    const std::string words = ShortForm(typed);
    std::string only;
    for (const auto& c : candidates) {
        if (!HasWords(ShortForm(c), words)) continue;
        if (!only.empty()) return {};  // more than one: no guess
        only = c;
    }
    return only;
}

std::string DidYouMean(std::string_view typed, const std::vector<std::string>& candidates) {
    const std::string s = Suggestion(typed, candidates);
    return s.empty() ? std::string() : "; did you mean \"" + s + "\"?";
}


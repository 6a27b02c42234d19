#pragma once

#include <string>
#include <string_view>
#include <vector>

/// The name among `candidates` that `typed` most likely meant: one or two
/// letters off, or missing a word; empty when none is that close.
std::string Suggestion(std::string_view typed, const std::vector<std::string>& candidates);
/// "; did you mean \"x\"?" for Suggestion's answer; empty when it has none.
std::string DidYouMean(std::string_view typed, const std::vector<std::string>& candidates);

/// True when the words of `part` (hyphen-joined) appear as whole words in
/// `whole`: "end" in "from-the-end".
bool HasWords(const std::string& whole, const std::string& part);

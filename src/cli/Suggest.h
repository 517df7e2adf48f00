// "Did you mean ...?" for a mistyped method or parameter name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kz8mrp::cli {

// The name nearest to `word` (edits counted without regard to case), or an
// empty text when none is near enough to be the one meant.
std::string NearestName(std::string_view word, const std::vector<std::string>& names);

// " (did you mean NAME?)", or an empty text when no name is near.
std::string DidYouMean(std::string_view word, const std::vector<std::string>& names);

}  // namespace kz8mrp::cli

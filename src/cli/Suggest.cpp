#include "cli/Suggest.h"

#include "common/Text.h"

#include <algorithm>
#include <numeric>

namespace kz8mrp::cli {
namespace {

// Insertions, deletions and substitutions that turn one text into the other.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string NearestName(std::string_view word, const std::vector<std::string>& names) {
  const std::string typed = text::ToLower(word);
  // A third of the word may be wrong, and at least two letters of a short one.
  std::size_t best = std::max<std::size_t>(2, typed.size() / 3) + 1;
  std::string nearest;
  for (const std::string& name : names) {
    // Never nearer than the difference in length: a word pasted by mistake,
    // however long, is answered at once.
    const std::size_t longer = std::max(typed.size(), name.size());
    if (longer - std::min(typed.size(), name.size()) >= best) continue;
    const std::size_t d = EditDistance(typed, text::ToLower(name));
    if (d < best) {
      best = d;
      nearest = name;
    }
  }
  return nearest;
}

std::string DidYouMean(std::string_view word, const std::vector<std::string>& names) {
  const std::string nearest = NearestName(word, names);
  return nearest.empty() ? std::string() : " (did you mean " + nearest + "?)";
}

}  // namespace kz8mrp::cli

// Pick lists on the command line: answered by --pick, or shown on the terminal.
#include <kz8mrp/Session.h>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "common/Text.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>

namespace kz8mrp::cli {
namespace {

constexpr std::size_t kMaxCellWidth = 40;

// Row numbers counted from 1, as the user sees them, to 0-based indices.
std::vector<std::size_t> ReadRowNumbers(const std::string& answer, bool strict) {
  std::vector<std::size_t> rows;
  for (const std::string& part : text::Split(answer, ',')) {
    const std::string_view t = text::Trim(part);
    if (t.empty()) continue;
    double n = 0;
    if (!text::ParseNumber(t, n) || n < 1 || n != static_cast<double>(static_cast<long>(n))) {
      if (strict) throw UsageError("--pick takes row numbers from 1, or none: " + answer);
      continue;
    }
    rows.push_back(static_cast<std::size_t>(n) - 1);
  }
  return rows;
}

std::string Fit(const std::string& cell, std::size_t width) {
  std::string out;
  std::size_t used = 0;
  // Cut on character boundaries; marks of zero width stay with their letter.
  for (std::size_t i = 0; i < cell.size();) {
    std::size_t len = 1;
    const auto b = static_cast<unsigned char>(cell[i]);
    if (b >= 0xF0)
      len = 4;
    else if (b >= 0xE0)
      len = 3;
    else if (b >= 0xC0)
      len = 2;
    const std::string ch = cell.substr(i, len);
    const std::size_t w = text::DisplayWidth(ch);
    if (used + w > width) break;
    out += ch;
    used += w;
    i += len;
  }
  return out + std::string(width - used, ' ');
}

void ShowList(const PickList& list, std::ostream& out) {
  std::vector<std::size_t> shown;  // columns with a width of 0 are hidden
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    if (c >= list.widths.size() || list.widths[c] > 0) shown.push_back(c);
  }
  const auto caption = [&](std::size_t c) {
    return c < list.captions.size() && !list.captions[c].empty() ? list.captions[c]
                                                                 : list.columns[c];
  };
  std::vector<std::size_t> width;
  for (const std::size_t c : shown) {
    std::size_t w = text::DisplayWidth(caption(c));
    for (const auto& row : list.rows) w = std::max(w, text::DisplayWidth(row[c]));
    width.push_back(std::min(w, kMaxCellWidth));
  }
  const std::size_t number_width = std::to_string(list.rows.size()).size();
  out << list.title << '\n' << std::string(number_width, ' ');
  for (std::size_t k = 0; k < shown.size(); ++k) out << "  " << Fit(caption(shown[k]), width[k]);
  out << '\n';
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    const std::string n = std::to_string(r + 1);
    out << std::string(number_width - n.size(), ' ') << n;
    for (std::size_t k = 0; k < shown.size(); ++k) {
      out << "  " << Fit(list.rows[r][shown[k]], width[k]);
    }
    out << '\n';
  }
}

std::vector<std::size_t> AskOnTerminal(const PickList& list) {
  if (!isatty(STDIN_FILENO)) return {};
  ShowList(list, std::cerr);
  if (list.rows.empty()) {
    std::cerr << "(nothing to pick)\n";
    return {};
  }
  std::cerr << (list.multi_select ? "Row numbers, separated by commas (Enter picks none): "
                                  : "Row number (Enter picks none): ");
  std::string answer;
  if (!std::getline(std::cin, answer)) return {};
  return ReadRowNumbers(answer, false);
}

}  // namespace

void InstallPickList(AppObj& app, const std::string& pick_option) {
  if (pick_option.empty()) {
    app.SetPickListHandler(AskOnTerminal);
    return;
  }
  std::vector<std::size_t> answer = text::EqualsNoCase(text::Trim(pick_option), "none")
                                        ? std::vector<std::size_t>{}
                                        : ReadRowNumbers(pick_option, true);
  app.SetPickListHandler([answer = std::move(answer)](const PickList&) { return answer; });
}

}  // namespace kz8mrp::cli

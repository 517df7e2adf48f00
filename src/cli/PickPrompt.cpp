// Pick lists on the command line: answered by --pick, or shown on the terminal.
#include <kz8mrp/Session.h>

#include "cli/Commands.h"
#include "cli/PickTable.h"
#include "cli/Usage.h"
#include "common/Text.h"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>
#include <utility>

namespace kz8mrp::cli {
namespace {

// Row numbers counted from 1, as the user sees them, to 0-based indices;
// nothing when the answer is not a list of such numbers.
std::optional<std::vector<std::size_t>> ReadRowNumbers(const std::string& answer) {
  std::vector<std::size_t> rows;
  for (const std::string& part : text::Split(answer, ',')) {
    const std::string_view t = text::Trim(part);
    if (t.empty()) continue;
    double n = 0;
    if (!text::ParseNumber(t, n) || n < 1 || n > 1e9 ||
        n != static_cast<double>(static_cast<long>(n))) {
      return std::nullopt;
    }
    rows.push_back(static_cast<std::size_t>(n) - 1);
  }
  return rows;
}

bool InList(const std::vector<std::size_t>& rows, const PickList& list) {
  for (const std::size_t r : rows) {
    if (r >= list.rows.size()) return false;
  }
  return true;
}

// Asks until the answer names rows of the list; Enter (or "none") picks none.
std::vector<std::size_t> AskOnTerminal(const PickList& list) {
  if (!isatty(STDIN_FILENO)) return {};
  std::cerr << RenderPickList(list, TerminalWidth(STDERR_FILENO));
  if (list.rows.empty()) {
    std::cerr << "(nothing to pick)\n";
    return {};
  }
  const std::string range = "1-" + std::to_string(list.rows.size());
  for (;;) {
    std::cerr << (list.multi_select ? "Row numbers " + range + ", separated by commas"
                                    : "Row number " + range)
              << " (Enter picks none): " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return {};
    if (text::EqualsNoCase(text::Trim(answer), "none")) return {};
    const auto rows = ReadRowNumbers(answer);
    if (rows && InList(*rows, list) && (list.multi_select || rows->size() <= 1)) return *rows;
    std::cerr << "  please answer with " << (list.multi_select ? "row numbers" : "one row number")
              << " from the list (" << range << ")\n";
  }
}

}  // namespace

void InstallPickList(AppObj& app, const std::string& pick_option) {
  if (pick_option.empty()) {
    app.SetPickListHandler(AskOnTerminal);
    return;
  }
  if (text::EqualsNoCase(text::Trim(pick_option), "none")) {
    app.SetPickListHandler([](const PickList&) { return std::vector<std::size_t>{}; });
    return;
  }
  const auto answer = ReadRowNumbers(pick_option);
  if (!answer) throw UsageError("--pick takes row numbers from 1, or none: " + pick_option);
  // A row the list does not have is a mistake in the command, not "nothing picked".
  app.SetPickListHandler([rows = *answer, pick_option](const PickList& list) {
    if (!InList(rows, list)) {
      throw UsageError("--pick " + pick_option + ": the list \"" + list.title + "\" has " +
                       std::to_string(list.rows.size()) + " rows");
    }
    return rows;
  });
}

}  // namespace kz8mrp::cli

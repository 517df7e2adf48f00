#include "cli/PickTable.h"

#include "common/Text.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace kz8mrp::cli {
namespace {

constexpr std::size_t kMaxCellWidth = 40;
constexpr std::size_t kMinCellWidth = 6;
constexpr std::string_view kGap = "  ";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // one cell wide

std::size_t CharacterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// A line break or tab inside a cell would tear the table apart.
std::string OneLine(std::string_view cell) {
  std::string out(cell);
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return out;
}

// The longest start of `cell` that takes at most `width` cells; the marks of
// zero width (Thai vowels above and below, tone marks) stay with their letter.
std::string Cut(std::string_view cell, std::size_t width) {
  std::size_t used = 0;
  std::size_t end = 0;
  while (end < cell.size()) {
    const std::size_t len =
        std::min(CharacterLength(static_cast<unsigned char>(cell[end])), cell.size() - end);
    const std::size_t w = text::DisplayWidth(cell.substr(end, len));
    if (used + w > width) break;
    used += w;
    end += len;
  }
  return std::string(cell.substr(0, end));
}

struct Column {
  std::size_t index;  // in the list's columns
  std::string head;
  std::size_t width = 0;  // in cells
  bool numeric = true;    // numbers line up on the right
};

std::string Fit(const std::string& cell, const Column& column) {
  if (column.width == 0) return {};
  std::string shown = cell;
  if (text::DisplayWidth(shown) > column.width) {
    shown = Cut(cell, column.width - 1) + std::string(kEllipsis);
  }
  const std::string pad(column.width - text::DisplayWidth(shown), ' ');
  return column.numeric ? pad + shown : shown + pad;
}

std::string CellOf(const PickList& list, std::size_t row, std::size_t column) {
  const auto& cells = list.rows[row];
  return column < cells.size() ? OneLine(cells[column]) : std::string();
}

// Shown columns: a width of 0 hides a column the list does not use.
std::vector<Column> LayOut(const PickList& list) {
  std::vector<Column> columns;
  for (std::size_t c = 0; c < list.columns.size(); ++c) {
    if (c < list.widths.size() && list.widths[c] <= 0) continue;
    Column column{c,
                  OneLine(c < list.captions.size() && !list.captions[c].empty() ? list.captions[c]
                                                                                : list.columns[c])};
    column.width = text::DisplayWidth(column.head);
    bool any_value = false;
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
      const std::string cell = CellOf(list, r, c);
      column.width = std::max(column.width, text::DisplayWidth(cell));
      double ignored = 0;
      if (!cell.empty()) {
        any_value = true;
        column.numeric = column.numeric && text::ParseNumber(cell, ignored);
      }
    }
    column.numeric = column.numeric && any_value;
    column.width = std::min(column.width, kMaxCellWidth);
    columns.push_back(std::move(column));
  }
  return columns;
}

// Narrows the widest columns, a cell at a time, until the table fits the screen.
void FitToScreen(std::vector<Column>& columns, std::size_t number_width, std::size_t max_width) {
  if (max_width == 0 || columns.empty()) return;
  const auto total = [&] {
    return std::accumulate(
        columns.begin(), columns.end(), number_width,
        [](std::size_t sum, const Column& c) { return sum + kGap.size() + c.width; });
  };
  while (total() > max_width) {
    auto widest =
        std::max_element(columns.begin(), columns.end(),
                         [](const Column& a, const Column& b) { return a.width < b.width; });
    if (widest->width <= kMinCellWidth) return;
    --widest->width;
  }
}

std::string Line(const std::string& number, std::size_t number_width,
                 const std::vector<std::string>& cells) {
  std::string line(number_width - number.size(), ' ');
  line += number;
  for (const std::string& cell : cells) line += std::string(kGap) + cell;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + '\n';
}

}  // namespace

std::string RenderPickList(const PickList& list, std::size_t max_width) {
  std::vector<Column> columns = LayOut(list);
  const std::size_t number_width =
      std::max<std::size_t>(1, std::to_string(list.rows.size()).size());
  FitToScreen(columns, number_width, max_width);

  std::string out = OneLine(list.title) + '\n';
  std::vector<std::string> heads;
  std::vector<std::string> rules;
  for (const Column& c : columns) {
    heads.push_back(Fit(c.head, c));
    rules.emplace_back(c.width, '-');
  }
  out += Line("#", number_width, heads);
  out += Line(std::string(number_width, '-'), number_width, rules);
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    std::vector<std::string> cells;
    cells.reserve(columns.size());
    for (const Column& c : columns) cells.push_back(Fit(CellOf(list, r, c.index), c));
    out += Line(std::to_string(r + 1), number_width, cells);
  }
  return out;
}

std::size_t TerminalWidth(int fd) {
  if (!isatty(fd)) return 0;
  double columns = 0;
  const char* set = std::getenv("COLUMNS");
  if (set && text::ParseNumber(set, columns) && columns >= 1 && columns < 1e4) {
    return static_cast<std::size_t>(columns);
  }
  winsize size{};
  return ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

}  // namespace kz8mrp::cli

// A pick list laid out as a table for the terminal: the title, the captions as
// column heads, and the rows numbered from 1.
#pragma once

#include <kz8mrp/PickList.h>

#include <cstddef>
#include <string>

namespace kz8mrp::cli {

// `max_width` is the width of the screen in cells (0: no limit); the widest
// columns give way first when the table would not fit.
std::string RenderPickList(const PickList& list, std::size_t max_width);

// The width in cells of the terminal on file descriptor `fd`: COLUMNS when it
// holds a number, else what the terminal says; 0 when `fd` is no terminal, so
// that piped output is never cut.
std::size_t TerminalWidth(int fd);

}  // namespace kz8mrp::cli

// A pick list: the host program shows it and answers with the rows picked.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kz8mrp {

struct PickList {
  std::string title;
  std::vector<std::string> captions;           // one per shown column
  std::vector<int> widths;                     // in twips, as the suite's screens give them
  std::vector<std::string> columns;            // the shown column names
  std::vector<std::vector<std::string>> rows;  // display texts, one vector per row
  bool multi_select = false;
};

// Returns the picked rows, 0-based, in the list's order; an empty vector picks none.
using PickListHandler = std::function<std::vector<std::size_t>(const PickList&)>;

}  // namespace kz8mrp

// A forecast's material lines, stored from the material grid: line r is grid
// row r, so rows without a material leave gaps in the line numbers, and lines
// beyond the grid stay as they were.
#pragma once

#include <kz8mrp/OleDate.h>

#include <string>

namespace kz8mrp::db {
class Connection;
}

namespace kz8mrp::mrp {

class WorkGrid;

struct ForecastKey {
  std::string branch;
  int year = 0;
  int month = 0;
  int day = 0;
  std::string product;
  std::string customer;
};

// Overwrites the lines that exist and adds the others, on the caller's
// connection (inside the caller's transaction).
void WriteForecastLines(db::Connection& connection, const ForecastKey& forecast,
                        const WorkGrid& grid, OleDate now);

}  // namespace kz8mrp::mrp

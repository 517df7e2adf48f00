// kz8mrp_planner CONNECTION numbers COUNT
// kz8mrp_planner CONNECTION orders JOB PLANNER COUNT
// One planner in a process of its own; prints the numbers of the documents it made, one a line.
#include "concurrency/Planners.h"

#include <iostream>

int main(int argc, char** argv) {
  const std::string kind = argc > 2 ? argv[2] : "";
  if (argc != (kind == "numbers" ? 4 : 6)) return 2;  // see above
  try {
    const auto made = kind == "numbers" ? kz8test::DrawNumbers(argv[1], std::stoi(argv[3]))
                                        : kz8test::MakeOrders(argv[1], argv[3], std::stoi(argv[4]),
                                                              std::stoi(argv[5]));
    for (const std::string& no : made) std::cout << no << '\n';
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}

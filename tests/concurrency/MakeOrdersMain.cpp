// kz8mrp_make_orders CONNECTION JOB PLANNER COUNT: one planner in a process
// of its own; prints the numbers of the orders it opened, one a line.
#include "concurrency/OrderMaking.h"

#include <iostream>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: kz8mrp_make_orders CONNECTION JOB PLANNER COUNT\n";
    return 2;
  }
  try {
    for (const std::string& no :
         kz8test::MakeOrders(argv[1], argv[2], std::stoi(argv[3]), std::stoi(argv[4]))) {
      std::cout << no << '\n';
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
  return 0;
}

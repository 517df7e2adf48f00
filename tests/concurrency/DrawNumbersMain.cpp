// kz8mrp_draw_numbers CONNECTION COUNT: one planning session in a process of
// its own; prints the committed document numbers, one a line.
#include <kz8mrp/Error.h>

#include "concurrency/NumberDrawing.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kz8mrp_draw_numbers CONNECTION COUNT\n";
    return 2;
  }
  try {
    for (const std::string& number : kz8test::DrawNumbers(argv[1], std::stoi(argv[2]))) {
      std::cout << number << '\n';
    }
  } catch (const kz8mrp::Error& e) {
    std::cerr << "error " << e.Number() << ": " << e.what() << '\n';
    return 1;
  }
  return 0;
}

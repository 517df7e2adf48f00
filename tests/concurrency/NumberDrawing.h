// A planning session that draws document numbers, one per transaction, as a
// planner creating schedule reservations one after another does.
#pragma once

#include <string>
#include <vector>

namespace kz8test {

// Draws numbers of kind "MPS" in book "B1" until `count` are committed; every
// seventh transaction is abandoned (rolled back) after drawing its number, and
// every committed one is followed by a calendar question through the pool.
// Returns the committed numbers.
std::vector<std::string> DrawNumbers(const std::string& connection_string, int count);

}  // namespace kz8test

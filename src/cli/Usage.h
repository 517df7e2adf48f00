// A mistake in the command itself: exit status 2.
#pragma once

#include <stdexcept>

namespace kz8mrp::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kz8mrp::cli

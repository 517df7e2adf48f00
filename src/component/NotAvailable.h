#pragma once

#include <string_view>

namespace kz8mrp::component {

// Raised by a method whose working part is not built into this engine yet; a
// caller gets a clear error instead of a result that only looks right.
[[noreturn]] void NotAvailable(std::string_view method);

}  // namespace kz8mrp::component

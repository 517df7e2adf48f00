#include "cli/Json.h"

#include <iostream>

namespace kz8mrp::cli {

Json ToJson(const component::Variant& value) {
  struct Visitor {
    Json operator()(std::monostate) const { return nullptr; }
    Json operator()(const String& s) const { return s; }
    Json operator()(Integer n) const { return n; }
    Json operator()(Long n) const { return n; }
    Json operator()(double n) const { return n; }
    Json operator()(OleDate d) const { return d.ToString(); }
    Json operator()(bool b) const { return b; }
  };
  return std::visit(Visitor{}, value);
}

void PrintJson(const Json& document) {
  // Texts from the database may hold bytes that are not UTF-8; they are shown
  // replaced rather than failing the whole answer.
  std::cout << document.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace kz8mrp::cli

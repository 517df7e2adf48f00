#include "cli/Options.h"

namespace kz8mrp::cli {

Options::Options(const std::vector<std::string>& args, const std::set<std::string>& valued,
                 const std::set<std::string>& flags) {
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (options_done || a.rfind("--", 0) != 0) {
      // Once the method name (the first word) is read, the rest are arguments.
      words_.push_back(a);
      options_done = options_done || !words_.empty();
      continue;
    }
    if (a == "--") {
      options_done = true;
      continue;
    }
    std::string name = a.substr(2);
    std::string value;
    const auto eq = name.find('=');
    const bool inline_value = eq != std::string::npos;
    if (inline_value) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (valued.count(name)) {
      if (!inline_value) {
        if (i + 1 >= args.size()) throw UsageError("--" + name + " needs a value");
        value = args[++i];
      }
    } else if (flags.count(name)) {
      if (inline_value) throw UsageError("--" + name + " takes no value");
      value = "1";
    } else {
      throw UsageError("unknown option --" + name);
    }
    values_[name] = value;
  }
}

std::string Options::Get(const std::string& name, const std::string& fallback) const {
  const auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

std::string Options::Require(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end() || it->second.empty()) throw UsageError("--" + name + " is required");
  return it->second;
}

}  // namespace kz8mrp::cli

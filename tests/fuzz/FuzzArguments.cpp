// The NAME=VALUE reader of "kz8mrp call": the first line names a method, each further line is one
// word. A word list the reader refuses is a usage error, never another failure; one it accepts,
// every value printed as the command line prints results and named in another letter case, reads
// again to the same values.
#include "cli/Arguments.h"
#include "cli/Usage.h"
#include "common/Text.h"
#include "fuzz/Property.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kz8mrp::cli::UsageError;
using kz8mrp::component::Method;
using kz8mrp::component::Variant;

// The words that give every slot its value as it was read.
std::vector<std::string> PrintedBack(const Method& m, const std::vector<Variant>& slots) {
  std::vector<std::string> words;
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    if (kz8mrp::component::IsSession(m.params[i].type)) continue;
    words.push_back(kz8mrp::text::ToLower(m.params[i].name) + "=" +
                    kz8mrp::component::FormatValue(slots[i]));
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words =
      kz8mrp::text::Split(std::string_view(reinterpret_cast<const char*>(data), size), '\n');
  // Mistyped method names are answered as mistyped parameter names are; the
  // time goes to the arguments of the methods there are.
  const Method* m = kz8mrp::component::FindMethod(words.front());
  if (!m) return 0;
  words.erase(words.begin());
  std::vector<Variant> slots;
  try {
    slots = kz8mrp::cli::ReadArguments(*m, words);
  } catch (const UsageError&) {
    return 0;
  } catch (const std::exception& e) {
    kz8fuzz::Broken("words the reader refuses are a usage error", e.what());
  }
  // Refusing them now is a failure too: the exception ends the target.
  const std::vector<std::string> printed = PrintedBack(*m, slots);
  KZ8_PROPERTY(kz8mrp::cli::ReadArguments(*m, printed) == slots,
               "arguments printed as results read again the same",
               kz8mrp::text::Join(printed, " "));
  return 0;
}

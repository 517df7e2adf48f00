// A formula's code, name and ten parameter texts as one delimited text, as the
// suite's screens and labels read it.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Pool.h"
#include "host/db/Recordset.h"

#include <vector>

namespace kz8mrp {
namespace {

// Byte offsets at which the characters of a UTF-8 text start, so that
// positions count characters as the user sees them, Thai included.
std::vector<std::size_t> CharacterStarts(const String& s) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  return starts;
}

// Drops separators left at the end by empty parameters. Going back one
// character at a time, it compares the separator with the text from that
// character on (shorter near the end) and keeps everything up to the first
// character where they differ. A separator of several characters never
// matches the last character alone, so it strips nothing.
String StripTrailingSeparators(const String& text, const String& separator) {
  if (text.empty() || separator.empty()) return text;
  const std::vector<std::size_t> starts = CharacterStarts(text);
  const std::size_t separator_length = CharacterStarts(separator).size();
  std::size_t position = starts.size();  // 1-based, as the user counts
  for (; position > 1; --position) {
    const std::size_t from = starts[position - 1];
    const std::size_t last = position - 1 + separator_length;
    const std::size_t to = last < starts.size() ? starts[last] : text.size();
    if (text.compare(from, to - from, separator) != 0) break;
  }
  const std::size_t keep = position < starts.size() ? starts[position] : text.size();
  return text.substr(0, keep);
}

}  // namespace

String MRPObject::GETFormulaParameterList(const String& FormulaCode, const String& FormulaGroupCode,
                                          DataObj& DataObj, bool SkipCode,
                                          ByRef<String> SplitChar) {  // NOLINT: as declared
  const String& separator = SplitChar.get();
  const db::PooledConnection connection(DataObj.ConnectionString());
  const db::Recordset formula(
      *connection, "SELECT * FROM KZ8TMRPformula Where TMRFCode=" + sql::Text(FormulaCode) +
                       " AND TMRFTMRGCode=" + sql::Text(FormulaGroupCode));
  if (formula.Eof()) return {};
  String result = SkipCode ? formula.Text("TMRFName")
                           : formula.Text("TMRFCode") + separator + formula.Text("TMRFName");
  for (int n = 1; n <= 10; ++n) result += separator + formula.Text("TMRFText" + std::to_string(n));
  return StripTrailingSeparators(result, separator);
}

}  // namespace kz8mrp

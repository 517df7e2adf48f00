// Formula groups and formulas in a line each.
#pragma once

#include "support/TestDb.h"

#include <string>
#include <vector>

namespace kz8test {

class FormulaTest : public DbTest {
 protected:
  // Parameter texts 1 to 10; missing ones are stored as null.
  void Formula(const std::string& group, const std::string& code, const std::string& name,
               const std::vector<std::string>& texts = {}, const std::string& machine_group = "",
               const std::string& product = "") {
    static const char* const kTextColumns[] = {"TMRFText1", "TMRFText2", "TMRFText3", "TMRFText4",
                                               "TMRFText5", "TMRFText6", "TMRFText7", "TMRFText8",
                                               "TMRFText9", "TMRFText10"};
    kz8mrp::db::RowValues row = {{"TMRFTMRGCode", group},
                                 {"TMRFCode", code},
                                 {"TMRFName", name},
                                 {"TMRFTAgtCode", machine_group},
                                 {"TMRFTPdtCode", product}};
    for (std::size_t i = 0; i < texts.size() && i < 10; ++i) {
      row.emplace_back(kTextColumns[i], texts[i]);
    }
    Insert("KZ8TMRPformula", row);
  }
  // Field definitions "caption;kind;length" of parameters 1 to 10.
  void Group(const std::string& code, const std::vector<std::string>& fields) {
    static const char* const kFieldColumns[] = {
        "TMRGField1", "TMRGField2", "TMRGField3", "TMRGField4", "TMRGField5",
        "TMRGField6", "TMRGField7", "TMRGField8", "TMRGField9", "TMRGField10"};
    kz8mrp::db::RowValues row = {{"TMRGCode", code}};
    for (std::size_t i = 0; i < fields.size() && i < 10; ++i) {
      row.emplace_back(kFieldColumns[i], fields[i]);
    }
    Insert("KZ8TMRPformulaGrp", row);
  }
};

}  // namespace kz8test

// Picking formulas of a group from a list whose parameter columns are captioned
// and sized by the group's own field definitions.
#include <kz8mrp/MRPObject.h>

#include "common/Text.h"
#include "host/Sql.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"

#include <algorithm>

namespace kz8mrp {
namespace {

constexpr int kMinimumWidth = 1500;  // twips
constexpr int kTwipsPerCharacter = 75;

struct ParameterColumn {
  String caption;
  int width = 0;  // 0 hides a parameter the group does not use
};

// "caption;kind;length": a TEXT parameter is as wide as its length, any other
// kind gets the minimum width; none is narrower than that.
ParameterColumn ColumnOf(const String& definition, const host::ConvertTools& convert) {
  if (definition.empty()) return {};
  const std::vector<String> parts = text::Split(definition, ';');
  const auto part = [&](std::size_t i) { return i < parts.size() ? parts[i] : String(); };
  int width = kMinimumWidth;
  if (part(1) == "TEXT") width = convert.ToInteger(part(2)) * kTwipsPerCharacter;
  return {part(0), std::max(width, kMinimumWidth)};
}

}  // namespace

String MRPObject::SelectFormula(const String& FormulaGroupCode, DataObj& DataObj, bool OutPutList,
                                bool MultiSelect) {
  String captions = "รหัสสูตร,ชื่อสูตร";
  String widths = "1500,2000";
  for (int n = 1; n <= 10; ++n) {
    const ParameterColumn column = ColumnOf(
        DbTools().LookupTextStr("TMRGCode", FormulaGroupCode, "TMRGField" + std::to_string(n),
                                "KZ8TMRPformulaGrp", DataObj.ConnectionString()),
        ConvertTools());
    captions += "," + column.caption;
    widths += "," + std::to_string(column.width);
  }
  captions += ",กลุ่มเครื่องจักร,รหัสสินค้า";
  widths += ",1500,1500";

  host::PickListRequest request;
  request.title = "เลือกรายการ";
  request.return_columns = OutPutList ? "TMRFCode;TMRFName;TMRFText1;TMRFText2;TMRFText3;TMRFText4;"
                                        "TMRFText5;TMRFText6;TMRFText7;TMRFText8;TMRFText9;"
                                        "TMRFText10;TMRFTAgtCode;TMRFTPdtCode"
                                      : "TMRFCode";
  request.columns =
      "TMRFCode,TMRFName,TMRFText1,TMRFText2,TMRFText3,TMRFText4,TMRFText5,TMRFText6,TMRFText7,"
      "TMRFText8,TMRFText9,TMRFText10,"
      "TMRFTAgtCode,TMRFTPdtCode";
  request.captions = captions;
  request.widths = widths;
  request.rows = "KZ8TMRPformula Where TMRFTMRGCode=" + sql::Text(FormulaGroupCode);
  request.multi_select = MultiSelect;
  return DbTools().ShowPickList(request, DataObj.ConnectionString(), DataObj.App());
}

}  // namespace kz8mrp

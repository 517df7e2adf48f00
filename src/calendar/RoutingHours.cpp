// Working hours that one unit of a product takes along its routing.
#include <kz8mrp/MRPObject.h>

#include "common/Text.h"
#include "host/Sql.h"
#include "host/db/Pool.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"

namespace kz8mrp {
namespace {

// How the manpower of the steps weighs their hours.
enum ManpowerMode : Integer { kIgnoreManpower = 0, kEachStepsMen = 1, kAllStepsMen = 2 };

// Up to a step (the routing from its start) or that step alone; all steps when none is named.
String StepCondition(Integer from_step, bool full_down) {
  if (from_step < 1) return {};
  return (full_down ? "AND TSpdStep<=" : "AND TSpdStep=") + sql::Number(from_step);
}

}  // namespace

double MRPObject::GETBOMHourPerUnit(const String& iProductCode, Integer iFromStep, DataObj& DataObj,
                                    bool useFullDown) {
  // Committed routing data only: the caller's unsaved edits do not count.
  const db::PooledConnection connection(DataObj.ConnectionString());
  const Integer mode = ConvertTools().ToInteger(
      text::NumberText(SettingTools().GetNumber("GetBOMHourMultiplyMan", *connection)));

  const String sql =
      " SELECT  TSpdEstimateDay,TSpdHourPerDay,TSpdMan FROM KZ8TProductMethod Where TSpdTPdtCode=" +
      sql::Text(iProductCode) + StepCondition(iFromStep, useFullDown) + " ORDER BY TSpdStep DESC";
  double total = 0;
  double men = 0;
  {
    db::Recordset rs(*connection, DbTools().ConvertSQL(sql, DataObj.DatabaseKind()));
    for (; !rs.Eof(); rs.MoveNext()) {
      const Integer man = ConvertTools().ToInteger(rs.Text("TSpdMan"));
      men += man;
      const double weight = mode == kEachStepsMen && man != 0 ? man : 1;
      // A step without days or hours per day has no hours to give: an error, not 0.
      total +=
          rs.Field("TSpdEstimateDay").AsNumber() * rs.Field("TSpdHourPerDay").AsNumber() * weight;
    }
  }
  if (men == 0) men = 1;
  if (mode == kAllStepsMen) total *= men;

  const double quantity = DbTools().LookupNumber("TPd2TPdtCode", iProductCode, "TPd2TotalQuantity",
                                                 "KZ8TProduct2", *connection);
  return quantity > 0 ? total / quantity : total;
}

}  // namespace kz8mrp

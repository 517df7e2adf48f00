// Resetting a production order's progress: every step is outstanding again and
// nothing is finished, then the order's finished-goods receipts are posted
// again so that stock follows what was really received.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/DbTools.h"
#include "host/services/InventoryTools.h"
#include "jobs/Reading.h"

namespace kz8mrp {
namespace {

using db::Recordset;
using jobs::kUnitSuffixes;
using jobs::NumberOf;

void ResetStep(Recordset& step, const host::ConvertTools& convert) {
  for (const char* unit : kUnitSuffixes) {
    const String u = unit;
    step.Set("TJPMArrear" + u, step.Field("TJPMRequest" + u));
    step.Set("TJPMFinishQT" + u, 0);
  }
  // Without a requested quantity there is nothing to take a percentage of:
  // the old percentages stay.
  const double request = NumberOf(convert, step, "TJPMRequest");
  if (request != 0) {
    const double finished = 0;  // as just reset
    step.Set("TJPMFinishPC", finished / request * 100);
    step.Set("TJPMLossPC", NumberOf(convert, step, "TJPMLoss") / request * 100);
  }
  step.Update();
}

}  // namespace

Integer MRPObject::AdjustJOBProductionTR(const String& /*InventoryNo*/, const String& ProductionNo,
                                         bool /*CutMode*/, DataObj& DataObj, AppObj& AppObj,
                                         ClientObj& ClientObj) {
  const String kind = DataObj.DatabaseKind();
  Recordset steps(DataObj.Connection(),
                  DbTools().ConvertSQL("SELECT * FROM KZ8TJobProductionM Where TJPMTJPDNo= " +
                                           sql::Text(ProductionNo) + " ORDER BY TJPMLn",
                                       kind),
                  db::LockType::Optimistic);
  for (; !steps.Eof(); steps.MoveNext()) ResetStep(steps, ConvertTools());

  Recordset receipts(
      DataObj.Connection(),
      DbTools().ConvertSQL(
          "SELECT TInvNo FROM KZ8TInventory Where (TInvTInTAlias='RECEIVEFGBUILT' OR "
          "TInvTInTAlias='RECEIVEFGBUILTOUT' OR TInvTInTAlias='RECEIVEFGBUILTNOMRP' )  AND"
          " TinvApproveStatus=1 and TinvCancelStatus=0 AND TInvTJPDNo= " +
              sql::Text(ProductionNo) + " ORDER BY TInvNo",
          kind));
  for (; !receipts.Eof(); receipts.MoveNext()) {
    InventoryTools().Post(receipts.Text("TInvNo"), true, DataObj, AppObj, ClientObj);
  }
  return 0;
}

}  // namespace kz8mrp

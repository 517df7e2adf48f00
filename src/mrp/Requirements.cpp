// What approved jobs require of a product on a day, and the day rows that a
// job's material lines name.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Pool.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"

namespace kz8mrp {

double MRPObject::GETMR(DataObj& DataObj, const String& ProductCode, OleDate AtDate) {
  db::PooledConnection own(DataObj.ConnectionString());
  const String sql = "SELECT SUM(TJMtQuantity) FROM KZ8VJobMaterial WHERE TJbMSourceDate=#$" +
                     ConvertTools().SQLDate(AtDate) +
                     "#$ AND TJMtProductCode=" + sql::Text(ProductCode) +
                     " AND TJobApproveStatus=1 AND TJobCancelStatus=0";
  const db::ResultSet rs = own->Query(DbTools().ConvertSQL(sql, DataObj.DatabaseKind()));
  if (rs.rows.empty()) return 0;
  return ConvertTools().ToDouble(rs.rows.front().front().AsText());
}

Integer MRPObject::GenerateMRPFromMR(DataObj& DataObj, const String& JobNo) {
  db::PooledConnection own(DataObj.ConnectionString());
  const String sql = "SELECT * FROM KZ8VJobMaterial WHERE TJobNo=" + sql::Text(JobNo) +
                     " ORDER BY TJmtTPdtCode,TJobDate";
  for (db::Recordset rs(*own, DbTools().ConvertSQL(sql, DataObj.DatabaseKind())); !rs.Eof();
       rs.MoveNext()) {
    ByRef<OleDate> day(rs.Field("TJbMSourceDate").AsDate());
    GenerateMRP(DataObj, rs.Text("TJmtTPdtCode"), day.get(), day);
  }
  return 0;
}

}  // namespace kz8mrp

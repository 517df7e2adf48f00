// One reservation of section time on the machine schedule.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/SettingTools.h"

namespace kz8mrp {
namespace {

// A reservation longer than half a day spans the one-hour break as well.
double BreakHours(double hours) { return hours > 4 ? 1 : 0; }

}  // namespace

String MRPObject::CreateMPSTR(OleDate StartDateTime, double Hours, const String& ReserveType,
                              const String& BranchCode, OleDate DocDate, DataObj& DataObj,
                              AppObj& /*AppObj*/, ClientObj& ClientObj, const String& TSecCode,
                              const String& TJobNo, Long TJbMLn, Long TSpdStep, Long TJStLn,
                              Long TJStLevel) {
  db::Connection& connection = DataObj.Connection();
  String number = SettingTools().NewDocumentNo2("MPS", connection, DocDate, BranchCode);
  db::Recordset rs(connection, "SELECT * FROM KZ8TMPS  WHERE TMPSNo=" + sql::Text(number),
                   db::LockType::Optimistic);
  rs.AddNew();
  rs.Set("TMPSNo", number);
  rs.Set("TMPSTJStTJbMTJobNo", TJobNo);
  rs.Set("TMPSTJStTJbMLn", TJbMLn);
  rs.Set("TMPSTJStTSpdStep", TSpdStep);
  rs.Set("TMPSTJStLn", TJStLn);
  rs.Set("TMPSTJStLevel", TJStLevel);
  rs.Set("TMPSTSecCode", TSecCode);
  rs.Set("TMPSTBraCode", ClientObj.BranchCode());  // the workstation's branch, not the document's
  rs.Set("TMPSStartDate", StartDateTime);
  rs.Set("TMPSEndDate", StartDateTime.AddDays(ConvertTools().TimePart(Hours + BreakHours(Hours))));
  rs.Set("TMPSHour", Hours);
  rs.Set("TMPSReserveType", ReserveType);
  const OleDate start = rs.Field("TMPSStartDate").AsDate();
  rs.Set("TMPSYear", start.Year());
  rs.Set("TMPSWeek", start.WeekOfYear());
  rs.Set("TMPSDate", start.CalendarDay());  // capacity is summed by the start day
  rs.Set("TMPSStatus", 1);
  rs.Set("TMPSFlag1", 1);
  rs.Set("TMPSFlag3", DataObj.Now());
  rs.Update();
  return number;
}

}  // namespace kz8mrp

// Hours already reserved on the machine schedule: per section and day, and over
// a period for all reservations, holidays and maintenance.
#include <kz8mrp/MRPObject.h>

#include "calendar/DayWalk.h"
#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"

namespace kz8mrp {
namespace {

// Only reservations lying wholly inside the period count; one that crosses an
// edge of the period is left out altogether. The date texts are made start first.
String WhollyInside(const host::ConvertTools& convert, OleDate start, OleDate end) {
  const String start_text = convert.SQLDate(start);
  const String end_text = convert.SQLDate(end);
  return " AND (TMPSStartDate>=#$" + start_text + "#$ AND TMPSEndDate<=#$" + end_text + "#$)";
}

}  // namespace

double MRPObject::SumScheduleHours(const String& condition, DataObj& DataObj) {
  db::Connection& connection = DataObj.Connection();
  const String kind = DataObj.DatabaseKind();
  const String sql = "SELECT TMPSHour FROM KZ8TMPS WHERE TMPSNo<>''" + condition;
  db::Recordset rs(connection, DbTools().ConvertSQL(sql, kind));
  double sum = 0;
  for (; !rs.Eof(); rs.MoveNext()) sum += ConvertTools().ToDouble(rs.Text("TMPSHour"));
  return sum;
}

double MRPObject::GETCapAsDate(const String& SecCode, OleDate ADATE, const String& SkipTJobNo,
                               Long SkipTJbMLn, DataObj& DataObj) {
  // Finished-goods bookings never take capacity. The job filters narrow the sum
  // to what that job (line) has booked itself.
  return SumScheduleHours(
      calendar::ReservedOnDay(SecCode, ConvertTools().SQLDate(ADATE), SkipTJobNo, SkipTJbMLn),
      DataObj);
}

double MRPObject::GETCapPlaned(const String& SecCode, OleDate StartDateTime, OleDate EndDateTime,
                               DataObj& DataObj) {
  return SumScheduleHours(WhollyInside(ConvertTools(), StartDateTime, EndDateTime) +
                              " AND TMPSStatus=1 AND" +
                              " TMPSReserveType<>'FG' AND TMPSTSecCode=" + sql::Text(SecCode),
                          DataObj);
}

double MRPObject::GETHoliday(const String& /*SecCode*/, OleDate StartDateTime, OleDate EndDateTime,
                             DataObj& DataObj) {
  // Holidays of every section alike.
  return SumScheduleHours(WhollyInside(ConvertTools(), StartDateTime, EndDateTime) +
                              " AND TMPSStatus=1 AND TMPSReserveType='HD'",
                          DataObj);
}

double MRPObject::GETPMDay(const String& /*TAgtCode*/, OleDate StartDateTime, OleDate EndDateTime,
                           DataObj& DataObj) {
  // Preventive maintenance of every machine alike.
  return SumScheduleHours(WhollyInside(ConvertTools(), StartDateTime, EndDateTime) +
                              " AND TMPSStatus=1 AND TMPSReserveType='MM'",
                          DataObj);
}

}  // namespace kz8mrp

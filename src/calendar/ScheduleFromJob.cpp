// The machine schedule of one job: a finished-goods booking per planned step,
// then each step's working hours laid day by day onto its section.
#include <kz8mrp/MRPObject.h>

#include "calendar/DayWalk.h"
#include "calendar/OwnBookings.h"
#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"

#include <algorithm>

namespace kz8mrp {
namespace {

using calendar::DayAccount;
using calendar::DayWalk;
using calendar::kOfficeStart;

String FinishedGoodsQuery(const String& job_no) {
  return String(
             "SELECT TJobNo,TJbMLn,TJbMStartDate,TJbMSourceDate,TJobTBraCode,TJobDate,"
             "TJstPlanStartDate,TJstPlanEndDate,TJStTSepCode,TSepTSecCode,TJStTJbMTJobNo,"
             "TJStTJbMLn,TJStTSpdStep,TJStLn,") +
         "TJStLevel  FROM KZ8TMRPStepName RIGHT JOIN ((KZ8TJob INNER JOIN KZ8TJobMB ON "
         "(KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo) AND (KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo)) "
         "INNER JOIN" +
         " KZ8TJobMethod ON (KZ8TJobMB.TJbMLn = KZ8TJobMethod.TJStTJbMLn) AND "
         "(KZ8TJobMB.TJbMTJobNo = KZ8TJobMethod.TJStTJbMTJobNo)) ON KZ8TMRPStepName.TSepCode =" +
         " KZ8TJobMethod.TJStTSepCode  WHERE TJbMTJobNo=" + sql::Text(job_no) +
         " ORDER BY TJbMLn,TJstLn";
}

String ProductionQuery(const String& job_no) {
  return String(
             "SELECT TJobNo,TJbMLn,TJstTSepCode,TJStEstimateDay,TJStSetupTime,"
             "TJstPlanStartDate,TJStTSpdStep,TJStLn,TJStLevel,TJobTBraCode,TJobDate FROM "
             "KZ8TJob INNER JOIN (KZ8TJobMB INNER") +
         " JOIN KZ8TJobMethod ON (KZ8TJobMB.TJbMLn = KZ8TJobMethod.TJStTJbMLn) AND "
         "(KZ8TJobMB.TJbMTJobNo = KZ8TJobMethod.TJStTJbMTJobNo)) ON (KZ8TJob.TJobNo = "
         "KZ8TJobMB.TJbMTJobNo) AND" +
         " (KZ8TJob.TJobNo = KZ8TJobMB.TJbMTJobNo)  WHERE TJStTJbMTJobNo=" + sql::Text(job_no) +
         " ORDER BY TJStTJbMLn,TJStLn";
}

// A step row of either pass, read null-safe where a missing value counts as 0.
struct Step {
  String job_no;
  Long line;
  Long spd_step;
  Long step_line;
  Long level;
  String branch;

  Step(const db::Recordset& rs, const host::ConvertTools& convert, const char* job_column,
       const char* line_column)
      : job_no(rs.Text(job_column)),
        line(convert.ToLong(rs.Text(line_column))),
        spd_step(convert.ToLong(rs.Text("TJStTSpdStep"))),
        step_line(convert.ToLong(rs.Text("TJStLn"))),
        level(convert.ToLong(rs.Text("TJStLevel"))),
        branch(rs.Text("TJobTBraCode")) {}

  // A date the schedule cannot do without: no day or duration follows from a Null.
  OleDate Date(const db::Recordset& rs, const char* column) const {
    const db::Value& value = rs.Field(column);
    if (value.IsNull()) {
      throw Error(errc::kInvalidUseOfNull, "Invalid use of Null: " + String(column) + " of job " +
                                               job_no + " line " + std::to_string(line) +
                                               " step line " + std::to_string(step_line) +
                                               " is empty");
    }
    return value.AsDate();
  }
};

// Lays one step's working hours day by day onto its section from its planned
// start. Only what the job line already holds on the section that day limits
// it; other jobs, holidays and maintenance do not.
struct StepLayout {
  MRPObject& engine;
  DataObj& data;
  AppObj& app;
  ClientObj& client;
  calendar::OwnBookings& own;

  String LayOut(const db::Recordset& rs, const Step& step, const String& section,
                double section_hours, double remaining, OleDate day) {
    String last_number;
    DayWalk guard({"section '" + section + "' for job " + step.job_no + " line " +
                       std::to_string(step.line) + " from " + day.DateText(),
                   section, step.job_no, step.line});
    const calendar::OwnBookings::Line line{section, step.job_no, step.line};
    while (remaining > 0) {
      // Days the line's earlier steps filled in this run offer nothing.
      const OleDate open = own.FirstOpenDay(line, day, section_hours);
      guard.PassedOver(static_cast<int>(open.DaysSince(day)));
      day = open;
      const double reserved = engine.GETCapAsDate(section, day, step.job_no, step.line, data);
      DayAccount account{day, section_hours, reserved, section_hours - reserved};
      const double hours = account.free > 0 ? std::min(account.free, remaining) : 0;
      account.taken = hours;
      account.left = remaining - hours;
      guard.Examined(account);  // as the day stood before this step's booking
      if (hours > 0) {
        last_number =
            engine.CreateMPSTR(day.AddDays(kOfficeStart), hours, "WIP", step.branch,
                               step.Date(rs, "TJobDate"), data, app, client, section, step.job_no,
                               step.line, step.spd_step, step.step_line, step.level);
        own.Add(line, day, hours);
        remaining -= hours;
      }
      day = day.AddDays(1);
    }
    guard.Finished("the step's hours are booked, the last on " + last_number);
    return last_number;
  }
};

// A job with more routing rows than the server's statistics know in the whole
// table (the first large job of a new plant, before the server has looked at
// it) would have its lines joined to its steps by a scan of the whole job per
// line. The statistics are brought up to date first; tables another session
// is analysing are left as they are rather than waited for.
void KnowTheJob(db::Connection& connection, const String& job_no) {
  if (connection.kind() != db::Kind::PostgreSQL) return;
  const db::ResultSet stale = connection.Query(
      "SELECT CASE WHEN c.reltuples < (SELECT COUNT(*) FROM KZ8TJobMethod WHERE "
      "TJStTJbMTJobNo=$1) THEN 1 ELSE 0 END FROM pg_class c WHERE c.oid = "
      "to_regclass('kz8tjobmethod')",
      {db::Value(job_no)});
  if (stale.rows.empty() || stale.rows[0][0].AsNumber() != 1) return;
  connection.Execute("ANALYZE (SKIP_LOCKED) KZ8TJob, KZ8TJobMB, KZ8TJobMethod");
}

}  // namespace

String MRPObject::CreateMPSFromJobTR(const String& DocNo, DataObj& DataObj, AppObj& AppObj,
                                     ClientObj& ClientObj) {
  db::Connection& connection = DataObj.Connection();
  // A booking's row goes to the server with the next day's capacity question.
  db::ChangeBatch changes(connection);
  double day_hours = SettingTools().GetNumber("MRPHourPerDay", connection);
  if (day_hours == 0) day_hours = 8;

  KnowTheJob(connection, DocNo);
  // Every reservation of the job goes, whatever its type or status.
  DataObj.ExecuteSQL("DELETE FROM KZ8TMPS WHERE TMPSTJStTJbMTJobNo=" + sql::Text(DocNo));

  String last_number;
  {
    db::Recordset rs(connection, FinishedGoodsQuery(DocNo));
    for (; !rs.Eof(); rs.MoveNext()) {
      if (rs.Field("TJbMStartDate").IsNull() || rs.Field("TJbMSourceDate").IsNull()) continue;
      const Step step(rs, ConvertTools(), "TJStTJbMTJobNo", "TJStTJbMLn");
      const OleDate start = step.Date(rs, "TJstPlanStartDate");
      const double hours = step.Date(rs, "TJstPlanEndDate").DaysSince(start) * day_hours;
      last_number = CreateMPSTR(start, hours, "FG", step.branch, step.Date(rs, "TJobDate"), DataObj,
                                AppObj, ClientObj, rs.Text("TSepTSecCode"), step.job_no, step.line,
                                step.spd_step, step.step_line, step.level);
    }
  }

  calendar::OwnBookings own;
  StepLayout layout{*this, DataObj, AppObj, ClientObj, own};
  db::Recordset rs(connection, ProductionQuery(DocNo));
  for (; !rs.Eof(); rs.MoveNext()) {
    const Step step(rs, ConvertTools(), "TJobNo", "TJbMLn");
    const String section =
        DbTools().QueryText("TSepTSeccode",
                            "SELECT TSepTSeccode FROM KZ8TMRPStepName WHERE TSepCode=" +
                                sql::Text(rs.Text("TJstTSepCode")),
                            connection);
    double section_hours = DbTools().QueryNumber(
        "TSecHOffice", "SELECT TSecHOffice FROM KZ8TSection WHERE TSecCode=" + sql::Text(section),
        connection);
    if (section_hours == 0) section_hours = 8;
    // The setup time is taken off the estimate once per step.
    const double remaining =
        (ConvertTools().ToDouble(rs.Text("TJStEstimateDay")) -
         ConvertTools().TimeOfDay(ConvertTools().ToDouble(rs.Text("TJStSetupTime")))) *
        section_hours;
    const OleDate day = step.Date(rs, "TJstPlanStartDate").CalendarDay();

    // The step's finished-goods booking gives way to its production hours.
    DataObj.ExecuteSQL("Update KZ8TMPS Set TMPSStatus=0 WHERE TMPSTJStTJbMTJobNo=" +
                       sql::Text(step.job_no) + " AND TMPSTJStTJbMLn=" + sql::Number(step.line) +
                       " AND TMPSTJStTSpdStep =" + sql::Number(step.spd_step) +
                       " AND TMPSTJStLn=" + sql::Number(step.step_line) +
                       " AND TMPSTJStLevel=" + sql::Number(step.level));

    const String booked = layout.LayOut(rs, step, section, section_hours, remaining, day);
    if (!booked.empty()) last_number = booked;
  }
  changes.Send();
  return last_number;
}

}  // namespace kz8mrp

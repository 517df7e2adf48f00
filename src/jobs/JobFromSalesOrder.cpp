// A job made (or made again) from a sales order: one header, one job line and
// one routing row per sales-order line, then the job's totals brought up to
// date against the production orders that already name it.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"
#include "jobs/JobRows.h"
#include "jobs/Reading.h"

namespace kz8mrp {
namespace {

using db::LockType;
using db::Recordset;

// A rebuilt job loses all it had below its header; the header is overwritten.
void ClearJobChildren(db::Connection& connection, const String& job_no) {
  const String job = sql::Text(job_no);
  connection.Change("DELETE FROM KZ8TJobDL WHERE TJDLTJbMTJobNo=" + job);
  connection.Change("DELETE FROM KZ8TJobMaterial WHERE TJMtTJbMTJobNo=" + job);
  connection.Change("DELETE FROM KZ8TJobMethod WHERE TJStTJbMTJobNo=" + job);
  connection.Change("DELETE FROM KZ8TJobMB WHERE TJbMTJobNo=" + job);
}

// Opens a row for writing: the one the key selects, or a new one.
void OpenRow(Recordset& rs) {
  if (rs.Eof()) rs.AddNew();
}

}  // namespace

String MRPObject::CreateJOBfromSO2TR(const String& SONo, const String& iJobNo, const String& iBook,
                                     Integer iType, DataObj& DataObj, AppObj& AppObj,
                                     ClientObj& ClientObj) {
  db::Connection& connection = DataObj.Connection();
  Recordset so(connection,
               "SELECT * FROM KZ8TSO INNER JOIN KZ8TSOMB ON KZ8TSO.TSODNo = KZ8TSOMB.TSOBTSODNo "
               "LEFT JOIN KZ8TSO2 ON KZ8TSO.TSODNo = KZ8TSO2.TSO2TSODNo LEFT JOIN KZ8TSO3 ON "
               "KZ8TSO.TSODNo = KZ8TSO3.TSO3TSODNo  WHERE TSODNo=" +
                   sql::Text(SONo) + " ORDER" + " BY TSOBLn");
  if (so.Eof()) return {};  // an order without lines makes no job
  // The job's rows go to the server with the next line's read.
  db::ChangeBatch changes(connection);

  jobs::JobStamp stamp;
  stamp.job_no = iJobNo;
  if (stamp.job_no.empty()) {
    const OleDate document_date = ConvertTools().SplitCode(so.Text("TSODNo"), DataObj.Today());
    stamp.job_no = SettingTools().NewDocumentNo("JOB", connection, document_date,
                                                ClientObj.BranchCode(), iBook);
  }
  stamp.so_no = SONo;
  stamp.book = iBook;
  stamp.type = iType;
  stamp.user_name = ClientObj.UserName();
  stamp.user_code = ClientObj.UserCode();
  stamp.today = DataObj.Today();
  stamp.now = DataObj.Now();

  ClearJobChildren(connection, stamp.job_no);
  {
    Recordset header(connection, "SELECT * FROM KZ8TJob  WHERE TJobNo=" + sql::Text(stamp.job_no),
                     LockType::Optimistic);
    OpenRow(header);
    jobs::FillJobHeader(header, so, stamp, ConvertTools());
    header.Update();
  }

  // Every routing row of the job is put on the step the plant approves orders at.
  const String step_setting = iType == 3 ? "SEAPPROVEJOBSTEPCODE" : "SOAPPROVEJOBSTEPCODE";
  stamp.step_code =
      DbTools().LookupText("TSepCode", SettingTools().GetText(step_setting, connection), "TSepCode",
                           "KZ8TMRPStepName", connection);

  Long running_no = 0;
  for (; !so.Eof(); so.MoveNext()) {
    Recordset line(connection,
                   "SELECT * FROM KZ8TJobMB  WHERE TJbMTJobNo=" + sql::Text(stamp.job_no) +
                       " AND TJbMLn=" + sql::Number(jobs::NumberOf(ConvertTools(), so, "TSOBLn")),
                   LockType::Optimistic);
    OpenRow(line);
    jobs::FillJobLine(line, so, stamp, ConvertTools());
    line.Update();

    ++running_no;
    Recordset routing(
        connection, "SELECT * FROM KZ8TJobMethod  WHERE TJStTJbMTJobNo=" + sql::Text(stamp.job_no),
        LockType::Optimistic);
    routing.AddNew();
    jobs::FillJobRouting(routing, so, running_no, stamp, ConvertTools());
    routing.Update();
  }

  AdjustJOB2TR("", stamp.job_no, true, DataObj, AppObj, ClientObj);
  changes.Send();
  return stamp.job_no;
}

}  // namespace kz8mrp

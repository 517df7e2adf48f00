// Which jobs are still open to change, and picking an open job from a list.
// Unless the plant lets invoicing leave jobs open, an invoiced job counts as
// finished once its invoice closing date has passed.
#include <kz8mrp/MRPObject.h>

#include "common/Text.h"
#include "host/Sql.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"

namespace kz8mrp {
namespace {

String InvoiceFilter(DataObj& data, const host::SettingTools& settings,
                     const host::ConvertTools& convert) {
  const bool ignore_invoicing =
      settings.GetFlag(data.Client().Identity(), "ACCOUNTIGNOREJOBCOMPLETED",
                       data.ConnectionString(), data.App().Identity(), true);
  if (ignore_invoicing) return {};
  return " AND (TJobInvoiceStatus=0 or TJobInvoiceStatus is null  OR TJobIVCloseDate>=" +
         sql::Text(convert.SQLDate(data.Today())) + ")";
}

}  // namespace

bool MRPObject::CanEditJob(const String& JobNo, DataObj& DataObj) {
  const String filter = InvoiceFilter(DataObj, SettingTools(), ConvertTools());
  const String job = "KZ8TJob WHERE TJobNo=" + sql::Text(JobNo);
  // A job that is not stored yet is still being written: it may be edited.
  if (DbTools().Count("TJobNo", job, DataObj.ConnectionString()) == 0 ||
      text::Trim(JobNo).empty()) {
    return true;
  }
  return DbTools().Count("TJobNo", job + " AND TJobCancelstatus=0 " + filter,
                         DataObj.ConnectionString()) > 0;
}

String MRPObject::SelectJob(const String& BranchCode, DataObj& DataObj) {
  String filter = InvoiceFilter(DataObj, SettingTools(), ConvertTools());
  if (!BranchCode.empty()) filter += " AND TJobTBraCode=" + sql::Text(BranchCode);
  const bool english = DataObj.App().EnglishUI() != 0;

  host::PickListRequest request;
  request.title = english ? "Select Job Order" : "เลือกรหัสงาน";
  request.return_columns = "TJobNo";
  request.columns = "TjobNo,TjobDate,TJobCode,TJobTPrjCode";
  request.captions = english ? "Job No,Job Date,Job Code,Project" : "เลขที่งาน,วันที่งาน,รหัสงาน,โครงการ";
  request.widths = "1800,1000,2000,1000";
  request.formats = "0,6,0,0";
  request.rows =
      "KZ8TJob WHERE TJobCancelstatus=0 AND TJobApproveStatus=1 " + filter + " ORDER BY TJobNo";
  return DbTools().PickList(request, DataObj.ConnectionString(), DataObj.App());
}

}  // namespace kz8mrp

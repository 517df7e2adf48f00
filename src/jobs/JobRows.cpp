#include "jobs/JobRows.h"

#include "jobs/Reading.h"

#include <initializer_list>
#include <utility>

namespace kz8mrp::jobs {
namespace {

using db::Recordset;
using db::Value;
using Columns = std::initializer_list<const char*>;
using ColumnPairs = std::initializer_list<std::pair<const char*, const char*>>;

void SetAll(Recordset& target, Columns columns, const Value& value) {
  for (const char* column : columns) target.Set(column, value);
}

// The source column as text: a null gives an empty text.
void CopyTexts(Recordset& target, const Recordset& so, ColumnPairs pairs) {
  for (const auto& [column, source] : pairs) target.Set(column, so.Text(source));
}

// The source column as it is, null included.
void CopyValues(Recordset& target, const Recordset& so, ColumnPairs pairs) {
  for (const auto& [column, source] : pairs) target.Set(column, so.Field(source));
}

// The job code shown to users: the order's own code, else the first line's
// job code, else the line's second custom field.
String JobCode(const Recordset& so) {
  for (const char* source : {"TSODCode", "TSOBJobCode", "TSOBCustom2"}) {
    String code = so.Text(source);
    if (!code.empty()) return code;
  }
  return {};
}

// A job is made closed only when its source is finished already: a closed
// sales order, or for an estimate (type 3) a verified one.
int CloseStatus(const Recordset& so, Integer type, const host::ConvertTools& convert) {
  if (type != 3 && convert.ToInteger(so.Text("TSO2Status")) == 2) return 1;
  if (type == 3 && convert.ToInteger(so.Text("TSODVerifyStatus")) == 1) return 1;
  return 0;
}

}  // namespace

void FillJobHeader(Recordset& h, const Recordset& so, const JobStamp& stamp,
                   const host::ConvertTools& convert) {
  h.Set("TJobNo", stamp.job_no);
  h.Set("TJobCode", JobCode(so));
  h.Set("TJobTJbkCode", stamp.book);
  h.Set("TJobType", stamp.type);
  CopyValues(h, so, {{"TJobDate", "TSODDate"}, {"TJobFinishDate", "TSODDeliveryDate"}});
  h.Set("TJobRefNo", stamp.so_no);
  h.Set("TJobRefLn", 0);
  CopyTexts(h, so,
            {{"TJobRefNo2", "TSODRefNo"},
             {"TJobTBraCode", "TSODTBraCode"},
             {"TJobTARNCode", "TSODTARNCode"},
             {"TJobCustomerName", "TSODCustomerName"},
             {"TJobTPrjCode", "TSODTPrjCode"},
             {"TJobDescription", "TSODDescription"},
             {"TJobRequestCode", "TSODTEmpCode"},
             {"TJobRequestBy", "TSODSaleName"}});
  SetAll(h,
         {"TJobTSecCode", "TJobTDepCode", "TJobTDivCode", "TJobCloseBy", "TJobCloseNote",
          "TJobCancelNo", "TJobCancelBy", "TJobCancelNote", "TJobApproveNote"},
         String());
  SetAll(h,
         {"TJobTotalArrear", "TJobTotalArrear2", "TJobTotalArrear3", "TJobTotalRequest",
          "TJobTotalRequest2", "TJobTotalRequest3", "TJobTotalFinishPC", "TJobTotalFinishQT",
          "TJobTotalFinishQT2", "TJobTotalFinishQT3", "TJobCancelStatus"},
         0);
  h.Set("TJobCloseStatus", CloseStatus(so, stamp.type, convert));
  SetAll(h, {"TJobCloseDate", "TJobCancelDate", "TJobConfirmDate", "TJobApproveDate"}, stamp.today);
  SetAll(h, {"TJobCreateDate", "TJobEditDate", "TJobFlag3"}, stamp.now);
  SetAll(h, {"TJobCreateBy", "TJobEditBy", "TJobConfirmBy", "TJobApproveBy"}, stamp.user_name);
  h.Set("TJobEditCode", stamp.user_code);
  // Made from an accepted sales order, a job starts confirmed and approved.
  SetAll(h, {"TJobConfirmStatus", "TJobApproveStatus", "TJobFlag1"}, 1);
  CopyValues(h, so, {{"TJOBRevision", "TSODRevision"}});
}

void FillJobLine(Recordset& m, const Recordset& so, const JobStamp& stamp,
                 const host::ConvertTools& convert) {
  m.Set("TJbMTJobNo", stamp.job_no);
  CopyValues(m, so,
             {{"TJbMLn", "TSOBLn"},
              {"TJbMSourceNo", "TSOBTSODNo"},
              {"TJbMSourceLn", "TSOBLn"},
              {"TJbMSourceDate", "TSOBRequestDate"},
              {"TJbMTPdtCode", "TSOBTPOSCode"},
              {"TJbMProductName", "TSOBPOSName"},
              {"TJbMUnitCalc", "TSOBUnitCalc"},
              {"TJbMUnitFactor", "TSOBUnitFactor"},
              {"TJbMQuantityCalc", "TSOBQuantityCalc"},
              {"TJbMAcceptError", "TSOBAcceptError"},
              {"TJbMDescription", "TSOBDescription"}});
  // A line without a product is a text line (type 0).
  m.Set("TJbMType", so.Text("TSOBTPOSCode").empty() ? 0 : 1);
  for (const char* unit : kUnitSuffixes) {
    const String u = unit;
    // All of the ordered quantity is to be produced and still to be ordered.
    const Value& quantity = so.Field("TSOBQuantity" + u);
    for (const char* column : {"TJbMQuantity", "TJbMUseOrder", "TJbMTotalArrear"}) {
      m.Set(column + u, quantity);
    }
    m.Set("TJbMTUntCode" + u, so.Field("TSOBTUntCode" + u));
    for (const char* column :
         {"TJbMStockOnHand", "TJbMUseStock", "TJbMTotalRequest", "TJbMFinishQT"}) {
      m.Set(column + u, 0);
    }
  }
  // A revised sales order marks its job lines for review.
  m.Set("TJbMProcessStatus", NumberOf(convert, so, "TSODRevision") == 0 ? 0 : 2);
  SetAll(m,
         {"TJbMFinishPC", "TJbMStandardTotal", "TJbMStandardUnit", "TJbMCustomValue1",
          "TJbMCustomValue2", "TJbMCustomValue3", "TJbMCustomValue4", "TJbMCustomValue5"},
         0);
  SetAll(m,
         {"TJbMCustomText1", "TJbMCustomText2", "TJbMCustomText3", "TJbMCustomText4",
          "TJbMCustomText5", "TJbMCustomText6", "TJbMCustomText7", "TJbMCustomText8",
          "TJbMCustomText9", "TJbMCustomText10", "TjbMShippingMark"},
         String());
  CopyTexts(m, so,
            {{"TJbMCustom1", "TSOBCustom1"},
             {"TJbMCustom2", "TSOBCustom2"},
             {"TJbMCustom3", "TSOBCustom3"}});
  m.Set("TJbMFlag1", 1);
  m.Set("TJbMFlag3", stamp.now);
}

void FillJobRouting(Recordset& s, const Recordset& so, Long running_no, const JobStamp& stamp,
                    const host::ConvertTools& convert) {
  s.Set("TJStTJbMTJobNo", stamp.job_no);
  // Line 0 still needs a routing row that belongs to a line: it goes to line 1.
  const double line_no = NumberOf(convert, so, "TSOBLn");
  s.Set("TJStTJbMLn", line_no == 0 ? 1.0 : line_no);
  SetAll(s, {"TJStTSpdStep", "TJStLevel", "TJStFlag1"}, 1);
  s.Set("TJStLn", running_no);
  const Value& order_date = so.Field("TSODDate");
  s.Set("TJStWeek", order_date.IsNull() ? Value() : Value(order_date.AsDate().WeekOfYear()));
  CopyTexts(s, so, {{"TJStTPdtCode", "TSOBTPOSCode"}});
  CopyValues(s, so,
             {{"TJStQuantity", "TSOBQuantity"},
              {"TJstPlanStartDate", "TSODDate"},
              {"TJstPlanEndDate", "TSODDate"}});
  s.Set("TJStTSepCode", stamp.step_code);
  SetAll(s,
         {"TJStAlternative", "TJStSelfMaterial", "TJStManBOM", "TJStMachineBOM", "TJStMan",
          "TJStMachine", "TJStHourPerDay", "TJStHolidayType", "TJStCapacity", "TJStCapacityHour",
          "TJStCapPerHour", "TJStCapPerDay", "TJStEstimateDay", "TJStSetupTime", "TJStLeadIn",
          "TJStLeadOut", "TJStDependent", "TJStProcessStatus"},
         0);
  SetAll(s,
         {"TJstTAgtCode", "TJstTQCSCode", "TJstEngine", "TJStFormulaCode", "TJStLink1",
          "TJStFormulaName"},
         String());
  s.Set("TJStFlag3", stamp.now);
}

}  // namespace kz8mrp::jobs

// A process order for one routing line of a job line: the line's product and
// quantity at that step, its own routing rows, the materials and labour of its
// product at that level, numbered in the book its step names.
#include <kz8mrp/MRPObject.h>

#include "common/Text.h"
#include "host/Sql.h"
#include "host/services/SettingTools.h"
#include "production/OrderLines.h"

namespace kz8mrp {
namespace {

using orders::OrderContext;
using orders::Recordset;

// The job line's description, with the routing line's remark on a line of its own.
String DescriptionOf(const Recordset& line, const Recordset& routing) {
  String description = line.Text("TjbMDescription");
  const String remark = routing.Text("TJStRemark");
  if (remark.empty()) return description;
  return description.empty() ? remark : description + "\r\n" + remark;
}

orders::HeaderValues HeaderOf(const Recordset& line, const Recordset& routing,
                              const orders::ProductFacts& product, double new_quantity) {
  orders::HeaderValues v;
  v.status_order = 4;
  v.names_approver = true;
  v.job_no = line.Text("TJobNo");
  v.job_code = line.Text("TJobCode");
  v.job_line = static_cast<Long>(line.Field("TJbMLn").AsNumber());
  v.project = line.Text("TJobTPrjCode");
  v.product_code = routing.Field("TJStTPdtCode");
  orders::TakeProduct(v, product);
  v.dates = routing.Field("TJstPlanEndDate");
  // The routing line's quantity, or the planner's; units 2 and 3 stay 0.
  v.quantities[0] = new_quantity > 0 ? new_quantity : orders::StrictNumber(routing, "TJStQuantity");
  v.description = DescriptionOf(line, routing);
  v.customs = {line.Text("TJbMCustom1"), line.Text("TJbMCustom2"), line.Text("TJbMCustom3")};
  return v;
}

// Where the routing line's rows and the job line's materials and labour are
// read from, and where each goes in the order.
struct RoutingLine {
  String job, line_no, level, method_ln;

  String StepSource() const {
    return "SELECT * FROM KZ8VJobMethod Where TJStTJbMTJobNo= " + job +
           "and TJstTJbMLn=" + line_no + " AND TJSTLevel=" + level + " AND TJsTLn=" + method_ln +
           " ORDER BY TJstTSpdStep,TJsTLn";
  }
  // Every material and labour row of the job line at this level for the
  // product made here, whichever of its routing lines it was planned on.
  String MaterialSource(const String& product) const {
    return "SELECT * FROM KZ8TJobMaterial Where TJMtTJbMTJobNo= " + job +
           "and TJMtTJbMLn=" + line_no + " AND TJMTLevel=" + level +
           " AND TJMtTPdtCode=" + sql::Text(product) + " ORDER BY TJMTLn";
  }
  String LabourSource(const String& product) const {
    return "SELECT * FROM KZ8TJobDL Where TJDLTJbMTJobNo= " + job + "and TJDLTJbMLn=" + line_no +
           " AND TJDLLevel=" + level + " AND TJDLTPdtCode=" + sql::Text(product) +
           " ORDER BY TJDLLn";
  }
};

}  // namespace

String MRPObject::CreateProcessOrderFromJobMethodLevel2TR(const String& JobNo, Long JbMLn,
                                                          Long Level, Long MethodLn,
                                                          Integer ApproveStatus, DataObj& DataObj,
                                                          AppObj& AppObj, ClientObj& ClientObj,
                                                          double NewQuantity) {
  try {
    OrderContext ctx(DataObj, ClientObj, ConvertTools(), DbTools());
    const RoutingLine at{sql::Text(JobNo), sql::Number(JbMLn), sql::Number(Level),
                         sql::Number(MethodLn)};
    // A routing line that is not there, or on a job line that is not, gets no
    // order; such a call writes nothing, not even a history record without a
    // number. Its step's name carries the book the order is numbered in.
    const Recordset routing =
        ctx.Open(" SELECT * FROM KZ8VJobMethod Where TJSTTJbMTJobNo=" + at.job +
                 " AND TJSTTJbMLn=" + at.line_no + " AND TJSTLevel=" + at.level +
                 " AND TJsTLn=" + at.method_ln + " Order By TJStTJbMTJobNo,TJstTjbMLn,tjstln");
    if (routing.Eof()) return {};
    const Recordset line = ctx.Open(" SELECT * FROM KZ8VJob Where TJobNo=" + at.job +
                                    " AND TJbMLn=" + at.line_no + " Order By TJobNo,TjbMLn");
    if (line.Eof()) return {};
    const String product_code = routing.Text("TJStTPdtCode");
    orders::ProductMaster products(ctx);
    orders::HeaderValues header =
        HeaderOf(line, routing, products.Facts(product_code), NewQuantity);

    orders::LockJob(ctx, JobNo);
    const orders::OrderNumber number = orders::NumberOrder(
        ctx, SettingTools(), "PRODUCTIONPROCESS", String(text::Trim(routing.Text("TSepDocCode"))),
        line.Text("TJobTJbkCode"));
    ctx.order_no = number.number;
    ctx.approve_status = ApproveStatus;
    header.book = number.book;
    orders::WriteHeader(ctx, header);

    orders::Span span(header.dates);
    const Long steps = orders::CopyLines(
        ctx, {at.StepSource(), orders::AtLine(ctx, orders::LineTable::Steps),
              [&](Recordset& row, const Recordset& s, Long n) {
                orders::FillJobStep(row, s, n, orders::OrderKind::Process, ctx, products, span);
              }});
    orders::WriteHeaderSpan(ctx, steps, span);
    orders::CopyLines(
        ctx, {at.MaterialSource(product_code), orders::AtLine(ctx, orders::LineTable::Materials),
              [&ctx](Recordset& row, const Recordset& s, Long n) {
                orders::FillJobMaterial(row, s, n, orders::OrderKind::Process, ctx);
              }});
    orders::CopyLines(
        ctx, {at.LabourSource(product_code), orders::AtLine(ctx, orders::LineTable::Labour),
              [&ctx](Recordset& row, const Recordset& s, Long n) {
                orders::FillJobLabour(row, s, n, ctx);
              }});

    orders::ConcludeOrder(*this, ctx, SettingTools(), AppObj, ClientObj, "MRPJOBCBUILTPROCESS");
    return ctx.order_no;
  } catch (const std::exception&) {
    return {};  // no order stands; the caller rolls back what was written
  }
}

}  // namespace kz8mrp

// A production order for one job line: the line's product and quantity, its
// routing steps, materials and labour copied in, and, once approved, the job's
// totals brought up to date.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/services/SettingTools.h"
#include "production/OrderLines.h"

namespace kz8mrp {
namespace {

using orders::OrderContext;

// The line's quantity to make in its three units, or `new_quantity` in unit 1
// with units 2 and 3 scaled alike. Checked before anything is written: a line
// with nothing to make cannot be rescaled.
std::array<double, 3> OrderQuantities(const OrderContext& ctx, const orders::Recordset& line,
                                      double new_quantity) {
  std::array<double, 3> q = {orders::StrictNumber(line, "TJbMUseORder"),
                             ctx.NumberOf(line, "TJbMUseORder2"),
                             ctx.NumberOf(line, "TJbMUseORder3")};
  if (new_quantity > 0) {
    if (q[0] == 0) throw Error(errc::kDivisionByZero, "Division by zero");
    q = {new_quantity, q[1] / q[0] * new_quantity, q[2] / q[0] * new_quantity};
  }
  return q;
}

orders::HeaderValues HeaderOf(const OrderContext& ctx, const orders::Recordset& line,
                              const String& book, orders::ProductMaster& products) {
  orders::HeaderValues v;
  v.book = book;
  v.job_no = line.Text("TJobNo");
  v.job_code = line.Text("TJobCode");
  v.job_line = static_cast<Long>(ctx.NumberOf(line, "TJbMLn"));
  v.project = line.Text("TJobTPrjCode");
  v.product_code = line.Text("TJbMTPdtCode");
  // Name and units as the job line has them; the rest from the product master.
  orders::TakeProduct(v, products.Facts(line.Text("TJbMTPdtCode")));
  v.product_name = line.Field("TJbMProductName");
  v.units = {line.Field("TJbMtUntcode"), line.Field("TJbMtUntcode2"), line.Field("TJbMtUntcode3")};
  v.description = line.Text("TjbMDescription");
  v.customs = {line.Text("TJbMCustom1"), line.Text("TJbMCustom2"), line.Text("TJbMCustom3")};
  return v;
}

// The order row a job line's row goes to: found by the order number, the
// source row's level and step, and the running line number.
auto AtLevelAndStep(const OrderContext& ctx, const char* select, const char* level,
                    const char* step, const char* line, const char* source_level,
                    const char* source_step) {
  return [&ctx, select, level, step, line, source_level, source_step](const orders::Recordset& s,
                                                                      Long n) {
    return select + sql::Text(ctx.order_no) + level +
           orders::EqualsNumber(s, source_level, ctx.convert) + step +
           orders::EqualsNumber(s, source_step, ctx.convert) + line + sql::Number(n);
  };
}

orders::LineCopy StepCopy(const OrderContext& ctx, const String& job, const String& line_no,
                          orders::ProductMaster& products, orders::Span& span) {
  return {"SELECT * FROM KZ8VJobMethod Where TJStTJbMTJobNo= " + sql::Text(job) +
              "and TJstTJbMLn=" + line_no + " ORDER BY TJsTLn",
          AtLevelAndStep(ctx, "SELECT * FROM KZ8TJobProductionM Where TJpMTJpdNo=", "And TJPMLevel",
                         " AND TJPmStep", " AND TJpMLn=", "TJstLevel", "TJstTSpdStep"),
          [&ctx, &products, &span](orders::Recordset& row, const orders::Recordset& s, Long n) {
            orders::FillJobStep(row, s, n, orders::OrderKind::Production, ctx, products, span);
          }};
}

orders::LineCopy MaterialCopy(const OrderContext& ctx, const String& job, const String& line_no) {
  return {"SELECT * FROM KZ8TJobMaterial Where TJMtTJbMTJobNo= " + sql::Text(job) +
              " and TJMtTJbMLn=" + line_no + " ORDER BY TJMTLn",
          AtLevelAndStep(ctx, "SELECT * FROM KZ8TJobProdMat Where TMteTJPDNo=", " AND TMteLevel",
                         " AND TMteStep", " AND TMteLn=", "TJMtLevel", "TJMtTSpdStep"),
          [&ctx](orders::Recordset& row, const orders::Recordset& s, Long n) {
            orders::FillJobMaterial(row, s, n, orders::OrderKind::Production, ctx);
          }};
}

orders::LineCopy LabourCopy(const OrderContext& ctx, const String& job, const String& line_no) {
  return {"SELECT * FROM KZ8TJobDL Where TJDLTJbMTJobNo= " + sql::Text(job) +
              "and TJDLTJbMLn=" + line_no + " ORDER BY TJDLLevel,TJDLLn",
          AtLevelAndStep(ctx, "SELECT * FROM KZ8TJobProdDL Where TJPLTJPDNo=", " AND TJPLLevel",
                         " AND TJPLStep", " AND TJPLLn=", "TJDLLevel", "TJDLTSpdStep"),
          [&ctx](orders::Recordset& row, const orders::Recordset& s, Long n) {
            orders::FillJobLabour(row, s, n, ctx);
          }};
}

}  // namespace

String MRPObject::CreateProductionOrderFromJobLn3TR(const String& JobNo, Long JbMLn,
                                                    Integer ApproveStatus, DataObj& DataObj,
                                                    AppObj& AppObj, ClientObj& ClientObj,
                                                    double NewQuantity, const String& Book) {
  try {
    OrderContext ctx(DataObj, ClientObj, ConvertTools(), DbTools());
    const String job = sql::Text(JobNo);
    const String line_no = sql::Number(JbMLn);
    // A line without routing steps, or that is not there, gets no order. Such a
    // call writes nothing at all, not even a history record without a number.
    const orders::Recordset first_step =
        ctx.Open(" SELECT * FROM KZ8TJobMethod Where TJSTTJbMTJobNo=" + job +
                 " AND TJSTTJbMLn=" + line_no + " Order By TJStTJbMTJobNo,TJstTjbMLn,tjstln");
    if (first_step.Eof()) return {};
    const orders::Recordset line = ctx.Open(" SELECT * FROM KZ8VJob Where TJobNo=" + job +
                                            " AND TJbMLn=" + line_no + " Order By TJobNo,TjbMLn");
    if (line.Eof()) return {};
    const std::array<double, 3> quantities = OrderQuantities(ctx, line, NewQuantity);

    orders::LockJob(ctx, JobNo);
    const orders::OrderNumber number =
        orders::NumberOrder(ctx, SettingTools(), "PRODUCTION", Book, line.Text("TJobTJbkCode"));
    ctx.order_no = number.number;
    ctx.approve_status = ApproveStatus;

    orders::ProductMaster products(ctx);
    orders::HeaderValues header = HeaderOf(ctx, line, number.book, products);
    header.dates = first_step.Field("TJstPlanEndDate");
    header.quantities = quantities;
    orders::WriteHeader(ctx, header);

    orders::Span span(header.dates);
    const Long steps = orders::CopyLines(ctx, StepCopy(ctx, JobNo, line_no, products, span));
    orders::WriteHeaderSpan(ctx, steps, span);
    orders::CopyLines(ctx, MaterialCopy(ctx, JobNo, line_no));
    orders::CopyLines(ctx, LabourCopy(ctx, JobNo, line_no));

    orders::ConcludeOrder(*this, ctx, SettingTools(), AppObj, ClientObj, "MRPJOBCBUILTPD");
    return ctx.order_no;
  } catch (const std::exception&) {
    return {};  // no order stands; the caller rolls back what was written
  }
}

}  // namespace kz8mrp

// A process order for stock: a product, a quantity and a week, its steps,
// materials and labour taken from the product's master routing, bill of
// materials and labour list and multiplied by the quantity.
#include <kz8mrp/MRPObject.h>

#include "host/Sql.h"
#include "host/services/SettingTools.h"
#include "production/OrderLines.h"

#include <map>

namespace kz8mrp {
namespace {

using orders::OrderContext;
using orders::Recordset;

// The name code of each step of the product's routing, as the steps are copied.
class StepNames {
 public:
  void Note(const Recordset& step) { names_[step.Text("TSpdStep")] = step.Text("TSpdTSepCode"); }
  String Of(const Recordset& row, const char* step_column) const {
    const auto found = names_.find(row.Text(step_column));
    return found == names_.end() ? String() : found->second;
  }

 private:
  std::map<String, String> names_;
};

orders::LineCopy StepCopy(const OrderContext& ctx, const orders::StockRun& run,
                          const orders::ProductFacts& product, orders::Span& span,
                          StepNames& names) {
  return {"SELECT * FROM KZ8VProductMethod Where TSpdTPdtCode= " + sql::Text(run.product_code) +
              " ORDER BY TSpdStep",
          orders::AtLine(ctx, orders::LineTable::Steps),
          [&ctx, &run, &product, &span, &names](Recordset& row, const Recordset& s, Long n) {
            orders::FillProductStep(row, s, n, ctx, run, product, span);
            names.Note(s);
          }};
}

orders::LineCopy MaterialCopy(const OrderContext& ctx, const orders::StockRun& run,
                              const StepNames& names) {
  return {"SELECT * FROM KZ8TProductMat Where TPMtTPdtCode= " + sql::Text(run.product_code) +
              " ORDER BY TPMTLn",
          orders::AtLine(ctx, orders::LineTable::Materials),
          [&ctx, &run, &names](Recordset& row, const Recordset& s, Long n) {
            orders::FillProductMaterial(row, s, n, ctx, run.quantity, names.Of(s, "TPMtTSpdStep"));
          }};
}

// Every labour row is booked to the step of the first one.
orders::LineCopy LabourCopy(const OrderContext& ctx, const orders::StockRun& run,
                            const StepNames& names, String& step_name) {
  return {"SELECT * FROM KZ8TProductDL Where TPLBTPdtCode= " + sql::Text(run.product_code) +
              " ORDER BY TPLBLn",
          orders::AtLine(ctx, orders::LineTable::Labour),
          [&ctx, &run, &names, &step_name](Recordset& row, const Recordset& s, Long n) {
            if (n == 1) step_name = names.Of(s, "TPLBTSpdStep");
            orders::FillProductLabour(row, s, n, ctx, run.quantity, step_name);
          }};
}

}  // namespace

String MRPObject::CreateProcessBulkOrder4TR(const String& ProductCode, double Quantity,
                                            bool /*IgnoreBatchSize*/, OleDate StartDate,
                                            OleDate EndDate, Integer ApproveStatus,
                                            DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                            const String& Description, const String& Book) {
  try {
    OrderContext ctx(DataObj, ClientObj, ConvertTools(), DbTools());
    const orders::OrderNumber number =
        orders::NumberOrder(ctx, SettingTools(), "PRODUCTIONPROCESS", Book, "");
    ctx.order_no = number.number;
    ctx.approve_status = ApproveStatus;

    orders::ProductMaster products(ctx);
    const orders::ProductFacts& product = products.Facts(ProductCode);
    orders::HeaderValues header = orders::StockHeader(ctx, SettingTools(), number.book, ProductCode,
                                                      product, Quantity, EndDate, Description);
    header.status_order = 4;
    orders::WriteHeader(ctx, header);

    // The lines are for the quantity asked, even one below 0; only the header
    // never orders less than nothing.
    const orders::StockRun run{ProductCode, Quantity, StartDate, EndDate};
    orders::Span span(EndDate);
    StepNames names;
    const Long steps = orders::CopyLines(ctx, StepCopy(ctx, run, product, span, names));
    orders::WriteHeaderSpan(ctx, steps, span);
    orders::CopyLines(ctx, MaterialCopy(ctx, run, names));
    String labour_step;
    orders::CopyLines(ctx, LabourCopy(ctx, run, names, labour_step));

    orders::ConcludeOrder(*this, ctx, SettingTools(), AppObj, ClientObj, "MRPJOBCBUILTPROCESS");
    return ctx.order_no;
  } catch (const std::exception&) {
    return {};  // no order stands; the caller rolls back what was written
  }
}

}  // namespace kz8mrp

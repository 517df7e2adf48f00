// The three kinds of line an order carries (routing steps, materials, direct
// labour) and how each is copied in from its source rows: a job line's rows
// for orders made from a job, a product's master rows for bulk process orders.
#pragma once

#include "production/Order.h"

#include <functional>

namespace kz8mrp::orders {

// One kind of order line copied from its source rows, numbered 1, 2, 3 ... in
// the source's order: where the rows come from, which order row each one goes
// to (overwritten when it is there, added otherwise) and what it writes there.
struct LineCopy {
  String source;
  std::function<String(const Recordset& source, Long n)> target;
  std::function<void(Recordset& row, const Recordset& source, Long n)> fill;
};

// Returns the number of lines written.
Long CopyLines(const OrderContext& ctx, const LineCopy& copy);

// The order row a source row goes to when it is found by the order number and
// the running line number alone, as in a process order.
enum class LineTable { Steps, Materials, Labour };
std::function<String(const Recordset& source, Long n)> AtLine(const OrderContext& ctx,
                                                              LineTable table);

// A process order also takes over the product routing step's formula, machine
// and checks, and the step's own quantity, but not a material's number and
// alternative; a production order the other way round.
enum class OrderKind { Production, Process };

// ---- Routing steps (KZ8TJobProductionM) -----------------------------------------

// The number, line, level, step, status and stamps of every order step.
void FillStepStamp(Recordset& row, const OrderContext& ctx, Long n, const Value& level,
                   const Value& step);
// Men, machines, hours and capacity, copied from the source's columns that
// carry `prefix` (TJSt for a job's routing, TSpd for a product's).
void CopyStepCapacity(Recordset& row, const Recordset& source, const char* prefix);
// Machine, formula and checks of the product routing step, as texts and flags.
void FillRoutingReferences(Recordset& row, const Recordset& source,
                           const host::ConvertTools& convert);
// The step's quantity in the three units, as requested, outstanding, net and
// engine amounts, and nothing done yet.
void FillStepQuantities(Recordset& row, const std::array<double, 3>& quantities);

// A step from a row of KZ8VJobMethod; widens `span` by the step's plan dates.
void FillJobStep(Recordset& row, const Recordset& source, Long n, OrderKind kind,
                 const OrderContext& ctx, ProductMaster& products, Span& span);

// What a bulk order makes: `quantity` of the product between `start` and `end`.
struct StockRun {
  String product_code;
  double quantity = 0;
  OleDate start, end;
};

// A step from a row of KZ8VProductMethod, the product's master routing, at
// level 1 over the run's dates; widens `span` by them.
void FillProductStep(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx,
                     const StockRun& run, const ProductFacts& product, Span& span);

// ---- Materials (KZ8TJobProdMat) ---------------------------------------------------

void FillMaterialStamp(Recordset& row, const OrderContext& ctx, Long n);
// The quantity in the three units, to use and still to issue; nothing used yet.
void FillMaterialQuantities(Recordset& row, const std::array<Value, 3>& quantities);
// A material from a row of KZ8TJobMaterial.
void FillJobMaterial(Recordset& row, const Recordset& source, Long n, OrderKind kind,
                     const OrderContext& ctx);

// A material from a row of KZ8TProductMat, the product's bill of materials,
// for the run's quantity; `step_name` is the routing step's name code.
void FillProductMaterial(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx,
                         double quantity, const String& step_name);

// ---- Direct labour (KZ8TJobProdDL) --------------------------------------------------

void FillLabourStamp(Recordset& row, const OrderContext& ctx, Long n);
// Labour from a row of KZ8TJobDL.
void FillJobLabour(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx);
// Labour from a row of KZ8TProductDL, the product's labour list, for the run's
// quantity, costed at the row's rate.
void FillProductLabour(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx,
                       double quantity, const String& step_name);

}  // namespace kz8mrp::orders

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

// ---- Materials (KZ8TJobProdMat) ---------------------------------------------------

void FillMaterialStamp(Recordset& row, const OrderContext& ctx, Long n);
// The quantity in the three units, to use and still to issue; nothing used yet.
void FillMaterialQuantities(Recordset& row, const std::array<Value, 3>& quantities);
// A material from a row of KZ8TJobMaterial.
void FillJobMaterial(Recordset& row, const Recordset& source, Long n, OrderKind kind,
                     const OrderContext& ctx);

// ---- Direct labour (KZ8TJobProdDL) --------------------------------------------------

void FillLabourStamp(Recordset& row, const OrderContext& ctx, Long n);
// Labour from a row of KZ8TJobDL.
void FillJobLabour(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx);

}  // namespace kz8mrp::orders

#include "production/OrderLines.h"

#include "host/Sql.h"

#include <initializer_list>
#include <utility>

namespace kz8mrp::orders {
namespace {

using Columns = std::initializer_list<const char*>;
using ColumnPairs = std::initializer_list<std::pair<const char*, const char*>>;

void SetAll(Recordset& row, Columns columns, const Value& value) {
  for (const char* column : columns) row.Set(column, value);
}

// The source column as it is, null included.
void CopyValues(Recordset& row, const Recordset& source, ColumnPairs pairs) {
  for (const auto& [column, from] : pairs) row.Set(column, source.Field(from));
}

// The source column as text: a null gives an empty text.
void CopyTexts(Recordset& row, const Recordset& source, ColumnPairs pairs) {
  for (const auto& [column, from] : pairs) row.Set(column, source.Text(from));
}

const char* const kUnits[] = {"", "2", "3"};

}  // namespace

Long CopyLines(const OrderContext& ctx, const LineCopy& copy) {
  Long n = 0;
  for (Recordset source = ctx.Open(copy.source); !source.Eof(); source.MoveNext()) {
    ++n;
    Recordset row = ctx.Open(copy.target(source, n), db::LockType::Optimistic);
    if (row.Eof()) row.AddNew();
    copy.fill(row, source, n);
    row.Update();
  }
  return n;
}

std::function<String(const Recordset& source, Long n)> AtLine(const OrderContext& ctx,
                                                              LineTable table) {
  static const std::pair<const char*, const char*> kSelects[] = {
      {"SELECT * FROM KZ8TJobProductionM Where TJpMTJpdNo=", "And TJpMLn="},
      {"SELECT * FROM KZ8TJobProdMat Where TMteTJPDNo=", " AND TMteLn="},
      {"SELECT * FROM KZ8TJobProdDL Where TJPLTJPDNo=", " AND TJPLLn="}};
  const char* select = kSelects[static_cast<std::size_t>(table)].first;
  const char* line = kSelects[static_cast<std::size_t>(table)].second;
  return [&ctx, select, line](const Recordset&, Long n) {
    return select + sql::Text(ctx.order_no) + line + sql::Number(n);
  };
}

void FillStepStamp(Recordset& row, const OrderContext& ctx, Long n, const Value& level,
                   const Value& step) {
  row.Set("TJPMTJPdNo", ctx.order_no);
  row.Set("TJPMRevision", 0);
  row.Set("TJPMLevel", level);
  row.Set("TJPMStep", step);
  row.Set("TJPMLn", n);
  row.Set("TJPMProcessStatus", ctx.approve_status);
  row.Set("TJPMFlag1", 1);
  row.Set("TJPMFlag3", ctx.now);
}

void CopyStepCapacity(Recordset& row, const Recordset& source, const char* prefix) {
  for (const char* column :
       {"Man", "Machine", "HourPerDay", "Capacity", "CapacityHour", "CapPerHour", "CapPerDay",
        "EstimateDay", "SetupTime", "LeadIn", "LeadOut", "Dependent"}) {
    row.Set(String("TJPM") + column, source.Field(String(prefix) + column));
  }
}

void FillRoutingReferences(Recordset& row, const Recordset& source,
                           const host::ConvertTools& convert) {
  CopyTexts(row, source,
            {{"TJPMTAgtCode", "TSpdTAgtCode"},
             {"TJPMLink1", "TSpdLink1"},
             {"TJPMFormulaCode", "TSpdFormula1"},
             {"TJPMFormulaName", "TSpdNameFor1"}});
  row.Set("TJPMCheckSemiCode", convert.ToInteger(source.Text("TSepCheckSemiCode")));
  row.Set("TJPMCheckClose", convert.ToInteger(source.Text("TSpdCheckClose")));
}

void FillStepQuantities(Recordset& row, const std::array<double, 3>& quantities) {
  for (std::size_t u = 0; u < quantities.size(); ++u) {
    const String unit = kUnits[u];
    for (const char* column :
         {"TJPMAmount", "TJPMRequest", "TJPMArrear", "TJPMAmountNet", "TJPMAmountEngine"}) {
      row.Set(column + unit, quantities[u]);
    }
    for (const char* column : {"TJPMLoss", "TJPMFinishQT", "TJPMTotalTrans", "TJPMAmountTrans"}) {
      row.Set(column + unit, 0);
    }
  }
  SetAll(row, {"TJPMStatus", "TJPMCheckTrans", "TJPMAmountLost", "TJPMFGPC"}, 0);
  row.Set("TJPMUsed", 1);
}

void FillJobStep(Recordset& row, const Recordset& source, Long n, OrderKind kind,
                 const OrderContext& ctx, ProductMaster& products, Span& span) {
  FillStepStamp(row, ctx, n, source.Field("TJStLevel"), source.Field("TJsTTSpdStep"));
  CopyValues(row, source,
             {{"TJPMWeek", "TJStWeek"},
              {"TJPMSelfMaterial", "TJStSelfMaterial"},
              {"TJPMTQCSCode", "TJStTQCSCode"},
              {"TJPMStartDate", "TJstPlanStartDate"},
              {"TJPMPlanStartDate", "TJstPlanStartDate"},
              {"TJPMEndDate", "TJstPlanEndDate"},
              {"TJPMPlanEndDate", "TJstPlanEndDate"},
              {"TJPMTSepCode", "TJStTSepCode"},
              {"TJPMTAPNCode", "TSepTAPNCode"},
              {"TJPMTPdtCode", "TJStTPdtCode"}});
  if (kind == OrderKind::Process) {
    FillRoutingReferences(row, source, ctx.convert);
    CopyValues(row, source, {{"TJPMQuantity", "TJStQuantity"}});
  } else {
    CopyValues(row, source, {{"TJPMTAgtCode", "TSpdTAgtCode"}});
    SetAll(row, {"TJPMFormulaName", "TJPMLink1", "TJPMFormulaCode"}, String());
  }
  CopyStepCapacity(row, source, "TJSt");
  span.Widen(source.Field("TJstPlanStartDate"), source.Field("TJstPlanEndDate"));

  // The job's routing quantity as it stands, in the units of the step's product.
  const double quantity = StrictNumber(source, "TJStQuantity");
  const ProductFacts& product = products.Facts(source.Text("TJStTPdtCode"));
  FillStepQuantities(row, {quantity, quantity * product.ratio2, quantity * product.ratio3});
}

void FillProductStep(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx,
                     const StockRun& run, const ProductFacts& product, Span& span) {
  FillStepStamp(row, ctx, n, 1, source.Field("TSpdStep"));
  FillRoutingReferences(row, source, ctx.convert);
  row.Set("TJPMTPdtCode", run.product_code);
  row.Set("TJPMQuantity", run.quantity);
  row.Set("TJPMWeek", 0);
  CopyValues(row, source,
             {{"TJPMSelfMaterial", "TSpdSelfMaterial"},
              {"TJPMTSepCode", "TSpdTSepCode"},
              {"TJPMTAPNCode", "TSepTAPNCode"}});
  CopyStepCapacity(row, source, "TSpd");
  SetAll(row, {"TJPMStartDate", "TJPMPlanStartDate"}, run.start);
  SetAll(row, {"TJPMEndDate", "TJPMPlanEndDate"}, run.end);
  span.Widen(run.start, run.end);
  FillStepQuantities(row,
                     {run.quantity, run.quantity * product.ratio2, run.quantity * product.ratio3});
}

void FillMaterialStamp(Recordset& row, const OrderContext& ctx, Long n) {
  row.Set("TMteTJPDNo", ctx.order_no);
  row.Set("TMteLn", n);
  row.Set("TMteFlag1", 1);
  row.Set("TMteFlag3", ctx.now);
  row.Set("TMtePRStatus", 0);
}

void FillMaterialQuantities(Recordset& row, const std::array<Value, 3>& quantities) {
  for (std::size_t u = 0; u < quantities.size(); ++u) {
    const String unit = kUnits[u];
    for (const char* column : {"TMteQuantity", "TMteUseOrder", "TMteTotalDif"}) {
      row.Set(column + unit, quantities[u]);
    }
    for (const char* column : {"TMteUseStock", "TMteTotalUsed"}) row.Set(column + unit, 0);
  }
}

void FillJobMaterial(Recordset& row, const Recordset& source, Long n, OrderKind kind,
                     const OrderContext& ctx) {
  FillMaterialStamp(row, ctx, n);
  CopyValues(row, source,
             {{"TMteLevel", "TJMtLevel"},
              {"TMteStep", "TJMtTSpdStep"},
              {"TMteTSepCode", "TJMtTSepCode"},
              {"TMteProductCode", "TJMtProductCode"},
              {"TMteTPdtCode", "TJMtTPdtCode"},
              {"TMteDescription", "TJMtRemark"},
              {"TMteType", "TJMtType"},
              {"TMteMatType", "TJMtMatType"}});
  if (kind == OrderKind::Production) {
    CopyValues(row, source, {{"TMteNo", "TJMtNo"}, {"TMteAlternative", "TJMtAlternative"}});
  }
  FillMaterialQuantities(row, {source.Field("TJMtUseOrder"), source.Field("TJMtUseOrder2"),
                               source.Field("TJMtUseOrder3")});
}

void FillProductMaterial(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx,
                         double quantity, const String& step_name) {
  FillMaterialStamp(row, ctx, n);
  row.Set("TMteLevel", 1);
  row.Set("TMteType", 0);
  row.Set("TMteTSepCode", step_name);
  row.Set("TMteDescription", String());
  CopyValues(row, source,
             {{"TMteStep", "TPMtTSpdStep"},
              {"TMteMatType", "TPMtMatType"},
              {"TMteTPdtCode", "TPMtTPdtCode"},
              {"TMteProductCode", "TPMtProductCode"}});
  // Quantities per unit of the product; a missing one is an error, not none.
  std::array<Value, 3> scaled;
  for (std::size_t u = 0; u < scaled.size(); ++u) {
    scaled[u] = source.Field(String("TPMtQuantity") + kUnits[u]).AsNumber() * quantity;
  }
  FillMaterialQuantities(row, scaled);
}

void FillLabourStamp(Recordset& row, const OrderContext& ctx, Long n) {
  row.Set("TJPLTJPDNo", ctx.order_no);
  row.Set("TJPLLn", n);
  row.Set("TJPLFlag1", 1);
  row.Set("TJPLFlag3", ctx.now);
}

void FillJobLabour(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx) {
  FillLabourStamp(row, ctx, n);
  CopyValues(row, source, {{"TJPLLevel", "TJDLLevel"}, {"TJPLStep", "TJDLTSpdStep"}});
  CopyTexts(row, source,
            {{"TJPLTSepCode", "TJDLTSepCode"},
             {"TJPLTPdtCode", "TJDLTPdtCode"},
             {"TJPLTEmpCode", "TJDLTEmpCode"},
             {"TJPLEmployeeName", "TJDLEmployeeName"},
             {"TJPLPositionName", "TJDLPositionName"},
             {"TJPLCost", "TJDLCost"},
             {"TJPLTotalCost", "TJDLTotalCost"},
             {"TJPLRemark", "TJDLRemark"}});
  row.Set("TJPLQuantity", ctx.NumberOf(source, "TJDLQuantity"));
}

void FillProductLabour(Recordset& row, const Recordset& source, Long n, const OrderContext& ctx,
                       double quantity, const String& step_name) {
  FillLabourStamp(row, ctx, n);
  row.Set("TJPLLevel", 1);
  row.Set("TJPLTSepCode", step_name);
  row.Set("TJPLRemark", String());
  CopyValues(row, source, {{"TJPLStep", "TPLBTSpdStep"}, {"TJPLCost", "TPLBCost"}});
  CopyTexts(row, source,
            {{"TJPLTPdtCode", "TPLBTPdtCode"},
             {"TJPLTEmpCode", "TPLBTEmpCode"},
             {"TJPLEmployeeName", "TPLBEmployeeName"},
             {"TJPLPositionName", "TPLBPositionName"}});
  const double hours = ctx.NumberOf(source, "TPLBQuantity") * quantity;
  row.Set("TJPLQuantity", hours);
  const Value& rate = source.Field("TPLBCost");
  row.Set("TJPLTotalCost", rate.IsNull() ? Value() : Value(hours * rate.AsNumber()));
}

}  // namespace kz8mrp::orders

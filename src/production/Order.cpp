#include "production/Order.h"

#include "host/Sql.h"
#include "host/db/Connection.h"
#include "host/services/SettingTools.h"

#include <initializer_list>

namespace kz8mrp::orders {
namespace {

using Columns = std::initializer_list<const char*>;

void SetAll(Recordset& row, Columns columns, const Value& value) {
  for (const char* column : columns) row.Set(column, value);
}

Value DateOrNull(const std::optional<OleDate>& d) { return d ? Value(*d) : Value(); }

}  // namespace

Recordset OrderContext::Open(const String& sql, db::LockType lock) const {
  return Recordset(data.Connection(), db.ConvertSQL(sql, data.DatabaseKind()), lock);
}

double StrictNumber(const Recordset& rs, std::string_view column) {
  return Value(rs.Text(column)).AsNumber();
}

String EqualsNumber(const Recordset& rs, std::string_view column,
                    const host::ConvertTools& convert) {
  const String text = rs.Text(column);
  if (text.empty()) return " IS NULL";
  return "=" + sql::Number(convert.ToDouble(text));
}

const ProductFacts& ProductMaster::Facts(const String& product_code) {
  const auto known = read_.find(product_code);
  if (known != read_.end()) return known->second;
  ProductFacts& f = read_[product_code];
  const Recordset rs = ctx_.Open(
      "SELECT TPdtName,TPdtTPSECode,TPdtTPG1Code,TPdtTUntCode,TPdtTUntCode2,TPdtTUntCode3,"
      "TPdtUnit2Ratio,TPdtUnit3Ratio FROM KZ8TProduct WHERE TPdtCode=" +
      sql::Text(product_code));
  if (rs.Eof()) return f;
  f.exists = true;
  f.name = rs.Text("TPdtName");
  f.pse_code = rs.Text("TPdtTPSECode");
  f.pg1_code = rs.Text("TPdtTPG1Code");
  f.units = {rs.Text("TPdtTUntCode"), rs.Text("TPdtTUntCode2"), rs.Text("TPdtTUntCode3")};
  f.ratio2 = ctx_.NumberOf(rs, "TPdtUnit2Ratio");
  f.ratio3 = ctx_.NumberOf(rs, "TPdtUnit3Ratio");
  return f;
}

Span::Span(const Value& seed) {
  if (!seed.IsNull()) start = end = seed.AsDate();
}

void Span::Widen(const Value& step_start, const Value& step_end) {
  if (!step_start.IsNull()) {
    const OleDate s = step_start.AsDate();
    if (!start || s < *start) start = s;
  }
  if (!step_end.IsNull()) {
    const OleDate e = step_end.AsDate();
    if (!end || e > *end) end = e;
  }
}

OrderNumber NumberOrder(const OrderContext& ctx, const host::SettingTools& settings,
                        const char* kind, const String& given_book, const String& job_book) {
  db::Connection& c = ctx.data.Connection();
  const String existing_job_book =
      ctx.db.LookupText("TJbkCode", job_book, "TJbkCode", "KZ8TJobBook", c);
  OrderNumber o;
  o.book = given_book.empty() ? settings.GetText("MRPDEFAULTPRODUCTIONBOOK", c) : given_book;
  o.book = ctx.db.LookupText("TJPkCode", o.book, "TJpkCode", "KZ8TJobProdBook", c);
  if (o.book.empty()) {
    o.book =
        ctx.db.QueryText("TJPkcode", "SELECT TJPkcode FROM KZ8TJobProdBook ORDER BY TJPkcode", c);
  }
  if (o.book.empty()) o.book = "-";
  // The numbering gets the chosen book's own document code and the job's own
  // book (when it is a known job book), whatever kind of order it numbers.
  const String doc_code =
      ctx.db.LookupText("TJPkCode", o.book, "TJPkDocCode", "KZ8TJobProdBook", c);
  o.number = settings.NewDocumentNo2(kind, c, ctx.today, ctx.client.BranchCode(), o.book, doc_code,
                                     existing_job_book);
  return o;
}

void LockJob(const OrderContext& ctx, const String& job_no) {
  db::Connection& c = ctx.data.Connection();
  if (c.kind() != db::Kind::PostgreSQL) return;
  c.Query("SELECT TJobNo FROM KZ8TJob WHERE TJobNo=" + c.backend().Placeholder(1) + " FOR UPDATE",
          {Value(job_no)});
}

void TakeProduct(HeaderValues& v, const ProductFacts& product) {
  v.product_name = product.name;
  v.pse_code = product.pse_code;
  v.pg1_code = product.pg1_code;
  v.ratio2 = product.ratio2;
  v.ratio3 = product.ratio3;
  v.units = {product.units[0], product.units[1], product.units[2]};
}

HeaderValues StockHeader(const OrderContext& ctx, const host::SettingTools& settings,
                         const String& book, const String& product_code,
                         const ProductFacts& product, double quantity, OleDate end,
                         const String& description) {
  HeaderValues v;
  v.book = book;
  v.names_approver = true;
  v.project = settings.GetText("DEFAULTPROJECTBULKORDER", ctx.data.Connection());
  v.product_code = product_code;
  TakeProduct(v, product);
  v.dates = end;
  v.quantities = {quantity > 0 ? quantity : 0, 0, 0};
  v.description = description;
  return v;
}

void WriteHeader(const OrderContext& ctx, const HeaderValues& v) {
  Recordset h = ctx.Open("SELECT * FROM KZ8TJobProduction Where TJPdNo=" + sql::Text(ctx.order_no),
                         db::LockType::Optimistic);
  if (h.Eof()) h.AddNew();
  const String user = ctx.client.UserName();
  h.Set("TJPdNo", ctx.order_no);
  h.Set("TJPdTJPkCode", v.book);
  SetAll(h, {"TJPdCreateBy", "TJPdEditBy"}, user);
  SetAll(h, {"TJPdCreateDate", "TJPdEditDate", "TJPdFlag3"}, ctx.now);
  h.Set("TJPdEditCode", ctx.client.UserCode());
  SetAll(h, {"TJPdConfirmStatus", "TJPdApproveStatus"}, ctx.approve_status);
  if (v.names_approver) {
    SetAll(h, {"TJPdConfirmBy", "TJPdApproveBy"}, user);
    SetAll(h, {"TJPdConfirmDate", "TJPdApproveDate"}, ctx.now);
  }
  h.Set("TJPdStatusOrder", v.status_order);
  h.Set("TJPdTBraCode", ctx.client.BranchCode());
  h.Set("TJPdDate", ctx.today);
  h.Set("TJPdTJbMTJobNo", v.job_no);
  h.Set("TJPdTJobCode", v.job_code);
  h.Set("TJPdTJbMLn", v.job_line);
  h.Set("TJPdTPrjCode", v.project);
  h.Set("TJPdProductCode", v.product_code);
  h.Set("TJPdProductName", v.product_name);
  h.Set("TJPdTPSECode", v.pse_code);
  h.Set("TJPdTPG1Code", v.pg1_code);
  SetAll(h, {"TJPdStartDate", "TJPdEndDate", "TJPdEndPlan"}, v.dates);
  h.Set("TJPdCalsQty", 1);
  h.Set("TJPdCalsQty2", v.ratio2);
  h.Set("TJPdCalsQty3", v.ratio3);
  const char* const unit_columns[] = {"TJPdUnitCals", "TJPdUnitCals2", "TJPdUnitCals3"};
  for (std::size_t u = 0; u < v.units.size(); ++u) h.Set(unit_columns[u], v.units[u]);
  SetAll(h, {"TJPdQtyNeed", "TJPdQuantity", "TJPdQuantityNet"}, v.quantities[0]);
  SetAll(h, {"TJPdQuantity2", "TJPdQuantityNet2"}, v.quantities[1]);
  SetAll(h, {"TJPdQuantity3", "TJPdQuantityNet3"}, v.quantities[2]);
  SetAll(h,
         {"TJPdRevision", "TJPdCancelStatus", "TJPdTotalStep", "TJPdQtyPer", "TJPdQtyNum",
          "TJPdQtyHead", "TJPdQtyLast", "TJPdMaterialUsed", "TJPDMaterialLost", "TJPDDependent"},
         0);
  h.Set("TJPdPriority", 1);
  h.Set("TJPdDescription", v.description);
  const char* const custom_columns[] = {"TJPDCustom1", "TJPDCustom2", "TJPDCustom3"};
  for (std::size_t i = 0; i < v.customs.size(); ++i) h.Set(custom_columns[i], v.customs[i]);
  SetAll(h, {"TJPdUnitMatUsed",  "TJPDFormulaName",  "TJPdTMRFCode",     "TJPDFormulaName2",
             "TJPdTMRFCode2",    "TJPDCustomText1",  "TJPDCustomText2",  "TJPDCustomText3",
             "TJPDCustomText4",  "TJPDCustomText5",  "TJPDCustomText6",  "TJPDCustomText7",
             "TJPDCustomText8",  "TJPDCustomText9",  "TJPDCustomText10", "TJPDCustomText11",
             "TJPDCustomText12", "TJPDCustomText13", "TJPDCustomText14", "TJPDCustomText15",
             "TJPDEngine"},
         String());
  h.Update();
}

void WriteHeaderSpan(const OrderContext& ctx, Long steps, const Span& span) {
  Recordset h = ctx.Open(" SELECT * FROM KZ8TJobProduction Where TJPDNo=" + sql::Text(ctx.order_no),
                         db::LockType::Optimistic);
  if (h.Eof()) return;
  h.Set("TJPdTotalStep", steps);
  SetAll(h, {"TJPdEndDate", "TJPdEndPlan"}, DateOrNull(span.end));
  SetAll(h, {"TJPdStartDate", "TJPdStartPlan"}, DateOrNull(span.start));
  h.Update();
}

void ConcludeOrder(MRPObject& engine, const OrderContext& ctx, const host::SettingTools& settings,
                   AppObj& app, ClientObj& client, const char* event) {
  const bool approved = ctx.approve_status == 1;
  if (approved) engine.AdjustJOBTR(ctx.order_no, true, ctx.data, app, client);
  LogCreation(ctx, settings, event, approved ? "Auto Approved." : "");
}

void LogCreation(const OrderContext& ctx, const host::SettingTools& settings, const char* event,
                 const String& remark) {
  host::ApprovalRecord r;
  r.event = event;
  r.document_no = ctx.order_no;
  r.remark = remark;
  r.user_code = ctx.client.UserCode();
  r.key_column = "TJPDNo";
  r.prefix = "TJPD";
  r.table = "KZ8TJobProduction";
  r.when = ctx.now;
  settings.LogApproval(r, ctx.data.Connection());
}

}  // namespace kz8mrp::orders

#include "mrp/BillReader.h"

#include "host/Sql.h"
#include "host/db/Recordset.h"
#include "host/services/DbTools.h"
#include "host/services/SettingTools.h"

#include <exception>

namespace kz8mrp::mrp {
namespace {

// A master value that cannot be read counts as not set, as an empty cell does.
double NumberOr0(const db::Value& value) {
  try {
    return value.IsNull() ? 0 : value.AsNumber();
  } catch (const std::exception&) {
    return 0;
  }
}

void ReadProductData(db::Connection& c, const std::string& product, ProductBill& bill) {
  db::Recordset rs(c,
                   "SELECT TPd2SelfMat, TPd2TotalQuantity, TPd2ScrapPCMRP FROM KZ8TProduct2 "
                   "WHERE TPd2TPdtCode=" +
                       sql::Text(product));
  if (rs.Eof()) return;
  bill.self_material = NumberOr0(rs.Field("TPd2SelfMat")) == 1;
  bill.batch_output = NumberOr0(rs.Field("TPd2TotalQuantity"));
  bill.scrap_percent = NumberOr0(rs.Field("TPd2ScrapPCMRP"));
}

// The routing's steps; the lowest step number is the product's first step on
// every database.
void ReadRouting(db::Connection& c, const std::string& product, ProductBill& bill) {
  db::Recordset rs(c, "SELECT TSpdStep, TSpdTSepCode FROM KZ8TProductMethod WHERE TSpdTPdtCode=" +
                          sql::Text(product) + " ORDER BY TSpdStep");
  for (; !rs.Eof(); rs.MoveNext()) {
    if (bill.step_codes.empty()) bill.first_step_code = rs.Text("TSpdTSepCode");
    bill.step_codes.emplace(NumberOr0(rs.Field("TSpdStep")), rs.Text("TSpdTSepCode"));
  }
}

void ReadSelfRows(db::Connection& c, const std::string& product, ProductBill& bill) {
  db::Recordset rs(c, "SELECT * FROM KZ8VProduct WHERE TPdtCode=" + sql::Text(product));
  for (; !rs.Eof(); rs.MoveNext()) {
    bill.self_rows.push_back(
        {rs.Field("TPdtCode"),
         rs.Field("TPdtName"),
         {rs.Field("TPdtTUntCode"), rs.Field("TPdtTUntCode2"), rs.Field("TPdtTUntCode3")}});
  }
}

// Empty sort keys count as 0, so the order is the same on both databases.
void ReadLines(db::Connection& c, const std::string& product, ProductBill& bill) {
  db::Recordset rs(
      c,
      "SELECT v.*, (SELECT COUNT(*) FROM KZ8TProductMat k WHERE k.TPMtTPdtCode = "
      "v.TPMtProductCode) AS MaterialBillLines FROM KZ8VProductMat v WHERE v.TPMtTPdtCode=" +
          sql::Text(product) +
          " ORDER BY COALESCE(v.TPMtTSpdStep, 0) DESC, COALESCE(v.TPmtNo, 0), "
          "COALESCE(v.TPmtAlternative, 0), v.TPmtLn");
  for (; !rs.Eof(); rs.MoveNext()) {
    BillLine line{rs.Field("TPMtTSpdStep"),
                  rs.Field("TPMtProductCode"),
                  rs.Field("VPMtProductName"),
                  rs.Field("TPMtMatType"),
                  rs.Field("TPmtNo"),
                  rs.Field("TPmtAlternative"),
                  rs.Field("TPMtAutoExplore"),
                  {rs.Field("TPMtQuantity"), rs.Field("TPMtQuantity2"), rs.Field("TPMtQuantity3")},
                  {rs.Field("VPmTUntCode"), rs.Field("VPmTUntCode2"), rs.Field("VPmTUntCode3")},
                  rs.Field("TPmtScrapPCMRP"),
                  rs.Field("TPMtRemark")};
    line.material_has_bill = NumberOr0(rs.Field("MaterialBillLines")) > 0;
    bill.lines.push_back(std::move(line));
  }
}

// A read that fails leaves that part of the bill empty; the explosion goes on.
template <class Read>
void Skipping(Read&& read) {
  try {
    read();
  } catch (const std::exception&) {
  }
}

}  // namespace

BillReader::BillReader(const std::string& connection_string, const host::DbTools& db,
                       const host::SettingTools& settings)
    : connection_string_(connection_string),
      connection_(connection_string),
      db_(db),
      settings_(settings) {}

const ProductBill& BillReader::Bill(const std::string& product) {
  auto it = bills_.find(product);
  if (it == bills_.end()) it = bills_.emplace(product, Read(product)).first;
  return it->second;
}

ProductBill BillReader::Read(const std::string& product) {
  ProductBill bill;
  db::Connection& c = *connection_;
  Skipping([&] { ReadProductData(c, product, bill); });
  Skipping([&] { ReadRouting(c, product, bill); });
  if (bill.self_material) Skipping([&] { ReadSelfRows(c, product, bill); });
  Skipping([&] { ReadLines(c, product, bill); });
  return bill;
}

std::string BillReader::StepName(const std::string& step_code) {
  auto it = step_names_.find(step_code);
  if (it == step_names_.end()) {
    std::string name;
    Skipping([&] {
      name = db_.LookupTextStr("TSepCode", step_code, "TSepName", "KZ8TMRPStepName",
                               connection_string_);
    });
    it = step_names_.emplace(step_code, std::move(name)).first;
  }
  return it->second;
}

double BillReader::DefaultOutputQuantity() {
  if (!default_output_) {
    default_output_ = 0;
    Skipping([&] {
      default_output_ = settings_.GetNumberStr("DefaultOutputQuantity", connection_string_);
    });
  }
  return *default_output_;
}

}  // namespace kz8mrp::mrp

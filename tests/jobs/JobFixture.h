// A small plant for job tests: sales orders, jobs, routing steps and
// production orders in a line each.
#pragma once

#include "support/TestDb.h"

#include <algorithm>
#include <string>

namespace kz8test {

class JobTest : public DbTest {
 protected:
  using Row = kz8mrp::db::RowValues;

  // clang-format off
  void SalesOrder(const std::string& no, const Row& extra = {}) {
    Insert("KZ8TSO", Merge({{"TSODNo", no}, {"TSODCode", "C-" + no}, {"TSODDate", "2026-12-20"},
                            {"TSODDeliveryDate", "2027-02-01"}, {"TSODRevision", 0}}, extra));
  }
  // Units 2 and 3 hold twice and three times unit 1, here and below.
  void SalesLine(const std::string& no, int ln, const std::string& product, double quantity,
                 const Row& extra = {}) {
    Insert("KZ8TSOMB", Merge({{"TSOBTSODNo", no}, {"TSOBLn", ln}, {"TSOBTPOSCode", product},
                              {"TSOBQuantity", quantity}, {"TSOBQuantity2", quantity * 2},
                              {"TSOBQuantity3", quantity * 3}}, extra));
  }
  void Job(const std::string& job, const Row& extra = {}) {
    Insert("KZ8TJob",
           Merge({{"TJobNo", job}, {"TJobApproveStatus", 1}, {"TJobCancelStatus", 0}}, extra));
  }
  void JobLine(const std::string& job, int ln, const std::string& product, double quantity,
               double use_stock = 0) {
    const double order = quantity - use_stock;
    Insert("KZ8TJobMB", {{"TJbMTJobNo", job}, {"TJbMLn", ln}, {"TJbMTPdtCode", product},
                         {"TJbMQuantity", quantity}, {"TJbMQuantity2", quantity * 2},
                         {"TJbMQuantity3", quantity * 3}, {"TJbMUseStock", use_stock},
                         {"TJbMUseStock2", use_stock * 2}, {"TJbMUseStock3", use_stock * 3},
                         {"TJbMUseOrder", order}, {"TJbMUseOrder2", order * 2},
                         {"TJbMUseOrder3", order * 3}});
  }
  // A routing step of line 1.
  void RoutingStep(const std::string& job, int step, const std::string& step_code,
                   const std::string& product) {
    Insert("KZ8TJobMethod", {{"TJStTJbMTJobNo", job}, {"TJStTJbMLn", 1}, {"TJStTSpdStep", step},
                             {"TJStLevel", 1}, {"TJStLn", step}, {"TJStTSepCode", step_code},
                             {"TJStTPdtCode", product}, {"TJStProcessStatus", 0}});
  }

  struct Order {
    std::string no, job;
    int ln = 1;
    std::string product;
    double quantity = 0;
    int approved = 1, cancelled = 0;
  };
  void ProductionOrder(const Order& o) {
    Insert("KZ8TJobProduction", {{"TJPdNo", o.no}, {"TJPdTJbMTJobNo", o.job}, {"TJPdTJbMLn", o.ln},
                                 {"TJPdProductCode", o.product}, {"TJPdQuantity", o.quantity},
                                 {"TJPdQuantity2", o.quantity * 2}, {"TJPdQuantity3", o.quantity * 3},
                                 {"TJPdApproveStatus", o.approved},
                                 {"TJPdCancelStatus", o.cancelled}});
  }
  void OrderStep(const std::string& order, int ln, int step, const std::string& step_code,
                 const Row& extra = {}) {
    Insert("KZ8TJobProductionM", Merge({{"TJPMTJPdNo", order}, {"TJPMLn", ln}, {"TJPMStep", step},
                                        {"TJPMTSepCode", step_code}}, extra));
  }
  // clang-format on

  // Row counts of tables, "1/2/2".
  std::string Counts(std::initializer_list<const char*> tables) {
    std::string out;
    for (const char* t : tables)
      out += (out.empty() ? "" : "/") + Scalar(std::string("SELECT COUNT(*) FROM ") + t);
    return out;
  }
  kz8mrp::Integer AdjustJob(const std::string& job) {
    return InTransaction(
        [&] { return engine_.AdjustJOB2TR("", job, true, *data_, app_, client_); });
  }

 private:
  // The row with the extra values in place of its own.
  static Row Merge(Row row, const Row& extra) {
    for (const auto& given : extra)
      std::erase_if(row, [&](const auto& p) { return p.first == given.first; });
    row.insert(row.end(), extra.begin(), extra.end());
    return row;
  }
};

}  // namespace kz8test

// A small plant for job tests: sales orders, job lines, routing steps and
// production orders in a line each.
#pragma once

#include "support/TestDb.h"

#include <string>

namespace kz8test {

class JobTest : public DbTest {
 protected:
  using Row = kz8mrp::db::RowValues;

  // A sales order header; `extra` adds or overrides columns.
  void SalesOrder(const std::string& no, Row extra = {}) {
    Row row = {{"TSODNo", no},
               {"TSODCode", "C-" + no},
               {"TSODDate", "2026-12-20"},
               {"TSODDeliveryDate", "2027-02-01"},
               {"TSODTBraCode", "HQ"},
               {"TSODRevision", 0}};
    Insert("KZ8TSO", Merge(row, extra));
  }
  void SalesLine(const std::string& no, int ln, const std::string& product, double quantity,
                 Row extra = {}) {
    Row row = {{"TSOBTSODNo", no},
               {"TSOBLn", ln},
               {"TSOBTPOSCode", product},
               {"TSOBPOSName", "name of " + product},
               {"TSOBQuantity", quantity},
               {"TSOBQuantity2", quantity * 2},
               {"TSOBQuantity3", quantity * 3}};
    Insert("KZ8TSOMB", Merge(row, extra));
  }

  // A job header and a line, written as a job from a sales order leaves them.
  void Job(const std::string& job, Row extra = {}) {
    Row row = {{"TJobNo", job}, {"TJobApproveStatus", 1}, {"TJobCancelStatus", 0}};
    Insert("KZ8TJob", Merge(row, extra));
  }
  void JobLine(const std::string& job, int ln, const std::string& product, double quantity,
               double use_stock = 0) {
    Insert("KZ8TJobMB", {{"TJbMTJobNo", job},
                         {"TJbMLn", ln},
                         {"TJbMTPdtCode", product},
                         {"TJbMQuantity", quantity},
                         {"TJbMQuantity2", quantity * 2},
                         {"TJbMQuantity3", quantity * 3},
                         {"TJbMUseStock", use_stock},
                         {"TJbMUseStock2", use_stock * 2},
                         {"TJbMUseStock3", use_stock * 3},
                         {"TJbMUseOrder", quantity - use_stock},
                         {"TJbMUseOrder2", (quantity - use_stock) * 2},
                         {"TJbMUseOrder3", (quantity - use_stock) * 3}});
  }
  void RoutingStep(const std::string& job, int ln, int step, const std::string& step_code,
                   const std::string& product, int running_no) {
    Insert("KZ8TJobMethod", {{"TJStTJbMTJobNo", job},
                             {"TJStTJbMLn", ln},
                             {"TJStTSpdStep", step},
                             {"TJStLevel", 1},
                             {"TJStLn", running_no},
                             {"TJStTSepCode", step_code},
                             {"TJStTPdtCode", product},
                             {"TJStProcessStatus", 0}});
  }

  struct Order {
    std::string no;
    std::string job;
    int ln = 1;
    std::string product;
    double quantity = 0;
    int approved = 1;
    int cancelled = 0;
  };
  void ProductionOrder(const Order& o) {
    Insert("KZ8TJobProduction", {{"TJPdNo", o.no},
                                 {"TJPdTJbMTJobNo", o.job},
                                 {"TJPdTJbMLn", o.ln},
                                 {"TJPdProductCode", o.product},
                                 {"TJPdQuantity", o.quantity},
                                 {"TJPdQuantity2", o.quantity * 2},
                                 {"TJPdQuantity3", o.quantity * 3},
                                 {"TJPdApproveStatus", o.approved},
                                 {"TJPdCancelStatus", o.cancelled}});
  }
  void OrderStep(const std::string& order, int ln, int step, const std::string& step_code,
                 Row extra = {}) {
    Row row = {
        {"TJPMTJPdNo", order}, {"TJPMLn", ln}, {"TJPMStep", step}, {"TJPMTSepCode", step_code}};
    Insert("KZ8TJobProductionM", Merge(row, extra));
  }

  // Runs a TR method the way a host does: inside the session's transaction.
  template <class F>
  auto InTransaction(F&& f) {
    data_->BeginTrans();
    auto result = f();
    data_->CommitTrans();
    return result;
  }

  kz8mrp::Integer AdjustJob(const std::string& job) {
    return InTransaction(
        [&] { return engine_.AdjustJOB2TR("", job, true, *data_, app_, client_); });
  }

  static Row Merge(Row base, const Row& extra) {
    for (const auto& [column, value] : extra) {
      bool replaced = false;
      for (auto& [name, v] : base) {
        if (name == column) {
          v = value;
          replaced = true;
        }
      }
      if (!replaced) base.emplace_back(column, value);
    }
    return base;
  }
};

}  // namespace kz8test

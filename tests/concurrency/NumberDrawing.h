// A planning session that draws document numbers, one per transaction, as a
// planner creating schedule reservations one after another does.
#pragma once

#include <kz8mrp/MRPObject.h>

#include "host/services/SettingTools.h"

#include <string>
#include <vector>

namespace kz8test {

// Draws numbers of kind "MPS" in book "B1" until `count` are committed; every
// seventh transaction is abandoned (rolled back) after drawing its number, and
// every committed one is followed by a calendar question through the pool.
// Returns the committed numbers.
inline std::vector<std::string> DrawNumbers(const std::string& connection_string, int count) {
  kz8mrp::AppObj app;
  kz8mrp::ClientObj client("planner", "PLN", "HQ");
  kz8mrp::DataObj data(connection_string, app, client);
  const kz8mrp::host::SettingTools settings;
  kz8mrp::MRPObject engine;
  const auto date = kz8mrp::OleDate::FromParts(2027, 1, 4);
  std::vector<std::string> committed;
  for (int attempt = 0; static_cast<int>(committed.size()) < count; ++attempt) {
    data.OpenSession();
    data.BeginTrans();
    std::string number = settings.NewDocumentNo2("MPS", data.Connection(), date, "HQ", "B1");
    if (attempt % 7 == 3) {
      data.RollbackTrans();
    } else {
      data.CommitTrans();
      committed.push_back(std::move(number));
      // The planner checks the calendar between documents: a pooled read
      // connection, shared with every other session of the program.
      engine.isMRPHoliday(date, "", data);
    }
    data.CloseSession();
  }
  return committed;
}

}  // namespace kz8test

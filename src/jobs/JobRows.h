// The columns of a job's header, lines and routing rows as a job made from a
// sales order fills them.
#pragma once

#include <kz8mrp/MRPObject.h>

#include "host/db/Recordset.h"
#include "host/services/ConvertTools.h"

namespace kz8mrp::jobs {

// What every row of one job takes from outside the sales order.
struct JobStamp {
  String job_no;
  String so_no;
  String book;
  Integer type = 0;
  String step_code;
  String user_name;
  String user_code;
  OleDate today;
  OleDate now;
};

// Each writes the columns of the current (or new) row of `target` from the
// current sales-order row `so`; the caller updates the row.
void FillJobHeader(db::Recordset& target, const db::Recordset& so, const JobStamp& stamp,
                   const host::ConvertTools& convert);
void FillJobLine(db::Recordset& target, const db::Recordset& so, const JobStamp& stamp,
                 const host::ConvertTools& convert);
void FillJobRouting(db::Recordset& target, const db::Recordset& so, Long running_no,
                    const JobStamp& stamp, const host::ConvertTools& convert);

}  // namespace kz8mrp::jobs

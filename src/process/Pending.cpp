// Process-order methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

String MRPObject::CreateProcessOrderFromJobMethodLevel2TR(const String&, Long, Long, Long, Integer,
                                                          DataObj&, AppObj&, ClientObj&, double) {
  NotAvailable("CreateProcessOrderFromJobMethodLevel2TR");
}
String MRPObject::CreateProcessBulkOrder4TR(const String&, double, bool, OleDate, OleDate, Integer,
                                            DataObj&, AppObj&, ClientObj&, const String&,
                                            const String&) {
  NotAvailable("CreateProcessBulkOrder4TR");
}

}  // namespace kz8mrp

// Production-order methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

String MRPObject::CreateProductionOrderFromJobLn3TR(const String&, Long, Integer, DataObj&, AppObj&,
                                                    ClientObj&, double, const String&) {
  NotAvailable("CreateProductionOrderFromJobLn3TR");
}
String MRPObject::CreateProductionBulkOrder3TR(const String&, double, bool, OleDate, OleDate,
                                               Integer, DataObj&, AppObj&, ClientObj&,
                                               const String&, const String&) {
  NotAvailable("CreateProductionBulkOrder3TR");
}

}  // namespace kz8mrp

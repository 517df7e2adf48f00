// Schedule and capacity methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

double MRPObject::GETBOMHourPerUnit(const String&, Integer, DataObj&, bool) {
  NotAvailable("GETBOMHourPerUnit");
}

}  // namespace kz8mrp

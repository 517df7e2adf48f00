// Job methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

bool MRPObject::CanEditJob(const String&, DataObj&) { NotAvailable("CanEditJob"); }
String MRPObject::SelectJob(const String&, DataObj&) { NotAvailable("SelectJob"); }

}  // namespace kz8mrp

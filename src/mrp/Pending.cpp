// Material-requirement methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

Integer MRPObject::GenerateSF2(DataObj&, const String&, const String&, Integer, Integer, Integer,
                               double, bool) {
  NotAvailable("GenerateSF2");
}

}  // namespace kz8mrp

// Material-requirement methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

double MRPObject::GETMR(DataObj&, const String&, OleDate) { NotAvailable("GETMR"); }
Integer MRPObject::GenerateMRPFromMR(DataObj&, const String&) { NotAvailable("GenerateMRPFromMR"); }
Integer MRPObject::GenerateMRP4(DataObj&, const String&, OleDate, OleDate, ByRef<Integer>, double,
                                bool) {
  NotAvailable("GenerateMRP4");
}
Integer MRPObject::GenerateSF2(DataObj&, const String&, const String&, Integer, Integer, Integer,
                               double, bool) {
  NotAvailable("GenerateSF2");
}

}  // namespace kz8mrp

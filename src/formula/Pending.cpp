// Formula methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

String MRPObject::SelectFormula(const String&, DataObj&, bool, bool) {
  NotAvailable("SelectFormula");
}
String MRPObject::GETFormulaParameterList(const String&, const String&, DataObj&, bool,
                                          ByRef<String>) {
  NotAvailable("GETFormulaParameterList");
}

}  // namespace kz8mrp

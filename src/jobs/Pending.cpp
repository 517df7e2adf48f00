// Job methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

String MRPObject::CreateJOBfromSO2TR(const String&, const String&, const String&, Integer, DataObj&,
                                     AppObj&, ClientObj&) {
  NotAvailable("CreateJOBfromSO2TR");
}
bool MRPObject::CanEditJob(const String&, DataObj&) { NotAvailable("CanEditJob"); }
String MRPObject::SelectJob(const String&, DataObj&) { NotAvailable("SelectJob"); }

}  // namespace kz8mrp

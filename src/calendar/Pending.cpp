// Schedule and capacity methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

OleDate MRPObject::GetEndDateTime3(OleDate, OleDate, double, const String&, DataObj&, AppObj&,
                                   ClientObj&, bool, bool, bool, ByRef<Integer>, KZ8HourType,
                                   const String&, Long) {
  NotAvailable("GetEndDateTime3");
}
OleDate MRPObject::GetStartDateTime3(OleDate, OleDate, double, const String&, DataObj&, AppObj&,
                                     ClientObj&, bool, bool, bool, ByRef<Integer>, KZ8HourType,
                                     const String&, Long) {
  NotAvailable("GetStartDateTime3");
}
String MRPObject::CreateMPSFromJobTR(const String&, DataObj&, AppObj&, ClientObj&) {
  NotAvailable("CreateMPSFromJobTR");
}
double MRPObject::GETBOMHourPerUnit(const String&, Integer, DataObj&, bool) {
  NotAvailable("GETBOMHourPerUnit");
}

}  // namespace kz8mrp

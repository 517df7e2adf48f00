// Schedule and capacity methods whose working part is not built yet.
#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"

namespace kz8mrp {

using component::NotAvailable;

double MRPObject::SumScheduleHours(const String&, DataObj&) { NotAvailable("SumScheduleHours"); }
double MRPObject::GETCapAsDate(const String&, OleDate, const String&, Long, DataObj&) {
  NotAvailable("GETCapAsDate");
}
double MRPObject::GETCapPlaned(const String&, OleDate, OleDate, DataObj&) {
  NotAvailable("GETCapPlaned");
}
double MRPObject::GETHoliday(const String&, OleDate, OleDate, DataObj&) {
  NotAvailable("GETHoliday");
}
double MRPObject::GETPMDay(const String&, OleDate, OleDate, DataObj&) { NotAvailable("GETPMDay"); }
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
String MRPObject::CreateMPSTR(OleDate, double, const String&, const String&, OleDate, DataObj&,
                              AppObj&, ClientObj&, const String&, const String&, Long, Long, Long,
                              Long) {
  NotAvailable("CreateMPSTR");
}
String MRPObject::CreateMPSFromJobTR(const String&, DataObj&, AppObj&, ClientObj&) {
  NotAvailable("CreateMPSFromJobTR");
}
double MRPObject::GETBOMHourPerUnit(const String&, Integer, DataObj&, bool) {
  NotAvailable("GETBOMHourPerUnit");
}

}  // namespace kz8mrp

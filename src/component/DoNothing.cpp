// Methods the interface publishes that do nothing: they touch no service and no row.
#include <kz8mrp/MRPObject.h>

namespace kz8mrp {

double MRPObject::GETProductionTime(const String&, OleDate, double, double, double) { return 0; }

String MRPObject::CreateJOBfromSOTR(const String&, DataObj&, AppObj&, ClientObj&) { return {}; }

String MRPObject::CreateProcessBulkOrderTR(const String&, double, bool, DataObj&, AppObj&,
                                           ClientObj&) {
  return {};
}

String MRPObject::CreateProductionOrderFromJobListTR(const String&, Integer, DataObj&, AppObj&,
                                                     ClientObj&) {
  return {};
}

String MRPObject::CreateProcessOrderFromJobMethodLevelListTR(const String&, Integer, DataObj&,
                                                             AppObj&, ClientObj&) {
  return {};
}

Integer MRPObject::GenerateSF(DataObj&, const String&, const String&, Integer, Integer, Integer) {
  return 1;
}

}  // namespace kz8mrp

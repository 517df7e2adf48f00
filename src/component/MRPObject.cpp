#include <kz8mrp/MRPObject.h>

#include "component/NotAvailable.h"
#include "host/services/ConvertTools.h"
#include "host/services/DbTools.h"
#include "host/services/InventoryTools.h"
#include "host/services/SettingTools.h"

namespace kz8mrp {

namespace component {
void NotAvailable(std::string_view method) {
  throw Error(errc::kNotAvailable, std::string(method) + " is not available in this build");
}
}  // namespace component

MRPObject::MRPObject() = default;
MRPObject::~MRPObject() = default;

host::ConvertTools& MRPObject::ConvertTools() {
  if (!convert_tools_) convert_tools_ = std::make_unique<host::ConvertTools>();
  return *convert_tools_;
}

host::DbTools& MRPObject::DbTools() {
  if (!db_tools_) db_tools_ = std::make_unique<host::DbTools>();
  return *db_tools_;
}

host::SettingTools& MRPObject::SettingTools() {
  if (!setting_tools_) setting_tools_ = std::make_unique<host::SettingTools>();
  return *setting_tools_;
}

host::InventoryTools& MRPObject::InventoryTools() {
  if (!inventory_tools_) inventory_tools_ = std::make_unique<host::InventoryTools>();
  return *inventory_tools_;
}

}  // namespace kz8mrp

// What tests may look at inside an MRPObject: which service objects exist.
#pragma once

#include <kz8mrp/MRPObject.h>

namespace kz8mrp {

struct MRPObjectInternals {
  static int ServiceObjectsCreated(const MRPObject& o) {
    return (o.convert_tools_ ? 1 : 0) + (o.db_tools_ ? 1 : 0) + (o.setting_tools_ ? 1 : 0) +
           (o.inventory_tools_ ? 1 : 0);
  }
  static const void* SettingToolsAddress(const MRPObject& o) { return o.setting_tools_.get(); }
  static const void* DbToolsAddress(const MRPObject& o) { return o.db_tools_.get(); }
};

}  // namespace kz8mrp

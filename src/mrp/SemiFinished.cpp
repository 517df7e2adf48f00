// The semi-finished explosion of a sales forecast: its product's bills of
// materials, level by level, stored as the forecast's material lines.
#include <kz8mrp/MRPObject.h>

#include "mrp/Explosion.h"
#include "mrp/ForecastLines.h"

namespace kz8mrp {

// The explosion reads committed master data only and finishes before the
// transaction opens, so a runaway bill stops with nothing written. An error
// while writing leaves the transaction open for the caller's session to end.
Integer MRPObject::GenerateSF2(DataObj& DataObj, const String& ProductCode, const String& ARCode,
                               Integer iYear, Integer iMonth, Integer iDay, double Quantity,
                               bool OneLevelOnly) {
  mrp::WorkGrids grids(DataObj.App());
  mrp::Explosion explosion(DataObj, {ConvertTools(), DbTools(), SettingTools()});
  explosion.Run(grids.materials, ProductCode, Quantity, OneLevelOnly);

  DataObj.OpenSession();
  DataObj.BeginTrans();
  const mrp::ForecastKey forecast{
      DataObj.Client().BranchCode(), iYear, iMonth, iDay, ProductCode, ARCode};
  mrp::WriteForecastLines(DataObj.Connection(), forecast, grids.materials, DataObj.Now());
  DataObj.CommitTrans();
  DataObj.CloseSession();
  return 1;
}

}  // namespace kz8mrp

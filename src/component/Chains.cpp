// Entry points that fill in values and call a fuller method. Each passes every
// other argument on unchanged and returns the called method's result unchanged.
#include <kz8mrp/MRPObject.h>

#include "host/db/Connection.h"
#include "host/services/SettingTools.h"

namespace kz8mrp {

namespace {
constexpr const char* kDefaultProductionBook = "MRPDEFAULTPRODUCTIONBOOK";
}

OleDate MRPObject::GetEndDateTime(OleDate StartDateTime, double Hours, DataObj& DataObj,
                                  AppObj& AppObj, ClientObj& ClientObj, bool CutPlanned,
                                  bool CutHoliday, bool CutPM, ByRef<Integer> SetupTime) {
  return GetEndDateTime2(StartDateTime, StartDateTime, Hours, "", DataObj, AppObj, ClientObj,
                         CutPlanned, CutHoliday, CutPM, SetupTime, KZ8HourTypeOffice);
}

OleDate MRPObject::GetEndDateTime2(OleDate StartDateTime, OleDate EairyFinish, double EsDay,
                                   const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                                   ClientObj& ClientObj, bool CutPlanned, bool CutHoliday,
                                   bool CutPM, ByRef<Integer> SetupTime, KZ8HourType HourType) {
  return GetEndDateTime3(StartDateTime, EairyFinish, EsDay, TSecCode, DataObj, AppObj, ClientObj,
                         CutPlanned, CutHoliday, CutPM, SetupTime, HourType, "", 0);
}

OleDate MRPObject::GetStartDateTime(OleDate EndDateTime, double Hours, DataObj& DataObj,
                                    AppObj& AppObj, ClientObj& ClientObj, bool CutPlanned,
                                    bool CutHoliday, bool CutPM, ByRef<Integer> SetupTime) {
  return GetStartDateTime2(EndDateTime, EndDateTime, Hours, "", DataObj, AppObj, ClientObj,
                           CutPlanned, CutHoliday, CutPM, SetupTime, KZ8HourTypeOffice);
}

OleDate MRPObject::GetStartDateTime2(OleDate EndDateTime, OleDate LastedStart, double EsDay,
                                     const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                                     ClientObj& ClientObj, bool CutPlanned, bool CutHoliday,
                                     bool CutPM, ByRef<Integer> SetupTime, KZ8HourType HourType) {
  return GetStartDateTime3(EndDateTime, LastedStart, EsDay, TSecCode, DataObj, AppObj, ClientObj,
                           CutPlanned, CutHoliday, CutPM, SetupTime, HourType, "", 0);
}

Integer MRPObject::AdjustJOBTR(const String& ProductionNo, bool CutMode, DataObj& DataObj,
                               AppObj& AppObj, ClientObj& ClientObj) {
  return AdjustJOB2TR(ProductionNo, "", CutMode, DataObj, AppObj, ClientObj);
}

String MRPObject::CreateProductionOrderFromJobLn(const String& JobNo, Long JbMLn,
                                                 Integer ApproveStatus, DataObj& DataObj,
                                                 AppObj& AppObj, ClientObj& ClientObj) {
  return CreateProductionOrderFromJobLn2(JobNo, JbMLn, ApproveStatus, DataObj, AppObj, ClientObj,
                                         0);
}

String MRPObject::CreateProductionOrderFromJobLn2(const String& JobNo, Long JbMLn,
                                                  Integer ApproveStatus, DataObj& DataObj,
                                                  AppObj& AppObj, ClientObj& ClientObj,
                                                  double NewQuantity) {
  return CreateProductionOrderFromJobLn3(JobNo, JbMLn, ApproveStatus, DataObj, AppObj, ClientObj,
                                         NewQuantity, "");
}

String MRPObject::CreateProductionOrderFromJobLnTR(const String& JobNo, Long JbMLn,
                                                   Integer ApproveStatus, DataObj& DataObj,
                                                   AppObj& AppObj, ClientObj& ClientObj) {
  return CreateProductionOrderFromJobLn2TR(JobNo, JbMLn, ApproveStatus, DataObj, AppObj, ClientObj,
                                           0);
}

String MRPObject::CreateProductionOrderFromJobLn2TR(const String& JobNo, Long JbMLn,
                                                    Integer ApproveStatus, DataObj& DataObj,
                                                    AppObj& AppObj, ClientObj& ClientObj,
                                                    double NewQuantity) {
  const String book = SettingTools().GetText(kDefaultProductionBook, DataObj.Connection());
  return CreateProductionOrderFromJobLn3TR(JobNo, JbMLn, ApproveStatus, DataObj, AppObj, ClientObj,
                                           NewQuantity, book);
}

String MRPObject::CreateProcessOrderFromJobMethodLevel(const String& JobNo, Long JbMLn, Long Level,
                                                       Long MethodLn, Integer ApproveStatus,
                                                       DataObj& DataObj, AppObj& AppObj,
                                                       ClientObj& ClientObj) {
  return CreateProcessOrderFromJobMethodLevel2(JobNo, JbMLn, Level, MethodLn, ApproveStatus,
                                               DataObj, AppObj, ClientObj, 0);
}

String MRPObject::CreateProcessOrderFromJobMethodLevelTR(const String& JobNo, Long JbMLn,
                                                         Long Level, Long MethodLn,
                                                         Integer ApproveStatus, DataObj& DataObj,
                                                         AppObj& AppObj, ClientObj& ClientObj) {
  return CreateProcessOrderFromJobMethodLevel2TR(JobNo, JbMLn, Level, MethodLn, ApproveStatus,
                                                 DataObj, AppObj, ClientObj, 0);
}

String MRPObject::CreateProductionBulkOrderTR(const String& ProductCode, double Quantity,
                                              bool IgnoreBatchSize, OleDate StartDate,
                                              OleDate EndDate, Integer ApproveStatus,
                                              DataObj& DataObj, AppObj& AppObj,
                                              ClientObj& ClientObj) {
  return CreateProductionBulkOrder2TR(ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
                                      ApproveStatus, DataObj, AppObj, ClientObj, "");
}

String MRPObject::CreateProductionBulkOrder2TR(const String& ProductCode, double Quantity,
                                               bool IgnoreBatchSize, OleDate StartDate,
                                               OleDate EndDate, Integer ApproveStatus,
                                               DataObj& DataObj, AppObj& AppObj,
                                               ClientObj& ClientObj, const String& Description) {
  const String book = SettingTools().GetText(kDefaultProductionBook, DataObj.Connection());
  return CreateProductionBulkOrder3TR(ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
                                      ApproveStatus, DataObj, AppObj, ClientObj, Description, book);
}

String MRPObject::CreateProcessBulkOrder2TR(const String& ProductCode, double Quantity,
                                            bool IgnoreBatchSize, OleDate StartDate,
                                            OleDate EndDate, Integer ApproveStatus,
                                            DataObj& DataObj, AppObj& AppObj,
                                            ClientObj& ClientObj) {
  return CreateProcessBulkOrder3TR(ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
                                   ApproveStatus, DataObj, AppObj, ClientObj, "");
}

String MRPObject::CreateProcessBulkOrder3TR(const String& ProductCode, double Quantity,
                                            bool IgnoreBatchSize, OleDate StartDate,
                                            OleDate EndDate, Integer ApproveStatus,
                                            DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                            const String& Description) {
  return CreateProcessBulkOrder4TR(ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
                                   ApproveStatus, DataObj, AppObj, ClientObj, Description, "");
}

Integer MRPObject::GenerateMRP(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                               ByRef<OleDate> ToDate) {
  bool use_this_balance_fg = false;  // a fresh one: nothing is written back to the caller
  return GenerateMRP2(DataObj, ProductCode, FromDate, ToDate.get(), use_this_balance_fg, 0);
}

Integer MRPObject::GenerateMRP2(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                                OleDate ToDate, ByRef<bool> UseThisBalanceFG, double BalanceFG) {
  return GenerateMRP3(DataObj, ProductCode, FromDate, ToDate, UseThisBalanceFG, BalanceFG, true);
}

Integer MRPObject::GenerateMRP3(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                                OleDate ToDate, ByRef<bool> UseThisBalanceFG, double BalanceFG,
                                bool BuiltDateOnly) {
  // A copy: what GenerateMRP4 makes of the mode does not reach UseThisBalanceFG.
  Integer balance_mode = UseThisBalanceFG.get() ? Integer{2} : Integer{0};
  return GenerateMRP4(DataObj, ProductCode, FromDate, ToDate, balance_mode, BalanceFG,
                      BuiltDateOnly);
}

String MRPObject::SelectFormulaSet(const String& FormulaGroupCode, DataObj& DataObj) {
  return SelectFormula(FormulaGroupCode, DataObj, true, true);
}

}  // namespace kz8mrp

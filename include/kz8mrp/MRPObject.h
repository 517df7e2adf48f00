// The production-planning engine: one object, 58 methods, every one working on
// the caller's database session. Methods whose names end in TR run inside the
// transaction the caller holds on DataObj; the bracketing methods open and
// close their own.
#pragma once

#include <kz8mrp/ByRef.h>
#include <kz8mrp/Enums.h>
#include <kz8mrp/Error.h>
#include <kz8mrp/OleDate.h>
#include <kz8mrp/Session.h>

#include <cstdint>
#include <memory>
#include <string>

namespace kz8mrp {

namespace host {
class ConvertTools;
class DbTools;
class SettingTools;
class InventoryTools;
}  // namespace host

using String = std::string;
using Integer = std::int16_t;
using Long = std::int32_t;

// NOLINTBEGIN(google-default-arguments): the optional parameters are part of the interface.
class MRPObject {
 public:
  MRPObject();
  MRPObject(const MRPObject&) = delete;
  MRPObject& operator=(const MRPObject&) = delete;
  virtual ~MRPObject();

  // 0
  virtual double GETProductionTime(const String& ProductCode, OleDate StartDate,
                                   double Unit1Volume = 0, double Unit3Volume = 0,
                                   double Unit2Volume = 0);
  // 1, 2
  virtual Integer CreateMPSFromJob(const String& DocNo, DataObj& DataObj, AppObj& AppObj,
                                   ClientObj& ClientObj);
  virtual String CreateMPSFromJobTR(const String& DocNo, DataObj& DataObj, AppObj& AppObj,
                                    ClientObj& ClientObj);
  // 3 - 5
  virtual String SelectFormulaSet(const String& FormulaGroupCode, DataObj& DataObj);
  virtual String SelectFormula(const String& FormulaGroupCode, DataObj& DataObj,
                               bool OutPutList = false, bool MultiSelect = false);
  virtual String GETFormulaParameterList(const String& FormulaCode, const String& FormulaGroupCode,
                                         DataObj& DataObj, bool SkipCode = true,
                                         ByRef<String> SplitChar = String("#"));
  // 6, 7
  virtual String CreateProductionOrderFromJobLn(const String& JobNo, Long JbMLn,
                                                Integer ApproveStatus, DataObj& DataObj,
                                                AppObj& AppObj, ClientObj& ClientObj);
  virtual String CreateProductionOrderFromJobLnTR(const String& JobNo, Long JbMLn,
                                                  Integer ApproveStatus, DataObj& DataObj,
                                                  AppObj& AppObj, ClientObj& ClientObj);
  // 8, 9
  virtual String CreateProcessOrderFromJobMethodLevel(const String& JobNo, Long JbMLn, Long Level,
                                                      Long MethodLn, Integer ApproveStatus,
                                                      DataObj& DataObj, AppObj& AppObj,
                                                      ClientObj& ClientObj);
  virtual String CreateProcessOrderFromJobMethodLevelTR(const String& JobNo, Long JbMLn, Long Level,
                                                        Long MethodLn, Integer ApproveStatus,
                                                        DataObj& DataObj, AppObj& AppObj,
                                                        ClientObj& ClientObj);
  // 10
  virtual Integer AdjustJOBTR(const String& ProductionNo, bool CutMode, DataObj& DataObj,
                              AppObj& AppObj, ClientObj& ClientObj);
  // 11, 12
  virtual String CreateProductionOrderFromJobList(const String& JL, Integer ApproveStatus,
                                                  DataObj& DataObj, AppObj& AppObj,
                                                  ClientObj& ClientObj);
  virtual String CreateProductionOrderFromJobListTR(const String& JL, Integer ApproveStatus,
                                                    DataObj& DataObj, AppObj& AppObj,
                                                    ClientObj& ClientObj);
  // 13, 14
  virtual String CreateProductionOrderFromJobLn2(const String& JobNo, Long JbMLn,
                                                 Integer ApproveStatus, DataObj& DataObj,
                                                 AppObj& AppObj, ClientObj& ClientObj,
                                                 double NewQuantity = 0);
  virtual String CreateProductionOrderFromJobLn2TR(const String& JobNo, Long JbMLn,
                                                   Integer ApproveStatus, DataObj& DataObj,
                                                   AppObj& AppObj, ClientObj& ClientObj,
                                                   double NewQuantity = 0);
  // 15, 16
  virtual String CreateProcessOrderFromJobMethodLevelList(const String& JL, Integer ApproveStatus,
                                                          DataObj& DataObj, AppObj& AppObj,
                                                          ClientObj& ClientObj);
  virtual String CreateProcessOrderFromJobMethodLevelListTR(const String& JL, Integer ApproveStatus,
                                                            DataObj& DataObj, AppObj& AppObj,
                                                            ClientObj& ClientObj);
  // 17, 18
  virtual String CreateProcessOrderFromJobMethodLevel2(const String& JobNo, Long JbMLn, Long Level,
                                                       Long MethodLn, Integer ApproveStatus,
                                                       DataObj& DataObj, AppObj& AppObj,
                                                       ClientObj& ClientObj,
                                                       double NewQuantity = 0);
  virtual String CreateProcessOrderFromJobMethodLevel2TR(const String& JobNo, Long JbMLn,
                                                         Long Level, Long MethodLn,
                                                         Integer ApproveStatus, DataObj& DataObj,
                                                         AppObj& AppObj, ClientObj& ClientObj,
                                                         double NewQuantity = 0);
  // 19, 20
  virtual OleDate GetEndDateTime(OleDate StartDateTime, double Hours, DataObj& DataObj,
                                 AppObj& AppObj, ClientObj& ClientObj, bool CutPlanned = true,
                                 bool CutHoliday = true, bool CutPM = true,
                                 ByRef<Integer> SetupTime = Integer{0});
  virtual OleDate GetStartDateTime(OleDate EndDateTime, double Hours, DataObj& DataObj,
                                   AppObj& AppObj, ClientObj& ClientObj, bool CutPlanned = true,
                                   bool CutHoliday = true, bool CutPM = true,
                                   ByRef<Integer> SetupTime = Integer{0});
  // 21
  virtual double GETHourPerDay(KZ8HourType HourType, const String& SecCode, DataObj& DataObj);
  // 22, 23
  virtual OleDate GetEndDateTime2(OleDate StartDateTime, OleDate EairyFinish, double EsDay,
                                  const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                                  ClientObj& ClientObj, bool CutPlanned = true,
                                  bool CutHoliday = true, bool CutPM = true,
                                  ByRef<Integer> SetupTime = Integer{0},
                                  KZ8HourType HourType = KZ8HourTypeOffice);
  virtual OleDate GetStartDateTime2(OleDate EndDateTime, OleDate LastedStart, double EsDay,
                                    const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                                    ClientObj& ClientObj, bool CutPlanned = true,
                                    bool CutHoliday = true, bool CutPM = true,
                                    ByRef<Integer> SetupTime = Integer{0},
                                    KZ8HourType HourType = KZ8HourTypeOffice);
  // 24 - 26
  virtual double GETPMDay(const String& TAgtCode, OleDate StartDateTime, OleDate EndDateTime,
                          DataObj& DataObj);
  virtual double GETHoliday(const String& SecCode, OleDate StartDateTime, OleDate EndDateTime,
                            DataObj& DataObj);
  virtual double GETCapPlaned(const String& SecCode, OleDate StartDateTime, OleDate EndDateTime,
                              DataObj& DataObj);
  // 27, 28
  virtual String CreateMPS(OleDate StartDateTime, double Hours, const String& ReserveType,
                           const String& BranchCode, OleDate DocDate, DataObj& DataObj,
                           AppObj& AppObj, ClientObj& ClientObj, const String& TSecCode = "",
                           const String& TJobNo = "", Long TJbMLn = 0, Long TSpdStep = 0,
                           Long TJStLn = 0, Long TJStLevel = 0);
  virtual String CreateMPSTR(OleDate StartDateTime, double Hours, const String& ReserveType,
                             const String& BranchCode, OleDate DocDate, DataObj& DataObj,
                             AppObj& AppObj, ClientObj& ClientObj, const String& TSecCode = "",
                             const String& TJobNo = "", Long TJbMLn = 0, Long TSpdStep = 0,
                             Long TJStLn = 0, Long TJStLevel = 0);
  // 29, 30
  virtual bool isMRPHoliday(OleDate iDate, const String& BranchCode, DataObj& DataObj);
  virtual OleDate MoveToOfficeHourDate(OleDate iDate, bool MoveNext, const String& BranchCode,
                                       DataObj& DataObj);
  // 31, 32
  virtual Integer AdjustJOBProductionTR(const String& InventoryNo, const String& ProductionNo,
                                        bool CutMode, DataObj& DataObj, AppObj& AppObj,
                                        ClientObj& ClientObj);
  virtual Integer AdjustJOB2TR(const String& ProductionNo, const String& JobNo, bool CutMode,
                               DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj);
  // 33, 34
  virtual String CreateJOBfromSOTR(const String& SONo, DataObj& DataObj, AppObj& AppObj,
                                   ClientObj& ClientObj);
  virtual String CreateJOBfromSO2TR(const String& SONo, const String& iJobNo, const String& iBook,
                                    Integer iType, DataObj& DataObj, AppObj& AppObj,
                                    ClientObj& ClientObj);
  // 35, 36
  virtual OleDate GetStartDateTime3(OleDate EndDateTime, OleDate LastedStart, double EsDay,
                                    const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                                    ClientObj& ClientObj, bool CutPlanned = true,
                                    bool CutHoliday = true, bool CutPM = true,
                                    ByRef<Integer> SetupTime = Integer{0},
                                    KZ8HourType HourType = KZ8HourTypeOffice,
                                    const String& SkipTJobNo = "", Long SkipTJbMLn = 0);
  virtual OleDate GetEndDateTime3(OleDate StartDateTime, OleDate EairyFinish, double EsDay,
                                  const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                                  ClientObj& ClientObj, bool CutPlanned = true,
                                  bool CutHoliday = true, bool CutPM = true,
                                  ByRef<Integer> SetupTime = Integer{0},
                                  KZ8HourType HourType = KZ8HourTypeOffice,
                                  const String& SkipTJobNo = "", Long SkipTJbMLn = 0);
  // 37, 38
  virtual String CreateProcessBulkOrderTR(const String& ProductCode, double Quantity,
                                          bool IgnoreBatchSize, DataObj& DataObj, AppObj& AppObj,
                                          ClientObj& ClientObj);
  virtual String CreateProcessBulkOrder2TR(const String& ProductCode, double Quantity,
                                           bool IgnoreBatchSize, OleDate StartDate, OleDate EndDate,
                                           Integer ApproveStatus, DataObj& DataObj, AppObj& AppObj,
                                           ClientObj& ClientObj);
  // 39 - 44
  virtual double GETMR(DataObj& DataObj, const String& ProductCode, OleDate AtDate);
  virtual Integer GenerateMRPFromMR(DataObj& DataObj, const String& JobNo);
  virtual Integer GenerateMRP(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                              ByRef<OleDate> ToDate);
  virtual Integer GenerateMRP2(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                               OleDate ToDate, ByRef<bool> UseThisBalanceFG = false,
                               double BalanceFG = 0);
  virtual Integer GenerateMRP3(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                               OleDate ToDate, ByRef<bool> UseThisBalanceFG = false,
                               double BalanceFG = 0, bool BuiltDateOnly = true);
  virtual Integer GenerateMRP4(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                               OleDate ToDate, ByRef<Integer> BalanceMode = Integer{0},
                               double BalanceFG = 0, bool BuiltDateOnly = true);
  // 45
  virtual double GETCapAsDate(const String& SecCode, OleDate ADATE, const String& SkipTJobNo,
                              Long SkipTJbMLn, DataObj& DataObj);
  // 46 - 48
  virtual String CreateProductionBulkOrderTR(const String& ProductCode, double Quantity,
                                             bool IgnoreBatchSize, OleDate StartDate,
                                             OleDate EndDate, Integer ApproveStatus,
                                             DataObj& DataObj, AppObj& AppObj,
                                             ClientObj& ClientObj);
  virtual String CreateProcessBulkOrder3TR(const String& ProductCode, double Quantity,
                                           bool IgnoreBatchSize, OleDate StartDate, OleDate EndDate,
                                           Integer ApproveStatus, DataObj& DataObj, AppObj& AppObj,
                                           ClientObj& ClientObj, const String& Description);
  virtual String CreateProductionBulkOrder2TR(const String& ProductCode, double Quantity,
                                              bool IgnoreBatchSize, OleDate StartDate,
                                              OleDate EndDate, Integer ApproveStatus,
                                              DataObj& DataObj, AppObj& AppObj,
                                              ClientObj& ClientObj, const String& Description);
  // 49
  virtual double GETBOMHourPerUnit(const String& iProductCode, Integer iFromStep, DataObj& DataObj,
                                   bool useFullDown = true);
  // 50, 51
  virtual String CreateProcessBulkOrder4TR(const String& ProductCode, double Quantity,
                                           bool IgnoreBatchSize, OleDate StartDate, OleDate EndDate,
                                           Integer ApproveStatus, DataObj& DataObj, AppObj& AppObj,
                                           ClientObj& ClientObj, const String& Description,
                                           const String& Book = "");
  virtual String CreateProductionBulkOrder3TR(const String& ProductCode, double Quantity,
                                              bool IgnoreBatchSize, OleDate StartDate,
                                              OleDate EndDate, Integer ApproveStatus,
                                              DataObj& DataObj, AppObj& AppObj,
                                              ClientObj& ClientObj, const String& Description,
                                              const String& Book = "");
  // 52, 53
  virtual String CreateProductionOrderFromJobLn3(const String& JobNo, Long JbMLn,
                                                 Integer ApproveStatus, DataObj& DataObj,
                                                 AppObj& AppObj, ClientObj& ClientObj,
                                                 double NewQuantity = 0, const String& Book = "");
  virtual String CreateProductionOrderFromJobLn3TR(const String& JobNo, Long JbMLn,
                                                   Integer ApproveStatus, DataObj& DataObj,
                                                   AppObj& AppObj, ClientObj& ClientObj,
                                                   double NewQuantity = 0, const String& Book = "");
  // 54, 55
  virtual Integer GenerateSF(DataObj& DataObj, const String& ProductCode, const String& ARCode,
                             Integer iYear, Integer iMonth, Integer iDay);
  virtual Integer GenerateSF2(DataObj& DataObj, const String& ProductCode, const String& ARCode,
                              Integer iYear, Integer iMonth, Integer iDay, double Quantity,
                              bool OneLevelOnly = false);
  // 56, 57
  virtual bool CanEditJob(const String& JobNo, DataObj& DataObj);
  virtual String SelectJob(const String& BranchCode, DataObj& DataObj);

 protected:
  // The service objects, each created on first use and kept for the object's life.
  host::ConvertTools& ConvertTools();
  host::DbTools& DbTools();
  host::SettingTools& SettingTools();
  host::InventoryTools& InventoryTools();

 private:
  // Sums TMPSHour of the schedule rows matching a condition fragment (" AND ...").
  double SumScheduleHours(const String& condition, DataObj& DataObj);

  friend struct MRPObjectInternals;

  std::unique_ptr<host::ConvertTools> convert_tools_;
  std::unique_ptr<host::DbTools> db_tools_;
  std::unique_ptr<host::SettingTools> setting_tools_;
  std::unique_ptr<host::InventoryTools> inventory_tools_;
};
// NOLINTEND(google-default-arguments)

}  // namespace kz8mrp

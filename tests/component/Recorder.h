// Watching the component from outside: a session that records its bracket
// operations, and an engine whose callees record the arguments they receive.
#pragma once

#include <kz8mrp/MRPObject.h>

#include "common/Text.h"
#include "host/db/Connection.h"
#include "support/TestDb.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace kz8test {

using namespace kz8mrp;  // NOLINT(google-build-using-namespace): the interface's own names

// Records OpenSession, BeginTrans, CommitTrans, RollbackTrans and CloseSession
// in order, and counts every other use of the session.
class RecordingDataObj : public DataObj {
 public:
  using DataObj::DataObj;

  std::vector<std::string> calls;
  mutable int touches = 0;

  bool OpenSession() override {
    return Log("OpenSession", [this] { return DataObj::OpenSession(); });
  }
  bool BeginTrans() override {
    return Log("BeginTrans", [this] { return DataObj::BeginTrans(); });
  }
  bool CommitTrans() override {
    return Log("CommitTrans", [this] { return DataObj::CommitTrans(); });
  }
  bool RollbackTrans() override {
    return Log("RollbackTrans", [this] { return DataObj::RollbackTrans(); });
  }
  bool CloseSession() override {
    return Log("CloseSession", [this] { return DataObj::CloseSession(); });
  }
  db::Connection& Connection() override {
    ++touches;
    return DataObj::Connection();
  }
  std::string DatabaseKind() override {
    ++touches;
    return DataObj::DatabaseKind();
  }
  std::string ConnectionString() const override {
    ++touches;
    return DataObj::ConnectionString();
  }
  void ExecuteSQL(const std::string& sql) override {
    ++touches;
    DataObj::ExecuteSQL(sql);
  }

 private:
  template <class F>
  bool Log(const char* name, F base) {
    calls.emplace_back(name);
    const int before = touches;
    const bool ok = base();
    touches = before;  // the base reaching its connection is part of the operation
    return ok;
  }
};

// An engine whose working variants record their arguments and return what the
// test sets; the entry points in between record theirs and then run as built.
// NOLINTBEGIN(google-default-arguments): overrides repeat the interface's defaults.
class Recorder : public MRPObject {
 public:
  Recorder(DataObj& data, AppObj& app, ClientObj& client)
      : data_(&data), app_(&app), client_(&client) {}

  std::vector<std::string> calls;
  String text_result = "DOC-1";
  OleDate date_result = OleDate::FromParts(2027, 2, 1, 17);
  Integer setup_written = 45;  // what GetEndDateTime3 / GetStartDateTime3 write back
  bool twin_raises = false;
  std::string twin_sql;  // run by the order and schedule twins before they answer

  OleDate GetEndDateTime2(OleDate StartDateTime, OleDate EairyFinish, double EsDay,
                          const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                          ClientObj& ClientObj, bool CutPlanned, bool CutHoliday, bool CutPM,
                          ByRef<Integer> SetupTime, KZ8HourType HourType) override {
    Log("GetEndDateTime2", StartDateTime, EairyFinish, EsDay, TSecCode, DataObj, AppObj, ClientObj,
        CutPlanned, CutHoliday, CutPM, SetupTime.get(), HourType);
    return MRPObject::GetEndDateTime2(StartDateTime, EairyFinish, EsDay, TSecCode, DataObj, AppObj,
                                      ClientObj, CutPlanned, CutHoliday, CutPM, SetupTime,
                                      HourType);
  }
  OleDate GetEndDateTime3(OleDate StartDateTime, OleDate EairyFinish, double EsDay,
                          const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                          ClientObj& ClientObj, bool CutPlanned, bool CutHoliday, bool CutPM,
                          ByRef<Integer> SetupTime, KZ8HourType HourType, const String& SkipTJobNo,
                          Long SkipTJbMLn) override {
    Log("GetEndDateTime3", StartDateTime, EairyFinish, EsDay, TSecCode, DataObj, AppObj, ClientObj,
        CutPlanned, CutHoliday, CutPM, SetupTime.get(), HourType, SkipTJobNo, SkipTJbMLn);
    SetupTime = setup_written;
    return date_result;
  }
  OleDate GetStartDateTime2(OleDate EndDateTime, OleDate LastedStart, double EsDay,
                            const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                            ClientObj& ClientObj, bool CutPlanned, bool CutHoliday, bool CutPM,
                            ByRef<Integer> SetupTime, KZ8HourType HourType) override {
    Log("GetStartDateTime2", EndDateTime, LastedStart, EsDay, TSecCode, DataObj, AppObj, ClientObj,
        CutPlanned, CutHoliday, CutPM, SetupTime.get(), HourType);
    return MRPObject::GetStartDateTime2(EndDateTime, LastedStart, EsDay, TSecCode, DataObj, AppObj,
                                        ClientObj, CutPlanned, CutHoliday, CutPM, SetupTime,
                                        HourType);
  }
  OleDate GetStartDateTime3(OleDate EndDateTime, OleDate LastedStart, double EsDay,
                            const String& TSecCode, DataObj& DataObj, AppObj& AppObj,
                            ClientObj& ClientObj, bool CutPlanned, bool CutHoliday, bool CutPM,
                            ByRef<Integer> SetupTime, KZ8HourType HourType,
                            const String& SkipTJobNo, Long SkipTJbMLn) override {
    Log("GetStartDateTime3", EndDateTime, LastedStart, EsDay, TSecCode, DataObj, AppObj, ClientObj,
        CutPlanned, CutHoliday, CutPM, SetupTime.get(), HourType, SkipTJobNo, SkipTJbMLn);
    SetupTime = setup_written;
    return date_result;
  }
  Integer AdjustJOB2TR(const String& ProductionNo, const String& JobNo, bool CutMode,
                       DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj) override {
    Log("AdjustJOB2TR", ProductionNo, JobNo, CutMode, DataObj, AppObj, ClientObj);
    return 7;
  }
  String CreateProductionOrderFromJobLn2(const String& JobNo, Long JbMLn, Integer ApproveStatus,
                                         DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                         double NewQuantity) override {
    Log("CreateProductionOrderFromJobLn2", JobNo, JbMLn, ApproveStatus, DataObj, AppObj, ClientObj,
        NewQuantity);
    return MRPObject::CreateProductionOrderFromJobLn2(JobNo, JbMLn, ApproveStatus, DataObj, AppObj,
                                                      ClientObj, NewQuantity);
  }
  String CreateProductionOrderFromJobLn3(const String& JobNo, Long JbMLn, Integer ApproveStatus,
                                         DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                         double NewQuantity, const String& Book) override {
    Log("CreateProductionOrderFromJobLn3", JobNo, JbMLn, ApproveStatus, DataObj, AppObj, ClientObj,
        NewQuantity, Book);
    return MRPObject::CreateProductionOrderFromJobLn3(JobNo, JbMLn, ApproveStatus, DataObj, AppObj,
                                                      ClientObj, NewQuantity, Book);
  }
  String CreateProductionOrderFromJobLn2TR(const String& JobNo, Long JbMLn, Integer ApproveStatus,
                                           DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                           double NewQuantity) override {
    Log("CreateProductionOrderFromJobLn2TR", JobNo, JbMLn, ApproveStatus, DataObj, AppObj,
        ClientObj, NewQuantity);
    return MRPObject::CreateProductionOrderFromJobLn2TR(JobNo, JbMLn, ApproveStatus, DataObj,
                                                        AppObj, ClientObj, NewQuantity);
  }
  String CreateProductionOrderFromJobLn3TR(const String& JobNo, Long JbMLn, Integer ApproveStatus,
                                           DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                           double NewQuantity, const String& Book) override {
    Log("CreateProductionOrderFromJobLn3TR", JobNo, JbMLn, ApproveStatus, DataObj, AppObj,
        ClientObj, NewQuantity, Book);
    return Twin(DataObj);
  }
  String CreateProcessOrderFromJobMethodLevel2(const String& JobNo, Long JbMLn, Long Level,
                                               Long MethodLn, Integer ApproveStatus,
                                               DataObj& DataObj, AppObj& AppObj,
                                               ClientObj& ClientObj, double NewQuantity) override {
    Log("CreateProcessOrderFromJobMethodLevel2", JobNo, JbMLn, Level, MethodLn, ApproveStatus,
        DataObj, AppObj, ClientObj, NewQuantity);
    return MRPObject::CreateProcessOrderFromJobMethodLevel2(
        JobNo, JbMLn, Level, MethodLn, ApproveStatus, DataObj, AppObj, ClientObj, NewQuantity);
  }
  String CreateProcessOrderFromJobMethodLevel2TR(const String& JobNo, Long JbMLn, Long Level,
                                                 Long MethodLn, Integer ApproveStatus,
                                                 DataObj& DataObj, AppObj& AppObj,
                                                 ClientObj& ClientObj,
                                                 double NewQuantity) override {
    Log("CreateProcessOrderFromJobMethodLevel2TR", JobNo, JbMLn, Level, MethodLn, ApproveStatus,
        DataObj, AppObj, ClientObj, NewQuantity);
    return Twin(DataObj);
  }
  String CreateProductionBulkOrder2TR(const String& ProductCode, double Quantity,
                                      bool IgnoreBatchSize, OleDate StartDate, OleDate EndDate,
                                      Integer ApproveStatus, DataObj& DataObj, AppObj& AppObj,
                                      ClientObj& ClientObj, const String& Description) override {
    Log("CreateProductionBulkOrder2TR", ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
        ApproveStatus, DataObj, AppObj, ClientObj, Description);
    return MRPObject::CreateProductionBulkOrder2TR(ProductCode, Quantity, IgnoreBatchSize,
                                                   StartDate, EndDate, ApproveStatus, DataObj,
                                                   AppObj, ClientObj, Description);
  }
  String CreateProductionBulkOrder3TR(const String& ProductCode, double Quantity,
                                      bool IgnoreBatchSize, OleDate StartDate, OleDate EndDate,
                                      Integer ApproveStatus, DataObj& DataObj, AppObj& AppObj,
                                      ClientObj& ClientObj, const String& Description,
                                      const String& Book) override {
    Log("CreateProductionBulkOrder3TR", ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
        ApproveStatus, DataObj, AppObj, ClientObj, Description, Book);
    return text_result;
  }
  String CreateProcessBulkOrder3TR(const String& ProductCode, double Quantity, bool IgnoreBatchSize,
                                   OleDate StartDate, OleDate EndDate, Integer ApproveStatus,
                                   DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                   const String& Description) override {
    Log("CreateProcessBulkOrder3TR", ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
        ApproveStatus, DataObj, AppObj, ClientObj, Description);
    return MRPObject::CreateProcessBulkOrder3TR(ProductCode, Quantity, IgnoreBatchSize, StartDate,
                                                EndDate, ApproveStatus, DataObj, AppObj, ClientObj,
                                                Description);
  }
  String CreateProcessBulkOrder4TR(const String& ProductCode, double Quantity, bool IgnoreBatchSize,
                                   OleDate StartDate, OleDate EndDate, Integer ApproveStatus,
                                   DataObj& DataObj, AppObj& AppObj, ClientObj& ClientObj,
                                   const String& Description, const String& Book) override {
    Log("CreateProcessBulkOrder4TR", ProductCode, Quantity, IgnoreBatchSize, StartDate, EndDate,
        ApproveStatus, DataObj, AppObj, ClientObj, Description, Book);
    return text_result;
  }
  Integer GenerateMRP2(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                       OleDate ToDate, ByRef<bool> UseThisBalanceFG, double BalanceFG) override {
    Log("GenerateMRP2", DataObj, ProductCode, FromDate, ToDate, UseThisBalanceFG.get(), BalanceFG);
    return MRPObject::GenerateMRP2(DataObj, ProductCode, FromDate, ToDate, UseThisBalanceFG,
                                   BalanceFG);
  }
  Integer GenerateMRP3(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                       OleDate ToDate, ByRef<bool> UseThisBalanceFG, double BalanceFG,
                       bool BuiltDateOnly) override {
    Log("GenerateMRP3", DataObj, ProductCode, FromDate, ToDate, UseThisBalanceFG.get(), BalanceFG,
        BuiltDateOnly);
    return MRPObject::GenerateMRP3(DataObj, ProductCode, FromDate, ToDate, UseThisBalanceFG,
                                   BalanceFG, BuiltDateOnly);
  }
  Integer GenerateMRP4(DataObj& DataObj, const String& ProductCode, OleDate FromDate,
                       OleDate ToDate, ByRef<Integer> BalanceMode, double BalanceFG,
                       bool BuiltDateOnly) override {
    Log("GenerateMRP4", DataObj, ProductCode, FromDate, ToDate, BalanceMode.get(), BalanceFG,
        BuiltDateOnly);
    BalanceMode = Integer{0};  // a working variant may change the mode it was given
    return 3;
  }
  String SelectFormula(const String& FormulaGroupCode, DataObj& DataObj, bool OutPutList,
                       bool MultiSelect) override {
    Log("SelectFormula", FormulaGroupCode, DataObj, OutPutList, MultiSelect);
    return text_result;
  }
  String GETFormulaParameterList(const String& FormulaCode, const String& FormulaGroupCode,
                                 DataObj& DataObj, bool SkipCode,
                                 ByRef<String> SplitChar) override {
    Log("GETFormulaParameterList", FormulaCode, FormulaGroupCode, DataObj, SkipCode,
        SplitChar.get());
    SplitChar = String("|");
    return text_result;
  }
  double GETBOMHourPerUnit(const String& iProductCode, Integer iFromStep, DataObj& DataObj,
                           bool useFullDown) override {
    Log("GETBOMHourPerUnit", iProductCode, iFromStep, DataObj, useFullDown);
    return 1.5;
  }
  String CreateMPSTR(OleDate StartDateTime, double Hours, const String& ReserveType,
                     const String& BranchCode, OleDate DocDate, DataObj& DataObj, AppObj& AppObj,
                     ClientObj& ClientObj, const String& TSecCode, const String& TJobNo,
                     Long TJbMLn, Long TSpdStep, Long TJStLn, Long TJStLevel) override {
    Log("CreateMPSTR", StartDateTime, Hours, ReserveType, BranchCode, DocDate, DataObj, AppObj,
        ClientObj, TSecCode, TJobNo, TJbMLn, TSpdStep, TJStLn, TJStLevel);
    return Twin(DataObj);
  }
  String CreateMPSFromJobTR(const String& DocNo, DataObj& DataObj, AppObj& AppObj,
                            ClientObj& ClientObj) override {
    Log("CreateMPSFromJobTR", DocNo, DataObj, AppObj, ClientObj);
    return Twin(DataObj);
  }
  Integer GenerateSF2(DataObj& DataObj, const String& ProductCode, const String& ARCode,
                      Integer iYear, Integer iMonth, Integer iDay, double Quantity,
                      bool OneLevelOnly) override {
    Log("GenerateSF2", DataObj, ProductCode, ARCode, iYear, iMonth, iDay, Quantity, OneLevelOnly);
    return 1;
  }

 private:
  String Twin(DataObj& data) {
    if (!twin_sql.empty()) data.ExecuteSQL(twin_sql);
    if (twin_raises) throw Error(errc::kDivisionByZero, "Division by zero");
    return text_result;
  }

  std::string Show(const String& s) const { return "'" + s + "'"; }
  std::string Show(OleDate d) const { return d.ToString(); }
  std::string Show(bool b) const { return b ? "True" : "False"; }
  std::string Show(double n) const { return text::NumberText(n); }
  std::string Show(KZ8HourType h) const { return "HourType " + std::to_string(h); }
  std::string Show(Integer n) const { return std::to_string(n); }
  std::string Show(Long n) const { return std::to_string(n); }
  std::string Show(const DataObj& d) const { return &d == data_ ? "data" : "another DataObj"; }
  std::string Show(const AppObj& a) const { return &a == app_ ? "app" : "another AppObj"; }
  std::string Show(const ClientObj& c) const {
    return &c == client_ ? "client" : "another ClientObj";
  }

  template <class... A>
  void Log(const char* name, const A&... args) {
    std::string line = std::string(name) + "(";
    bool first = true;
    ((line += (first ? "" : ", ") + Show(args), first = false), ...);
    calls.push_back(line + ")");
  }

  const DataObj* data_;
  const AppObj* app_;
  const ClientObj* client_;
};
// NOLINTEND(google-default-arguments)

// A database test whose session and engine record what they are asked.
class RecordedDbTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    session_ = std::make_unique<RecordingDataObj>(connection_string_, app_, client_);
    recorder_ = std::make_unique<Recorder>(*session_, app_, client_);
  }
  void TearDown() override {
    recorder_.reset();
    session_.reset();
    DbTest::TearDown();
  }
  RecordingDataObj& data() { return *session_; }
  MRPObject& engine() { return *recorder_; }
  Recorder& recorder() { return *recorder_; }
  const std::vector<std::string>& calls() { return recorder_->calls; }

 private:
  std::unique_ptr<RecordingDataObj> session_;
  std::unique_ptr<Recorder> recorder_;
};

}  // namespace kz8test

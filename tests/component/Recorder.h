// Watching the component from outside: a session that notes its bracket calls, and an engine whose
// working variants record the arguments they receive and answer what the test sets.
#pragma once

#include <kz8mrp/MRPObject.h>
#include <kz8mrp/Session.h>

#include "common/Text.h"
#include "support/TestDb.h"

#include <memory>
#include <string>
#include <vector>

namespace kz8test {

using Calls = std::vector<std::string>;

inline const Calls kCommitted = {"OpenSession", "BeginTrans", "CommitTrans", "CloseSession"};
inline const Calls kRolledBack = {"OpenSession", "BeginTrans", "RollbackTrans", "CloseSession"};

// A session that notes its bracket calls in order, to see which ones a method made.
class WatchedData : public kz8mrp::DataObj {
 public:
  using DataObj::DataObj;

  Calls calls;

// Each bracket operation is noted, then done as the session does it.
#define KZ8_NOTED(Operation)        \
  bool Operation() override {       \
    calls.emplace_back(#Operation); \
    return DataObj::Operation();    \
  }
  KZ8_NOTED(OpenSession)
  KZ8_NOTED(BeginTrans)
  KZ8_NOTED(CommitTrans)
  KZ8_NOTED(RollbackTrans)
  KZ8_NOTED(CloseSession)
#undef KZ8_NOTED
};

using namespace kz8mrp;  // NOLINT(google-build-using-namespace): the interface's own names

// Records a call as "Name(arg, ...)", then runs the body.
#define KZ8_ARGS(...) __VA_ARGS__
#define KZ8_RECORD(Result, Name, Params, Args, ...) \
  Result Name Params override {                     \
    Log(#Name, KZ8_ARGS Args);                      \
    __VA_ARGS__                                     \
  }

// Parameters are named by their position in the interface's list.
class Recorder : public MRPObject {
  using S = const String&;
  using D = DataObj&;
  using A = AppObj&;
  using C = ClientObj&;

 public:
  Recorder(DataObj& data, AppObj& app, ClientObj& client)
      : data_(&data), app_(&app), client_(&client) {}

  Calls calls;
  String text_result = "DOC-1";
  OleDate date_result = OleDate::FromParts(2027, 2, 1, 17);
  bool twin_raises = false;
  std::string twin_sql;  // run by the order and schedule twins before they answer

  // One entry point still runs as built: the chain goes through every level.
  KZ8_RECORD(OleDate, GetEndDateTime2,
             (OleDate a1, OleDate a2, double a3, S a4, D a5, A a6, C a7, bool a8, bool a9, bool a10,
              ByRef<Integer> a11, KZ8HourType a12),
             (a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12),
             return MRPObject::GetEndDateTime2(a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12);)
  // The stepping variants write the setup time back, as a working variant may.
#define KZ8_STEPPING(Name)                                                                     \
  KZ8_RECORD(OleDate, Name,                                                                    \
             (OleDate a1, OleDate a2, double a3, S a4, D a5, A a6, C a7, bool a8, bool a9,     \
              bool a10, ByRef<Integer> a11, KZ8HourType a12, S a13, Long a14),                 \
             (a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14), a11 = Integer{45}; \
             return date_result;)
  KZ8_STEPPING(GetEndDateTime3)
  KZ8_STEPPING(GetStartDateTime3)
#undef KZ8_STEPPING
  KZ8_RECORD(Integer, AdjustJOB2TR, (S a1, S a2, bool a3, D a4, A a5, C a6),
             (a1, a2, a3, a4, a5, a6), return 7;)
  KZ8_RECORD(String, CreateProductionOrderFromJobLn3TR,
             (S a1, Long a2, Integer a3, D a4, A a5, C a6, double a7, S a8),
             (a1, a2, a3, a4, a5, a6, a7, a8), return Twin(a4);)
  KZ8_RECORD(String, CreateProcessOrderFromJobMethodLevel2TR,
             (S a1, Long a2, Long a3, Long a4, Integer a5, D a6, A a7, C a8, double a9),
             (a1, a2, a3, a4, a5, a6, a7, a8, a9), return Twin(a6);)
#define KZ8_BULK(Name)                                                                        \
  KZ8_RECORD(String, Name,                                                                    \
             (S a1, double a2, bool a3, OleDate a4, OleDate a5, Integer a6, D a7, A a8, C a9, \
              S a10, S a11),                                                                  \
             (a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11), return text_result;)
  KZ8_BULK(CreateProductionBulkOrder3TR)
  KZ8_BULK(CreateProcessBulkOrder4TR)
#undef KZ8_BULK
  // A working variant may change the mode it was given.
  KZ8_RECORD(Integer, GenerateMRP4,
             (D a1, S a2, OleDate a3, OleDate a4, ByRef<Integer> a5, double a6, bool a7),
             (a1, a2, a3, a4, a5, a6, a7), a5 = Integer{0};
             return 3;)
  KZ8_RECORD(String, SelectFormula, (S a1, D a2, bool a3, bool a4), (a1, a2, a3, a4),
             return text_result;)
  KZ8_RECORD(String, GETFormulaParameterList, (S a1, S a2, D a3, bool a4, ByRef<String> a5),
             (a1, a2, a3, a4, a5), a5 = String("|");
             return text_result;)
  KZ8_RECORD(String, CreateMPSTR,
             (OleDate a1, double a2, S a3, S a4, OleDate a5, D a6, A a7, C a8, S a9, S a10,
              Long a11, Long a12, Long a13, Long a14),
             (a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14), return Twin(a6);)
  KZ8_RECORD(String, CreateMPSFromJobTR, (S a1, D a2, A a3, C a4), (a1, a2, a3, a4),
             return Twin(a2);)

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
  std::string Show(Long n) const { return std::to_string(n); }  // an Integer too
  template <class T>
  std::string Show(const ByRef<T>& r) const {
    return Show(r.get());
  }
  std::string Show(const DataObj& d) const { return &d == data_ ? "data" : "another DataObj"; }
  std::string Show(const AppObj& a) const { return &a == app_ ? "app" : "another AppObj"; }
  std::string Show(const ClientObj& c) const { return &c == client_ ? "client" : "another"; }

  // Joins the shown arguments of one call into a line of `calls`.
  template <class... T>
  void Log(const char* name, const T&... args) {
    std::string shown;
    ((shown += (shown.empty() ? "" : ", ") + Show(args)), ...);
    calls.push_back(std::string(name) + "(" + shown + ")");
  }

  const DataObj* data_;
  const AppObj* app_;
  const ClientObj* client_;
};
#undef KZ8_RECORD
#undef KZ8_ARGS

// The recording engine on a session whose database is not there: entry points only pass values on,
// so whatever reaches the database fails, and no bracket call may be made.
class RecordedTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(data_.calls.empty()); }
  AppObj app_;
  ClientObj client_{"planner", "PLN", "HQ"};
  WatchedData data_{"/nonexistent-kz8mrp-dir/never.db", app_, client_};
  Recorder recorder_{data_, app_, client_};
  MRPObject& engine_ = recorder_;
  const OleDate start_ = OleDate::FromParts(2027, 1, 4, 8);
};

}  // namespace kz8test

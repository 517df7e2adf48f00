#include "component/MethodTable.h"
#include "component/Recorder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kz8test {
namespace {

using component::DefaultValue;
using component::FindMethod;
using component::Method;
using component::Methods;
using component::Param;
using component::ParseValue;
using component::Type;
using component::Variant;

TEST(MethodTable, FiftyEightUniqueMethodsInInterfaceOrder) {
  ASSERT_EQ(Methods().size(), 58u);
  std::set<std::string> names;
  for (std::size_t i = 0; i < Methods().size(); ++i) {
    const Method& m = Methods()[i];
    EXPECT_EQ(m.index, static_cast<int>(i));
    EXPECT_EQ(m.DispatchId(), 0x60030000u + i);
    EXPECT_TRUE(names.insert(text::ToLower(m.name)).second) << m.name;
    EXPECT_EQ(FindMethod(text::ToUpper(m.name)), &m);
  }
  EXPECT_EQ(Methods()[0].name, "GETProductionTime");
  EXPECT_EQ(Methods()[21].name, "GETHourPerDay");
  EXPECT_EQ(Methods()[29].name, "isMRPHoliday");
  EXPECT_EQ(Methods()[30].name, "MoveToOfficeHourDate");
  EXPECT_EQ(Methods()[44].name, "GenerateMRP4");
  EXPECT_EQ(Methods()[57].name, "SelectJob");
  EXPECT_EQ(FindMethod("SelectJob")->DispatchId(), 0x60030039u);
  EXPECT_EQ(FindMethod("NoSuchMethod"), nullptr);
}

TEST(MethodTable, ParametersFollowTheInterfaceRules) {
  std::set<std::string> by_ref;
  for (const Method& m : Methods()) {
    bool optional_seen = false;
    std::set<std::string> names;
    for (const Param& p : m.params) {
      EXPECT_TRUE(names.insert(text::ToLower(p.name)).second) << m.name << "." << p.name;
      if (component::IsSession(p.type)) {
        EXPECT_EQ(p.name, component::TypeName(p.type)) << m.name;
        EXPECT_FALSE(p.optional) << m.name;
      }
      // Optional parameters close the list.
      EXPECT_TRUE(p.optional || !optional_seen) << m.name << "." << p.name;
      optional_seen = optional_seen || p.optional;
      if (p.by_ref) by_ref.insert(m.name + "." + p.name);
      if (p.optional) {
        EXPECT_NO_THROW(DefaultValue(p)) << m.name << "." << p.name;
      }
    }
  }
  EXPECT_EQ(by_ref,
            (std::set<std::string>{"GETFormulaParameterList.SplitChar", "GetEndDateTime.SetupTime",
                                   "GetStartDateTime.SetupTime", "GetEndDateTime2.SetupTime",
                                   "GetStartDateTime2.SetupTime", "GetStartDateTime3.SetupTime",
                                   "GetEndDateTime3.SetupTime", "GenerateMRP.ToDate",
                                   "GenerateMRP2.UseThisBalanceFG", "GenerateMRP3.UseThisBalanceFG",
                                   "GenerateMRP4.BalanceMode"}));
  EXPECT_EQ(FindMethod("GETHourPerDay")->params[0].type, Type::HourType);
  EXPECT_EQ(FindMethod("CreateMPSFromJob")->result, Type::Integer);
  EXPECT_EQ(FindMethod("MoveToOfficeHourDate")->result, Type::Date);
}

TEST(MethodTable, ReadsArgumentTexts) {
  EXPECT_EQ(ParseValue(Type::HourType, "KZ8HourTypeFullDay"), Variant(Long{4}));
  EXPECT_EQ(ParseValue(Type::HourType, "kz8hourtype2shifts"), Variant(Long{3}));
  EXPECT_EQ(ParseValue(Type::HourType, "7"), Variant(Long{7}));
  EXPECT_EQ(ParseValue(Type::Boolean, "true"), Variant(true));
  EXPECT_EQ(ParseValue(Type::Boolean, "0"), Variant(false));
  EXPECT_EQ(ParseValue(Type::Integer, "-32768"), Variant(Integer{-32768}));
  EXPECT_EQ(ParseValue(Type::Long, "2147483647"), Variant(Long{2147483647}));
  EXPECT_EQ(ParseValue(Type::Double, "2.5"), Variant(2.5));
  EXPECT_EQ(ParseValue(Type::Date, "2027-01-04 08:30"),
            Variant(OleDate::FromParts(2027, 1, 4, 8, 30)));
  EXPECT_EQ(ParseValue(Type::String, " as is "), Variant(String(" as is ")));
  const auto number_of = [](Type t, const char* text) {
    try {
      ParseValue(t, text);
    } catch (const Error& e) {
      return e.Number();
    }
    return 0;
  };
  EXPECT_EQ(number_of(Type::Integer, "32768"), errc::kOverflow);
  EXPECT_EQ(number_of(Type::Integer, "1.5"), errc::kTypeMismatch);
  EXPECT_EQ(number_of(Type::Double, "1,5"), errc::kTypeMismatch);
  EXPECT_EQ(number_of(Type::Boolean, "yes"), errc::kTypeMismatch);
  EXPECT_EQ(number_of(Type::Date, "2027-02-29"), errc::kTypeMismatch);
  EXPECT_EQ(number_of(Type::HourType, "KZ8HourTypeNight"), errc::kTypeMismatch);
}

TEST(MethodTable, FormatsResults) {
  using component::FormatJson;
  using component::FormatValue;
  EXPECT_EQ(FormatValue(Variant(OleDate::FromParts(2027, 1, 4, 8))), "2027-01-04 08:00:00");
  EXPECT_EQ(FormatValue(Variant(true)), "True");
  EXPECT_EQ(FormatValue(Variant(0.1 + 0.2)), "0.30000000000000004");
  EXPECT_EQ(FormatValue(Variant(16.0)), "16");
  EXPECT_EQ(FormatValue(Variant(Integer{-1})), "-1");
  EXPECT_EQ(FormatJson(Variant(String("a\"b\\c\nแผนก"))), "\"a\\\"b\\\\c\\nแผนก\"");
  EXPECT_EQ(FormatJson(Variant(OleDate(-1.25))), "\"1899-12-29 06:00:00\"");
  EXPECT_EQ(FormatJson(Variant(false)), "false");
  EXPECT_EQ(FormatJson(Variant()), "null");
}

// Called through the table with only the required arguments, a method receives
// exactly what a C++ caller relying on the interface's defaults passes.
class InvokerTest : public ::testing::Test {
 protected:
  AppObj app_;
  ClientObj client_;
  RecordingDataObj data_{"/nonexistent-kz8mrp-dir/never.db", app_, client_};
  Recorder recorder_{data_, app_, client_};
  MRPObject& engine_ = recorder_;
  component::Session session_{data_, app_, client_};

  // Invokes with the given arguments by name, defaults for the rest; returns the slots.
  std::vector<Variant> Invoke(const std::string& name,
                              const std::map<std::string, Variant>& given) {
    const Method& m = *FindMethod(name);
    std::vector<Variant> slots(m.params.size());
    for (std::size_t i = 0; i < m.params.size(); ++i) {
      const Param& p = m.params[i];
      if (component::IsSession(p.type)) continue;
      const auto it = given.find(p.name);
      if (it != given.end()) {
        slots[i] = it->second;
      } else {
        EXPECT_TRUE(p.optional) << name << " needs " << p.name;
        slots[i] = DefaultValue(p);
      }
    }
    result_ = m.invoke(engine_, session_, slots);
    return slots;
  }
  Variant result_;
};

TEST_F(InvokerTest, OmittedArgumentsTakeTheInterfacesDefaults) {
  const OleDate s = OleDate::FromParts(2027, 1, 4, 8);
  const Variant date(s);
  Invoke("GetEndDateTime3",
         {{"StartDateTime", date}, {"EairyFinish", date}, {"EsDay", 2.0}, {"TSecCode", String()}});
  engine_.GetEndDateTime3(s, s, 2, "", data_, app_, client_);
  Invoke("GetStartDateTime3",
         {{"EndDateTime", date}, {"LastedStart", date}, {"EsDay", 2.0}, {"TSecCode", String()}});
  engine_.GetStartDateTime3(s, s, 2, "", data_, app_, client_);
  Invoke("CreateMPSTR", {{"StartDateTime", date},
                         {"Hours", 1.0},
                         {"ReserveType", String("JOB")},
                         {"BranchCode", String("HQ")},
                         {"DocDate", date}});
  engine_.CreateMPSTR(s, 1, "JOB", "HQ", s, data_, app_, client_);
  Invoke("GenerateMRP4", {{"ProductCode", String("P")}, {"FromDate", date}, {"ToDate", date}});
  engine_.GenerateMRP4(data_, "P", s, s);
  Invoke("SelectFormula", {{"FormulaGroupCode", String("G")}});
  engine_.SelectFormula("G", data_);
  Invoke("GETFormulaParameterList",
         {{"FormulaCode", String("F")}, {"FormulaGroupCode", String("G")}});
  engine_.GETFormulaParameterList("F", "G", data_);
  Invoke("GETBOMHourPerUnit", {{"iProductCode", String("P")}, {"iFromStep", Integer{2}}});
  engine_.GETBOMHourPerUnit("P", 2, data_);
  Invoke("CreateProductionOrderFromJobLn3TR",
         {{"JobNo", String("J")}, {"JbMLn", Long{1}}, {"ApproveStatus", Integer{1}}});
  engine_.CreateProductionOrderFromJobLn3TR("J", 1, 1, data_, app_, client_);
  Invoke("GenerateSF2", {{"ProductCode", String("P")},
                         {"ARCode", String("A")},
                         {"iYear", Integer{2027}},
                         {"iMonth", Integer{1}},
                         {"iDay", Integer{4}},
                         {"Quantity", 5.0}});
  engine_.GenerateSF2(data_, "P", "A", 2027, 1, 4, 5);

  const auto& calls = recorder_.calls;
  ASSERT_EQ(calls.size() % 2, 0u);
  for (std::size_t i = 0; i < calls.size(); i += 2) EXPECT_EQ(calls[i], calls[i + 1]);
  EXPECT_EQ(calls[6],
            "GenerateMRP4(data, 'P', 2027-01-04 08:00:00, 2027-01-04 08:00:00, 0, 0, True)");
  EXPECT_EQ(calls[8], "SelectFormula('G', data, False, False)");
  EXPECT_EQ(calls[10], "GETFormulaParameterList('F', 'G', data, True, '#')");
}

TEST_F(InvokerTest, ArgumentsLandInTheirSlotsAndByRefValuesComeBack) {
  const Variant date(OleDate::FromParts(2027, 1, 4));
  Invoke("CreateMPSTR", {{"StartDateTime", date},
                         {"Hours", 1.0},
                         {"ReserveType", String("JOB")},
                         {"BranchCode", String("HQ")},
                         {"DocDate", date},
                         {"TJStLevel", Long{6}},
                         {"TJobNo", String("J1")}});
  EXPECT_EQ(recorder_.calls.back(),
            "CreateMPSTR(2027-01-04 00:00:00, 1, 'JOB', 'HQ', 2027-01-04 00:00:00, data, app, "
            "client, '', 'J1', 0, 0, 0, 6)");
  EXPECT_EQ(result_, Variant(String("DOC-1")));

  const Method& end3 = *FindMethod("GetEndDateTime3");
  const auto slots = Invoke("GetEndDateTime3", {{"StartDateTime", date},
                                                {"EairyFinish", date},
                                                {"EsDay", 2.0},
                                                {"TSecCode", String("CUT")},
                                                {"HourType", Long{3}},
                                                {"SetupTime", Integer{10}}});
  EXPECT_NE(
      recorder_.calls.back().find("'CUT', data, app, client, True, True, True, 10, HourType 3"),
      std::string::npos);
  for (std::size_t i = 0; i < end3.params.size(); ++i) {
    if (end3.params[i].name == "SetupTime") {
      EXPECT_EQ(slots[i], Variant(Integer{45}));
    }
  }
  EXPECT_EQ(result_, Variant(recorder_.date_result));

  const auto split = Invoke("GETFormulaParameterList",
                            {{"FormulaCode", String("F")}, {"FormulaGroupCode", String("G")}});
  EXPECT_EQ(split[4], Variant(String("|")));

  const auto mrp =
      Invoke("GenerateMRP", {{"ProductCode", String("P")}, {"FromDate", date}, {"ToDate", date}});
  EXPECT_EQ(mrp[3], date);
  EXPECT_EQ(result_, Variant(Integer{3}));
  EXPECT_EQ(data_.touches, 0);
}

}  // namespace
}  // namespace kz8test

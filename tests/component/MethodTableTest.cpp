#include "component/MethodTable.h"
#include "component/Recorder.h"
#include "support/Errors.h"

#include <set>
#include <tuple>

namespace kz8test {
namespace {

using namespace component;  // NOLINT(google-build-using-namespace): the table's own names

// Names are unique in any letter case; optional parameters close the list and
// their defaults read as their types; session parameters are named by their type.
TEST(MethodTable, FiftyEightMethodsFollowTheInterfaceRules) {
  ASSERT_EQ(Methods().size(), 58u);
  std::set<std::string> names;
  for (const Method& m : Methods()) {
    EXPECT_TRUE(names.insert(text::ToLower(m.name)).second) << m.name;
    EXPECT_EQ(FindMethod(text::ToUpper(m.name)), &m);
    bool optional_seen = false;
    std::set<std::string> params;
    for (const Param& p : m.params) {
      SCOPED_TRACE(m.name + "." + p.name);
      EXPECT_TRUE(params.insert(text::ToLower(p.name)).second);
      EXPECT_TRUE(p.optional || !optional_seen);
      optional_seen = optional_seen || p.optional;
      if (p.optional) {
        EXPECT_NO_THROW(DefaultValue(p));
      }
      if (component::IsSession(p.type)) {
        EXPECT_EQ(p.name, component::TypeName(p.type));
        EXPECT_FALSE(p.optional);
      }
    }
  }
  EXPECT_EQ(FindMethod("NoSuchMethod"), nullptr);
}

TEST(MethodTable, ReadsArgumentTexts) {
  const std::tuple<Type, const char*, Variant> readable[] = {
      {Type::HourType, "kz8hourtype2shifts", Long{3}},
      {Type::HourType, "7", Long{7}},
      {Type::Boolean, "true", true},
      {Type::Integer, "-32768", Integer{-32768}},
      {Type::Long, "2147483647", Long{2147483647}},
      {Type::Date, "2027-01-04 08:30", OleDate::FromParts(2027, 1, 4, 8, 30)},
      {Type::String, " as is ", String(" as is ")}};
  for (const auto& [type, text, value] : readable) EXPECT_EQ(ParseValue(type, text), value) << text;
  // Each message names the value and the type, with the type's article.
  const std::tuple<Type, const char*, int, const char*> unreadable[] = {
      {Type::Integer, "1.5", errc::kTypeMismatch, "Type mismatch: '1.5' is not an Integer"},
      {Type::Integer, "32768", errc::kOverflow, "Overflow: 32768 does not fit an Integer"},
      {Type::Double, "1,5", errc::kTypeMismatch, "Type mismatch: '1,5' is not a Double"},
      {Type::Boolean, "yes", errc::kTypeMismatch, "Type mismatch: 'yes' is not a Boolean"},
      {Type::Date, "2027-02-29", errc::kTypeMismatch, "'2027-02-29' is not a date"},
      {Type::HourType, "KZ8HourTypeNight", errc::kTypeMismatch,
       "Type mismatch: 'KZ8HourTypeNight' is not a KZ8HourType"}};
  for (const auto& [type, text, number, message] : unreadable)
    ExpectError([type = type, text = text] { ParseValue(type, text); }, number, message);
}

// Called through the table with only the required arguments, a method receives
// exactly what a C++ caller relying on the interface's defaults passes.
class InvokerTest : public RecordedTest {
 protected:
  component::Session session_{data_, app_, client_};
  Variant result_;

  // Invokes with values for the first parameters that are not the session's,
  // defaults for the rest; returns the slots.
  std::vector<Variant> Invoke(const std::string& name, const std::vector<Variant>& given) {
    const Method& m = *FindMethod(name);
    std::vector<Variant> slots(m.params.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < m.params.size(); ++i) {
      const Param& p = m.params[i];
      if (component::IsSession(p.type)) continue;
      EXPECT_TRUE(next < given.size() || p.optional) << name << " needs " << p.name;
      slots[i] = next < given.size() ? given[next++] : DefaultValue(p);
    }
    result_ = m.invoke(engine_, session_, slots);
    return slots;
  }
};

// Arguments land in their slots and by-reference values come back. Omitted ones take the
// interface's defaults, for one method of each kind: the stepping flags and numbers, a mode and a
// flag after a by-reference one, plain flags, a by-reference text.
TEST_F(InvokerTest, ArgumentsLandInTheirSlotsAndOmittedOnesTakeTheDefaults) {
  const Variant d(start_);
  Invoke("GetEndDateTime3", {d, d, 2.0, String()});
  engine_.GetEndDateTime3(start_, start_, 2, "", data_, app_, client_);
  Invoke("GenerateMRP4", {String("P"), d, d});
  engine_.GenerateMRP4(data_, "P", start_, start_);
  Invoke("SelectFormula", {String("G")});
  engine_.SelectFormula("G", data_);
  const auto split = Invoke("GETFormulaParameterList", {String("F"), String("G")});
  EXPECT_EQ(split[4], Variant(String("|")));
  engine_.GETFormulaParameterList("F", "G", data_);
  const auto& calls = recorder_.calls;
  ASSERT_EQ(calls.size(), 8u);
  for (std::size_t i = 0; i < calls.size(); i += 2) EXPECT_EQ(calls[i], calls[i + 1]);
  EXPECT_EQ(calls[6], "GETFormulaParameterList('F', 'G', data, True, '#')");

  Invoke("CreateMPSTR", {d, 1.0, String("JOB"), String("HQ"), d, String(), String("J1"), Long{0},
                         Long{0}, Long{0}, Long{6}});
  EXPECT_EQ(recorder_.calls.back(),
            "CreateMPSTR(2027-01-04 08:00:00, 1, 'JOB', 'HQ', 2027-01-04 08:00:00, data, app, "
            "client, '', 'J1', 0, 0, 0, 6)");
  EXPECT_EQ(result_, Variant(String("DOC-1")));
  const auto end = Invoke("GetEndDateTime", {d, 2.0, true, true, false, Integer{10}});
  EXPECT_EQ(end[8], Variant(Integer{45}));  // SetupTime, written back
  EXPECT_EQ(result_, Variant(recorder_.date_result));
  EXPECT_THAT(recorder_.calls.back(),
              HasSubstr("client, True, True, False, 10, HourType 0, '', 0"));
  const auto mrp = Invoke("GenerateMRP", {String("P"), d, d});
  EXPECT_EQ(mrp[3], d);
  EXPECT_EQ(result_, Variant(Integer{3}));
}

}  // namespace
}  // namespace kz8test

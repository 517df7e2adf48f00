#include "component/MethodTable.h"

#include "common/Text.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <tuple>
#include <type_traits>
#include <utility>

namespace kz8mrp::component {
namespace {

// The interface type of a C++ parameter or result type.
template <class T>
struct TypeOf;
template <>
struct TypeOf<String> {
  static constexpr Type value = Type::String;
};
template <>
struct TypeOf<Integer> {
  static constexpr Type value = Type::Integer;
};
template <>
struct TypeOf<Long> {
  static constexpr Type value = Type::Long;
};
template <>
struct TypeOf<double> {
  static constexpr Type value = Type::Double;
};
template <>
struct TypeOf<OleDate> {
  static constexpr Type value = Type::Date;
};
template <>
struct TypeOf<bool> {
  static constexpr Type value = Type::Boolean;
};
template <>
struct TypeOf<KZ8HourType> {
  static constexpr Type value = Type::HourType;
};
template <>
struct TypeOf<DataObj> {
  static constexpr Type value = Type::DataObj;
};
template <>
struct TypeOf<AppObj> {
  static constexpr Type value = Type::AppObj;
};
template <>
struct TypeOf<ClientObj> {
  static constexpr Type value = Type::ClientObj;
};

template <class T>
struct ByRefTarget {
  using type = void;
};
template <class T>
struct ByRefTarget<ByRef<T>> {
  using type = T;
};

template <class A>
constexpr bool kIsByRef = !std::is_void_v<typename ByRefTarget<std::remove_cvref_t<A>>::type>;

template <class A>
using Plain = std::conditional_t<kIsByRef<A>, typename ByRefTarget<std::remove_cvref_t<A>>::type,
                                 std::remove_cvref_t<A>>;

// Hands one argument to the method: session objects from the session, values
// from their slot, by-reference parameters bound to their slot.
template <class A>
decltype(auto) Argument(Session& s, std::vector<Variant>& args, std::size_t i) {
  using P = Plain<A>;
  if constexpr (std::is_same_v<P, DataObj>) {
    return (s.data);
  } else if constexpr (std::is_same_v<P, AppObj>) {
    return (s.app);
  } else if constexpr (std::is_same_v<P, ClientObj>) {
    return (s.client);
  } else if constexpr (std::is_same_v<P, KZ8HourType>) {
    return static_cast<KZ8HourType>(std::get<Long>(args[i]));
  } else if constexpr (kIsByRef<A>) {
    return ByRef<P>(std::get<P>(args[i]));
  } else {
    return (std::get<P>(args[i]));
  }
}

template <class R, class... A, std::size_t... I>
Variant CallWith(MRPObject& o, R (MRPObject::*fn)(A...), Session& s, std::vector<Variant>& args,
                 std::index_sequence<I...>) {
  return (o.*fn)(Argument<A>(s, args, I)...);
}

// "Name" for a required parameter, "Name=Default" for an optional one
// ("Name=" when the default is the type's empty value).
Param MakeParam(std::string_view text_form, Type type, bool by_ref) {
  Param p;
  p.type = type;
  p.by_ref = by_ref;
  const auto eq = text_form.find('=');
  p.name = std::string(text_form.substr(0, eq));
  if (eq != std::string_view::npos) {
    p.optional = true;
    p.default_text = std::string(text_form.substr(eq + 1));
  }
  return p;
}

template <class R, class... A>
Method Entry(std::string_view name, R (MRPObject::*fn)(A...),
             std::initializer_list<std::string_view> names) {
  Method m;
  m.index = 0;
  m.name = std::string(name);
  m.result = TypeOf<std::remove_cvref_t<R>>::value;
  constexpr Type types[] = {TypeOf<Plain<A>>::value..., Type::String};
  constexpr bool by_ref[] = {kIsByRef<A>..., false};
  if (names.size() != sizeof...(A)) {
    std::fprintf(stderr, "method table: %s lists %zu parameters for %zu\n", m.name.c_str(),
                 names.size(), sizeof...(A));
    std::abort();
  }
  std::size_t i = 0;
  for (std::string_view text_form : names) {
    m.params.push_back(MakeParam(text_form, types[i], by_ref[i]));
    ++i;
  }
  m.invoke = [fn](MRPObject& o, Session& s, std::vector<Variant>& args) -> Variant {
    return CallWith(o, fn, s, args, std::index_sequence_for<A...>{});
  };
  return m;
}

#define KZ8_ENTRY(name, ...) Entry(#name, &MRPObject::name, {__VA_ARGS__})

std::vector<Method> BuildTable() {
  std::vector<Method> t = {
      KZ8_ENTRY(GETProductionTime, "ProductCode", "StartDate", "Unit1Volume=0", "Unit3Volume=0",
                "Unit2Volume=0"),
      KZ8_ENTRY(CreateMPSFromJob, "DocNo", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateMPSFromJobTR, "DocNo", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(SelectFormulaSet, "FormulaGroupCode", "DataObj"),
      KZ8_ENTRY(SelectFormula, "FormulaGroupCode", "DataObj", "OutPutList=False",
                "MultiSelect=False"),
      KZ8_ENTRY(GETFormulaParameterList, "FormulaCode", "FormulaGroupCode", "DataObj",
                "SkipCode=True", "SplitChar=#"),
      KZ8_ENTRY(CreateProductionOrderFromJobLn, "JobNo", "JbMLn", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProductionOrderFromJobLnTR, "JobNo", "JbMLn", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProcessOrderFromJobMethodLevel, "JobNo", "JbMLn", "Level", "MethodLn",
                "ApproveStatus", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProcessOrderFromJobMethodLevelTR, "JobNo", "JbMLn", "Level", "MethodLn",
                "ApproveStatus", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(AdjustJOBTR, "ProductionNo", "CutMode", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProductionOrderFromJobList, "JL", "ApproveStatus", "DataObj", "AppObj",
                "ClientObj"),
      KZ8_ENTRY(CreateProductionOrderFromJobListTR, "JL", "ApproveStatus", "DataObj", "AppObj",
                "ClientObj"),
      KZ8_ENTRY(CreateProductionOrderFromJobLn2, "JobNo", "JbMLn", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj", "NewQuantity=0"),
      KZ8_ENTRY(CreateProductionOrderFromJobLn2TR, "JobNo", "JbMLn", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj", "NewQuantity=0"),
      KZ8_ENTRY(CreateProcessOrderFromJobMethodLevelList, "JL", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProcessOrderFromJobMethodLevelListTR, "JL", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProcessOrderFromJobMethodLevel2, "JobNo", "JbMLn", "Level", "MethodLn",
                "ApproveStatus", "DataObj", "AppObj", "ClientObj", "NewQuantity=0"),
      KZ8_ENTRY(CreateProcessOrderFromJobMethodLevel2TR, "JobNo", "JbMLn", "Level", "MethodLn",
                "ApproveStatus", "DataObj", "AppObj", "ClientObj", "NewQuantity=0"),
      KZ8_ENTRY(GetEndDateTime, "StartDateTime", "Hours", "DataObj", "AppObj", "ClientObj",
                "CutPlanned=True", "CutHoliday=True", "CutPM=True", "SetupTime=0"),
      KZ8_ENTRY(GetStartDateTime, "EndDateTime", "Hours", "DataObj", "AppObj", "ClientObj",
                "CutPlanned=True", "CutHoliday=True", "CutPM=True", "SetupTime=0"),
      KZ8_ENTRY(GETHourPerDay, "HourType", "SecCode", "DataObj"),
      KZ8_ENTRY(GetEndDateTime2, "StartDateTime", "EairyFinish", "EsDay", "TSecCode", "DataObj",
                "AppObj", "ClientObj", "CutPlanned=True", "CutHoliday=True", "CutPM=True",
                "SetupTime=0", "HourType=0"),
      KZ8_ENTRY(GetStartDateTime2, "EndDateTime", "LastedStart", "EsDay", "TSecCode", "DataObj",
                "AppObj", "ClientObj", "CutPlanned=True", "CutHoliday=True", "CutPM=True",
                "SetupTime=0", "HourType=0"),
      KZ8_ENTRY(GETPMDay, "TAgtCode", "StartDateTime", "EndDateTime", "DataObj"),
      KZ8_ENTRY(GETHoliday, "SecCode", "StartDateTime", "EndDateTime", "DataObj"),
      KZ8_ENTRY(GETCapPlaned, "SecCode", "StartDateTime", "EndDateTime", "DataObj"),
      KZ8_ENTRY(CreateMPS, "StartDateTime", "Hours", "ReserveType", "BranchCode", "DocDate",
                "DataObj", "AppObj", "ClientObj",
                "TSecCode=", "TJobNo=", "TJbMLn=", "TSpdStep=", "TJStLn=", "TJStLevel="),
      KZ8_ENTRY(CreateMPSTR, "StartDateTime", "Hours", "ReserveType", "BranchCode", "DocDate",
                "DataObj", "AppObj", "ClientObj",
                "TSecCode=", "TJobNo=", "TJbMLn=", "TSpdStep=", "TJStLn=", "TJStLevel="),
      KZ8_ENTRY(isMRPHoliday, "iDate", "BranchCode", "DataObj"),
      KZ8_ENTRY(MoveToOfficeHourDate, "iDate", "MoveNext", "BranchCode", "DataObj"),
      KZ8_ENTRY(AdjustJOBProductionTR, "InventoryNo", "ProductionNo", "CutMode", "DataObj",
                "AppObj", "ClientObj"),
      KZ8_ENTRY(AdjustJOB2TR, "ProductionNo", "JobNo", "CutMode", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateJOBfromSOTR, "SONo", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateJOBfromSO2TR, "SONo", "iJobNo", "iBook", "iType", "DataObj", "AppObj",
                "ClientObj"),
      KZ8_ENTRY(GetStartDateTime3, "EndDateTime", "LastedStart", "EsDay", "TSecCode", "DataObj",
                "AppObj", "ClientObj", "CutPlanned=True", "CutHoliday=True", "CutPM=True",
                "SetupTime=0", "HourType=0", "SkipTJobNo=", "SkipTJbMLn=0"),
      KZ8_ENTRY(GetEndDateTime3, "StartDateTime", "EairyFinish", "EsDay", "TSecCode", "DataObj",
                "AppObj", "ClientObj", "CutPlanned=True", "CutHoliday=True", "CutPM=True",
                "SetupTime=0", "HourType=0", "SkipTJobNo=", "SkipTJbMLn=0"),
      KZ8_ENTRY(CreateProcessBulkOrderTR, "ProductCode", "Quantity", "IgnoreBatchSize", "DataObj",
                "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProcessBulkOrder2TR, "ProductCode", "Quantity", "IgnoreBatchSize",
                "StartDate", "EndDate", "ApproveStatus", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(GETMR, "DataObj", "ProductCode", "AtDate"),
      KZ8_ENTRY(GenerateMRPFromMR, "DataObj", "JobNo"),
      KZ8_ENTRY(GenerateMRP, "DataObj", "ProductCode", "FromDate", "ToDate"),
      KZ8_ENTRY(GenerateMRP2, "DataObj", "ProductCode", "FromDate", "ToDate",
                "UseThisBalanceFG=False", "BalanceFG="),
      KZ8_ENTRY(GenerateMRP3, "DataObj", "ProductCode", "FromDate", "ToDate",
                "UseThisBalanceFG=False", "BalanceFG=", "BuiltDateOnly=True"),
      KZ8_ENTRY(GenerateMRP4, "DataObj", "ProductCode", "FromDate", "ToDate",
                "BalanceMode=", "BalanceFG=", "BuiltDateOnly=True"),
      KZ8_ENTRY(GETCapAsDate, "SecCode", "ADATE", "SkipTJobNo", "SkipTJbMLn", "DataObj"),
      KZ8_ENTRY(CreateProductionBulkOrderTR, "ProductCode", "Quantity", "IgnoreBatchSize",
                "StartDate", "EndDate", "ApproveStatus", "DataObj", "AppObj", "ClientObj"),
      KZ8_ENTRY(CreateProcessBulkOrder3TR, "ProductCode", "Quantity", "IgnoreBatchSize",
                "StartDate", "EndDate", "ApproveStatus", "DataObj", "AppObj", "ClientObj",
                "Description"),
      KZ8_ENTRY(CreateProductionBulkOrder2TR, "ProductCode", "Quantity", "IgnoreBatchSize",
                "StartDate", "EndDate", "ApproveStatus", "DataObj", "AppObj", "ClientObj",
                "Description"),
      KZ8_ENTRY(GETBOMHourPerUnit, "iProductCode", "iFromStep", "DataObj", "useFullDown=True"),
      KZ8_ENTRY(CreateProcessBulkOrder4TR, "ProductCode", "Quantity", "IgnoreBatchSize",
                "StartDate", "EndDate", "ApproveStatus", "DataObj", "AppObj", "ClientObj",
                "Description", "Book="),
      KZ8_ENTRY(CreateProductionBulkOrder3TR, "ProductCode", "Quantity", "IgnoreBatchSize",
                "StartDate", "EndDate", "ApproveStatus", "DataObj", "AppObj", "ClientObj",
                "Description", "Book="),
      KZ8_ENTRY(CreateProductionOrderFromJobLn3, "JobNo", "JbMLn", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj", "NewQuantity=0", "Book="),
      KZ8_ENTRY(CreateProductionOrderFromJobLn3TR, "JobNo", "JbMLn", "ApproveStatus", "DataObj",
                "AppObj", "ClientObj", "NewQuantity=0", "Book="),
      KZ8_ENTRY(GenerateSF, "DataObj", "ProductCode", "ARCode", "iYear", "iMonth", "iDay"),
      KZ8_ENTRY(GenerateSF2, "DataObj", "ProductCode", "ARCode", "iYear", "iMonth", "iDay",
                "Quantity", "OneLevelOnly=False"),
      KZ8_ENTRY(CanEditJob, "JobNo", "DataObj"),
      KZ8_ENTRY(SelectJob, "BranchCode", "DataObj"),
  };
  for (std::size_t i = 0; i < t.size(); ++i) t[i].index = static_cast<int>(i);
  return t;
}

#undef KZ8_ENTRY

constexpr EnumMember kHourTypes[] = {
    {"KZ8HourTypeOffice", 0},  {"KZ8HourTypeWithOT1", 1}, {"KZ8HourTypeWithOT2", 2},
    {"KZ8HourType2Shifts", 3}, {"KZ8HourTypeFullDay", 4}, {"KZ8HourTypeManual", 5},
};

// "an Integer", "a Long": the type's name as a message says it.
std::string ATypeName(Type type) {
  const std::string name(TypeName(type));
  return (std::string_view("AEIOU").find(name.front()) == std::string_view::npos ? "a " : "an ") +
         name;
}

[[noreturn]] void Unreadable(Type type, std::string_view text) {
  throw Error(errc::kTypeMismatch,
              "Type mismatch: '" + std::string(text) + "' is not " + ATypeName(type));
}

template <class Int>
Int ParseWhole(Type type, std::string_view t) {
  double n = 0;
  if (!text::ParseNumber(t, n) || std::trunc(n) != n) Unreadable(type, t);
  if (n < std::numeric_limits<Int>::min() || n > std::numeric_limits<Int>::max()) {
    throw Error(errc::kOverflow,
                "Overflow: " + std::string(t) + " does not fit " + ATypeName(type));
  }
  return static_cast<Int>(n);
}

}  // namespace

std::string_view TypeName(Type type) {
  switch (type) {
    case Type::String:
      return "String";
    case Type::Integer:
      return "Integer";
    case Type::Long:
      return "Long";
    case Type::Double:
      return "Double";
    case Type::Date:
      return "Date";
    case Type::Boolean:
      return "Boolean";
    case Type::HourType:
      return "KZ8HourType";
    case Type::DataObj:
      return "DataObj";
    case Type::AppObj:
      return "AppObj";
    case Type::ClientObj:
      return "ClientObj";
  }
  return "?";
}

bool IsSession(Type type) {
  return type == Type::DataObj || type == Type::AppObj || type == Type::ClientObj;
}

const std::vector<Method>& Methods() {
  static const std::vector<Method> table = BuildTable();
  return table;
}

const Method* FindMethod(std::string_view name) {
  for (const Method& m : Methods()) {
    if (text::EqualsNoCase(m.name, name)) return &m;
  }
  return nullptr;
}

Variant ParseValue(Type type, std::string_view t) {
  switch (type) {
    case Type::String:
      return String(t);
    case Type::Integer:
      return ParseWhole<Integer>(type, t);
    case Type::Long:
      return ParseWhole<Long>(type, t);
    case Type::Double: {
      double n = 0;
      if (!text::ParseNumber(t, n)) Unreadable(type, t);
      return n;
    }
    case Type::Date:
      return OleDate::Parse(text::Trim(t));
    case Type::Boolean: {
      const std::string u = text::ToUpper(text::Trim(t));
      if (u == "TRUE" || u == "1" || u == "-1") return true;
      if (u == "FALSE" || u == "0") return false;
      Unreadable(type, t);
    }
    case Type::HourType:
      for (const auto& h : kHourTypes) {
        if (text::EqualsNoCase(h.name, text::Trim(t))) return h.value;
      }
      return ParseWhole<Long>(type, t);
    default:
      break;
  }
  Unreadable(type, t);
}

Variant DefaultValue(const Param& p) {
  if (!p.default_text.empty() || p.type == Type::String) return ParseValue(p.type, p.default_text);
  switch (p.type) {
    case Type::Integer:
      return Integer{0};
    case Type::Long:
    case Type::HourType:
      return Long{0};
    case Type::Double:
      return 0.0;
    case Type::Date:
      return OleDate{};
    case Type::Boolean:
      return false;
    default:
      return {};
  }
}

std::string FormatValue(const Variant& v) {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(const String& s) const { return s; }
    std::string operator()(Integer n) const { return std::to_string(n); }
    std::string operator()(Long n) const { return std::to_string(n); }
    std::string operator()(double n) const { return text::NumberText(n); }
    std::string operator()(OleDate d) const { return d.ToString(); }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
  };
  return std::visit(Visitor{}, v);
}

std::span<const EnumMember> HourTypeMembers() { return kHourTypes; }

}  // namespace kz8mrp::component

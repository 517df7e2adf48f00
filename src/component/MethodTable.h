// The shape of the public interface in one place: every method with its
// dispatch id, parameters (type, optional default, by-reference) and result
// type, and an invoker that calls it with typed arguments. The command line
// reads it for `call` and `methods`.
#pragma once

#include <kz8mrp/MRPObject.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kz8mrp::component {

enum class Type {
  String,
  Integer,
  Long,
  Double,
  Date,
  Boolean,
  HourType,
  DataObj,
  AppObj,
  ClientObj
};

std::string_view TypeName(Type type);
bool IsSession(Type type);

// A value of one parameter or result. HourType values are held as Long.
using Variant = std::variant<std::monostate, String, Integer, Long, double, OleDate, bool>;

struct Param {
  std::string name;
  Type type;
  bool by_ref = false;
  bool optional = false;
  std::string default_text;  // as written in the interface; empty: the type's empty value
};

struct Session {
  DataObj& data;
  AppObj& app;
  ClientObj& client;
};

struct Method {
  int index;
  std::string name;
  std::vector<Param> params;
  Type result;
  // `args` holds one slot per parameter (session slots are ignored); by-reference
  // slots hold the values written back after the call.
  std::function<Variant(MRPObject&, Session&, std::vector<Variant>&)> invoke;

  std::uint32_t DispatchId() const { return 0x60030000u + static_cast<std::uint32_t>(index); }
};

const std::vector<Method>& Methods();
const Method* FindMethod(std::string_view name);  // case-insensitive

// Reads a value of a type from text (CLI arguments and defaults). Throws
// kz8mrp::Error 13 for a text that does not read as the type.
Variant ParseValue(Type type, std::string_view text);
// The value of an omitted optional parameter.
Variant DefaultValue(const Param& param);
// The result text of the command line: a text as it is, whole numbers in
// decimal, a Double in shortest round-trip form, True/False, a date
// "YYYY-MM-DD HH:MM:SS".
std::string FormatValue(const Variant& value);

// The members of the KZ8HourType enumeration, which arguments may name.
struct EnumMember {
  const char* name;
  Long value;
};
std::span<const EnumMember> HourTypeMembers();

}  // namespace kz8mrp::component

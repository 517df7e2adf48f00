// A by-reference parameter that may be omitted. Bound to a caller's variable it
// reads and writes that variable; built from a value (an omitted optional
// parameter) it holds its own. Passing a ByRef on to another method shares the
// same storage, as passing a by-reference argument on does.
#pragma once

#include <utility>

namespace kz8mrp {

// No move is declared: moving must share the caller's variable just as copying does.
template <class T>
class ByRef {  // NOLINT(cppcoreguidelines-special-member-functions)
 public:
  ByRef(T& variable) : target_(&variable) {}              // NOLINT(google-explicit-constructor)
  ByRef(const T& value) : own_(value), target_(&own_) {}  // NOLINT(google-explicit-constructor)
  ByRef(T&& value) : own_(std::move(value)), target_(&own_) {}  // NOLINT
  ByRef(const ByRef& other) : target_(other.target_) {}
  ByRef& operator=(const ByRef&) = delete;
  ~ByRef() = default;

  T& get() const { return *target_; }
  operator T&() const { return *target_; }  // NOLINT(google-explicit-constructor)
  ByRef& operator=(const T& value) {
    *target_ = value;
    return *this;
  }

 private:
  T own_{};
  T* target_;
};

}  // namespace kz8mrp

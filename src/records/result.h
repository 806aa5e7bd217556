// A value, or the reason it could not be had: what the file, parse and load functions return,
// so a failure travels up as a value with its text (no exception crosses a module's API).
// Result<> is an operation that gives nothing but may fail.
#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tarvenix {

// Why an operation failed: its text, and the system's error code when one caused it.
struct Failure {
  std::string reason;
  int code = 0;
};

template <class T = void>
class Result {
  using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

 public:
  // Success, for Result<> only.
  Result() requires std::is_void_v<T> {}
  Result(Value value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  bool ok() const { return state_.index() == 0; }
  // Only when ok().
  const Value& value() const& { return std::get<0>(state_); }
  Value& value() & { return std::get<0>(state_); }
  Value&& value() && { return std::get<0>(std::move(state_)); }
  // Only when not ok().
  const std::string& reason() const { return std::get<1>(state_).reason; }
  int code() const { return std::get<1>(state_).code; }
  // Only when not ok(): to pass the failure on as another Result's.
  const Failure& failure() const { return std::get<1>(state_); }

 private:
  std::variant<Value, Failure> state_;
};

}  // namespace tarvenix

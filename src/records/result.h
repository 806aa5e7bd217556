// A value, or the reason it could not be had: what the file, parse and load functions return,
// so a failure travels up as a value with its text (no exception crosses a module's API).
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tarvenix {

// Why an operation failed: its text, and the system's error code when one caused it.
struct Failure {
  std::string reason;
  int code = 0;
};

template <class T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Failure failure) : state_(std::move(failure)) {}

  bool ok() const { return state_.index() == 0; }
  // Only when ok().
  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  // Only when not ok().
  const std::string& reason() const { return std::get<1>(state_).reason; }
  int code() const { return std::get<1>(state_).code; }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace tarvenix

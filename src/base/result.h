// A value or the reason it could not be produced; how I/O failures reach the caller.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tessary {

struct Error {
  std::string message;   // human-readable, UTF-8; names the file where there is one
  int system_error = 0;  // errno when the failure came from the system, else 0
};

// [[nodiscard]]: a failure is handled, passed on, or dropped on purpose with IgnoreFailure().
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const Error& error() const { return std::get<1>(state_); }
  // Says at the call that a failure is of no consequence there (a best-effort write whose
  // next attempt comes anyway), so that dropping it is never an accident.
  void IgnoreFailure() const {}

 private:
  std::variant<T, Error> state_;
};

// Result of an operation that yields nothing but may fail.
struct Done {};
using Status = Result<Done>;
inline Status Success() {
  return Done{};
}

// "<what>: <path>: <strerror>" for a failed system call.
Error SystemError(const std::string& what, const std::string& path, int errnum);

}  // namespace tessary

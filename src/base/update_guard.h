// Holds an object's BeginUpdate/EndUpdate bracket open for one scope.
#pragma once

#include <exception>

namespace tessary {

template <class T>
concept UpdateBracketed = requires(T& t) {
  t.BeginUpdate();
  t.EndUpdate();
};

// The bracket closes however the scope is left, so an exception cannot leave the object
// suspended. Left normally, EndUpdate runs (and may throw) as it would without the guard.
// While unwinding, a second exception would end the program, so one thrown by EndUpdate's
// notifications is dropped: every bracketed object lowers its count before it notifies.
template <UpdateBracketed T>
class UpdateGuard {
 public:
  [[nodiscard]] explicit UpdateGuard(T& target) : target_(target) { target_.BeginUpdate(); }
  ~UpdateGuard() noexcept(false) {
    if (std::uncaught_exceptions() == exceptions_) {
      target_.EndUpdate();
      return;
    }
    try {
      target_.EndUpdate();
    } catch (...) {  // the exception already in flight is the one to report
    }
  }
  UpdateGuard(const UpdateGuard&) = delete;
  UpdateGuard& operator=(const UpdateGuard&) = delete;

 private:
  T& target_;
  const int exceptions_ = std::uncaught_exceptions();
};

}  // namespace tessary

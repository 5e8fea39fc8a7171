// A clean-up bound to a scope: it runs when the scope is left, by its end or by an error on its
// way to a trap. It is the one-line form of a trap that only cleans up and raises again; a trap
// that does more (reports, changes the error, cleans up with operations that may raise) stays a
// try/catch.
#pragma once

#include <utility>

template <class CleanUp>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(CleanUp clean_up) : clean_up_(std::move(clean_up)) {}
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  // The clean-up must not raise: it may run while an error unwinds the stack.
  ~ScopeExit() {
    if (armed_) clean_up_();
  }
  // The scope went well and what it made is kept: for a clean-up needed only on failure.
  void dismiss() noexcept { armed_ = false; }

 private:
  CleanUp clean_up_;
  bool armed_ = true;
};

// `const auto closed = on_scope_exit([fd] { ::close(fd); });`
template <class CleanUp>
[[nodiscard]] ScopeExit<CleanUp> on_scope_exit(CleanUp clean_up) {
  return ScopeExit<CleanUp>(std::move(clean_up));
}

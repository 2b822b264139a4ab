// A clean-up that must run on every way out of a routine.
#pragma once

#include <functional>
#include <utility>

namespace zul00500 {

// Runs `action` once: through Run() on a normal way out, so that its errors
// reach the caller, or from the destructor when an error is already on its
// way, quietly, so that it does not replace that error.
class Cleanup {
public:
  explicit Cleanup(std::function<void()> action) : action_(std::move(action)) {}
  ~Cleanup() {
    if (done_) return;
    try {
      Run();
    } catch (...) {
    }
  }
  Cleanup(const Cleanup&) = delete;
  Cleanup& operator=(const Cleanup&) = delete;

  void Run() {
    done_ = true;
    action_();
  }
  // Never runs it.
  void Dismiss() { done_ = true; }

private:
  std::function<void()> action_;
  bool done_ = false;
};

} // namespace zul00500

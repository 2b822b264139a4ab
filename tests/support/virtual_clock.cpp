#include "support/virtual_clock.h"

#include <algorithm>

namespace zul00500::testing {

namespace {
constexpr std::int64_t us_per_day = 86'400'000'000;
}

VirtualClock::VirtualClock(const platform::DateTimeParts& start)
    : start_us_(platform::days_from_civil(start.year, start.month, start.day) * us_per_day +
                (((start.hour * 60LL + start.minute) * 60 + start.second) * 1000 + start.millisecond) *
                    1000) {}

double VirtualClock::now() {
  std::lock_guard lock(mutex_);
  // Exact in a double: microseconds since 1899 stay below 2^53 for millennia.
  return static_cast<double>(start_us_ + date_time_shift_us_ + elapsed_us_) / static_cast<double>(us_per_day);
}

std::uint64_t VirtualClock::monotonic_ms() {
  std::lock_guard lock(mutex_);
  return static_cast<std::uint64_t>(elapsed_us_ / 1000);
}

void VirtualClock::sleep(std::uint32_t milliseconds) {
  std::vector<std::function<void()>> hooks;
  {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(milliseconds);
    elapsed_us_ += static_cast<std::int64_t>(milliseconds) * 1000;
    hooks = sleep_hooks_;
  }
  run_due_actions();
  for (const auto& hook : hooks) hook();
}

void VirtualClock::advance(std::int64_t milliseconds) {
  {
    std::lock_guard lock(mutex_);
    elapsed_us_ += milliseconds * 1000;
  }
  run_due_actions();
}

void VirtualClock::set_date_time_by(std::int64_t milliseconds) {
  std::lock_guard lock(mutex_);
  date_time_shift_us_ += milliseconds * 1000;
}

void VirtualClock::at(std::int64_t ms_from_start, std::function<void()> action) {
  std::lock_guard lock(mutex_);
  scheduled_.push_back({ms_from_start * 1000, next_order_++, std::move(action)});
}

void VirtualClock::every_sleep(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  sleep_hooks_.push_back(std::move(hook));
}

// One action at a time, taken out before it runs: an action may schedule
// more, and those run too when they are already due.
void VirtualClock::run_due_actions() {
  for (;;) {
    std::function<void()> action;
    {
      std::lock_guard lock(mutex_);
      const auto earliest =
          std::min_element(scheduled_.begin(), scheduled_.end(), [](const auto& a, const auto& b) {
            return a.due_us != b.due_us ? a.due_us < b.due_us : a.order < b.order;
          });
      if (earliest == scheduled_.end() || earliest->due_us > elapsed_us_) return;
      action = std::move(earliest->action);
      scheduled_.erase(earliest);
    }
    action();
  }
}

std::int64_t VirtualClock::elapsed_us() const {
  std::lock_guard lock(mutex_);
  return elapsed_us_;
}

int VirtualClock::sleep_count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(sleeps_.size());
}

std::vector<std::uint32_t> VirtualClock::sleeps() const {
  std::lock_guard lock(mutex_);
  return sleeps_;
}

} // namespace zul00500::testing

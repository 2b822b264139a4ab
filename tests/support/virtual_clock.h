// A clock for tests: time stands still until the package sleeps, and a sleep
// moves it on at once. Actions scheduled in virtual time (and hooks run at
// every sleep) let a scripted manager act while the package waits.
#pragma once

#include "platform/clock.h"
#include "platform/date_time.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace zul00500::testing {

class VirtualClock : public platform::Clock {
public:
  // Starts at a local date and time; by default 2026-12-07 08:00:00.000.
  explicit VirtualClock(const platform::DateTimeParts& start = {2026, 12, 7, 8, 0, 0, 0});

  double now() override;
  // Virtual time since the start: sleeps and advance() move it, nothing else.
  std::uint64_t monotonic_ms() override;
  // Moves time on by `milliseconds`, then runs the actions that fell due and
  // the every_sleep hooks.
  void sleep(std::uint32_t milliseconds) override;

  // Runs `action` once, at the first moment time reaches `ms_from_start`
  // (right away at the next sleep if that moment has passed). Actions due
  // together run in the order of their times, then of scheduling.
  void at(std::int64_t ms_from_start, std::function<void()> action);
  // Runs `hook` after every sleep, after the actions that fell due.
  void every_sleep(std::function<void()> hook);
  // Moves time on like sleep() but counts no sleep and runs no hooks.
  void advance(std::int64_t milliseconds);
  // Sets the date and time forward (or back, when negative) as an operator
  // or a time server would: now() moves, monotonic_ms() and the scheduled
  // actions do not.
  void set_date_time_by(std::int64_t milliseconds);

  std::int64_t elapsed_us() const;
  std::int64_t elapsed_ms() const { return elapsed_us() / 1000; }
  int sleep_count() const;
  // Every sleep's length, in order.
  std::vector<std::uint32_t> sleeps() const;

private:
  struct Scheduled {
    std::int64_t due_us;
    std::uint64_t order;
    std::function<void()> action;
  };
  void run_due_actions();

  mutable std::mutex mutex_;
  std::int64_t start_us_; // since 1899-12-30 00:00
  std::int64_t elapsed_us_ = 0;
  std::int64_t date_time_shift_us_ = 0;
  std::uint64_t next_order_ = 0;
  std::vector<Scheduled> scheduled_;
  std::vector<std::function<void()>> sleep_hooks_;
  std::vector<std::uint32_t> sleeps_;
};

} // namespace zul00500::testing

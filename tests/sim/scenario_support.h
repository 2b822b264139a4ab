// What the simulator's tests share: a history read from its text form,
// played, and judged.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim/history.h"
#include "sim/sim_world.h"

namespace zul00500::sim {

inline History Read(const std::string& text) {
  History history;
  std::string error;
  EXPECT_TRUE(Parse(text, history, error)) << error;
  return history;
}

// The day keeps every invariant; a failure prints its timeline.
inline void ExpectHeld(const std::string& text) {
  const History history = Read(text);
  const DayResult day = RunDay(history, false);
  if (day.violation)
    ADD_FAILURE() << day.violation->invariant << " at step " << day.violation->step << ": "
                  << day.violation->why << "\n"
                  << RunDay(history, true).timeline;
}

// The day breaks `invariant` (and no other first); a failure prints its
// timeline.
inline void ExpectBroken(const std::string& text, const std::string& invariant) {
  const History history = Read(text);
  const DayResult day = RunDay(history, false);
  ASSERT_TRUE(day.violation.has_value()) << RunDay(history, true).timeline;
  EXPECT_EQ(day.violation->invariant, invariant) << day.violation->why << "\n"
                                                 << RunDay(history, true).timeline;
}

// How many times `text` occurs in the day's timeline.
inline std::size_t Count(const std::string& timeline, const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = timeline.find(text); at != std::string::npos; at = timeline.find(text, at + 1))
    ++count;
  return count;
}

} // namespace zul00500::sim

// The simulator's fixed scenarios: each shrunk history it found, kept as a
// test named for what it shows, and played by the same world as
// settlement_sim. Each must keep every invariant; a failure prints the
// day's timeline.
#include <gtest/gtest.h>

#include <string>

#include "sim/history.h"
#include "sim/shrink.h"
#include "sim/sim_world.h"

namespace zul00500::sim {
namespace {

void ExpectHeld(const std::string& text) {
  History history;
  std::string error;
  ASSERT_TRUE(Parse(text, history, error)) << error;
  const DayResult day = RunDay(history, false);
  if (day.violation)
    ADD_FAILURE() << day.violation->invariant << " at step " << day.violation->step << ": "
                  << day.violation->why << "\n"
                  << RunDay(history, true).timeline;
}

// --- the simulator itself ------------------------------------------------------

TEST(SettlementSimulator, TheTextFormReadsBackAsTheSameDay) {
  for (std::uint64_t seed = 1; seed <= 50; ++seed) {
    const History drawn = Generate(seed, 16);
    History read;
    std::string error;
    ASSERT_TRUE(Parse(Describe(drawn), read, error)) << error;
    EXPECT_EQ(Describe(read), Describe(drawn));
  }
}

TEST(SettlementSimulator, ASeedPlaysTheSameDayTwice) {
  for (const std::uint64_t seed : {3, 77, 1234}) {
    const History history = Generate(seed, 12);
    const DayResult first = RunDay(history, true);
    const DayResult second = RunDay(history, true);
    EXPECT_EQ(first.timeline, second.timeline);
    EXPECT_GT(first.timeline.size(), 1000u);
  }
}

TEST(SettlementSimulator, AHealthyDayKeepsEveryInvariant) {
  ExpectHeld(R"(history seed=0 roots=dial,disc,hiper printer=N0
step pay amount=4000 total=10000 kind=C seed=1
step pay amount=6000 total=10000 kind=C seed=2
step print seed=3
step cancel seed=4
step pay amount=2500 total=2500 kind=D seed=5
step print seed=6
step pay amount=1000 total=3000 kind=Q seed=7
step cancel-pending seed=8
step restart seed=9
)");
}

TEST(SettlementSimulator, ShrinkingKeepsTheBrokenInvariant) {
  // A day broken on purpose: a manager whose approvals name a root that is
  // not on the machine can never be settled there.
  History history;
  std::string error;
  ASSERT_TRUE(Parse(R"(history seed=0 roots=dial,disc printer=N0
step pay amount=4000 total=4000 kind=C seed=1
step idle amount=3000 seed=2
step pay amount=1500 total=1500 kind=C seed=3
step print seed=4
manager 1 status=ack:0 answer=approve:0 network=hcard
manager 5 status=ack:0 answer=refuse:0
)",
                    history, error))
      << error;
  const DayResult day = RunDay(history, false);
  if (!day.violation) GTEST_SKIP() << "the package settles it: nothing to shrink";
  const Shrunk shrunk = Shrink(history, *day.violation);
  EXPECT_EQ(shrunk.violation.invariant, day.violation->invariant);
  EXPECT_LE(shrunk.history.steps.size(), history.steps.size());
  EXPECT_TRUE(RunDay(shrunk.history, false).violation.has_value());
}

// --- what the simulator found ------------------------------------------------

// A cut before the sale's backup was written leaves the approval only in the
// response directory; the restart's scan removes that file before it notes
// the "NCN", and a second cut there lost the answer unsettled. Enabled with
// its mend (docs/simulation.md, finding 7).
TEST(SettlementScenarios, DISABLED_ALeftoverKeptOnlyByTheManagerSurvivesACutDuringItsSettlement) {
  ExpectHeld(R"(history seed=0 roots=dial,disc,hiper printer=F1
step pay amount=6000 total=9000 kind=C seed=12 fault=cut:60 recovery=cut:9,cut:30:torn
)");
}

} // namespace
} // namespace zul00500::sim

// The simulator's own checks: its text form, its determinism, its shrinking,
// each manager manner and each fault of the world happening as drawn, and
// the judge noticing a break of each invariant.
#include <algorithm>

#include "sim/scenario_support.h"
#include "sim/shrink.h"

namespace zul00500::sim {
namespace {

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
  // Another program deletes the pending copy of a confirmed partial payment
  // (a fault no package survives, never drawn), padded with steps and
  // faults that have nothing to do with it.
  History history;
  std::string error;
  ASSERT_TRUE(Parse(R"(history seed=7 roots=dial,disc,hiper printer=N0
step idle amount=3000 seed=1
step pay amount=4000 total=10000 kind=C seed=2
step scan seed=3 fault=dialog:1
step idle amount=2000 seed=4 fault=erase:1
step pay amount=1000 total=10000 kind=D seed=5 fault=busy:2:3000
)",
                    history, error))
      << error;
  const DayResult day = RunDay(history, false);
  ASSERT_TRUE(day.violation.has_value());
  const Shrunk shrunk = Shrink(history, *day.violation);
  EXPECT_EQ(shrunk.violation.invariant, day.violation->invariant);
  EXPECT_EQ(shrunk.history.steps.size(), 2u);
  EXPECT_TRUE(RunDay(shrunk.history, false).violation.has_value());
}

// --- the widened world ------------------------------------------------------

TEST(SettlementSimulator, TheTextFormReadsBackEveryMannerAndFault) {
  const std::string text = R"(history seed=5 roots=dial,hiper printer=F24
manner dial keep unended
manner hiper unclosed remove-late
step pay amount=100 total=300 kind=C seed=1 fault=divert:2
step idle amount=3600000 seed=2 fault=plant:1
step night amount=57600000 seed=3
step cancel-pending seed=4 fault=forget:0
step scan seed=5 fault=cut:2400:torn recovery=cut:900
manager 0 status=ack:0 answer=too-many-lines:0 keep unclosed
manager 2 status=ack:0 answer=too-large:0 unended remove-late
)";
  const History history = Read(text);
  EXPECT_EQ(Describe(history), text);
  EXPECT_TRUE(history.manners[0].keep && history.manners[0].unended && !history.manners[0].unclosed);
  EXPECT_TRUE(history.behaviours[0].Healthy() == false);
  Behaviour allowed;
  allowed.manner.keep = allowed.manner.unclosed = true;
  EXPECT_TRUE(allowed.Healthy()); // what the protocol allows is no fault
}

TEST(SettlementSimulator, SeedsDrawEveryMannerNightsAndLateCuts) {
  int keep = 0, unclosed = 0, unended = 0, late = 0, nights = 0, hours = 0, late_cuts = 0, oversize = 0;
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    const History history = Generate(seed, 16);
    std::vector<Manner> manners(std::begin(history.manners), std::end(history.manners));
    for (const Behaviour& b : history.behaviours) {
      manners.push_back(b.manner);
      oversize += b.answer == Behaviour::Answer::TooManyLines || b.answer == Behaviour::Answer::TooLarge;
    }
    for (const Manner& m : manners)
      keep += m.keep, unclosed += m.unclosed, unended += m.unended, late += m.remove_late;
    for (const Step& step : history.steps) {
      nights += step.action == Action::Night;
      hours += step.action == Action::Idle && step.amount > 120000;
      late_cuts += step.fault.kind == Fault::Kind::Cut && step.fault.at > 170;
    }
  }
  for (const int drawn : {keep, unclosed, unended, late, nights, hours, late_cuts, oversize})
    EXPECT_GT(drawn, 5);
}

// One payment on c:\tef_dial\, whose manager writes in `manner`.
std::string OnePaymentIn(const std::string& manner) {
  return "history seed=0 roots=dial printer=N0\nmanner dial " + manner +
         "\nstep pay amount=1000 total=1000 kind=C seed=1\nstep print seed=2\n";
}

TEST(SettlementSimulator, AManagerThatKeepsItsRequestTakesEachRequestOnce) {
  const std::string timeline = RunDay(Read(OnePaymentIn("keep")), true).timeline;
  EXPECT_GT(Count(timeline, "leaves it in req\\"), 0u);
  // Each sequence is taken once, however long it lies in "req\".
  for (std::size_t at = timeline.find("takes "); at != std::string::npos;
       at = timeline.find("takes ", at + 1)) {
    const std::string taken = timeline.substr(at, timeline.find_first_of(",\n", at) - at);
    EXPECT_EQ(Count(timeline, taken + ","), 1u) << taken;
  }
}

TEST(SettlementSimulator, AManagerWritesItsFilesWithOrWithoutTheClosingLineAndTheLastLineEnd) {
  // "000-000 = ATV" CR LF "999-999 = 0" CR LF is 28 bytes.
  EXPECT_GT(
      Count(RunDay(Read(OnePaymentIn("unclosed")), true).timeline, "writes resp\\intpos.sts (15 bytes)"), 0u);
  EXPECT_GT(Count(RunDay(Read(OnePaymentIn("unended")), true).timeline, "writes resp\\intpos.sts (26 bytes)"),
            0u);
  EXPECT_GT(Count(RunDay(Read(OnePaymentIn("unclosed unended")), true).timeline,
                  "writes resp\\intpos.sts (13 bytes)"),
            0u);
}

TEST(SettlementSimulator, AManagerRemovesTheRequestAfterItsStatus) {
  const std::string timeline = RunDay(Read(OnePaymentIn("remove-late")), true).timeline;
  const std::size_t status = timeline.find("writes resp\\intpos.sts");
  const std::size_t removed = timeline.find("removes the request");
  ASSERT_NE(removed, std::string::npos);
  EXPECT_LT(status, removed);
}

TEST(SettlementSimulator, AnAnswerPastTheLimitsIsSetAsideAndUndone) {
  for (const char* answer : {"too-many-lines", "too-large"}) {
    const std::string text = std::string("history seed=0 roots=dial printer=N0\n"
                                         "step pay amount=1000 total=1000 kind=C seed=1\n"
                                         "manager 1 status=ack:0 answer=") +
                             answer + ":0\n";
    EXPECT_GT(Count(RunDay(Read(text), true).timeline, "acima do limite"), 0u) << answer;
    ExpectHeld(text);
  }
}

TEST(SettlementSimulator, ANightMovesTheDateOn) {
  const std::string text = R"(history seed=0 roots=dial printer=N0
step pay amount=1000 total=3000 kind=C seed=1
step night amount=57600000 seed=2
step pay amount=1000 total=1000 kind=C seed=3
step print seed=4
)";
  EXPECT_GT(Count(RunDay(Read(text), true).timeline, "08/12/2026 "), 0u);
}

// --- the judge notices each new invariant broken ----------------------------------

// Another program moves the partial payment's "CNF" to c:\HiperTEF\: the
// manager there never approved it, refuses it, and the judge sees the
// settlement at the wrong manager.
TEST(SettlementSimulator, TheJudgeSeesASettlementAtAnotherManager) {
  const std::string text = R"(history seed=0 roots=dial,hiper printer=N0
step pay amount=1000 total=3000 kind=C seed=1 fault=divert:2
)";
  EXPECT_GT(Count(RunDay(Read(text), true).timeline, "refuses CNF of A00001"), 0u);
  ExpectBroken(text, "I9");
}

// The host forgets a sale with a confirmed partial payment and never asks
// to cancel it. The judge saw it left standing (I7) until the package
// refused the next sale beside its pending copy: the host then undoes it, as
// its guide says, before the day's last sale.
TEST(SettlementSimulator, AnAbandonedPartialPaymentTheHostForgotIsUndoneBeforeTheNextSale) {
  const std::string text = R"(history seed=0 roots=dial printer=N0
step pay amount=1000 total=3000 kind=C seed=1
step idle amount=1000 seed=2 fault=forget:0
)";
  EXPECT_EQ(Count(RunDay(Read(text), true).timeline, "DoTEF refused for another sale's pending payments"),
            1u);
  ExpectHeld(text);
}

// The manager takes the partial payment's "CNF" only after 25 s: the
// package takes it back at 15 s, and DoTEF says the payment does not stand;
// the end of the day undoes it. The judge watches the taking back (I10).
TEST(SettlementSimulator, APartialPaymentWhoseConfirmationWasTakenBackIsNotReportedPaid) {
  const std::string text = R"(history seed=5 roots=dial,disc,hiper printer=N0
step pay amount=1000 total=5000 kind=C seed=1
manager 3 take=25000 status=ack:0 answer=approve:0
)";
  const std::string timeline = RunDay(Read(text), true).timeline;
  EXPECT_EQ(Count(timeline, "rename c:\\tef_dial\\req\\intpos.001 -> c:\\tef_dial\\req\\~intpos."), 1u);
  EXPECT_EQ(Count(timeline, "pay -> false"), 1u);
  ExpectHeld(text);
}

// A pending copy of a payment no manager approved: with every manager
// healthy, the end of the day's pending cancellation fails.
TEST(SettlementSimulator, TheJudgeSeesAPendingCancellationFailWithNothingAmiss) {
  ExpectBroken(R"(history seed=0 roots=dial printer=N0
step pay amount=1000 total=3000 kind=C seed=1
step idle amount=1000 seed=2 fault=plant:0
)",
               "I8");
}

TEST(SettlementSimulator, ShrinkingTakesAwayMannersAndQuietHours) {
  const History history = Read(R"(history seed=7 roots=dial,disc,hiper printer=N0
manner hiper unclosed unended
step night amount=36000000 seed=1
step pay amount=4000 total=10000 kind=C seed=2
step idle amount=2000 seed=4 fault=erase:1
step idle amount=3000000 seed=5
)");
  const DayResult day = RunDay(history, false);
  ASSERT_TRUE(day.violation.has_value());
  const Shrunk shrunk = Shrink(history, *day.violation);
  EXPECT_EQ(shrunk.violation.invariant, day.violation->invariant);
  EXPECT_EQ(Describe(shrunk.history).find("manner"), std::string::npos) << Describe(shrunk.history);
  EXPECT_EQ(Describe(shrunk.history).find("night"), std::string::npos) << Describe(shrunk.history);
}

} // namespace
} // namespace zul00500::sim

#include "platform/clock.h"
#include "platform/date_time.h"

#include "support/virtual_clock.h"

#include <gtest/gtest.h>

namespace zul00500::platform {
namespace {

using testing::VirtualClock;

TEST(NativeClockTest, NowIsAPlausibleLocalDate) {
  const DateTimeParts now = decode_date_time(native_clock().now());
  EXPECT_GE(now.year, 2024);
  EXPECT_LE(now.year, 2200);
}

TEST(NativeClockTest, NowNeverRunsBackwardsAcrossAShortPause) {
  const double before = native_clock().now();
  native_clock().sleep(2);
  EXPECT_GE(native_clock().now(), before);
}

TEST(ClockSeamTest, PauseGoesThroughTheInstalledClock) {
  VirtualClock virtual_clock;
  {
    ScopedClock scope(virtual_clock);
    EXPECT_EQ(&clock(), &virtual_clock);
    pause(250);
  }
  EXPECT_EQ(&clock(), &native_clock());
  EXPECT_EQ(virtual_clock.sleeps(), std::vector<std::uint32_t>{250});
}

TEST(VirtualClockTest, StartsAtTheGivenMomentAndStandsStill) {
  VirtualClock clock({2026, 12, 7, 8, 0, 0, 508});
  EXPECT_NEAR(clock.now(), 46363.333339212964, 1e-9);
  EXPECT_EQ(clock.now(), clock.now());
  EXPECT_EQ(decode_date_time(clock.now()), (DateTimeParts{2026, 12, 7, 8, 0, 0, 508}));
}

TEST(VirtualClockTest, SleepMovesTimeOnExactly) {
  VirtualClock clock;
  for (int i = 0; i < 150; ++i) clock.sleep(100);
  EXPECT_EQ(clock.elapsed_ms(), 15'000);
  EXPECT_EQ(clock.sleep_count(), 150);
  EXPECT_EQ(decode_date_time(clock.now()), (DateTimeParts{2026, 12, 7, 8, 0, 15, 0}));
  clock.sleep(1);
  EXPECT_EQ(decode_date_time(clock.now()).millisecond, 1);
}

TEST(VirtualClockTest, ScheduledActionsRunOnceWhenTheirTimeComes) {
  VirtualClock clock;
  std::vector<std::string> log;
  clock.at(250, [&] { log.push_back("late@" + std::to_string(clock.elapsed_ms())); });
  clock.at(100, [&] { log.push_back("early@" + std::to_string(clock.elapsed_ms())); });
  clock.at(100, [&] { log.push_back("early2"); });
  clock.sleep(99);
  EXPECT_TRUE(log.empty());
  clock.sleep(200);
  clock.sleep(200);
  EXPECT_EQ(log, (std::vector<std::string>{"early@299", "early2", "late@299"}));
}

TEST(VirtualClockTest, ActionsScheduledByActionsRunWhenAlreadyDue) {
  VirtualClock clock;
  int chained = 0;
  clock.at(10, [&] { clock.at(5, [&] { ++chained; }); });
  clock.sleep(10);
  EXPECT_EQ(chained, 1);
}

TEST(VirtualClockTest, EverySleepHookRunsAfterDueActions) {
  VirtualClock clock;
  std::string order;
  clock.every_sleep([&] { order += "h"; });
  clock.at(100, [&] { order += "a"; });
  clock.sleep(50);
  clock.sleep(50);
  EXPECT_EQ(order, "hah");
}

TEST(VirtualClockTest, AdvanceRunsActionsButCountsNoSleep) {
  VirtualClock clock;
  bool ran = false, hooked = false;
  clock.at(1000, [&] { ran = true; });
  clock.every_sleep([&] { hooked = true; });
  clock.advance(1000);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(hooked);
  EXPECT_EQ(clock.sleep_count(), 0);
}

} // namespace
} // namespace zul00500::platform

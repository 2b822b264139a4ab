// The simulated manager against real files in a temporary drive, in virtual
// time: what it takes, what it writes and when, and what its log tells.
#include "tefsim/manager.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "support/faulty_fs.h"
#include "support/temp_world.h"
#include "support/virtual_clock.h"
#include "tefsim/lease.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tefsim {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using zul00500::StringList;
namespace platform = zul00500::platform;

const std::string kDial = "c:\\tef_dial\\";
const std::string kDisc = "c:\\tef_disc\\";

class TefsimManagerTest : public ::testing::Test {
protected:
  TefsimManagerTest() { dial.prepare(); }

  // Scenario lines for the next requests.
  void Play(const std::string& text) { simulation = Simulation(Parse(text)); }
  static Scenario Parse(const std::string& text) {
    Scenario scenario;
    scenario.add_text(text, "test");
    return scenario;
  }

  // Writes a request the way the package does: temporary file, then rename.
  static void Send(const std::string& root, const StringList& request) {
    request.SaveToFile(root + "req\\intpos.tmp");
    ASSERT_TRUE(platform::fs().rename_file(root + "req\\intpos.tmp", root + "req\\intpos.001"));
  }
  static StringList Activity(const std::string& sequence) {
    return {"000-000 = ATV", "001-000 = " + sequence, "999-999 = 0"};
  }
  static StringList Sale(const std::string& sequence) {
    return {"000-000 = CRT", "001-000 = " + sequence, "003-000 = 1000",
            "004-000 = 0",   "500-000 = 1",           "999-999 = 0"};
  }
  static bool Exists(const std::string& path) { return platform::fs().file_exists(path); }
  // Reads and removes a response file, as the package does.
  static StringList Take(const std::string& path) {
    StringList lines;
    lines.LoadFromFile(path);
    platform::fs().remove_file(path);
    return lines;
  }
  // Lets `ms` of virtual time pass, polling every 100 ms like tefsim.
  void Run(std::uint32_t ms) {
    for (std::uint32_t t = 0; t < ms; t += 100) {
      clock.sleep(100);
      dial.poll();
    }
  }

  zul00500::testing::TempWorld world;
  zul00500::testing::VirtualClock clock;
  platform::ScopedClock scoped_clock{clock};
  Simulation simulation;
  std::vector<std::string> log;
  Manager dial{kDial, simulation, [this](const std::string& line) { log.push_back(line); }};
};

TEST_F(TefsimManagerTest, PrepareCreatesRequestAndResponseDirectories) {
  EXPECT_TRUE(platform::fs().directory_exists(kDial + "req"));
  EXPECT_TRUE(platform::fs().directory_exists(kDial + "resp"));
}

TEST_F(TefsimManagerTest, TakesTheRequestRemovesItAndAcknowledgesAtOnce) {
  Send(kDial, Activity("0347520030"));
  dial.poll();
  EXPECT_FALSE(Exists(kDial + "req\\intpos.001"));
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts"),
            (StringList{"000-000 = ATV", "001-000 = 0347520030", "999-999 = 0"}));
  // Written through a temporary file that is not an "intpos.*" name.
  EXPECT_THAT(platform::fs().list(kDial + "resp\\*.*"), IsEmpty());
  EXPECT_TRUE(dial.idle());
  EXPECT_THAT(log, ElementsAre(kDial + " ATV#1: took req\\intpos.001: 000-000 = ATV | 001-000 = 0347520030 | "
                                       "999-999 = 0",
                               kDial + " ATV#1: wrote resp\\intpos.sts (status): 000-000 = ATV | "
                                       "001-000 = 0347520030 | 999-999 = 0"));
  dial.poll();
  EXPECT_THAT(log.back(), HasSubstr("resp\\intpos.sts was taken away"));
}

TEST_F(TefsimManagerTest, LeavesTheTemporaryRequestFileAlone) {
  StringList(Activity("1")).SaveToFile(kDial + "req\\intpos.tmp");
  Run(500);
  EXPECT_TRUE(Exists(kDial + "req\\intpos.tmp"));
  EXPECT_FALSE(Exists(kDial + "resp\\intpos.sts"));
  EXPECT_THAT(log, IsEmpty());
}

TEST_F(TefsimManagerTest, DelayedStatusIsWrittenOnlyWhenDue) {
  Play("ATV: delay 500\n");
  Send(kDial, Activity("1"));
  dial.poll();
  EXPECT_FALSE(Exists(kDial + "req\\intpos.001"));
  EXPECT_THAT(log.back(), HasSubstr("ATV#1: status in 500 ms"));
  Run(400);
  EXPECT_FALSE(Exists(kDial + "resp\\intpos.sts"));
  Run(100);
  EXPECT_TRUE(Exists(kDial + "resp\\intpos.sts"));
}

TEST_F(TefsimManagerTest, ABusyManagerTakesTheNextRequestOnlyWhenDone) {
  Play("ATV#1: delay 1000\n");
  Send(kDial, Activity("1"));
  dial.poll();
  Run(300);
  Send(kDial, Activity("2"));
  Run(500);
  EXPECT_TRUE(Exists(kDial + "req\\intpos.001"));
  Run(200);
  // The late status of the first request, then at once the second one's.
  EXPECT_FALSE(Exists(kDial + "req\\intpos.001"));
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts")[1], "001-000 = 2");
  EXPECT_THAT(log,
              Contains(HasSubstr("ATV#1: wrote resp\\intpos.sts (status): 000-000 = ATV | 001-000 = 1")));
}

TEST_F(TefsimManagerTest, SilenceIsChosenPerRequestInTurn) {
  Play("ATV#2: silent\n");
  for (const char* sequence : {"1", "2", "3"}) {
    Send(kDial, Activity(sequence));
    dial.poll();
    EXPECT_FALSE(Exists(kDial + "req\\intpos.001"));
    if (Exists(kDial + "resp\\intpos.sts")) EXPECT_NE(Take(kDial + "resp\\intpos.sts")[1], "001-000 = 2");
    else EXPECT_STREQ(sequence, "2");
  }
  EXPECT_THAT(log, Contains(kDial + " ATV#2: silent: no answer"));
}

TEST_F(TefsimManagerTest, RequestsAreCountedPerOperationOverEveryRoot) {
  Play("ATV#2: empty-status\n");
  Manager disc(kDisc, simulation, [this](const std::string& line) { log.push_back(line); });
  disc.prepare();
  Send(kDial, Activity("1"));
  Send(kDisc, {"000-000 = CNF", "001-000 = 2", "999-999 = 0"});
  dial.poll();
  disc.poll();
  Send(kDisc, Activity("3"));
  disc.poll();
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts").Count(), 3u);
  EXPECT_TRUE(Take(kDisc + "resp\\intpos.sts").empty());
}

TEST_F(TefsimManagerTest, ConfirmationsAreLoggedWithTheirTransaction) {
  Send(kDial, Sale("0347520031"));
  dial.poll();
  const StringList answer = Take(kDial + "resp\\intpos.001");
  Send(kDial,
       {"000-000 = CNF", "001-000 = 0347520032", "010-000 = " + answer.Field("010-000 "),
        "012-000 = " + answer.Field("012-000 "), "027-000 = " + answer.Field("027-000 "), "999-999 = 0"});
  dial.poll();
  Send(kDial, {"000-000 = NCN", "001-000 = 0347520033", "010-000 =  TECBAN ", "012-000 = 123",
               "027-000 = ABC", "999-999 = 0"});
  dial.poll();

  EXPECT_THAT(log, Contains(AllOf(HasSubstr("CNF#1: confirmed: network=REDEX doc=000001 027-000=" +
                                            answer.Field("027-000 ")),
                                  HasSubstr("approved as CRT#1 on c:\\tef_dial\\, 001-000 = 0347520031"))));
  EXPECT_THAT(log, Contains(kDial + " NCN#1: not confirmed: network=TECBAN doc=123 027-000=ABC "
                                    "(not approved in this run)"));
  // Both are acknowledged like any request.
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts")[0], "000-000 = NCN");
}

TEST_F(TefsimManagerTest, SaleAnswerFollowsTheStatusAfterItsDelay) {
  Play("CRT: answer-delay 300\nCRT: network HCard\n");
  Send(kDial, Sale("5"));
  dial.poll();
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts")[0], "000-000 = CRT");
  Run(200);
  EXPECT_FALSE(Exists(kDial + "resp\\intpos.001"));
  Run(100);
  const StringList answer = Take(kDial + "resp\\intpos.001");
  EXPECT_EQ(answer[1], "001-000 = 5");
  EXPECT_EQ(answer.Field("010-000 "), "HCard");
}

TEST_F(TefsimManagerTest, TornFilesAreWrittenInPlaceHalfTheFirstLineFirst) {
  Play("CRT: torn 200\n");
  Send(kDial, Sale("5"));
  dial.poll();
  EXPECT_EQ(platform::fs().read_file(kDial + "resp\\intpos.sts"), "000-00");
  Run(200);
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts"), (StringList{"000-000 = CRT", "001-000 = 5", "999-999 = 0"}));
  // The answer starts as soon as the status is done, torn the same way.
  EXPECT_EQ(platform::fs().read_file(kDial + "resp\\intpos.001"), "000-00");
  Run(200);
  const StringList answer = Take(kDial + "resp\\intpos.001");
  EXPECT_EQ(answer[0], "000-000 = CRT");
  EXPECT_EQ(answer.lines().back(), "999-999 = 0");
  EXPECT_THAT(log, Contains(HasSubstr("wrote resp\\intpos.001 (answer, first piece)")));
  EXPECT_TRUE(dial.idle());
}

TEST_F(TefsimManagerTest, KeepsEveryFileItWritesEachPieceApartNamedAfterItsRequest) {
  const std::string kept = world.root() + "/written";
  platform::native_fs().create_directories(kept);
  Play("CRT#2: torn 200\n");
  simulation.keep_written_in(kept);
  Send(kDial, Sale("4"));
  Run(200);
  const std::string answer = platform::fs().read_file(kDial + "resp\\intpos.001");
  Take(kDial + "resp\\intpos.sts");
  Take(kDial + "resp\\intpos.001");
  Send(kDial, Sale("5"));
  Run(600);
  const auto read = [&](const char* name) { return platform::native_fs().read_file(kept + "/" + name); };
  EXPECT_EQ(read("CRT-1-1.sts"), "000-000 = CRT\r\n001-000 = 4\r\n999-999 = 0\r\n");
  EXPECT_EQ(read("CRT-1-2.001"), answer);
  // The torn request's pieces, as written: half the first line, then the rest.
  EXPECT_EQ(read("CRT-2-1.sts"), "000-00");
  EXPECT_EQ(read("CRT-2-2.sts"), "0 = CRT\r\n001-000 = 5\r\n999-999 = 0\r\n");
  EXPECT_EQ(read("CRT-2-3.001"), "000-00");
  EXPECT_EQ(read("CRT-2-3.001") + read("CRT-2-4.001"), platform::fs().read_file(kDial + "resp\\intpos.001"));
}

TEST_F(TefsimManagerTest, ASlowWriterPausesItsAnswerAtTheChosenByte) {
  // After "000-000 = CRT", "001-000 = 5" and "003-000 = 1000": 44 bytes.
  Play("CRT: pause-at 44 3000\n");
  Send(kDial, Sale("5"));
  dial.poll();
  Take(kDial + "resp\\intpos.sts");
  EXPECT_EQ(platform::fs().read_file(kDial + "resp\\intpos.001"),
            "000-000 = CRT\r\n001-000 = 5\r\n003-000 = 1000\r\n");
  Run(2900);
  EXPECT_EQ(platform::fs().read_file(kDial + "resp\\intpos.001").size(), 44u);
  Run(200);
  const StringList answer = Take(kDial + "resp\\intpos.001");
  EXPECT_EQ(answer.Field("009-000 "), "0");
  EXPECT_EQ(answer.lines().back(), "999-999 = 0");
  EXPECT_THAT(log, Contains(HasSubstr("wrote resp\\intpos.001 (answer, first 44 bytes)")));
  EXPECT_TRUE(dial.idle());
}

TEST_F(TefsimManagerTest, TheRestOfATornFileIsWrittenEvenWhenThePackageTookTheFirstPiece) {
  Play("ATV: torn 200\n");
  Send(kDial, Activity("7"));
  dial.poll();
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts"), (StringList{"000-00"}));
  Run(200);
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts"), (StringList{"0 = ATV", "001-000 = 7", "999-999 = 0"}));
}

TEST_F(TefsimManagerTest, RightAnswerWaitsUntilThePackageTookTheStrayOne) {
  Play("CRT: other-sequence-first\n");
  Send(kDial, Sale("0347520040"));
  dial.poll();
  Run(1000);
  EXPECT_EQ(Take(kDial + "resp\\intpos.001")[1], "001-000 = 0347520041");
  EXPECT_FALSE(dial.idle());
  Run(100);
  EXPECT_EQ(Take(kDial + "resp\\intpos.001")[1], "001-000 = 0347520040");
  EXPECT_TRUE(dial.idle());
}

// The package leaves a cancellation answer of another sequence in place: the
// right one comes over it.
TEST_F(TefsimManagerTest, CancellationsRightAnswerReplacesTheStrayOneWithoutPickup) {
  Play("CNC: other-sequence-first\n");
  Send(kDial, {"000-000 = CNC", "001-000 = 0347520050", "003-000 = 1000", "010-000 = REDEX",
               "012-000 = 000001", "999-999 = 0"});
  dial.poll();
  Run(100);
  StringList stray;
  stray.LoadFromFile(kDial + "resp\\intpos.001");
  EXPECT_EQ(stray[1], "001-000 = 0347520051");
  Run(1100);
  const StringList answer = Take(kDial + "resp\\intpos.001");
  EXPECT_EQ(answer[0], "000-000 = CNC");
  EXPECT_EQ(answer[1], "001-000 = 0347520050");
  EXPECT_TRUE(dial.idle());
}

TEST_F(TefsimManagerTest, ANewRequestEndsTheWaitForAPickup) {
  Play("CRT: other-sequence-first\n");
  Send(kDial, Sale("0347520040"));
  dial.poll();
  Send(kDial, Activity("7"));
  dial.poll();
  EXPECT_THAT(log, Contains(HasSubstr("CRT#1: gave up writing the answer: a new request came first")));
  EXPECT_EQ(Take(kDial + "resp\\intpos.sts")[1], "001-000 = 7");
  // The stray answer is left for the package's scans, the right one never comes.
  EXPECT_EQ(Take(kDial + "resp\\intpos.001")[1], "001-000 = 0347520041");
  Run(500);
  EXPECT_FALSE(Exists(kDial + "resp\\intpos.001"));
}

TEST_F(TefsimManagerTest, AFailingFileOperationIsLoggedOnceAndPollingGoesOn) {
  zul00500::testing::FaultyFs faulty;
  platform::ScopedFileSystem scoped_fs(faulty);
  faulty.fail_from(zul00500::testing::FsOp::ReadFile, 1);
  Send(kDial, Activity("1"));
  EXPECT_NO_THROW(Run(300));
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.find("error: ") != line.npos; }),
            1);
  EXPECT_TRUE(Exists(kDial + "req\\intpos.001"));

  faulty.heal();
  Run(100);
  EXPECT_TRUE(Exists(kDial + "resp\\intpos.sts"));
}

TEST_F(TefsimManagerTest, AFailedWriteIsDroppedNotRetried) {
  zul00500::testing::FaultyFs faulty;
  platform::ScopedFileSystem scoped_fs(faulty);
  Send(kDial, Activity("1"));
  faulty.fail_call(zul00500::testing::FsOp::WriteFile, 1, zul00500::testing::Fault::Torn);
  Run(300);
  EXPECT_FALSE(Exists(kDial + "resp\\intpos.sts"));
  EXPECT_THAT(platform::fs().list(kDial + "resp\\*.*"), IsEmpty());
  EXPECT_TRUE(dial.idle());
  EXPECT_THAT(log, Contains(HasSubstr("error: ")));
}

TEST(TefsimLeaseTest, ALeaseGoneOrUntouchedForTenSecondsHasExpired) {
  zul00500::testing::TempWorld world;
  const std::string path = world.root() + "/lease";
  EXPECT_FALSE(Lease("").expired());
  EXPECT_TRUE(Lease(path).expired());
  platform::native_fs().write_file(path, "");
  EXPECT_FALSE(Lease(path).expired());
  std::filesystem::last_write_time(path,
                                   std::filesystem::file_time_type::clock::now() - std::chrono::seconds(11));
  EXPECT_TRUE(Lease(path).expired());
}

} // namespace
} // namespace tefsim

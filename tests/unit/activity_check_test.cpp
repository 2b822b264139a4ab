#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/activity_log_lines.h"
#include "support/binary_packet.h"
#include "support/dataset.h"
#include "support/dialog_expectations.h"
#include "support/faulty_fs.h"
#include "support/file_write.h"
#include "support/manager_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/form.h"
#include "tef/network_choice.h"
#include "tef/settlement/memory.h"

namespace zul00500 {
namespace {

using testing::StatusReply;

using testing::kActive;
using testing::kWaiting;
const char* const kNoAnswer = "Zul00500 - N\xE3o houve resposta do gerenciador";
const char* const kInactive = "O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!";

class ActivityCheckTest : public testing::ManagerWorld {
protected:
  ActivityCheckTest() { StoreDirTef(kRootTefDial); }

  long WaitLines() const {
    const auto messages = LogMessages();
    return std::count(messages.begin(), messages.end(), kWaiting);
  }
  void ExpectInactiveDialog() {
    ASSERT_EQ(host_->Calls().size(), 1u);
    testing::ExpectDialog(host_->Calls()[0], kInactive, "N", 3, "", 0);
  }
  static std::string Resp(const std::string& name) { return std::string(kRootTefDial) + "resp\\" + name; }

  // A manager takes the "NCN" of sequence 2 and never acknowledges it; the
  // till restarts then, or not. The status it writes late, headed "NCN" and
  // naming no sequence, comes 1 s after the next "NCN" (sequence 3) was
  // written, while the manager is busy; the manager takes that one after
  // 4 s. True when the wait counted the status only once the request left.
  bool LateStatusCountsOnceTheNextRequestLeft(bool restart) {
    const std::string request = std::string(kRootTefDial) + "req\\intpos.001";
    dial_.Script({StatusReply::Silent});
    Put(request, {"000-000 = NCN", "001-000 = 2", testing::kClosingLine});
    EXPECT_FALSE(CheckGPAtivo("NCN", "2"));
    EXPECT_FALSE(Exists(request));
    if (restart) ForgetSettledInThisProcess();
    dial_.Stop(true);
    Put(request, {"000-000 = NCN", "001-000 = 3", testing::kClosingLine});
    const std::int64_t start = clock_.elapsed_ms();
    clock_.at(start + 1000, [] {
      testing::WriteResponse(kRootTefDial, "intpos.sts", {"000-000 = NCN", testing::kClosingLine});
    });
    clock_.at(start + 4000, [this] { dial_.Stop(false); });
    return CheckGPAtivo("NCN", "3") && !Exists(request) && clock_.elapsed_ms() - start >= 4000;
  }
};

TEST_F(ActivityCheckTest, ManagerAnsweringAtOnceEndsAfterOneCycle) {
  EXPECT_TRUE(CheckGPAtivo("ATV", "0347520030"));
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::uint32_t>{600}));
  EXPECT_TRUE(host_->Calls().empty());
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{"Zul00500 - Gerando arquivo Atv",
                                                     "Zul00500 - Arquivo Atv criado", kWaiting, kActive}));
  // The status file is read and gone.
  EXPECT_FALSE(Exists(Resp("intpos.sts")));
}

TEST_F(ActivityCheckTest, RequestIsThreeLinesWithCrLf) {
  dial_.Script({StatusReply::Silent});
  std::string request_bytes;
  dial_.OnRequest([&](const StringList& request) { request_bytes = request.Text(); });
  CheckGPAtivo("ATV", "0347520030");
  EXPECT_EQ(request_bytes, "000-000 = ATV\r\n001-000 = 0347520030\r\n999-999 = 0\r\n");
  // Nothing is left half-written beside the request.
  EXPECT_FALSE(Exists(TemporaryBeside(std::string(kRootTefDial) + "req\\intpos.001")));
}

TEST_F(ActivityCheckTest, SilentManagerFailsAfterFifteenSecondsWithTheDialog) {
  dial_.Script({StatusReply::Silent});
  EXPECT_FALSE(CheckGPAtivo("ATV", "0347520030"));
  // 26 cycles of 600 ms: the 25th ends at exactly 15 s, which is still within
  // the limit.
  EXPECT_EQ(clock_.elapsed_ms(), 15600);
  EXPECT_EQ(WaitLines(), 26);
  const auto messages = LogMessages();
  EXPECT_EQ(messages.back(), kWaiting);
  ExpectInactiveDialog();
}

TEST_F(ActivityCheckTest, NonMatchingStatusFilesAreDeletedAndTheWaitGoesOn) {
  for (const std::string header : {"000-000 = ATV ", "000-000 = atv", "000-000 = CRT"}) {
    dial_.Script({StatusReply::Silent});
    clock_.at(clock_.elapsed_ms() + 1000,
              [header] { testing::WriteResponse(kRootTefDial, "intpos.sts", {header}); });
    EXPECT_FALSE(CheckGPAtivo("ATV", "1")) << header;
    EXPECT_FALSE(Exists(Resp("intpos.sts")));
  }
}

TEST_F(ActivityCheckTest, LateStatusFileIsStillReadInTheLastCycle) {
  dial_.Script({StatusReply::Silent});
  clock_.at(15500, [] {
    testing::WriteResponse(kRootTefDial, "intpos.sts", {"000-000 = ATV", testing::kClosingLine});
  });
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(clock_.elapsed_ms(), 15600);
}

// --- a status file the manager is still writing ------------------------------

// Writes `bytes` as the status file, in place, as a manager writing in
// pieces does.
void WriteStatusBytes(const std::string& bytes) {
  platform::fs().write_file(std::string(kRootTefDial) + "resp\\intpos.sts", bytes);
}

TEST_F(ActivityCheckTest, AnEmptyStatusFileIsNotYetAnAnswerAndTheWaitGoesOn) {
  dial_.Script({StatusReply::Empty});
  EXPECT_FALSE(CheckGPAtivo("ATV", "1"));
  // The whole fifteen seconds, without the failure of an unreadable file.
  EXPECT_EQ(clock_.elapsed_ms(), 15600);
  EXPECT_EQ(WaitLines(), 26);
  const auto log = LogMessages();
  EXPECT_EQ(std::count(log.begin(), log.end(), kNoAnswer), 0);
  ExpectInactiveDialog();
}

TEST_F(ActivityCheckTest, StatusFileFinishedAfterAnEmptyReadCounts) {
  dial_.Script({StatusReply::Empty});
  clock_.at(650, [] { testing::WriteResponse(kRootTefDial, "intpos.sts", {"000-000 = ATV"}); });
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
}

TEST_F(ActivityCheckTest, AStatusFileReadInTheMiddleOfItsHeaderIsWaitedForNotRefused) {
  dial_.Script({StatusReply::Silent});
  clock_.at(500, [] { WriteStatusBytes("000-000 = A"); });
  clock_.at(700,
            [] { platform::fs().append_file(std::string(kRootTefDial) + "resp\\intpos.sts", "TV\r\n"); });
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_FALSE(Exists(Resp("intpos.sts")));

  // The next check is not disturbed by anything the torn file left.
  EXPECT_TRUE(CheckGPAtivo("ATV", "2"));
}

TEST_F(ActivityCheckTest, AHeaderWithItsLineEndButNoClosingLineCountsOnceItStoodStill) {
  // Read every 300 ms until it stood still 1.5 s: a header that another
  // piece would still change (another request's status, say, whose
  // sequence line is still to come) is not taken.
  dial_.Script({StatusReply::Silent});
  clock_.at(500, [] { WriteStatusBytes("000-000 = ATV\r\n"); });
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(clock_.sleeps(), (std::vector<std::uint32_t>{600, 300, 300, 300, 300, 300}));
}

TEST_F(ActivityCheckTest, AStatusFileAnotherProgramHoldsIsWaitedFor) {
  // On Windows a manager may hold the file it is writing without sharing it.
  testing::FaultyFs busy_fs;
  busy_fs.busy_reads(Resp("intpos.sts"), 2);
  platform::ScopedFileSystem scoped(busy_fs);
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(WaitLines(), 3);
  EXPECT_FALSE(Exists(Resp("intpos.sts")));
}

TEST_F(ActivityCheckTest, AClockSetBackDoesNotStretchTheWait) {
  dial_.Script({StatusReply::Silent});
  // An hour back, a second into the wait.
  clock_.at(1000, [this] { clock_.set_date_time_by(-60 * 60 * 1000); });
  EXPECT_FALSE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(WaitLines(), 26);
}

TEST_F(ActivityCheckTest, OtherOperationsOnlyWaitAndTouchNothing) {
  StringList stale_answer{"000-000 = CRT", "001-000 = 1"};
  Put(Resp("intpos.001"), stale_answer);
  Put(Resp("intpos.sts"), {"000-000 = CRT"});
  EXPECT_TRUE(CheckGPAtivo("CRT", "ignored"));
  EXPECT_TRUE(dial_.Requests().empty());
  EXPECT_TRUE(Exists(Resp("intpos.001")));
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{kWaiting, kActive}));
}

TEST_F(ActivityCheckTest, LowerCaseActivityCodeIsJustAnotherOperation) {
  Put(Resp("leftover.txt"), {"x"});
  EXPECT_FALSE(CheckGPAtivo("atv", "1"));
  EXPECT_TRUE(dial_.Requests().empty());
  EXPECT_TRUE(Exists(Resp("leftover.txt")));
}

TEST_F(ActivityCheckTest, CleanUpEmptiesTheResponseDirectoryButKeepsSubdirectories) {
  Put(Resp("intpos.001"), {"000-000 = CRT"});
  Put(Resp("Ativo.001"), {"x"});
  Put(Resp("LEIAME"), {"x"});
  platform::fs().create_directories(Resp("arquivo"));
  Put(dsDirBkpTef + "intpos.sts", {"x"});
  Put(dsDirBkpTef + "intpos.001", {"x"});
  Put(dsDirBkpTef + "intpos.  1", {"x"});
  dial_.Script({StatusReply::Ignore});
  CheckGPAtivo("ATV", "1");
  EXPECT_EQ(Names(Resp("*")), (std::vector<std::string>{"arquivo"}));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
}

TEST_F(ActivityCheckTest, BackupWorkingCopyStaysWithoutAStaleStatusFile) {
  Put(dsDirBkpTef + "intpos.001", {"x"});
  CheckGPAtivo("ATV", "1");
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.001"));
}

TEST_F(ActivityCheckTest, FailureToWriteTheRequestIsCaughtAndLogged) {
  platform::fs().create_directories(TemporaryBeside(std::string(kRootTefDial) + "req\\intpos.001") +
                                    "\\blocker");
  EXPECT_FALSE(CheckGPAtivo("ATV", "1"));
  // The line, then the system's reason.
  const std::vector<std::string> log = LogMessages();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], kNoAnswer);
  EXPECT_NE(log.back().find("req\\~intpos.001.tmp"), std::string::npos) << log.back();
  ExpectInactiveDialog();
}

TEST_F(ActivityCheckTest, RootIsReloadedFromDirTefFile) {
  StoreDirTef(kRootHiperTef);
  DirTef = kRootTefDial;
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(DirTef, kRootHiperTef);
  EXPECT_EQ(Operations(kRootHiperTef), (std::vector<std::string>{"ATV"}));
  EXPECT_TRUE(dial_.Requests().empty());
}

TEST_F(ActivityCheckTest, SerialNumberIsReadOnceFromTheParameterFile) {
  ClientDataSet parameters({{"NRSERIEECF", 20}});
  parameters.SetField("NRSERIEECF", "BE0123456789");
  const std::string path = HostDirectoryLong() + "\\PARAMETROSQTR.CDS";
  parameters.SaveToFile(path);
  CheckGPAtivo("ATV", "1");
  EXPECT_EQ(stNrSerie, "BE0123456789");

  parameters.SetField("NRSERIEECF", "CHANGED");
  parameters.SaveToFile(path);
  CheckGPAtivo("ATV", "2");
  EXPECT_EQ(stNrSerie, "BE0123456789");
}

// As the host's library saves it by default: binary, with its change log;
// the serial number was corrected after the first save.
TEST_F(ActivityCheckTest, SerialNumberIsReadFromABinaryParameterFileInItsLatestVersion) {
  namespace packet = testing::packet;
  const std::string path = HostDirectoryLong() + "\\PARAMETROSQTR.CDS";
  platform::fs().write_file(path, testing::BinaryPacketWriter()
                                      .Field("LOJA", packet::kInt32)
                                      .Field("NRSERIEECF", packet::kString1, 20)
                                      .ChangeLog({2, 1, 8})
                                      .Row({packet::LittleEndian(3, 4), "BE0000000000"}, 1)
                                      .Row({testing::PacketValue::Unchanged(), "BE0123456789"}, 8)
                                      .Bytes());
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(stNrSerie, "BE0123456789");
}

// The serial number only serves printing: a damaged file is logged, the
// check goes on, and the next call reads it again.
TEST_F(ActivityCheckTest, DamagedBinaryParameterFileIsLoggedAndReadAgainNextTime) {
  const std::string path = HostDirectoryLong() + "\\PARAMETROSQTR.CDS";
  const std::string bytes =
      testing::BinaryPacketWriter().Field("NRSERIEECF", testing::packet::kString1, 20).Row({"BE01"}).Bytes();
  platform::fs().write_file(path, bytes.substr(0, bytes.size() - 1));
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(stNrSerie, "");
  EXPECT_EQ(LogMessages().front().rfind("Zul00500 - PARAMETROSQTR.CDS ileg\xEDvel, ignorado: ", 0), 0u);
  platform::fs().write_file(path, bytes);
  EXPECT_TRUE(CheckGPAtivo("ATV", "2"));
  EXPECT_EQ(stNrSerie, "BE01");
}

TEST_F(ActivityCheckTest, MissingParameterFileLeavesTheSerialEmpty) {
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(stNrSerie, "");
}

TEST_F(ActivityCheckTest, UnreadableParameterFileIsLoggedAndTheCheckGoesOn) {
  Put(HostDirectoryLong() + "\\PARAMETROSQTR.CDS", {"not a data packet"});
  EXPECT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_EQ(stNrSerie, "");
}

TEST_F(ActivityCheckTest, EveryCallPutsAFreshHolderForm) {
  CheckGPAtivo("ATV", "1");
  const auto first = frmCartaoDebito;
  CheckGPAtivo("ATV", "2");
  EXPECT_NE(frmCartaoDebito, first);
  ASSERT_NE(frmCartaoDebito, nullptr);
}

// A manager took an "NCN" and never acknowledged it. Its status, written
// late, heads "NCN" and names no sequence; it comes while the next "NCN"
// still lies in "req\\", and counts only once the manager took that one.
TEST_F(ActivityCheckTest, ALateStatusOfAnUnacknowledgedTakeCountsOnlyOnceTheNextRequestLeft) {
  EXPECT_TRUE(LateStatusCountsOnceTheNextRequestLeft(false));
}

// The same across a restart: the till stops between the take and the late
// status, and the next process is in the same doubt. Once the status came,
// the doubt ends, and the next status counts at once.
TEST_F(ActivityCheckTest, ALateStatusOfATakeUnacknowledgedBeforeARestartIsHeldToo) {
  EXPECT_TRUE(LateStatusCountsOnceTheNextRequestLeft(true));
  const std::string request = std::string(kRootTefDial) + "req\\intpos.001";
  // A manager that keeps its requests, acknowledged at once: no hold left.
  ForgetSettledInThisProcess();
  dial_.Plain({.leave_requests = true});
  Put(request, {"000-000 = NCN", "001-000 = 4", testing::kClosingLine});
  const std::int64_t next = clock_.elapsed_ms();
  EXPECT_TRUE(CheckGPAtivo("NCN", "4"));
  EXPECT_LT(clock_.elapsed_ms() - next, 5000);
}

} // namespace
} // namespace zul00500

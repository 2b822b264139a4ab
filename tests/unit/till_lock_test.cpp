// One till per exchange root: a second till, or a second program on the same
// host directory, waits about a second for the locks, is told, and touches
// no file; calls made from within a routine share its locks.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "cancellation/cancellation.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "platform/process.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/host_services.h"
#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/temp_world.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/till_lock.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using testing::FaultyFs;
using testing::FsCall;
using testing::FsOp;

const std::string kDialLock = std::string(kRootTefDial) + kTillLockFile;
using testing::kDialResp;

// What another till (or another program on our host directory) holds.
std::unique_ptr<platform::FileLock> OtherHolder(const std::string& path, const std::string& says) {
  auto lock = platform::native_fs().try_lock(path);
  if (lock && !says.empty()) lock->describe(says);
  return lock;
}

// An answer a sale left behind, which the next scan settles.
StringList Leftover() {
  return {"000-000 = CRT",   "001-000 = 0000000077", "003-000 = 1000", "009-000 = 0",
          "010-000 = REDEY", "012-000 = 77",         "028-000 = 1",    testing::kClosingLine};
}

class TillLockTest : public testing::SaleWorld {
protected:
  std::string HostLock() const { return HostDirectoryLong() + "\\" + kTillLockFile; }
  // Log lines that tell of a refusal.
  std::vector<std::string> Refusals() const {
    std::vector<std::string> found;
    for (const std::string& line : LogMessages())
      if (line.find(" recusado: ") != std::string::npos) found.push_back(line);
    return found;
  }
  std::vector<std::string> AllOperations() {
    std::vector<std::string> all;
    for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef})
      for (const std::string& operation : Operations(root)) all.push_back(operation);
    return all;
  }
  // Calls other than those on the card log and the lock files, and the fake
  // managers' looks for a request at every pause.
  static std::vector<std::string> Touches(const FaultyFs& files) {
    std::vector<std::string> touches;
    for (const FsCall& call : files.calls()) {
      const bool log = call.path.find("LogTef") != std::string::npos;
      const bool lock = call.path.find(kTillLockFile) != std::string::npos;
      const bool manager = call.op == FsOp::FileExists && call.path.find("\\req\\") != std::string::npos;
      if (call.op == FsOp::DirectoryExists || call.op == FsOp::TryLock || log || lock || manager) continue;
      touches.push_back(std::to_string(static_cast<int>(call.op)) + " " + call.path);
    }
    return touches;
  }
};

TEST_F(TillLockTest, ASecondTillIsToldWhoHoldsTheRootTouchesNothingAndPaysOnceItIsFree) {
  Put(kDialResp + "intpos.001", Leftover());
  dial_.QueueAnswers({Approves()});
  auto other = OtherHolder(kDialLock, "pid=4321\r\nhost=C:\\CAIXA2\r\nroutine=DoTEF\r\n");
  ASSERT_TRUE(other);
  FaultyFs files;
  platform::ScopedFileSystem recording(files);

  EXPECT_FALSE(Pay(100, 100));

  // About a second of waiting, in the clock's pauses, and not one file.
  EXPECT_GE(clock_.elapsed_ms(), kTillLockWaitMs);
  EXPECT_LT(clock_.elapsed_ms(), kTillLockWaitMs + 200);
  EXPECT_EQ(Touches(files), std::vector<std::string>{});
  EXPECT_TRUE(AllOperations().empty());
  EXPECT_TRUE(Exists(kDialResp + "intpos.001"));
  ASSERT_EQ(host_->Calls().size(), 1u);
  const MensagemCall& told = host_->Calls()[0];
  EXPECT_NE(told.text.find("c:\\tef_dial\\"), std::string::npos) << told.text;
  EXPECT_NE(told.text.find("outro caixa (diret\xF3rio C:\\CAIXA2, processo 4321)"), std::string::npos)
      << told.text;
  EXPECT_EQ(told.kind, tmAviso);
  EXPECT_EQ(told.context, "ctx");
  EXPECT_EQ(Refusals().size(), 1u);
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(LogCount("Fim DoTEF ----"), 1);

  // The other till is gone: the next sale settles the leftover and pays.
  other.reset();
  host_->ClearCalls();
  EXPECT_TRUE(Pay(100, 100));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN", "ATV", "CRT"}));
  EXPECT_EQ(dial_.Requests()[1].Field("012-000 "), "77");
  EXPECT_EQ(approved_, 1);
}

TEST_F(TillLockTest, ALockLetGoWithinTheWaitIsTakenAndNobodyIsTold) {
  dial_.QueueAnswers({Approves()});
  auto other = OtherHolder(kDialLock, "pid=4321\r\n");
  clock_.at(400, [&] { other.reset(); });

  EXPECT_TRUE(Pay(100, 100));

  EXPECT_TRUE(Refusals().empty());
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CRT"}));
  for (const MensagemCall& call : host_->Calls()) EXPECT_EQ(call.text.find("em uso"), std::string::npos);
}

TEST_F(TillLockTest, ASecondProgramOnTheHostDirectoryIsToldItsProcess) {
  Put(kDialResp + "intpos.001", Leftover());
  auto other = OtherHolder(HostLock(), "pid=777\r\nhost=" + HostDirectoryLong() + "\r\n");
  ASSERT_TRUE(other);

  EXPECT_FALSE(CheckIntPosFiles("ctx", true));

  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text,
            "O diret\xF3rio " + HostDirectoryLong() +
                " est\xE1 em uso por outro programa (processo 777). S\xF3 um programa "
                "por diret\xF3rio pode usar o TEF.");
  EXPECT_TRUE(AllOperations().empty());
  EXPECT_TRUE(Exists(kDialResp + "intpos.001"));
  // Our own root locks were let go before the operator was told.
  EXPECT_TRUE(OtherHolder(kDialLock, ""));
}

TEST_F(TillLockTest, AHolderWhoseFileSaysNothingIsNotNamedAndTheActivityCheckSendsNothing) {
  auto other = OtherHolder(std::string(kRootHiperTef) + kTillLockFile, "");
  ASSERT_TRUE(other);

  EXPECT_FALSE(CheckGPAtivo("ATV", "0000000001"));

  // The refusal, not "the manager is not active".
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text,
            "O gerenciador TEF de c:\\HiperTEF\\ est\xE1 em uso por outro caixa. Cada "
            "gerenciador atende um s\xF3 caixa: verifique a configura\xE7\xE3o.");
  EXPECT_TRUE(AllOperations().empty());
}

TEST_F(TillLockTest, TheHostReenteringFromAWaitSharesTheLocksWhichGoWithTheOutermostCall) {
  dial_.QueueAnswers({Approves()});
  int reentered = 0;
  bool held_meanwhile = false;
  platform::set_message_hook([&](bool wait) {
    if (!wait || reentered > 0) return;
    ++reentered;
    held_meanwhile = !OtherHolder(kDialLock, "");
    // The host deletes the answers of another sale of its own.
    EXPECT_NO_THROW(CancelaTEFs(false));
  });
  stlCuponsTEF = std::make_shared<StringList>(testing::Block("1", Leftover()));
  inContCuponsTEF = 1;

  EXPECT_TRUE(Pay(100, 100));

  stlCuponsTEF.reset();
  inContCuponsTEF = 0;
  EXPECT_EQ(reentered, 1);
  EXPECT_TRUE(held_meanwhile);
  EXPECT_TRUE(Refusals().empty());
  // Everything was let go at the end, and the file says who had it.
  EXPECT_TRUE(OtherHolder(kDialLock, ""));
  EXPECT_TRUE(OtherHolder(HostLock(), ""));
  StringList says;
  says.SetText(platform::fs().read_file(kDialLock));
  EXPECT_EQ(says.Field("pid"), std::to_string(platform::current_process_id()));
  EXPECT_EQ(says.Field("host"), HostDirectoryLong());
  EXPECT_EQ(says.Field("routine"), "DoTEF");
}

TEST_F(TillLockTest, LockFilesAreNoExchangeFilesAndStayWhereTheyAre) {
  dial_.QueueAnswers({Approves()});
  ASSERT_TRUE(Pay(100, 100));
  // The activity check empties resp\ and the store lists intpos.*: neither
  // may ever take a lock file for one of theirs.
  ASSERT_TRUE(CheckGPAtivo("ATV", "0000000002"));
  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef}) {
    EXPECT_TRUE(Exists(std::string(root) + kTillLockFile)) << root;
    EXPECT_TRUE(Names(std::string(root) + "intpos.*").empty()) << root;
    EXPECT_TRUE(Names(std::string(root) + "resp\\" + kTillLockFile).empty()) << root;
  }
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").size() <= 1u);
  for (const std::string& name : Names(dsDirBkpTef + "intpos.*"))
    EXPECT_EQ(name.find(".lck"), std::string::npos);
}

// A root the till cannot write its lock file into (read-only, a full disk)
// is no other till's: the sale goes on unlocked there, and the log says so
// once, not on every routine.
TEST_F(TillLockTest, ALockFileThatCannotBeMadeIsLoggedOnceAndTheTillGoesOnSelling) {
  FaultyFs files;
  files.fail_path(FsOp::TryLock, "tef_dial");
  platform::ScopedFileSystem faulty(files);
  dial_.QueueAnswers({Approves(), Approves()});
  dial_.AnswerEachRequestOnce();

  EXPECT_TRUE(Pay(100, 100));
  EXPECT_EQ(approved_, 1);
  EXPECT_TRUE(Pay(100, 100));
  EXPECT_EQ(approved_, 1);

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CRT", "ATV", "NCN", "ATV", "CRT"}));
  long logged = 0;
  for (const std::string& message : LogMessages())
    logged += message.rfind("Zul00500 - Trava " + std::string(kRootTefDial) + "Zul00500.lck", 0) == 0;
  EXPECT_EQ(logged, 1);
}

TEST_F(TillLockTest, CancelaTEFsHasNoResultAndRaisesTheRefusal) {
  auto other = OtherHolder(kDialLock, "pid=4321\r\n");
  stlCuponsTEF = std::make_shared<StringList>(testing::Block("1", Leftover()));
  inContCuponsTEF = 1;
  Put(kDialResp + "intpos.001", Leftover());

  EXPECT_THROW(CancelaTEFs(false), TillBusyError);

  EXPECT_TRUE(Exists(kDialResp + "intpos.001"));
  stlCuponsTEF.reset();
  inContCuponsTEF = 0;
}

// A root that does not exist gets no lock file: the network choice reads a
// missing TecBan root as "no TecBan manager here".
TEST(TillLockRoots, AMissingRootIsNeverMade) {
  const testing::TempWorld world;
  platform::fs().create_directories(kDialResp);
  DirTef.clear();
  {
    const TillLock till("CheckIntPosFiles", "");
    EXPECT_TRUE(till.Held());
  }
  EXPECT_TRUE(platform::fs().file_exists(kDialLock));
  EXPECT_FALSE(platform::fs().directory_exists(kRootTefDisc));
  EXPECT_FALSE(platform::fs().directory_exists(kRootHiperTef));
}

class TillLockInterfaceTest : public testing::CInterfaceWorld {};

TEST_F(TillLockInterfaceTest, TheHostGetsFalseOrAnErrorAndTheLastErrorNamesTheHolder) {
  auto other = OtherHolder(kDialLock, "pid=4321\r\nhost=C:\\CAIXA2\r\n");
  ASSERT_TRUE(other);

  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_FALSE);
  EXPECT_EQ(LastError(), "CheckIntPosFiles: use \"c:\\tef_dial\\\": another till holds it (host directory "
                         "C:\\CAIXA2, process 4321)");
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_TILL_BUSY);
  EXPECT_EQ(zul_LastOutcome(nullptr, 0), ZUL_OUTCOME_TILL_BUSY);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_TILL_BUSY); // the outcome's reader leaves the last error
  EXPECT_EQ(::CancelaTEFs(0), ZUL_ERROR);
  EXPECT_NE(LastError().find("CancelaTEFs: use \"c:\\tef_dial\\\": another till holds it"),
            std::string::npos);

  // A false for another reason says nothing of locks.
  other.reset();
  dial_.Script({testing::StatusReply::Silent});
  EXPECT_EQ(::CheckGPAtivo("ATV", "0000000003"), ZUL_FALSE);
  EXPECT_EQ(LastError(), "");
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
}

} // namespace
} // namespace zul00500

// Every file the package writes for a manager or for its next start reaches
// the disk whole before it takes its name: written to a temporary, flushed,
// renamed, and the directory flushed.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/file_write.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/temp_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using testing::FaultyFs;
using testing::FsCall;
using testing::FsOp;

TEST(DurableWriteTest, TheTemporaryMatchesNoPatternThePackageLists) {
  EXPECT_EQ(TemporaryBeside("c:\\tef_dial\\req\\intpos.001"), "c:\\tef_dial\\req\\~intpos.001.tmp");
  EXPECT_EQ(TemporaryBeside("DIRTEF.cds"), "~DIRTEF.cds.tmp");
  EXPECT_FALSE(platform::wildcard_match("intpos.*", "~intpos.3.tmp"));
}

class DurableWriteWorld : public ::testing::Test {
protected:
  std::string At(const std::string& name) const { return world_.root() + "\\" + name; }
  std::vector<FsOp> Ops() const {
    std::vector<FsOp> ops;
    for (const FsCall& call : faulty_.calls()) ops.push_back(call.op);
    return ops;
  }

  testing::TempWorld world_;
  FaultyFs faulty_;
  platform::ScopedFileSystem scoped_{faulty_};
};

TEST_F(DurableWriteWorld, WritesFlushesRenamesThenFlushesTheDirectory) {
  platform::native_fs().create_directories(At("d"));
  WriteFileInOneStep(At("d\\intpos.1"), "abc");
  EXPECT_EQ(Ops(),
            (std::vector<FsOp>{FsOp::WriteFile, FsOp::FlushFile, FsOp::RenameFile, FsOp::FlushDirectory}));
  EXPECT_EQ(faulty_.calls()[0].path, At("d\\~intpos.1.tmp"));
  EXPECT_EQ(faulty_.calls()[3].path, At("d\\"));
  EXPECT_EQ(platform::native_fs().read_file(At("d\\intpos.1")), "abc");
}

TEST_F(DurableWriteWorld, AFlushThatFailsKeepsTheOldFileAndLeavesNoTemporary) {
  platform::native_fs().write_file(At("DIRTEF.cds"), "old");
  faulty_.fail_call(FsOp::FlushFile, 1);
  EXPECT_THROW(WriteFileInOneStep(At("DIRTEF.cds"), "new"), FileError);
  EXPECT_EQ(platform::native_fs().read_file(At("DIRTEF.cds")), "old");
  EXPECT_FALSE(platform::native_fs().file_exists(At("~DIRTEF.cds.tmp")));
}

TEST_F(DurableWriteWorld, ADirectoryThatCannotBeFlushedStillHasTheNewFile) {
  faulty_.fail_call(FsOp::FlushDirectory, 1);
  EXPECT_NO_THROW(WriteFileInOneStep(At("intpos.001"), "new"));
  EXPECT_EQ(platform::native_fs().read_file(At("intpos.001")), "new");
}

TEST(NativeFlushTest, FlushesAFileAndADirectoryAndReportsAMissingOne) {
  testing::TempWorld world;
  platform::FileSystem& fs = platform::native_fs();
  const std::string file = world.root() + "\\f.txt";
  fs.write_file(file, "x");
  EXPECT_NO_THROW(fs.flush_file(file));
  EXPECT_TRUE(fs.flush_directory(world.root() + "\\"));
  EXPECT_THROW(fs.flush_file(world.root() + "\\missing.txt"), FileError);
#ifndef _WIN32
  EXPECT_FALSE(fs.flush_directory(world.root() + "\\missing\\"));
#endif
}

// A sale of two payments and its printing run: every file the package
// writes (requests, backups, the pending copy, DIRTEF.cds) goes through a
// flushed temporary; only the card log is appended in place.
class DurableSaleTest : public testing::SaleWorld {};

TEST_F(DurableSaleTest, EveryFileThePackageWritesIsFlushedBeforeItTakesItsName) {
  FaultyFs faulty;
  platform::ScopedFileSystem scoped(faulty);
  dial_.QueueAnswers({Approves(), Approves()});
  ASSERT_TRUE(Pay(40, 100));
  ASSERT_TRUE(Pay(60, 60));

  const std::vector<FsCall> calls = faulty.calls();
  std::vector<std::string> placed;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const FsCall& call = calls[i];
    // The scripted manager writes its own files into resp\.
    if (call.op != FsOp::WriteFile || call.path.find("\\resp\\") != std::string::npos) continue;
    ASSERT_LT(i + 1, calls.size());
    EXPECT_EQ(call.path.substr(call.path.find_last_of('\\') + 1, 1), "~") << call.path;
    EXPECT_EQ(calls[i + 1], (FsCall{FsOp::FlushFile, call.path, {}, false}));
    // Renamed before it is written again (a settlement request waits for
    // its note in between).
    const auto rename = std::find_if(
        calls.begin() + static_cast<std::ptrdiff_t>(i) + 2, calls.end(), [&](const FsCall& later) {
          return later.path == call.path && (later.op == FsOp::RenameFile || later.op == FsOp::WriteFile);
        });
    ASSERT_NE(rename, calls.end()) << call.path;
    ASSERT_EQ(rename->op, FsOp::RenameFile) << call.path;
    placed.push_back(rename->to.substr(rename->to.find_last_of('\\') + 1));
  }
  for (const char* name : {"intpos.001", "DIRTEF.cds", "intpos.1"})
    EXPECT_NE(std::find(placed.begin(), placed.end(), name), placed.end()) << name;
  EXPECT_TRUE(Names(dsDirPenTef + "~*").empty());
  EXPECT_TRUE(Names(dsDirBkpTef + "~*").empty());
}

} // namespace
} // namespace zul00500

// The simulator's disk in memory keeps the rules the package relies on from
// the real one, and loses at a power cut exactly what was not flushed.
#include <gtest/gtest.h>

#include "support/errors.h"
#include "support/memory_fs.h"

namespace zul00500::testing {
namespace {

TEST(MemoryFs, NamesMatchWithoutLetterCaseAndListInOrder) {
  MemoryFs disk;
  disk.create_directories("c:\\tef_dial\\resp");
  disk.write_file("c:\\TEF_DIAL\\resp\\intpos.sts", "a");
  disk.write_file("c:\\tef_dial\\Resp\\INTPOS.001", "b");
  disk.create_directories("c:\\tef_dial\\resp\\intpos.dir");
  EXPECT_TRUE(disk.file_exists("C:\\tef_dial\\resp\\intpos.001"));
  EXPECT_TRUE(disk.file_exists("c:\\tef_dial\\resp\\intpos.*"));
  EXPECT_FALSE(disk.file_exists("c:\\tef_dial\\resp\\intpos.dir"));
  EXPECT_TRUE(disk.directory_exists("c:\\tef_dial\\resp\\"));
  EXPECT_EQ(disk.list("c:\\tef_dial\\resp\\intpos.*"),
            (std::vector<std::string>{"INTPOS.001", "intpos.dir", "intpos.sts"}));
  EXPECT_TRUE(disk.list("c:\\nowhere\\*.*").empty());
}

TEST(MemoryFs, WritesNeedTheirDirectoryAndRenameReplacesInOneStep) {
  MemoryFs disk;
  EXPECT_THROW(disk.write_file("c:\\tef_disc\\req\\intpos.001", "x"), FileError);
  disk.create_directories("c:\\tef_disc\\req");
  disk.write_file("c:\\tef_disc\\req\\~intpos.001.tmp", "new");
  disk.write_file("c:\\tef_disc\\req\\intpos.001", "old");
  EXPECT_TRUE(disk.rename_file("c:\\tef_disc\\req\\~intpos.001.tmp", "c:\\tef_disc\\req\\intpos.001"));
  EXPECT_EQ(disk.read_file("c:\\tef_disc\\req\\intpos.001"), "new");
  EXPECT_FALSE(disk.file_exists("c:\\tef_disc\\req\\~intpos.001.tmp"));
  EXPECT_FALSE(disk.remove_file("c:\\tef_disc\\req\\~intpos.001.tmp"));
  EXPECT_THROW(disk.read_file("c:\\tef_disc\\req\\~intpos.001.tmp"), FileError);
}

TEST(MemoryFs, AFileHeldByAnotherProgramCannotBeTakenAway) {
  MemoryFs disk;
  disk.create_directories("c:\\tef_dial\\resp");
  const std::string answer = "c:\\tef_dial\\resp\\intpos.001";
  disk.Put(answer, "000-000 = CRT\r\n");
  disk.Hold(answer, MemoryFs::Hold::SharedRead);
  EXPECT_EQ(disk.read_file(answer), "000-000 = CRT\r\n");
  EXPECT_FALSE(disk.remove_file(answer));
  EXPECT_THROW(disk.write_file(answer, "x"), FileBusyError);
  disk.Hold(answer, MemoryFs::Hold::Exclusive);
  EXPECT_THROW(disk.read_file(answer), FileBusyError);
  // Another program lets go; the writer still holds it.
  disk.Release(answer, MemoryFs::Hold::Exclusive);
  EXPECT_EQ(disk.read_file(answer), "000-000 = CRT\r\n");
  EXPECT_FALSE(disk.remove_file(answer));
  disk.Release(answer, MemoryFs::Hold::SharedRead);
  EXPECT_TRUE(disk.remove_file(answer));
}

TEST(MemoryFs, ACutLosesWhatWasNeitherFlushedNorWrittenBack) {
  MemoryFs disk;
  std::int64_t now = 0;
  disk.SetClock([&now] { return now; }, 5000);
  disk.create_directories("c:\\pdv");
  disk.write_file("c:\\pdv\\flushed", "kept");
  disk.flush_file("c:\\pdv\\flushed");
  disk.write_file("c:\\pdv\\old", "written back");
  now = 6000;
  disk.write_file("c:\\pdv\\flushed", "lost");
  disk.write_file("c:\\pdv\\new", "lost");
  disk.Put("c:\\pdv\\manager", "the manager's own");
  disk.rename_file("c:\\pdv\\new", "c:\\pdv\\renamed");
  EXPECT_EQ(disk.LoseUnflushed().size(), 2u);
  EXPECT_EQ(disk.read_file("c:\\pdv\\flushed"), "kept");
  EXPECT_EQ(disk.read_file("c:\\pdv\\old"), "written back");
  EXPECT_EQ(disk.read_file("c:\\pdv\\renamed"), "");
  EXPECT_EQ(disk.read_file("c:\\pdv\\manager"), "the manager's own");
}

} // namespace
} // namespace zul00500::testing

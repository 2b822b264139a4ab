// The native file system, in a fresh temporary folder per test. Paths are
// written the package's way, with backslashes.
#include "platform/file_system.h"

#include "support/errors.h"
#include "support/temp_world.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace zul00500::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class NativeFileSystemTest : public ::testing::Test {
protected:
  // A package-style path inside the temporary folder.
  std::string at(const std::string& relative) const { return world.root() + "\\" + relative; }

  testing::TempWorld world;
  FileSystem& files = native_fs();
};

TEST_F(NativeFileSystemTest, WriteAndReadAreByteExact) {
  const std::string bytes("linha 1\r\nlinha 2\n\0\xE3\xFF\r", 21);
  files.write_file(at("bytes.bin"), bytes);
  EXPECT_EQ(files.read_file(at("bytes.bin")), bytes);
}

TEST_F(NativeFileSystemTest, WriteTruncatesAndAppendExtends) {
  files.write_file(at("f.txt"), "a long first content");
  files.write_file(at("f.txt"), "short");
  files.append_file(at("f.txt"), "+more");
  EXPECT_EQ(files.read_file(at("f.txt")), "short+more");
}

TEST_F(NativeFileSystemTest, AppendCreatesAMissingFile) {
  files.append_file(at("log.txt"), "first\r\n");
  EXPECT_EQ(files.read_file(at("log.txt")), "first\r\n");
}

TEST_F(NativeFileSystemTest, ReadErrorNamesOperationPathAndReason) {
  const std::string path = at("missing.txt");
  try {
    files.read_file(path);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.operation(), "read");
    EXPECT_EQ(error.object(), path);
    EXPECT_FALSE(error.reason().empty());
    // The text shows the path as the system writes it.
    std::string shown = path;
#ifndef _WIN32
    std::replace(shown.begin(), shown.end(), '\\', '/');
#endif
    EXPECT_THAT(error.what(), HasSubstr(shown));
  }
}

TEST_F(NativeFileSystemTest, WriteIntoAMissingDirectoryThrows) {
  EXPECT_THROW(files.write_file(at("no\\such\\dir\\f.txt"), "x"), FileError);
  EXPECT_THROW(files.append_file(at("no\\such\\dir\\f.txt"), "x"), FileError);
}

TEST_F(NativeFileSystemTest, ExistenceTellsFilesFromDirectories) {
  files.create_directories(at("dir"));
  files.write_file(at("dir\\file"), "x");
  EXPECT_TRUE(files.file_exists(at("dir\\file")));
  EXPECT_FALSE(files.file_exists(at("dir")));
  EXPECT_TRUE(files.directory_exists(at("dir")));
  EXPECT_TRUE(files.directory_exists(at("dir\\")));
  EXPECT_FALSE(files.directory_exists(at("dir\\file")));
  EXPECT_FALSE(files.file_exists(at("dir\\other")));
  EXPECT_FALSE(files.directory_exists(at("other")));
}

TEST_F(NativeFileSystemTest, FileExistsWithAWildcardWantsAMatchingFile) {
  files.create_directories(at("pend\\intpos.dir"));
  EXPECT_FALSE(files.file_exists(at("pend\\intpos.*")));
  files.write_file(at("pend\\intpos.3"), "x");
  EXPECT_TRUE(files.file_exists(at("pend\\intpos.*")));
  EXPECT_FALSE(files.file_exists(at("nowhere\\intpos.*")));
}

TEST_F(NativeFileSystemTest, RemoveFileReportsFailureWithoutThrowing) {
  files.write_file(at("f"), "x");
  files.create_directories(at("d"));
  EXPECT_TRUE(files.remove_file(at("f")));
  EXPECT_FALSE(files.file_exists(at("f")));
  EXPECT_FALSE(files.remove_file(at("f")));
  EXPECT_FALSE(files.remove_file(at("d")));
  EXPECT_TRUE(files.directory_exists(at("d")));
}

TEST_F(NativeFileSystemTest, RenameReplacesAnExistingTarget) {
  files.write_file(at("intpos.001"), "new");
  files.write_file(at("intpos.002"), "old");
  EXPECT_TRUE(files.rename_file(at("intpos.001"), at("intpos.002")));
  EXPECT_EQ(files.read_file(at("intpos.002")), "new");
  EXPECT_FALSE(files.file_exists(at("intpos.001")));
  EXPECT_FALSE(files.rename_file(at("intpos.001"), at("intpos.003")));
}

TEST_F(NativeFileSystemTest, ListMatchesLastComponentAndAdmitsEveryKindOfEntry) {
  files.create_directories(at("resp\\intpos.sub"));
  for (const char* name : {"intpos.001", "INTPOS.STS", "intpos", "other.001"})
    files.write_file(at("resp\\") + name, "");
  EXPECT_THAT(files.list(at("resp\\intpos.*")),
              UnorderedElementsAre("intpos.001", "INTPOS.STS", "intpos", "intpos.sub"));
  EXPECT_THAT(files.list(at("resp\\*.*")),
              UnorderedElementsAre("intpos.001", "INTPOS.STS", "intpos", "intpos.sub", "other.001"));
  EXPECT_THAT(files.list(at("resp\\*.00?")), UnorderedElementsAre("intpos.001", "other.001"));
}

TEST_F(NativeFileSystemTest, ListOfAMissingDirectoryIsEmpty) {
  EXPECT_THAT(files.list(at("nowhere\\intpos.*")), IsEmpty());
  files.create_directories(at("empty"));
  EXPECT_THAT(files.list(at("empty\\*.*")), IsEmpty());
}

TEST_F(NativeFileSystemTest, ListWithoutWildcardGivesTheOneEntryAsNamedOnDisk) {
  files.create_directories(at("resp"));
  files.write_file(at("resp\\IntPos.Sts"), "");
  files.write_file(at("resp\\intpos.001"), "");
  EXPECT_THAT(files.list(at("resp\\intpos.sts")), ElementsAre("IntPos.Sts"));
  EXPECT_THAT(files.list(at("resp\\intpos.002")), IsEmpty());
}

TEST_F(NativeFileSystemTest, CreateDirectoriesMakesParentsAndToleratesExisting) {
  files.create_directories(at("host\\Dados\\TefDisc\\Pendente\\"));
  EXPECT_TRUE(files.directory_exists(at("host\\Dados\\TefDisc\\Pendente")));
  files.create_directories(at("host\\Dados\\TefDisc"));
}

TEST_F(NativeFileSystemTest, CreateDirectoriesThrowsWhenAFileIsInTheWay) {
  files.write_file(at("blocker"), "x");
  try {
    files.create_directories(at("blocker\\sub"));
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.object(), at("blocker\\sub"));
    EXPECT_FALSE(error.reason().empty());
  }
}

TEST_F(NativeFileSystemTest, CodePage1252NamesSurviveTheRoundTrip) {
  files.create_directories(at("Cart\xF5"
                              "es"));
  files.write_file(at("Cart\xF5"
                      "es\\Transa\xE7\xE3o.txt"),
                   "x");
  EXPECT_THAT(files.list(at("cart\xD5"
                            "es\\*.txt")),
              ElementsAre("Transa\xE7\xE3o.txt"));
  EXPECT_TRUE(files.file_exists(at("CART\xD5"
                                   "ES\\TRANSA\xC7\xC3O.TXT")));
}

TEST_F(NativeFileSystemTest, DriveLettersLiveUnderTheDriveRootAndNeverClimbOut) {
  files.create_directories("c:\\tef_dial\\req");
  files.write_file("C:\\TEF_DIAL\\req\\intpos.001", "x");
  EXPECT_TRUE(std::filesystem::is_regular_file(world.root() + "/c/tef_dial/req/intpos.001"));
  files.write_file("c:\\tef_dial\\..\\..\\..\\escape.txt", "x");
  EXPECT_TRUE(std::filesystem::is_regular_file(world.root() + "/c/escape.txt"));
  // A native path of the root's own is not a drive path to move.
  files.write_file(at("own.txt"), "y");
  EXPECT_TRUE(std::filesystem::is_regular_file(world.root() + "/own.txt"));
}

#ifdef _WIN32
TEST_F(NativeFileSystemTest, ShortPathGivesTheEightDotThreeForm) {
  files.create_directories(at("Nome de pasta comprido"));
  const std::string short_form = files.short_path(at("Nome de pasta comprido"));
  EXPECT_NE(short_form.find('~'), std::string::npos) << short_form;
  EXPECT_TRUE(files.directory_exists(short_form));
}
#endif

TEST_F(NativeFileSystemTest, ReadPartGivesAtMostWhatIsAskedFromWhereItIsAsked) {
  files.write_file(at("part.txt"), "0123456789");
  EXPECT_EQ(files.read_part(at("part.txt"), 0, 4), "0123");
  EXPECT_EQ(files.read_part(at("part.txt"), 7, 100), "789");
  EXPECT_EQ(files.read_part(at("part.txt"), 10, 5), "");
  EXPECT_EQ(files.read_part(at("part.txt"), 99, 5), "");
  EXPECT_THROW(files.read_part(at("missing.txt"), 0, 5), FileError);
}

TEST_F(NativeFileSystemTest, ShortPathOfAMissingPathIsThePathItself) {
  EXPECT_EQ(files.short_path(at("no\\such\\thing")), at("no\\such\\thing"));
}

TEST(FileSystemSeamTest, ScopedReplacementNestsAndRestores) {
  struct Marker : FileSystem {
    bool file_exists(const std::string&) override { return true; }
    bool directory_exists(const std::string&) override { return false; }
    bool is_link(const std::string&) override { return false; }
    std::vector<std::string> list(const std::string&) override { return {}; }
    bool remove_file(const std::string&) override { return false; }
    bool rename_file(const std::string&, const std::string&) override { return false; }
    std::string read_file(const std::string&) override { return {}; }
    std::string read_part(const std::string&, std::uint64_t, std::size_t) override { return {}; }
    void write_file(const std::string&, std::string_view) override {}
    void append_file(const std::string&, std::string_view) override {}
    void flush_file(const std::string&) override {}
    bool flush_directory(const std::string&) override { return true; }
    void create_directories(const std::string&) override {}
    std::string short_path(const std::string& path) override { return path; }
    std::string native_path(const std::string& path) override { return path; }
    std::unique_ptr<FileLock> try_lock(const std::string&) override { return nullptr; }
  } outer, inner;
  EXPECT_EQ(&fs(), &native_fs());
  {
    ScopedFileSystem first(outer);
    EXPECT_EQ(&fs(), &outer);
    {
      ScopedFileSystem second(inner);
      EXPECT_EQ(&fs(), &inner);
    }
    EXPECT_EQ(&fs(), &outer);
  }
  EXPECT_EQ(&fs(), &native_fs());
}

} // namespace
} // namespace zul00500::platform

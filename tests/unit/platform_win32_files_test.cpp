// Windows files another program holds open, and the drive letters
// themselves.
#ifdef _WIN32
#include "platform/file_system.h"
#include "platform/process.h"

#include "support/errors.h"
#include "support/temp_world.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

namespace zul00500::platform {
namespace {

// Holds a file open as another program would, with the given sharing.
class HeldFile {
public:
  HeldFile(const std::string& native_path, int access, int sharing)
      : fd_(::_sopen(native_path.c_str(), access | _O_BINARY, sharing, _S_IREAD | _S_IWRITE)) {}
  ~HeldFile() {
    if (fd_ >= 0) ::_close(fd_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool open() const { return fd_ >= 0; }

private:
  int fd_;
};

class Win32FileSharingTest : public ::testing::Test {
protected:
  Win32FileSharingTest() { native_fs().create_directories("c:\\tef_dial\\resp"); }
  testing::TempWorld world_;
  FileSystem& files_ = native_fs();
  const std::string answer_ = "c:\\tef_dial\\resp\\intpos.001";
};

TEST_F(Win32FileSharingTest, AFileTheManagerHoldsWithoutSharingIsBusyNotBad) {
  files_.write_file(answer_, "000-000 = CRT\r\n");
  {
    HeldFile manager(files_.native_path(answer_), _O_RDWR, _SH_DENYRW);
    ASSERT_TRUE(manager.open());
    EXPECT_THROW(files_.read_file(answer_), FileBusyError);
  }
  EXPECT_EQ(files_.read_file(answer_), "000-000 = CRT\r\n") << "readable once the manager let go";
  try {
    files_.read_file("c:\\tef_dial\\resp\\intpos.sts");
    FAIL() << "no error";
  } catch (const FileBusyError&) {
    FAIL() << "a missing file is not busy";
  } catch (const FileError&) {
  }
}

TEST_F(Win32FileSharingTest, AFileTheManagerIsWritingWithSharingCanBeRead) {
  files_.write_file(answer_, "000-000 = CRT\r\n");
  HeldFile manager(files_.native_path(answer_), _O_WRONLY, _SH_DENYNO);
  ASSERT_TRUE(manager.open());
  EXPECT_EQ(files_.read_file(answer_), "000-000 = CRT\r\n");
}

TEST_F(Win32FileSharingTest, TheCardLogTakesLinesWhileAnotherProgramHasItOpen) {
  const std::string log = "c:\\LogTef1226.txt";
  files_.append_file(log, "first\r\n");
  {
    HeldFile viewer(files_.native_path(log), _O_RDWR, _SH_DENYNO);
    ASSERT_TRUE(viewer.open());
    files_.append_file(log, "second\r\n");
  }
  EXPECT_EQ(files_.read_file(log), "first\r\nsecond\r\n");
}

TEST(Win32DriveRootTest, WithoutADriveRootThePathsAreTheRealOnes) {
  set_drive_root("");
  ASSERT_EQ(drive_root(), "");
  EXPECT_EQ(native_fs().native_path("c:\\tef_dial\\req\\intpos.001"), "c:\\tef_dial\\req\\intpos.001");
  EXPECT_EQ(native_fs().native_path("C:\\HiperTEF\\"), "C:\\HiperTEF\\");
}

TEST(Win32DriveRootTest, ShortFormsOfMappedPathsKeepTheDriveLetter) {
  testing::TempWorld world;
  native_fs().create_directories("c:\\Loja Central\\Caixa principal");
  const std::string short_form = native_fs().short_path("c:\\Loja Central\\Caixa principal");
  EXPECT_EQ(short_form.substr(0, 3), "c:\\") << short_form;
  EXPECT_NE(short_form.find('~'), std::string::npos) << short_form;
  EXPECT_TRUE(native_fs().directory_exists(short_form)) << short_form;
  EXPECT_EQ(native_fs().short_path("c:\\"), "c:\\");
}

} // namespace
} // namespace zul00500::platform
#endif

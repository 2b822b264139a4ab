#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/regional.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/state.h"
#include "support/temp_world.h"
#include "support/virtual_clock.h"

namespace zul00500 {
namespace {

class CardLogTest : public ::testing::Test {
protected:
  CardLogTest() { platform::set_regional(platform::RegionalSettings{}); }
  ~CardLogTest() override { platform::reset_regional(); }
  std::string Log(const char* month_year) {
    return platform::fs().read_file(HostDirectoryLong() + "\\LogTef" + month_year + ".txt");
  }

  testing::TempWorld world_;
  testing::VirtualClock clock_{{2026, 11, 30, 23, 59, 59, 0}};
  platform::ScopedClock scoped_{clock_};
};

TEST_F(CardLogTest, LinesCarryDateTimeAndGoToTheMonthsFile) {
  LogCartao("Zul00500 - Gerando arquivo Atv");
  LogCartao("");
  EXPECT_EQ(Log("1126"), "30/11/2026 23:59:59 - Zul00500 - Gerando arquivo Atv\r\n"
                         "30/11/2026 23:59:59 - \r\n");
  // Exactly midnight: the time is left out. A new month starts a new file.
  clock_.advance(1000);
  LogCartao("Zul00500 - N\xE3o houve resposta do gerenciador");
  clock_.advance(1);
  LogCartao("depois");
  EXPECT_EQ(Log("1226"), "01/12/2026 - Zul00500 - N\xE3o houve resposta do gerenciador\r\n"
                         "01/12/2026 00:00:00 - depois\r\n");
}

TEST_F(CardLogTest, RegionalFormatsShapeTheLine) {
  platform::RegionalSettings settings;
  settings.short_date_format = "m/d/yyyy";
  settings.long_time_format = "h:nn:ss";
  settings.date_separator = '-';
  platform::set_regional(settings);
  LogCartao("x");
  EXPECT_EQ(Log("1126"), "11-30-2026 23:59:59 - x\r\n");
}

TEST_F(CardLogTest, LogThatCannotBeWrittenReachesTheCaller) {
  testing::FaultyFs faulty;
  faulty.fail_from(testing::FsOp::AppendFile, 1);
  platform::ScopedFileSystem scoped(faulty);
  EXPECT_THROW(LogCartao("x"), FileError);
}

} // namespace
} // namespace zul00500

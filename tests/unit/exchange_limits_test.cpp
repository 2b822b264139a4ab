// Files past the exchange limits (exchange_read.h): the package never holds
// more than a bounded part of them, keeps them byte for byte aside, and does
// not confirm the transaction their first lines name. The next sale goes
// through.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/faulty_fs.h"
#include "support/sale_world.h"
#include "tef/exchange_read.h"
#include "tef/tef.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::SaleWorld;

// Where the manager of c:\\tef_dial\\ writes its answers.
const std::string kAnswerFile = std::string(kRootTefDial) + "resp\\intpos.001";

// Passes everything on and keeps the largest text a read gave back.
class ReadMeter : public testing::FaultyFs {
public:
  std::string read_file(const std::string& path) override { return measured(FaultyFs::read_file(path)); }
  std::string read_part(const std::string& path, std::uint64_t offset, std::size_t max_bytes) override {
    return measured(FaultyFs::read_part(path, offset, max_bytes));
  }
  std::size_t largest = 0;

private:
  std::string measured(std::string bytes) {
    largest = std::max(largest, bytes.size());
    return bytes;
  }
};

// What follows the fields of an approval, before its closing line.
struct Bulk {
  const char* name;
  std::string (*make)();
};

class ExchangeLimitsTest : public SaleWorld, public ::testing::WithParamInterface<Bulk> {
protected:
  std::vector<std::string> Quarantined() { return Names(dsDirBkpTef + "Descartados\\*"); }
  std::string Quarantine() { return dsDirBkpTef + "Descartados\\"; }
  // The approval of `request` with the bulk before its closing line.
  static std::string Huge(const StringList& request, const std::string& bulk) {
    const std::string text = Approval(request, {{"012-000", "000500"}}).Text();
    const std::size_t closing = text.rfind(testing::kClosingLine);
    return text.substr(0, closing) + bulk + text.substr(closing);
  }
};

TEST_P(ExchangeLimitsTest, ASaleWhoseAnswerIsPastTheLimitSetsItAsideAndDoesNotConfirmIt) {
  std::string written;
  dial_.OnRequest([&](const StringList& request) {
    if (request.Field("000-000 ") != "CRT" || !written.empty()) return;
    written = Huge(request, GetParam().make());
    platform::fs().write_file(kAnswerFile, written);
  });
  ReadMeter meter;
  {
    platform::ScopedFileSystem scoped(meter);
    EXPECT_FALSE(Pay(10, 10));
  }
  EXPECT_LE(meter.largest, kMaxExchangeBytes + 1);
  ASSERT_EQ(Quarantined().size(), 1u);
  EXPECT_TRUE(platform::fs().read_file(Quarantine() + Quarantined()[0]) == written);
  EXPECT_FALSE(Exists(kAnswerFile));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000500"}));
  EXPECT_EQ(approved_, 0);

  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000500"}));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ExchangeLimitsTest,
    ::testing::Values(Bulk{"OneLongLine",
                           [] { return "029-003 = \"" + std::string(kMaxExchangeBytes, 'X') + "\"\r\n"; }},
                      Bulk{"ManyShortLines",
                           [] {
                             std::string lines;
                             for (std::size_t i = 0; i <= kMaxExchangeLines; ++i) lines += "XXXXXXXX\r\n";
                             return lines;
                           }},
                      Bulk{"BareLineFeeds", [] { return std::string(kMaxExchangeLines + 1, '\n'); }}),
    [](const ::testing::TestParamInfo<Bulk>& info) { return std::string(info.param.name); });

class LeftoverLimitsTest : public SaleWorld {};

TEST_F(LeftoverLimitsTest, ALeftoverPastTheLimitIsSetAsideAndNotConfirmedFromItsFirstLines) {
  const StringList answer = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"},
                                     {{"010-000", "REDEY"}, {"012-000", "000600"}});
  const std::string bytes = answer.Text() + std::string(2 * kMaxExchangeBytes, '\n');
  platform::fs().write_file(dsDirBkpTef + "intpos.  1", bytes);
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  const std::vector<std::string> kept = Names(dsDirBkpTef + "Descartados\\*");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(platform::fs().read_file(dsDirBkpTef + "Descartados\\" + kept[0]).size(), bytes.size());
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000600"}));
  // The one backup left is the sale's own.
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
  EXPECT_EQ(Read(dsDirBkpTef + "intpos.  1").Field("012-000 "), "654321");
}

TEST_F(LeftoverLimitsTest, APendingCopyPastTheLimitIsAClearError) {
  platform::fs().write_file(dsDirPenTef + "intpos.1", std::string(kMaxExchangeLines + 1, '\n'));
  EXPECT_THROW(CancelaPendencia("", "", "ctx", "", 1, 0, "N", "", ""), FileError);
  EXPECT_TRUE(Exists(dsDirPenTef + "intpos.1"));
}

} // namespace
} // namespace zul00500

// Files past the exchange limits (exchange_read.h): the package never holds
// more than a bounded part of them, keeps them byte for byte aside, and does
// not confirm the transaction their first lines name. The next sale goes
// through.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cancellation/cancellation.h"
#include "platform/file_system.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/exchange_read.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::SaleWorld;

// Where the manager of c:\\tef_dial\\ writes its answers.
using testing::kDialAnswerFile;

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

// What the quarantine holds: the copies, and beside a copy cut at the
// limit, the note of the original's size.
class QuarantineWorld : public SaleWorld {
protected:
  std::string Quarantine() { return dsDirBkpTef + "Descartados\\"; }
  std::vector<std::string> Quarantined() { return Names(Quarantine() + "*"); }
  // The quarantine holds the start of `original` and, when it was cut, the
  // note of its size.
  void ExpectKeptStartOf(const std::string& original) {
    const std::vector<std::string> kept = Quarantined();
    const bool cut = original.size() > kMaxExchangeBytes;
    ASSERT_EQ(kept.size(), cut ? 2u : 1u);
    EXPECT_TRUE(platform::fs().read_file(Quarantine() + kept[0]) == original.substr(0, kMaxExchangeBytes));
    if (cut) {
      EXPECT_EQ(kept[1], kept[0] + ".tamanho");
      EXPECT_NE(platform::fs().read_file(Quarantine() + kept[1]).find(std::to_string(original.size()) + " bytes"),
                std::string::npos);
    }
  }
};

class ExchangeLimitsTest : public QuarantineWorld, public ::testing::WithParamInterface<Bulk> {
protected:
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
    platform::fs().write_file(kDialAnswerFile, written);
  });
  ReadMeter meter;
  {
    platform::ScopedFileSystem scoped(meter);
    EXPECT_FALSE(Pay(10, 10));
  }
  EXPECT_LE(meter.largest, kMaxExchangeBytes + 1);
  ExpectKeptStartOf(written);
  EXPECT_FALSE(Exists(kDialAnswerFile));
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

class LeftoverLimitsTest : public QuarantineWorld {};

TEST_F(LeftoverLimitsTest, ALeftoverPastTheLimitIsSetAsideAndNotConfirmedFromItsFirstLines) {
  const StringList answer = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"},
                                     {{"010-000", "REDEY"}, {"012-000", "000600"}});
  const std::string bytes = answer.Text() + std::string(2 * kMaxExchangeBytes, '\n');
  platform::fs().write_file(dsDirBkpTef + "intpos.  1", bytes);
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  ExpectKeptStartOf(bytes);
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

// An approval past the limits that came late, after the package gave up on
// it: the activity check empties the response directory before its request.
// Its first lines are backed up first, so the next sale's scan undoes it.
TEST_F(LeftoverLimitsTest, ALateApprovalPastTheLimitIsUndoneByTheNextSaleAfterTheActivityCheckEmptiesItsDirectory) {
  const StringList answer = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"},
                                     {{"010-000", "REDEY"}, {"012-000", "000700"}});
  const std::string bytes = answer.Text() + "029-001 = \"" + std::string(kMaxExchangeBytes, 'X') + "\"\r\n";
  StoreDirTef(kRootTefDial);
  platform::fs().write_file(kDialAnswerFile, bytes);

  EXPECT_TRUE(CheckGPAtivo("ATV", "0000000009"));
  EXPECT_FALSE(Exists(kDialAnswerFile));
  ExpectKeptStartOf(bytes);
  EXPECT_TRUE(Settlements().empty());

  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000700"}));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
}

// The till's disk has no room for the copy: the file past the limits still
// leaves the manager's way, is still undone, and the next sale goes through.
TEST_F(LeftoverLimitsTest, NoRoomForTheCopyStopsNeitherTheSettlementNorTheNextSale) {
  testing::FaultyFs full;
  full.fail_path(testing::FsOp::WriteFile, "Descartados", testing::Fault::Torn);
  const platform::ScopedFileSystem scoped(full);
  const StringList answer = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"},
                                     {{"010-000", "REDEY"}, {"012-000", "000800"}});
  platform::fs().write_file(kDialAnswerFile, answer.Text() + std::string(2 * kMaxExchangeBytes, 'Y'));
  // One no manager can settle: no header.
  platform::fs().write_file(std::string(kRootTefDisc) + "resp\\intpos.001", std::string(2 * kMaxExchangeBytes, 'Z'));
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000800"}));
  EXPECT_FALSE(Exists(std::string(kRootTefDisc) + "resp\\intpos.001"));
  const std::vector<std::string> log = LogMessages();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.find("sem c\xF3pia") != std::string::npos; }),
            2);
  EXPECT_TRUE(Quarantined().empty());
}

// The quarantine refuses the copy for a moment (not a full disk): the scan
// leaves a file no manager can settle where it is, bytes and all, and the
// next scan sets it aside whole.
TEST_F(LeftoverLimitsTest, AQuarantineRefusedForAMomentLeavesTheFileForTheNextScan) {
  const std::string stray = std::string(kRootTefDisc) + "resp\\intpos.001";
  const std::string bytes = std::string(2 * kMaxExchangeBytes, 'Z');
  platform::fs().write_file(stray, bytes);
  {
    testing::FaultyFs refusing;
    refusing.fail_path(testing::FsOp::WriteFile, "Descartados");
    const platform::ScopedFileSystem scoped(refusing);
    EXPECT_TRUE(CheckIntPosFiles("ctx", true));
    EXPECT_TRUE(Exists(stray));
    EXPECT_TRUE(Quarantined().empty());
  }
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_FALSE(Exists(stray));
  ExpectKeptStartOf(bytes);
}

// A sparse file of 10 GiB (a few KB on the manager's disk) costs the till's
// disk its first MiB and a note, not 10 GiB.
TEST_F(LeftoverLimitsTest, AHugeSparseFileCostsTheTillsDiskOneMebibyte) {
  const StringList answer = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"},
                                     {{"010-000", "REDEY"}, {"012-000", "000900"}});
  platform::fs().write_file(kDialAnswerFile, answer.Text());
  constexpr std::uintmax_t kHuge = std::uintmax_t{10} << 30;
  std::filesystem::resize_file(platform::fs().native_path(kDialAnswerFile), kHuge);
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000900"}));
  const std::vector<std::string> kept = Quarantined();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(platform::fs().read_file(Quarantine() + kept[0]).size(), kMaxExchangeBytes);
  EXPECT_NE(platform::fs().read_file(Quarantine() + kept[1]).find(std::to_string(kHuge) + " bytes"),
            std::string::npos);
}

} // namespace
} // namespace zul00500

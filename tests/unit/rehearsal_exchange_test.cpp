// The rehearsal's evidence from the package's own side of the file seam:
// what zul_SetFileObserver tells, as the host part records it, and the
// transactions told apart by root and sequence when a manager repeats its
// document numbers. Virtual time: the manager takes each request at the
// package's first pause, so no request lives long enough for a folder watch.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "journal/journal.h"
#include "platform/file_system.h"
#include "rehearsal/book.h"
#include "rehearsal/evidence.h"
#include "rehearsal/exchange_record.h"
#include "rehearsal/judge.h"
#include "support/temp_world.h"
#include "tef/network_choice.h"
#include "tool_platform/files.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::ElementsAre;

struct Told {
  std::string kind, path, bytes, to;
  std::uint64_t package_ms;
};

class PackageExchangeRecord : public testing::CSaleWorld {
protected:
  PackageExchangeRecord() {
    // The manager works beside the observed seam: what the record holds is
    // the package's alone.
    dial_ = testing::FakeManager(kRootTefDial, &platform::native_fs());
    dial_.AnswerEachRequestOnce();
    EXPECT_EQ(zul_SetFileObserver(&PackageExchangeRecord::OnFile, this), ZUL_TRUE);
  }
  ~PackageExchangeRecord() override { zul_SetFileObserver(nullptr, nullptr); }

  static int ZUL_CALL OnFile(void* user, const char* operation, const char* path, const char* to,
                             const char* bytes, int length, double package_ms) {
    auto& self = *static_cast<PackageExchangeRecord*>(user);
    self.all_ += std::string(operation) + " " + path + "\n";
    self.record_.Told(operation, path, to, std::string_view(bytes, static_cast<std::size_t>(length)),
                      static_cast<std::uint64_t>(package_ms));
    return 0;
  }

  std::vector<std::string> Requests() const {
    std::vector<std::string> codes;
    for (const Told& told : told_)
      if (told.kind == "rename" && told.to == "c:\\tef_dial\\req\\intpos.001")
        codes.push_back(rehearsal::FieldsOf(told.bytes).at("000-000"));
    return codes;
  }

  // The host part's journal of these records, as the runner reads it.
  std::string Journal() const {
    std::string text;
    std::int64_t ms = 36'000'000;
    for (const Told& told : told_)
      text += journal::Line({std::to_string(ms += 10), "file", told.kind, told.path, told.bytes, told.to,
                             std::to_string(told.package_ms)}) +
              "\n";
    return text;
  }

  std::vector<Told> told_;
  std::string all_;
  rehearsal::ExchangeRecord record_{[this](const std::string& kind, const std::string& path,
                                           const std::string& bytes, const std::string& to,
                                           std::uint64_t package_ms) {
    told_.push_back({kind, path, bytes, to, package_ms});
  }};
};

// Two cards whose approvals carry the same document number, printed: the
// package's record holds every request the manager took, in order, and the
// rehearsal's evidence drawn from it alone finds two transactions, each
// confirmed once.
TEST_F(PackageExchangeRecord, EveryRequestIsRecordedAndRepeatedDocumentsStayTwoTransactions) {
  dial_.QueueAnswers({Approves({{"012-000", "000001"}}), Approves({{"012-000", "000001"}})});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(40, 100, receipts), ZUL_TRUE) << LastError();
  ASSERT_EQ(Pay(60, 60, receipts), ZUL_TRUE) << LastError();
  zulpos::PrinterConnection connection(printer_);
  ASSERT_EQ(::ImprCupons(receipts, 1, 2, 0, "", "", "ctx", "", "", "S", "F", "", "", 100), ZUL_TRUE);
  zul_ListFree(receipts);

  EXPECT_EQ(Requests(), Operations(kRootTefDial)) << all_;
  // The package's clock is the virtual one: the times are its, in order.
  for (std::size_t i = 1; i < told_.size(); ++i) EXPECT_LE(told_[i - 1].package_ms, told_[i].package_ms);
  EXPECT_GT(told_.back().package_ms, told_.front().package_ms);
  // Nothing outside the exchange folders, no temporary file, no read twice.
  for (const Told& told : told_) {
    EXPECT_TRUE(rehearsal::IsExchangeFile(told.path) || rehearsal::IsExchangeFile(told.to)) << told.path;
    EXPECT_EQ(told.kind == "write" && told.path.find('~') != std::string::npos, false) << told.path;
  }

  rehearsal::CaseRecord record;
  rehearsal::Evidence evidence(record, 36'000'000);
  evidence.ReadHostEvents(Journal());
  evidence.UsePackageExchange();
  evidence.Finish(world_.root() + "/none");
  ASSERT_EQ(record.transactions.size(), 2u);
  EXPECT_EQ(record.transactions[0].document, record.transactions[1].document);
  EXPECT_NE(record.transactions[0].sequence, record.transactions[1].sequence);
  EXPECT_EQ(record.transactions[0].Ending(), "confirmed");
  EXPECT_EQ(record.transactions[1].Ending(), "confirmed");
}

TEST(RehearsalExchangeRecord, ReadsOnceEachContentAndTellsAPlacedFileOnce) {
  std::vector<std::string> lines;
  rehearsal::ExchangeRecord record([&](const std::string& kind, const std::string& path,
                                       const std::string& bytes, const std::string& to, std::uint64_t ms) {
    lines.push_back(std::to_string(ms) + " " + kind + " " + path + " [" + bytes + "]" +
                    (to.empty() ? "" : " " + to));
  });
  record.Told("write", "c:\\tef_dial\\req\\~intpos.001.tmp", "", "000-000 = ATV", 1);
  record.Told("rename", "c:\\tef_dial\\req\\~intpos.001.tmp", "c:\\tef_dial\\req\\intpos.001", "", 2);
  record.Told("read", "C:\\TEF_DIAL\\RESP\\intpos.sts", "", "000-000 = ATV", 3);
  record.Told("read", "c:\\tef_dial\\resp\\intpos.sts", "", "000-000 = ATV", 4);
  record.Told("write", "c:\\host\\Dados\\TefDisc\\intpos.001", "", "x", 5);
  record.Told("remove", "c:\\tef_dial\\resp\\intpos.sts", "", "", 6);
  record.Told("read", "c:\\tef_dial\\resp\\intpos.sts", "", "000-000 = ATV", 7);
  EXPECT_THAT(
      lines,
      ElementsAre("2 rename c:\\tef_dial\\req\\~intpos.001.tmp [000-000 = ATV] c:\\tef_dial\\req\\intpos.001",
                  "3 read C:\\TEF_DIAL\\RESP\\intpos.sts [000-000 = ATV]",
                  "6 remove c:\\tef_dial\\resp\\intpos.sts []",
                  "7 read c:\\tef_dial\\resp\\intpos.sts [000-000 = ATV]"));
  EXPECT_FALSE(rehearsal::IsExchangeFile("c:\\tef_dial\\resp\\sub\\intpos.001"));
  EXPECT_TRUE(rehearsal::IsExchangeFile("c:\\HiperTEF\\req\\intpos.001"));
}

} // namespace
} // namespace zul00500

// Smaller faults around the exchange: waits measured on a clock the host's
// own work cannot stretch, stored settings that are damaged or empty, a
// request the disk cut short, a request that cannot be written, and a NUL
// byte inside a field of an answer.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "printing/printing.h"
#include "support/dataset.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/file_write.h"
#include "support/manager_folders.h"
#include "support/printer_stubs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/settlement/confirmation.h"

namespace zul00500 {
namespace {

using testing::Approves;
using testing::FaultyFs;
using testing::FsOp;
using testing::SaleWorld;
using testing::StatusReply;

using testing::kDialReq;

class SmallFaultsTest : public SaleWorld {
protected:
  void StoreRoot(const std::string& value) {
    ClientDataSet dataset({{"DIRTEF", 50}});
    dataset.CreateDataSet();
    dataset.Edit();
    dataset.SetField("DIRTEF", value);
    dataset.SaveToFile(dsDirTef + "\\DIRTEF.cds");
  }
  bool Logged(const std::string& part) {
    const std::vector<std::string> log = LogMessages();
    return std::any_of(log.begin(), log.end(),
                       [&](const std::string& line) { return line.find(part) != std::string::npos; });
  }
};

// --- waits on the monotonic clock -------------------------------------------------------

TEST_F(SmallFaultsTest, TheStatusWaitCountsTheTimeTheHostSpendsHandlingItsMessages) {
  StoreDirTef(kRootTefDial);
  dial_.Script({StatusReply::Silent});
  platform::set_message_hook([this](bool) { clock_.advance(400); });
  EXPECT_FALSE(CheckGPAtivo("ATV", "1"));
  platform::set_message_hook({});
  // Fifteen seconds, and the last cycle: never 26 s of 600 ms pauses and
  // 400 ms of the host's work each.
  EXPECT_LE(clock_.elapsed_ms(), 16'000);
}

// --- stored settings ----------------------------------------------------------------------

TEST_F(SmallFaultsTest, AnEmptyOrMalformedStoredRootIsReadAsAbsent) {
  for (const std::string& value : {std::string(), std::string("resp"), std::string("d:\\outro\\")}) {
    StoreRoot(value);
    DirTef = kRootTefDial;
    EXPECT_TRUE(CheckGPAtivo("ATV", "1")) << value;
    EXPECT_EQ(DirTef, kRootTefDial) << value;
  }
  EXPECT_EQ(Operations(kRootTefDial).size(), 3u);
}

TEST_F(SmallFaultsTest, ADamagedParameterFileIsLoggedAndPaymentsGoOn) {
  platform::fs().write_file(HostDirectoryLong() + "\\PARAMETROSQTR.CDS", "\x96\x19\xE0\xBD damaged");
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_TRUE(stNrSerie.empty());
  EXPECT_TRUE(Logged("PARAMETROSQTR.CDS"));
  // The approved payment is printed and confirmed all the same; the
  // printer's record of the voucher gets the empty serial, as without the
  // file, and the run ends as every run does.
  std::vector<std::string> serials;
  testing::AssignEveryPrinterProcedure([&serials](const std::string& name) {
    return [&serials, name](const auto& first, const auto&... rest) {
      if (name == "GravaDocumentosNaoFiscais") serials.push_back(first);
      (void)sizeof...(rest);
      return true;
    };
  });
  EXPECT_TRUE(ImprCupons(*receipts_, 1, 1, 1, "v1", "v2", "ctx", "", "", "N", "F", "", "", 10));
  testing::ClearPrinterProcedures();
  EXPECT_EQ(serials, std::vector<std::string>{""});
  EXPECT_EQ(Settlements(), std::vector<std::string>{"CNF 654321"});
  EXPECT_EQ(LogCount("Zul00500 - ImprCupons fim"), 1);
}

// --- requests that cannot be written ------------------------------------------------------

TEST_F(SmallFaultsTest, ARequestTheDiskCutShortLeavesNoTemporaryInTheManagersDirectory) {
  StoreDirTef(kRootTefDial);
  const StringList answer = testing::Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"});
  FaultyFs disk;
  disk.fail_path(FsOp::WriteFile, "Liquidando", testing::Fault::Torn);
  platform::ScopedFileSystem scoped(disk);
  EXPECT_THROW(VerificaRetorno("ctx", answer, true, ""), FileError);
  EXPECT_TRUE(Names(kDialReq + "*").empty());
}

TEST_F(SmallFaultsTest, AnActivityRequestThatCannotBeWrittenIsLoggedWithItsReason) {
  StoreDirTef(kRootTefDial);
  FaultyFs disk;
  disk.fail_path(FsOp::WriteFile, "req");
  platform::ScopedFileSystem scoped(disk);
  EXPECT_FALSE(CheckGPAtivo("ATV", "1"));
  EXPECT_TRUE(Logged("req\\~intpos.001.tmp"));
}

// --- a NUL inside a field ----------------------------------------------------------------------

TEST_F(SmallFaultsTest, ANulInsideAFieldIsMalformedAndNeverSentBackToTheManager) {
  dial_.QueueAnswers({[](const StringList& request) {
                        StringList answer = testing::Approval(request);
                        answer[5] = std::string("012-000 = 65\0"
                                                "4321",
                                                17);
                        return answer;
                      },
                      Approves()});
  EXPECT_THROW(Pay(10, 10), ConvertError);
  EXPECT_TRUE(Pay(5, 5));
  for (const StringList& request : dial_.Requests())
    EXPECT_EQ(request.Text().find('\0'), std::string::npos) << request.Text();
  EXPECT_EQ(Names(dsDirBkpTef + "Descartados\\*").size(), 1u);
}

TEST_F(SmallFaultsTest, AnApprovalWithANulOutsideTheFieldsASettlementCopiesIsUndoneByTheNextSale) {
  // 010-000, 012-000 and 027-000 are clean: the approval can be named, and
  // its non-confirmation goes out, once, without a NUL in it.
  int n = 0;
  for (const char* field : {"029-001", "030-000", "013-000", "748-000", "022-000"}) {
    SCOPED_TRACE(field);
    const std::string document = "7700" + std::to_string(++n);
    dial_.QueueAnswers({[field, document](const StringList& request) {
                          StringList answer = testing::Approval(request, {{"012-000", document.c_str()}});
                          for (std::size_t i = 0; i < answer.Count(); ++i)
                            if (answer[i].rfind(field, 0) == 0)
                              answer[i] = std::string(field) + " = AB" + '\0' + "CD";
                          return answer;
                        },
                        Approves({{"012-000", "000999"}})});
    EXPECT_THROW(Pay(10, 10), ConvertError);
    EXPECT_TRUE(Pay(5, 5));
    const std::vector<std::string> settled = Settlements();
    EXPECT_EQ(std::count(settled.begin(), settled.end(), "NCN " + document), 1);
    for (const StringList& request : dial_.Requests())
      EXPECT_EQ(request.Text().find('\0'), std::string::npos) << request.Text();
    // The sale's own approval waits for its printing run; the next one
    // settles it.
    EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  }
  EXPECT_TRUE(Names(dsDirBkpTef + "Descartados\\*").empty()) << "nothing set aside";
}

} // namespace
} // namespace zul00500

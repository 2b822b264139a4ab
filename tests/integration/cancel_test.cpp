// Undoing an interrupted sale with zulpos pending against a running tefsim,
// in real time.
#include <gtest/gtest.h>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"

namespace zul00500 {
namespace {

class CancellationAgainstTefsim : public testing::TefsimWorld {};

TEST_F(CancellationAgainstTefsim, CancelsPrintsAndConfirmsThePartialPaymentOfARefusedSale) {
  platform::native_fs().create_directories(world_.root() + "/requests");
  StartTefsim("dial", {"--rule", "CRT#2: refuse", "--keep-requests", world_.root() + "/requests"});
  const auto sale = Zulpos({"sale", "--pay", "40", "--pay", "60", "--total", "100"});
  ASSERT_TRUE(sale.status.has_value());
  EXPECT_EQ(*sale.status, 1);
  EXPECT_TRUE(sale.Said("1.result=true"));
  EXPECT_TRUE(sale.Said("2.result=false"));
  ASSERT_EQ(platform::fs().list(pending_ + "intpos.*"), std::vector<std::string>{"intpos.1"});

  const std::string paper = world_.root() + "/paper.txt";
  const auto run = Zulpos({"pending", "--txns", "1", "--paper", paper});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("result=true"));

  // The request names the first payment as the manager approved it.
  const std::string request = platform::native_fs().read_file(world_.root() + "/requests/CNC-1.001");
  EXPECT_NE(request.find("\r\n003-000 = 4000\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\r\n010-000 = REDEX\r\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\r\n012-000 = 000001\r\n"), std::string::npos) << request;

  const std::string printed = platform::native_fs().read_file(paper);
  EXPECT_NE(printed.find("COMPROVANTE DE CANCELAMENTO"), std::string::npos) << printed;
  EXPECT_NE(printed.find("DOC 000001"), std::string::npos) << printed;

  const auto log = StopTefsim();
  EXPECT_TRUE(AnyLineHas(log, "CNC#1: took"));
  // The sale's confirmation of the partial payment, then the cancellation's.
  EXPECT_TRUE(AnyLineHas(log, "CNF#2: confirmed", "(approved as CNC#1 "));
  EXPECT_FALSE(AnyLineHas(log, "not confirmed"));
  EXPECT_TRUE(platform::fs().list(pending_ + "intpos.*").empty());
  EXPECT_TRUE(platform::fs().list("c:\\tef_dial\\resp\\intpos.*").empty());
}

TEST_F(CancellationAgainstTefsim, CancelWithoutPrintingOnlyShowsTheManagersMessage) {
  platform::native_fs().create_directories(world_.root() + "/requests");
  StartTefsim("dial", {"--keep-requests", world_.root() + "/requests"});
  const std::string printer_journal = world_.root() + "/printer.txt";
  const auto run = Zulpos({"cancel", "--network", "REDEX", "--doc", "000123", "--amount", "1999", "--f022",
                           "08122026", "--no-print", "--printer-journal", printer_journal});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("result=true"));

  const auto request = Lines(world_.root() + "/requests/CNC-1.001");
  ASSERT_EQ(request.size(), 12u);
  EXPECT_EQ(request[0], "000-000 = CNC");
  EXPECT_TRUE(AnyLineHas(request, "= 1999"));
  EXPECT_TRUE(AnyLineHas(request, "= 000123"));
  EXPECT_TRUE(AnyLineHas(request, "= 08122026"));

  EXPECT_TRUE(AnyLineHas(Lines(journal_), "CANCELAMENTO OK\t"));
  EXPECT_TRUE(Lines(printer_journal).empty());
  const auto log = StopTefsim();
  EXPECT_FALSE(AnyLineHas(log, "confirmed"));
  EXPECT_TRUE(platform::fs().list("c:\\tef_dial\\resp\\intpos.*").empty());
}

} // namespace
} // namespace zul00500

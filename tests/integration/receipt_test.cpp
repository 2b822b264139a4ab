// zulpos receipt: one answer's receipt on the virtual fiscal printer, with no
// manager involved.
#include <gtest/gtest.h>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"

namespace zul00500 {
namespace {

class ReceiptCommand : public testing::TefsimWorld {
protected:
  void SetUp() override {
    platform::native_fs().write_file(answer_,
                                     "000-000 = CRT\r\n001-000 = 0000000001\r\n003-000 = 1000\r\n"
                                     "009-000 = 0\r\n010-000 = REDEX\r\n012-000 = 000001\r\n"
                                     "028-000 = 3\r\n029-001 = \"LINE 1\"\r\n029-002 = \"LINE 2\"\r\n"
                                     "029-003 = \"LINE \xC9\"\r\n999-999 = 0\r\n");
    // What an earlier run left: a fresh run starts both files empty.
    platform::native_fs().write_file(printer_journal_, "earlier\n");
    platform::native_fs().write_file(paper_, "earlier\n");
  }

  const std::string answer_ = world_.root() + "/answer.txt";
  const std::string printer_journal_ = world_.root() + "/printer.txt";
  const std::string paper_ = world_.root() + "/paper.txt";
};

TEST_F(ReceiptCommand, PrintsTheReceiptInThreeLineSendsAndKeepsJournalAndPaper) {
  const auto run = Zulpos({"receipt", answer_, "--printer-journal", printer_journal_, "--paper", paper_});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("result=true"));
  EXPECT_EQ(Lines(printer_journal_),
            (std::vector<std::string>{"Usa_CompNFis\t\tLINE 1\\nLINE 2\\nLINE \xC9\\n\t=true",
                                      "Usa_CompNFis\t\t\\n\\n\\n\t=true"}));
  const std::string paper = platform::native_fs().read_file(paper_);
  EXPECT_EQ(paper.rfind("LINE 1\nLINE 2\nLINE \xC9\n", 0), 0u) << paper;
  EXPECT_TRUE(Lines(journal_).empty());
}

TEST_F(ReceiptCommand, FailingPrinterAsksTheOperatorAndGivesUpOnNo) {
  const auto run = Zulpos({"--answer", "n", "receipt", answer_, "--printer-journal", printer_journal_,
                           "--paper", paper_, "--printer-fail", "Usa_CompNFis:1"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 1);
  EXPECT_TRUE(run.Said("result=false"));
  EXPECT_EQ(Lines(printer_journal_),
            (std::vector<std::string>{"Usa_CompNFis\t\tLINE 1\\nLINE 2\\nLINE \xC9\\n\t=false"}));
  EXPECT_EQ(platform::native_fs().read_file(paper_), "");
  EXPECT_TRUE(AnyLineHas(Lines(journal_), "Impressora n\xE3o responde. Imprimir novamente?\t", "\tfalse"));

  const auto bad = Zulpos({"receipt", answer_, "--printer-fail", "Usa_CompNFis:x"});
  ASSERT_TRUE(bad.status.has_value());
  EXPECT_EQ(*bad.status, 2);
}

} // namespace
} // namespace zul00500

// What zulpos's sale and printing commands take from their options: amounts
// and the virtual printer's setup.
#include <gtest/gtest.h>

#include <vector>

#include "platform/file_system.h"
#include "support/temp_world.h"
#include "zulpos/options.h"
#include "zulpos/printer_options.h"
#include "zulpos/sale_run.h"

namespace zulpos {
namespace {

namespace platform = zul00500::platform;

TEST(ZulposAmountTest, ReadsADotOrACommaDecimalWithTwoDigitsAtMost) {
  EXPECT_DOUBLE_EQ(ParseAmount("--pay", "40"), 40.0);
  EXPECT_DOUBLE_EQ(ParseAmount("--pay", "40.5"), 40.5);
  EXPECT_DOUBLE_EQ(ParseAmount("--pay", "0.01"), 0.01);
  EXPECT_DOUBLE_EQ(ParseAmount("--pay", "1,50"), 1.5);
  EXPECT_DOUBLE_EQ(ParseAmount("--pay", "1.50"), 1.5);
  for (const char* bad : {"", "-1", "4O", "40.00 ", "inf", "nan", "1e999", "1e3", "1.505", "1,000.50", ".5",
                          "5.", "1234567890123"})
    EXPECT_THROW(ParseAmount("--pay", bad), UsageError) << bad;
}

TEST(ZulposAmountTest, CentsAreDigitsOnly) {
  EXPECT_EQ(ParseCents("--amount", "1250"), "1250");
  EXPECT_EQ(ParseCents("--amount", "050"), "050");
  for (const char* bad : {"", "12.50", "12,50", "-5", "1e3", " 12"})
    EXPECT_THROW(ParseCents("--amount", bad), UsageError) << bad;
}

class ZulposSaleOptionsTest : public ::testing::Test {
protected:
  // The printing options a sale takes, as zulpos parses them.
  static ParsedOptions Sale(std::vector<std::string> args) {
    return ParseOptions(args, PrintingRunOptions(), Positionals::Collect);
  }
  zul00500::testing::TempWorld world_;
};

TEST_F(ZulposSaleOptionsTest, EveryPrintingOptionIsCheckedBeforeAnythingIsPaid) {
  const std::string folder = world_.root() + "/out/";
  EXPECT_NO_THROW(CheckPrintingOptions(Sale({"--paper", world_.root() + "/p.txt"})));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--printer-fail", "Usa_CompNFs:3"},
           {"--paper", folder + "paper.txt"},
           {"--printer-journal", world_.root()},
           {"--printer-type", "2x"},
           {"--mode", "n"},
           {"--copy", "yes"},
       }) {
    EXPECT_THROW(CheckPrintingOptions(Sale(args)), UsageError) << args[0];
    // Nothing was written for it.
    EXPECT_FALSE(platform::native_fs().directory_exists(folder));
  }
}

TEST_F(ZulposSaleOptionsTest, AFileToWriteNeedsAnExistingFolder) {
  EXPECT_NO_THROW(CheckOutputFile("--receipts", world_.root() + "/receipts.txt"));
  EXPECT_NO_THROW(CheckOutputFile("--receipts", "receipts.txt"));
  EXPECT_THROW(CheckOutputFile("--receipts", world_.root() + "/missing/receipts.txt"), UsageError);
  EXPECT_THROW(CheckOutputFile("--receipts", world_.root()), UsageError);
  EXPECT_THROW(CheckOutputFile("--receipts", ""), UsageError);
}

TEST(ZulposAmountTest, ShowsTwoDecimalsWithADot) {
  EXPECT_EQ(Money(100), "100.00");
  EXPECT_EQ(Money(12.345), "12.35");
  EXPECT_EQ(Money(0), "0.00");
}

class ZulposPrinterSetupTest : public ::testing::Test {
protected:
  ParsedOptions Parse(std::vector<std::string> args) {
    return ParseOptions(args, PrinterOptions(), Positionals::Collect);
  }

  zul00500::testing::TempWorld world_;
  const std::string journal_ = world_.root() + "/journal.txt";
  const std::string paper_ = world_.root() + "/paper.txt";
};

TEST_F(ZulposPrinterSetupTest, StartsJournalAndPaperEmptyAndWritesEachCall) {
  platform::native_fs().write_file(journal_, "an earlier run\n");
  platform::native_fs().write_file(paper_, "an earlier receipt\n");
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, Parse({"--printer-journal", journal_, "--paper", paper_}));
  EXPECT_EQ(platform::native_fs().read_file(journal_), "");
  EXPECT_EQ(platform::native_fs().read_file(paper_), "");

  EXPECT_TRUE(printer.Relatorio_Gerencial_Imp("ctx", "r1", "r2", "0", "0"));
  EXPECT_TRUE(printer.Usa_CompNFis("0", "LINE ONE"));
  EXPECT_EQ(platform::native_fs().read_file(journal_), printer.Journal());
  EXPECT_NE(platform::native_fs().read_file(paper_).find("LINE ONE"), std::string::npos);
}

TEST_F(ZulposPrinterSetupTest, FailsTheChosenCallsOfEveryRuleGiven) {
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, Parse({"--printer-fail", "Usa_CompNFis:2", "--printer-fail", "Guilhotina:1+"}));
  EXPECT_TRUE(printer.Usa_CompNFis("0", "a"));
  EXPECT_FALSE(printer.Usa_CompNFis("0", "b"));
  EXPECT_TRUE(printer.Usa_CompNFis("0", "c"));
  EXPECT_FALSE(printer.Guilhotina("ctx", "0"));
  EXPECT_FALSE(printer.Guilhotina("ctx", "0"));
}

TEST_F(ZulposPrinterSetupTest, RejectsAFailureListItCannotRead) {
  virtual_printer::VirtualPrinter printer;
  EXPECT_THROW(SetUpPrinter(printer, Parse({"--printer-fail", "Usa_CompNFis:x"})), UsageError);
  EXPECT_TRUE(printer.failures().empty());
}

TEST_F(ZulposPrinterSetupTest, FrameworkPrinterAnswersUsaRgAsTold) {
  for (const bool uses : {false, true}) {
    virtual_printer::VirtualPrinter printer;
    SetUpPrinter(printer, uses ? Parse({"--printer-uses-rg"}) : Parse({}));
    EXPECT_EQ(printer.Abre_Comp_NFiscalVinc("ctx", "CCD", "UsaRG", ""), uses);
  }
}

TEST(ZulposPrintingChoicesTest, DefaultsToTheFiscalPrinterWithSecondCopy) {
  const std::vector<std::string> none;
  const PrintingChoices choices =
      ReadPrintingChoices(ParseOptions(none, PrintingRunOptions(), Positionals::Collect));
  EXPECT_EQ(choices.printer_type, 0);
  EXPECT_EQ(choices.mode, "F");
  EXPECT_EQ(choices.copy, "S");
  EXPECT_EQ(choices.voucher1, "");
}

TEST(ZulposPrintingChoicesTest, TakesTextsInTheCodePageAndRejectsUnknownChoices) {
  auto read = [](std::vector<std::string> args) {
    return ReadPrintingChoices(ParseOptions(args, PrintingRunOptions(), Positionals::Collect));
  };
  const PrintingChoices choices = read(
      {"--printer-type", "29", "--mode", "N", "--copy", "N", "--voucher1", "CART\xC3\x83O", "--std2", "b"});
  EXPECT_EQ(choices.printer_type, 29);
  EXPECT_EQ(choices.mode, "N");
  EXPECT_EQ(choices.copy, "N");
  EXPECT_EQ(choices.voucher1, "CART\xC3O");
  EXPECT_EQ(choices.standard2, "b");
  EXPECT_THROW(read({"--mode", "f"}), UsageError);
  EXPECT_THROW(read({"--copy", "Y"}), UsageError);
  EXPECT_THROW(read({"--printer-type", "x"}), UsageError);
}

TEST(ZulposPrintingChoicesTest, CancellationsTakeNoVoucherArguments) {
  const std::vector<std::string> args = {"--voucher1", "x"};
  EXPECT_THROW(ParseOptions(args, PrintingRunOptions(false), Positionals::Collect), UsageError);
  EXPECT_EQ(ParseOptions(args, PrintingRunOptions(true), Positionals::Collect).ValueOr("--voucher1", ""),
            "x");
}

} // namespace
} // namespace zulpos

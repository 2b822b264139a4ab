// What zulpos's sale and printing commands take from their options: amounts
// and the virtual printer's setup.
#include <gtest/gtest.h>

#include <vector>

#include "cli/command_line.h"
#include "platform/file_system.h"
#include "support/temp_world.h"
#include "zulpos/printer_options.h"
#include "zulpos/sale_run.h"

namespace zulpos {
namespace {

namespace platform = zul00500::platform;

// The printing options of a command (with the voucher and copy ones or
// not), parsed from `args` as zulpos parses them. Throws CLI11's errors.
PrintingOptions Parse(std::vector<std::string> args, bool with_vouchers = true, bool with_copy = true) {
  CLI::App command("", "zz-printing");
  zul_cli::SetUp(command, "");
  PrintingOptions options;
  AddPrintingOptions(command, options, with_vouchers, with_copy);
  zul_cli::Parse(command, args);
  return options;
}

TEST(ZulposPrintingOptionsTest, EveryPrintingOptionIsCheckedAsItIsParsed) {
  zul00500::testing::TempWorld world;
  const std::string folder = world.root() + "/out/";
  EXPECT_NO_THROW(Parse({"--paper", world.root() + "/p.txt"}));
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--printer-fail", "Usa_CompNFs:3"},
           {"--paper", folder + "paper.txt"},
           {"--printer-journal", world.root()},
           {"--printer-type", "2x"},
           {"--mode", "n"},
           {"--copy", "yes"},
       }) {
    EXPECT_THROW(Parse(args), CLI::ValidationError) << args[0];
    // Nothing was written for it.
    EXPECT_FALSE(platform::native_fs().directory_exists(folder));
  }
}

TEST(ZulposAmountTest, ShowsTwoDecimalsWithADot) {
  EXPECT_EQ(Money(100), "100.00");
  EXPECT_EQ(Money(12.345), "12.35");
  EXPECT_EQ(Money(0), "0.00");
}

class ZulposPrinterSetupTest : public ::testing::Test {
protected:
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

TEST_F(ZulposPrinterSetupTest, RejectsAFailureListItCannotReadNamingTheOption) {
  try {
    Parse({"--printer-fail", "Usa_CompNFis:2", "--printer-fail", "Usa_CompNFis:x"});
    ADD_FAILURE() << "accepted";
  } catch (const CLI::ValidationError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("--printer-fail: ", 0), 0u) << error.what();
  }
}

TEST_F(ZulposPrinterSetupTest, FrameworkPrinterAnswersUsaRgAsTold) {
  for (const bool uses : {false, true}) {
    virtual_printer::VirtualPrinter printer;
    SetUpPrinter(printer, uses ? Parse({"--printer-uses-rg"}) : Parse({}));
    EXPECT_EQ(printer.Abre_Comp_NFiscalVinc("ctx", "CCD", "UsaRG", ""), uses);
  }
}

TEST(ZulposPrintingChoicesTest, DefaultsToTheFiscalPrinterWithSecondCopy) {
  const PrintingChoices choices = ReadPrintingChoices(Parse({}));
  EXPECT_EQ(choices.printer_type, 0);
  EXPECT_EQ(choices.mode, "F");
  EXPECT_EQ(choices.copy, "S");
  EXPECT_EQ(choices.voucher1, "");
}

TEST(ZulposPrintingChoicesTest, TakesTextsInTheCodePageAndRejectsUnknownChoices) {
  auto read = [](std::vector<std::string> args) { return ReadPrintingChoices(Parse(std::move(args))); };
  const PrintingChoices choices = read(
      {"--printer-type", "29", "--mode", "N", "--copy", "N", "--voucher1", "CART\xC3\x83O", "--std2", "b"});
  EXPECT_EQ(choices.printer_type, 29);
  EXPECT_EQ(choices.mode, "N");
  EXPECT_EQ(choices.copy, "N");
  EXPECT_EQ(choices.voucher1, "CART\xC3O");
  EXPECT_EQ(choices.standard2, "b");
  EXPECT_THROW(read({"--mode", "f"}), CLI::ValidationError);
  EXPECT_THROW(read({"--copy", "Y"}), CLI::ValidationError);
  EXPECT_THROW(read({"--printer-type", "x"}), CLI::ValidationError);
}

TEST(ZulposPrintingChoicesTest, CancellationsTakeNoVoucherArguments) {
  const std::vector<std::string> args = {"--voucher1", "x"};
  EXPECT_THROW(Parse(args, false), CLI::ExtrasError);
  EXPECT_EQ(Parse(args).voucher1, "x");
  EXPECT_THROW(Parse({"--copy", "N"}, false, false), CLI::ExtrasError);
}

} // namespace
} // namespace zulpos

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "printing/printer.h"
#include "support/temp_world.h"
#include "unit/linked_package.h"
#include "virtual_printer/virtual_printer.h"
#include "zulpos/printer_connection.h"

namespace virtual_printer {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kRule(48, '=');
const std::string kThinRule(48, '-');
const std::string kCut = "8< - - - - - - - - - - - - - - - - - - - - - - -";

// --- journal -----------------------------------------------------------------

TEST(VirtualPrinterJournal, LineIsNameArgumentsAndResultEscapedAndTabSeparated) {
  VirtualPrinter printer;
  printer.Usa_CompNFis("", "a\\b\tc\r\n\xA0\x01\xE3");
  EXPECT_EQ(printer.Journal(), "Usa_CompNFis\t\ta\\\\b\\tc\\r\\n\\xA0\\x01\xE3\t=true\n");
}

// The printer connected as zulpos connects it, through the C interface: the
// package's procedure variables then call it.
TEST(VirtualPrinterJournal, EveryProcedureThroughTheHostVariablesInCallOrder) {
  zul00500::testing::UseLinkedPackage package;
  VirtualPrinter printer;
  printer.SetUsesManagementReport(true);
  zulpos::PrinterConnection connection(printer);
  using namespace zul00500;
  Abre_Comp_NFiscalVinc("ctx", "CARTAO", "00000000001250", "123");
  Abre_Comp_NFiscalVinc("ctx", "CCD", "UsaRG", "");
  Usa_CompNFis("", "x\n");
  Cupom_NFiscNVinc("ctx", "00", "0000", "v2", "");
  Relatorio_Gerencial_Imp("ctx", "r1", "r2", "", "");
  FechRelatGerenc("ctx", "", "");
  Fecha_Comp_NFiscalVinc("ctx");
  GravaDocumentosNaoFiscais("BE0512", "ctx", "CC", "", "");
  Guilhotina("ctx", "");
  ImprimePadrao("s1", "s2", "t\n");
  EXPECT_THAT(printer.JournalLines(),
              ElementsAre("Abre_Comp_NFiscalVinc\tctx\tCARTAO\t00000000001250\t123\t=true",
                          "Abre_Comp_NFiscalVinc\tctx\tCCD\tUsaRG\t\t=true", "Usa_CompNFis\t\tx\\n\t=true",
                          "Cupom_NFiscNVinc\tctx\t00\t0000\tv2\t\t=true",
                          "Relatorio_Gerencial_Imp\tctx\tr1\tr2\t\t\t=true",
                          "FechRelatGerenc\tctx\t\t\t=true", "Fecha_Comp_NFiscalVinc\tctx\t=true",
                          "GravaDocumentosNaoFiscais\tBE0512\tctx\tCC\t\t\t=true", "Guilhotina\tctx\t\t=true",
                          "ImprimePadrao\ts1\ts2\tt\\n\t=true"));
}

TEST(VirtualPrinterJournal, FileReceivesEachLineAsTheCallIsMade) {
  zul00500::testing::TempWorld world;
  const std::string path = world.root() + "/printer.journal";
  VirtualPrinter printer;
  printer.SetJournalFile(path);
  printer.AddFailures("#2");
  printer.Usa_CompNFis("", "1\n");
  EXPECT_EQ(zul00500::platform::fs().read_file(path), "Usa_CompNFis\t\t1\\n\t=true\n");
  printer.Guilhotina("c", "");
  EXPECT_EQ(zul00500::platform::fs().read_file(path), printer.Journal());
  EXPECT_THAT(printer.Journal(), HasSubstr("Guilhotina\tc\t\t=false\n"));
}

// --- connecting ----------------------------------------------------------------

TEST(VirtualPrinterConnection, WithoutCutterLeavesGuilhotinaUnassigned) {
  zul00500::testing::UseLinkedPackage package;
  zul00500::Guilhotina = [](const std::string&, const std::string&) { return true; };
  VirtualPrinter printer;
  zulpos::PrinterConnection connection(printer, zulpos::Cutter::Unassigned);
  EXPECT_FALSE(zul00500::Guilhotina);
  EXPECT_TRUE(zul00500::Usa_CompNFis);
  EXPECT_TRUE(zul00500::ImprimePadrao);
}

TEST(VirtualPrinterConnection, EndingTheConnectionEmptiesEveryVariable) {
  zul00500::testing::UseLinkedPackage package;
  const auto all_empty = [] {
    using namespace zul00500;
    return !Abre_Comp_NFiscalVinc && !Usa_CompNFis && !Cupom_NFiscNVinc && !Relatorio_Gerencial_Imp &&
           !FechRelatGerenc && !Fecha_Comp_NFiscalVinc && !GravaDocumentosNaoFiscais && !Guilhotina &&
           !ImprimePadrao;
  };
  VirtualPrinter printer;
  {
    zulpos::PrinterConnection connection(printer);
    EXPECT_TRUE(zul00500::Guilhotina);
  }
  EXPECT_TRUE(all_empty());
}

// --- failures ------------------------------------------------------------------

std::vector<bool> results(const VirtualPrinter& printer) {
  std::vector<bool> out;
  for (const auto& call : printer.Calls()) out.push_back(call.result);
  return out;
}

TEST(VirtualPrinterFailures, NthCallOverallFailsAlone) {
  VirtualPrinter printer;
  printer.AddFailures("#3");
  printer.Usa_CompNFis("", "a");
  printer.FechRelatGerenc("", "", "");
  EXPECT_FALSE(printer.Usa_CompNFis("", "b"));
  printer.Usa_CompNFis("", "c");
  EXPECT_EQ(results(printer), (std::vector<bool>{true, true, false, true}));
}

TEST(VirtualPrinterFailures, NthCallOfAProcedureCountsOnlyThatProcedure) {
  VirtualPrinter printer;
  printer.AddFailures("Usa_CompNFis:2");
  printer.Usa_CompNFis("", "a");
  printer.Guilhotina("", "");
  printer.Usa_CompNFis("", "b");
  printer.Usa_CompNFis("", "c");
  EXPECT_EQ(results(printer), (std::vector<bool>{true, true, false, true}));
}

TEST(VirtualPrinterFailures, FromTheNthOnEveryLaterCallFails) {
  VirtualPrinter printer;
  printer.AddFailures("Usa_CompNFis:2+,#6+");
  printer.Usa_CompNFis("", "a");
  printer.Usa_CompNFis("", "b");
  printer.Guilhotina("", "");
  printer.Usa_CompNFis("", "c");
  printer.Guilhotina("", "");
  printer.Guilhotina("", "");
  EXPECT_EQ(results(printer), (std::vector<bool>{true, false, true, false, true, false}));
}

TEST(VirtualPrinterFailures, CommandRuleCountsThatCommandAndProcedureRuleCountsBothForms) {
  VirtualPrinter printer;
  printer.SetUsesManagementReport(true);
  printer.AddFailures("ImprimeCCD:2,Abre_Comp_NFiscalVinc:5");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "AbreCCD", "");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "ImprimeCCD", "1\n");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "UsaRG", "");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "ImprimeCCD", "2\n");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "FechaCCD", "");
  EXPECT_EQ(results(printer), (std::vector<bool>{true, true, true, false, false}));
}

TEST(VirtualPrinterFailures, FailedCallPrintsNothingAndOpensNothing) {
  VirtualPrinter printer;
  printer.AddFailures("Relatorio_Gerencial_Imp:1,Usa_CompNFis:1");
  printer.Relatorio_Gerencial_Imp("", "", "", "", "");
  printer.Usa_CompNFis("", "lost\n");
  EXPECT_EQ(printer.PaperText(), "");
  // No report was opened, so closing draws no closing line.
  printer.FechRelatGerenc("", "", "");
  printer.Usa_CompNFis("", "kept\n");
  EXPECT_EQ(printer.PaperText(), "kept\n");
}

TEST(VirtualPrinterFailures, UsaRGAnswersTheConfiguredChoiceAndUnknownCommandsAreRefused) {
  VirtualPrinter printer;
  EXPECT_FALSE(printer.Abre_Comp_NFiscalVinc("", "CCD", "UsaRG", ""));
  printer.SetUsesManagementReport(true);
  EXPECT_TRUE(printer.Abre_Comp_NFiscalVinc("", "CCD", "UsaRG", ""));
  EXPECT_FALSE(printer.Abre_Comp_NFiscalVinc("", "CCD", "Imprime", "x"));
  EXPECT_EQ(printer.PaperText(), "");
}

// --- the failure list's text form ------------------------------------------------

TEST(FailureRules, ReadsEveryRuleKindWithBlanksAroundRules) {
  const FailurePlan plan = ParseFailureRules("Usa_CompNFis:3, Usa_CompNFis:3+ ,#7,#2+,ImprimeCCD : 1");
  EXPECT_THAT(plan.rules(), ElementsAre(FailureRule{"Usa_CompNFis", 3, false},
                                        FailureRule{"Usa_CompNFis", 3, true}, FailureRule{"", 7, false},
                                        FailureRule{"", 2, true}, FailureRule{"ImprimeCCD", 1, false}));
  EXPECT_EQ(FormatFailureRules(plan), "Usa_CompNFis:3,Usa_CompNFis:3+,#7,#2+,ImprimeCCD:1");
  EXPECT_EQ(ParseFailureRules(FormatFailureRules(plan)).rules(), plan.rules());
}

TEST(FailureRules, BadRuleIsAnErrorNamingIt) {
  struct Case {
    std::string rules, bad_part, reason_part;
  };
  const Case cases[] = {
      {"Usa_CompNFis:3,Usa_CompNFis", "Usa_CompNFis", "NAME:N"},
      {"Usa_CompNFis:0", "Usa_CompNFis:0", "from 1"},
      {"Usa_CompNFis:x", "Usa_CompNFis:x", "\"x\" is not a call number"},
      {"Usa_CompNFis:", "Usa_CompNFis:", "not a call number"},
      {"Usa_CompNFis:3++", "Usa_CompNFis:3++", "\"3+\" is not a call number"},
      {"Usa_CompNFis:-1", "Usa_CompNFis:-1", "not a call number"},
      {"Usa_CompNFis:99999999999999999999999", "Usa_CompNFis:99999999999999999999999", "not a call number"},
      {"usa_compnfis:1", "usa_compnfis:1", "known: Abre_Comp_NFiscalVinc"},
      {"#", "#", "not a call number"},
      {"#0", "#0", "from 1"},
      {"#7,,#8", "#7,,#8", "empty"},
      {"#7,", "#7,", "empty"},
      {"", "", "empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rules);
    try {
      ParseFailureRules(c.rules);
      ADD_FAILURE() << "accepted";
    } catch (const FailureRulesError& error) {
      EXPECT_EQ(error.rule(), c.bad_part);
      EXPECT_THAT(error.what(), HasSubstr(c.reason_part));
    }
  }
}

TEST(FailureRules, BadSpecGivenToThePrinterAddsNoRule) {
  VirtualPrinter printer;
  EXPECT_THROW(printer.AddFailures("#1,Nope:1"), FailureRulesError);
  EXPECT_TRUE(printer.failures().empty());
  EXPECT_TRUE(printer.Usa_CompNFis("", ""));
}

// --- paper -------------------------------------------------------------------------

TEST(VirtualPrinterPaper, VoucherWithTwoCopiesAndACut) {
  zul00500::testing::TempWorld world;
  const std::string path = world.root() + "/paper.txt";
  zul00500::testing::UseLinkedPackage package;
  VirtualPrinter printer;
  printer.SetPaperFile(path);
  zulpos::PrinterConnection connection(printer);
  zul00500::Abre_Comp_NFiscalVinc("ctx", "CARTAO", "00000000123450", "000123");
  zul00500::Usa_CompNFis("", "VIA CLIENTE\nREDE X\n");
  zul00500::Usa_CompNFis("", "\n\n\n");
  zul00500::Guilhotina("ctx", "");
  zul00500::Usa_CompNFis("", "VIA LOJA\n");
  zul00500::Usa_CompNFis("", "\xA0\r\n\r\n");
  zul00500::FechRelatGerenc("ctx", "", "");
  const std::string expected = kRule + "\n" +
                               "        COMPROVANTE N\xC3O FISCAL VINCULADO\n"
                               "COO: 000001\n"
                               "Forma de pagamento: CARTAO\n"
                               "Valor: 1.234,50\n"
                               "Cupom fiscal: 000123\n" +
                               kThinRule + "\n" +
                               "VIA CLIENTE\n"
                               "REDE X\n"
                               "\n\n\n" +
                               kCut + "\n" +
                               "VIA LOJA\n"
                               " \n"
                               "\n"
                               "=============== FIM COO: 000001 ================\n";
  EXPECT_EQ(printer.PaperText(), expected);
  EXPECT_EQ(zul00500::platform::fs().read_file(path), expected);
  EXPECT_THAT(printer.PaperUtf8(), HasSubstr("COMPROVANTE N\xC3\x83O FISCAL"));
}

TEST(VirtualPrinterPaper, LinesWrapAtTheWidthAndUnfinishedLinesContinue) {
  VirtualPrinter printer(30);
  printer.Usa_CompNFis("", std::string(30, 'a') + "\n" + std::string(31, 'b') + "\ncon");
  printer.Usa_CompNFis("", "tinued\r");
  printer.Usa_CompNFis("", "\nnext\x1B\t|\n");
  EXPECT_EQ(printer.PaperText(),
            std::string(30, 'a') + "\n" + std::string(30, 'b') + "\nb\ncontinued\nnext |\n");
}

TEST(VirtualPrinterPaper, OpeningADocumentClosesTheOpenOneAndNumbersThem) {
  VirtualPrinter printer(32);
  printer.Abre_Comp_NFiscalVinc("", "CCD", "AbreCCD", "");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "ImprimeCCD", "half");
  printer.Relatorio_Gerencial_Imp("", "01", "", "", "");
  printer.Fecha_Comp_NFiscalVinc("");
  printer.Abre_Comp_NFiscalVinc("", "CCD", "FechaCCD", "");
  EXPECT_EQ(printer.PaperText(), "================================\n"
                                 "COMPROVANTE DE CR\xC9"
                                 "DITO OU D\xC9"
                                 "BITO\n"
                                 "COO: 000001\n"
                                 "--------------------------------\n"
                                 "half\n"
                                 "======= FIM COO: 000001 ========\n"
                                 "================================\n"
                                 "      RELAT\xD3RIO GERENCIAL\n"
                                 "COO: 000002\n"
                                 "01\n"
                                 "--------------------------------\n"
                                 "======= FIM COO: 000002 ========\n");
}

TEST(VirtualPrinterPaper, UnlinkedVoucherAndAStandardPrinterPage) {
  VirtualPrinter printer(32);
  printer.Cupom_NFiscNVinc("", "00", "0000", "CARTAO", "");
  printer.ImprimePadrao("LPT1", "", "linha 1\nlinha 2");
  printer.ImprimePadrao("", "", "");
  EXPECT_EQ(printer.PaperText(), "================================\n"
                                 "     COMPROVANTE N\xC3O FISCAL\n"
                                 "COO: 000001\n"
                                 "Totalizador: 00\n"
                                 "Valor: 0,00\n"
                                 "Forma de pagamento: CARTAO\n"
                                 "--------------------------------\n"
                                 "+------------------------------+\n"
                                 "IMPRESSORA PADR\xC3O - P\xC1GINA 1\n"
                                 "LPT1\n"
                                 "+------------------------------+\n"
                                 "linha 1\n"
                                 "linha 2\n"
                                 "+------------------------------+\n"
                                 "+------------------------------+\n"
                                 "IMPRESSORA PADR\xC3O - P\xC1GINA 2\n"
                                 "+------------------------------+\n"
                                 "+------------------------------+\n");
}

} // namespace
} // namespace virtual_printer

// Printing one transaction's receipt on the virtual fiscal printer.
#include "command.h"
#include "output.h"
#include "package.h"
#include "printer_connection.h"
#include "printer_options.h"

namespace zulpos {
namespace {

int run_receipt(CommandContext& ctx) {
  const ParsedOptions& o = ctx.options;
  List answer;
  answer.LoadFromFile(PathFromTerminal(o.positionals.at(0)));
  const PrintingChoices c = ReadPrintingChoices(o);
  const int copies = ParseInteger("--copies", o.ValueOr("--copies", "1"));
  const int transactions = ParseInteger("--txns", o.ValueOr("--txns", "1"));

  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, o);
  PrinterConnection connection(printer);
  const bool result = Checked(api().ImprCupom(c.report1.c_str(), c.report2.c_str(), ctx.context.c_str(),
                                              c.copy.c_str(), answer.handle(), copies, transactions,
                                              c.printer_type, o.Has("--own-document"), o.Has("--skip-saved"),
                                              c.mode.c_str(), c.standard2.c_str(), c.standard1.c_str()));
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

const bool registered_receipt = RegisterCommand([] {
  Command command;
  command.name = "receipt";
  command.operands = "FILE";
  command.min_operands = 1;
  command.max_operands = 1;
  command.summary = "print an answer's receipt: ImprCupom on the virtual fiscal printer";
  command.description = "Loads the manager answer FILE and runs ImprCupom for it on the virtual fiscal\n"
                        "printer: with --txns above 1 the receipts saved in the pending directory come\n"
                        "first. The printer's journal and paper go to the files given. Prints result.";
  command.options = {{"--copies", "N", "copies on the framework printer, type 29 (default 1)"},
                     {"--txns", "N", "the sale's transaction count (default 1)"},
                     {"--own-document", "", "the receipt is a document of its own"},
                     {"--skip-saved", "", "do not print the saved receipts of earlier transactions"}};
  for (OptionDef& option : PrintingRunOptions(false)) command.options.push_back(std::move(option));
  command.rank = 70;
  command.run = run_receipt;
  return command;
}());

} // namespace
} // namespace zulpos

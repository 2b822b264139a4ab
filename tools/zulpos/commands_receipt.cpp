// Printing one transaction's receipt on the virtual fiscal printer.
#include <memory>

#include "command.h"
#include "options.h"
#include "output.h"
#include "package.h"
#include "printer_connection.h"
#include "printer_options.h"

namespace zulpos {
namespace {

struct ReceiptOptions {
  std::string file;
  int copies = 1;
  int transactions = 1;
  bool own_document = false;
  bool skip_saved = false;
  PrintingOptions printing;
};

int run_receipt(CommandContext& ctx, const ReceiptOptions& o) {
  List answer;
  answer.LoadFromFile(PackagePath(o.file));
  const PrintingChoices c = ReadPrintingChoices(o.printing);
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, o.printing);
  PrinterConnection connection(printer);
  const bool result =
      Checked(api().ImprCupom(c.report1.c_str(), c.report2.c_str(), ctx.context.c_str(), c.copy.c_str(),
                              answer.handle(), o.copies, o.transactions, c.printer_type, o.own_document,
                              o.skip_saved, c.mode.c_str(), c.standard2.c_str(), c.standard1.c_str()));
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

} // namespace

Command AddReceipt(CLI::App& zulpos) {
  auto o = std::make_shared<ReceiptOptions>();
  CLI::App* receipt = zulpos.add_subcommand(
      "receipt", "print an answer's receipt: ImprCupom on the virtual fiscal printer\n\n"
                 "Loads the manager answer FILE and runs ImprCupom for it on the virtual fiscal\n"
                 "printer: with --txns above 1 the receipts saved in the pending directory come\n"
                 "first. The printer's journal and paper go to the files given. Prints result.");
  AddFileOperand(*receipt, o->file, "the manager's answer");
  AddValue(*receipt, "--copies", o->copies, "N", "copies on the framework printer, type 29 (default 1)")
      ->check(Integer());
  AddValue(*receipt, "--txns", o->transactions, "N", "the sale's transaction count (default 1)")
      ->check(Integer());
  AddFlag(*receipt, "--own-document", o->own_document, "the receipt is a document of its own");
  AddFlag(*receipt, "--skip-saved", o->skip_saved, "do not print the saved receipts of earlier transactions");
  AddPrintingOptions(*receipt, o->printing, false);
  return {.app = receipt, .run = [o](CommandContext& ctx) { return run_receipt(ctx, *o); }};
}

} // namespace zulpos

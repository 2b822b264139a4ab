// Undoing card transactions: one cancellation, and every pending partial
// payment of an interrupted sale.
#include <memory>

#include "command.h"
#include "options.h"
#include "output.h"
#include "package.h"
#include "printer_connection.h"
#include "printer_options.h"

namespace zulpos {
namespace {

struct CancelOptions {
  std::string network, document, amount, sequence, field022, field023;
  int transactions = 1;
  bool no_print = false;
  PrintingOptions printing;
};

int run_cancel(CommandContext& ctx, const CancelOptions& o) {
  const PrintingChoices c = ReadPrintingChoices(o.printing);
  const std::string network = FromTerminal(o.network);
  const std::string document = FromTerminal(o.document);
  const std::string sequence = FromTerminal(o.sequence);
  const std::string field022 = FromTerminal(o.field022);
  const std::string field023 = FromTerminal(o.field023);
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, o.printing);
  PrinterConnection connection(printer);
  const bool result =
      CheckedWithNotes(api().CancelaTEF(c.report1.c_str(), c.report2.c_str(), ctx.context.c_str(), c.copy.c_str(), 0,
                               o.transactions, c.printer_type, sequence.c_str(), "", o.amount.c_str(),
                               network.c_str(), document.c_str(), field022.c_str(), field023.c_str(),
                               c.mode.c_str(), c.standard2.c_str(), c.standard1.c_str(), !o.no_print));
  ctx.out.Result("result", result);
  ctx.out.Result("stMensagem_Zul00500", GetStr("stMensagem_Zul00500"));
  return ExitStatus(result);
}

struct PendingOptions {
  int transactions = 0;
  PrintingOptions printing;
};

int run_pending(CommandContext& ctx, const PendingOptions& o) {
  const PrintingChoices c = ReadPrintingChoices(o.printing);
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, o.printing);
  PrinterConnection connection(printer);
  const bool result = CheckedWithNotes(
      api().CancelaPendencia(c.report1.c_str(), c.report2.c_str(), ctx.context.c_str(), "", o.transactions,
                             c.printer_type, c.mode.c_str(), c.standard2.c_str(), c.standard1.c_str()));
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

} // namespace

Command AddCancel(CLI::App& zulpos) {
  auto o = std::make_shared<CancelOptions>();
  CLI::App* cancel = zulpos.add_subcommand(
      "cancel", "cancel a transaction with the manager: CancelaTEF\n\n"
                "Sends the cancellation request (CNC) for the transaction NAME/N of CENTS to the\n"
                "manager of its network and, unless --no-print, prints the cancellation receipt\n"
                "(two copies) on the virtual fiscal printer and confirms it; a printed and\n"
                "confirmed cancellation removes the pending copy of --seq (none without it).\n"
                "Prints result and stMensagem_Zul00500.");
  AddValue(*cancel, "--network", o->network, "NAME", "the transaction's network, 010-000")->required();
  AddValue(*cancel, "--doc", o->document, "N", "its document number, 012-000")->required();
  AddValue(*cancel, "--amount", o->amount, "CENTS", "its amount in whole cents, digits only, 003-000")
      ->required()
      ->check(Cents());
  AddValue(*cancel, "--seq", o->sequence, "S", "the sequence of its pending copy");
  AddValue(*cancel, "--f022", o->field022, "X", "its date, 022-000");
  AddValue(*cancel, "--f023", o->field023, "Y", "its time, 023-000");
  AddValue(*cancel, "--txns", o->transactions, "N", "the sale's transaction count (default 1)")
      ->check(Integer());
  AddFlag(*cancel, "--no-print", o->no_print, "only show the manager's message: no receipt, no confirmation");
  AddPrintingOptions(*cancel, o->printing, false);
  return {.app = cancel, .run = [o](CommandContext& ctx) { return run_cancel(ctx, *o); }};
}

Command AddPending(CLI::App& zulpos) {
  auto o = std::make_shared<PendingOptions>();
  CLI::App* pending = zulpos.add_subcommand(
      "pending", "cancel every pending partial payment: CancelaPendencia\n\n"
                 "Cancels, prints and confirms each partial payment whose copy is in the pending\n"
                 "directory (numbered 1 to --txns), until none is left. Prints result: false\n"
                 "when a pass removed nothing and something is still pending.");
  AddValue(*pending, "--txns", o->transactions, "N", "the interrupted sale's transaction count")
      ->required()
      ->check(Integer());
  AddPrintingOptions(*pending, o->printing, false, false);
  return {.app = pending, .run = [o](CommandContext& ctx) { return run_pending(ctx, *o); }};
}

} // namespace zulpos

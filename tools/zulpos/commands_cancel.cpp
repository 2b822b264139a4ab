// Undoing card transactions: one cancellation, and every pending partial
// payment of an interrupted sale.
#include "command.h"
#include "output.h"
#include "package.h"
#include "printer_connection.h"
#include "printer_options.h"

namespace zulpos {
namespace {

std::string required(const ParsedOptions& options, const std::string& name, const std::string& value_name) {
  const auto value = options.Value(name);
  if (!value) throw UsageError("cancel needs " + name + " " + value_name);
  return FromTerminal(*value);
}

int run_cancel(CommandContext& ctx) {
  const ParsedOptions& o = ctx.options;
  const std::string network = required(o, "--network", "NAME");
  const std::string document = required(o, "--doc", "N");
  const std::string amount = ParseCents("--amount", required(o, "--amount", "CENTS"));
  const int transactions = ParseInteger("--txns", o.ValueOr("--txns", "1"));
  const PrintingChoices c = ReadPrintingChoices(o);
  const std::string sequence = FromTerminal(o.ValueOr("--seq", ""));
  const std::string field022 = FromTerminal(o.ValueOr("--f022", ""));
  const std::string field023 = FromTerminal(o.ValueOr("--f023", ""));
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, o);
  PrinterConnection connection(printer);
  const bool result = CheckedWithNotes(
      api().CancelaTEF(c.report1.c_str(), c.report2.c_str(), ctx.context.c_str(), c.copy.c_str(), 0,
                       transactions, c.printer_type, sequence.c_str(), "", amount.c_str(), network.c_str(),
                       document.c_str(), field022.c_str(), field023.c_str(), c.mode.c_str(),
                       c.standard2.c_str(), c.standard1.c_str(), !o.Has("--no-print")));
  ctx.out.Result("result", result);
  ctx.out.Result("stMensagem_Zul00500", GetStr("stMensagem_Zul00500"));
  return ExitStatus(result);
}

int run_pending(CommandContext& ctx) {
  const ParsedOptions& o = ctx.options;
  const auto count = o.Value("--txns");
  if (!count) throw UsageError("pending needs --txns N");
  const int transactions = ParseInteger("--txns", *count);
  const PrintingChoices c = ReadPrintingChoices(o);
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, o);
  PrinterConnection connection(printer);
  const bool result = CheckedWithNotes(
      api().CancelaPendencia(c.report1.c_str(), c.report2.c_str(), ctx.context.c_str(), "", transactions,
                             c.printer_type, c.mode.c_str(), c.standard2.c_str(), c.standard1.c_str()));
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

const bool registered_cancel = RegisterCommand([] {
  Command command;
  command.name = "cancel";
  command.summary = "cancel a transaction with the manager: CancelaTEF";
  command.description = "Sends the cancellation request (CNC) for the transaction NAME/N of CENTS to the\n"
                        "manager of its network and, unless --no-print, prints the cancellation receipt\n"
                        "(two copies) on the virtual fiscal printer and confirms it; a printed and\n"
                        "confirmed cancellation removes the pending copy of --seq (none without it).\n"
                        "Prints result and stMensagem_Zul00500.";
  command.options = {{"--network", "NAME", "the transaction's network, 010-000 (required)"},
                     {"--doc", "N", "its document number, 012-000 (required)"},
                     {"--amount", "CENTS", "its amount in whole cents, digits only, 003-000 (required)"},
                     {"--seq", "S", "the sequence of its pending copy"},
                     {"--f022", "X", "its date, 022-000"},
                     {"--f023", "Y", "its time, 023-000"},
                     {"--txns", "N", "the sale's transaction count (default 1)"},
                     {"--no-print", "", "only show the manager's message: no receipt, no confirmation"}};
  for (OptionDef& option : PrintingRunOptions(false)) command.options.push_back(std::move(option));
  command.rank = 85;
  command.run = run_cancel;
  return command;
}());

const bool registered_pending = RegisterCommand([] {
  Command command;
  command.name = "pending";
  command.summary = "cancel every pending partial payment: CancelaPendencia";
  command.description = "Cancels, prints and confirms each partial payment whose copy is in the pending\n"
                        "directory (numbered 1 to --txns), until none is left. Prints result: false\n"
                        "when a pass removed nothing and something is still pending.";
  command.options = {{"--txns", "N", "the interrupted sale's transaction count (required)"}};
  for (OptionDef& option : PrintingRunOptions(false, false)) command.options.push_back(std::move(option));
  command.rank = 86;
  command.run = run_pending;
  return command;
}());

} // namespace
} // namespace zulpos

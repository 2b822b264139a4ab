// The receipt printing run on a receipts list that `zulpos sale --receipts`
// saved.
#include "command.h"
#include "output.h"
#include "printer_options.h"
#include "sale_run.h"

namespace zulpos {
namespace {

int run_print(CommandContext& ctx) {
  const ParsedOptions& o = ctx.options;
  List receipts;
  receipts.LoadFromFile(PathFromTerminal(o.positionals.at(0)));
  const int count = ParseInteger("--count", o.ValueOr("--count", "1"));
  const int transactions = ParseInteger("--txns", o.ValueOr("--txns", "1"));
  const double amount = ParseAmount("--amount", o.ValueOr("--amount", "0"));
  const bool result = PrintReceipts(receipts, count, transactions, amount, ctx.context, o);
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

const bool registered_print = RegisterCommand([] {
  Command command;
  command.name = "print";
  command.operands = "FILE";
  command.min_operands = 1;
  command.max_operands = 1;
  command.summary = "print a sale's receipts: ImprCupons on a saved receipts list";
  command.description = "Loads the receipts list FILE (as zulpos sale --receipts saves it) and runs\n"
                        "ImprCupons on the virtual fiscal printer: each receipt is confirmed with the\n"
                        "manager, printed, and its answer files removed. Prints result.";
  command.options = {{"--count", "N", "receipt blocks to print (default 1)"},
                     {"--txns", "N", "the sale's transaction count (default 1)"},
                     {"--amount", "A", "the amount paid by card, for the linked voucher (default 0)"}};
  for (OptionDef& option : PrintingRunOptions()) command.options.push_back(std::move(option));
  command.rank = 80;
  command.run = run_print;
  return command;
}());

} // namespace
} // namespace zulpos

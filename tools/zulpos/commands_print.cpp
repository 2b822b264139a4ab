// The receipt printing run on a receipts list that `zulpos sale --receipts`
// saved.
#include <memory>

#include "command.h"
#include "options.h"
#include "output.h"
#include "printer_options.h"
#include "sale_run.h"

namespace zulpos {
namespace {

struct PrintOptions {
  std::string file;
  int count = 1;
  int transactions = 1;
  std::string amount = "0";
  PrintingOptions printing;
};

int run_print(CommandContext& ctx, const PrintOptions& o) {
  List receipts;
  receipts.LoadFromFile(PackagePath(o.file));
  const bool result =
      PrintReceipts(receipts, o.count, o.transactions, AmountValue(o.amount), ctx.context, o.printing);
  ctx.out.Result("result", result);
  return ExitStatus(result);
}

} // namespace

Command AddPrint(CLI::App& zulpos) {
  auto o = std::make_shared<PrintOptions>();
  CLI::App* print = zulpos.add_subcommand(
      "print", "print a sale's receipts: ImprCupons on a saved receipts list\n\n"
               "Loads the receipts list FILE (as zulpos sale --receipts saves it) and runs\n"
               "ImprCupons on the virtual fiscal printer: each receipt is confirmed with the\n"
               "manager, printed, and its answer files removed. Prints result.");
  AddFileOperand(*print, o->file, "the receipts list");
  AddValue(*print, "--count", o->count, "N", "receipt blocks to print (default 1)")->check(Integer());
  AddValue(*print, "--txns", o->transactions, "N", "the sale's transaction count (default 1)")
      ->check(Integer());
  AddValue(*print, "--amount", o->amount, "A", "the amount paid by card, for the linked voucher (default 0)")
      ->transform(Amount());
  AddPrintingOptions(*print, o->printing);
  return {.app = print, .run = [o](CommandContext& ctx) { return run_print(ctx, *o); }};
}

} // namespace zulpos

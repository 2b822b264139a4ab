// A sale paid in one or more card or cheque payments, as a host runs it: one
// DoTEF per payment, the amount due shrinking by each approved payment.
#include "command.h"
#include "output.h"
#include "printer_options.h"
#include "sale_run.h"

namespace zulpos {
namespace {

int run_sale(CommandContext& ctx) {
  CheckPrintingOptions(ctx.options);
  if (const auto file = ctx.options.Value("--receipts"))
    CheckOutputFile("--receipts", PathFromTerminal(*file));
  std::vector<double> amounts;
  for (const std::string& text : ctx.options.All("--pay")) amounts.push_back(ParseAmount("--pay", text));
  if (amounts.empty()) throw UsageError("sale needs at least one --pay A");
  double total = 0;
  for (double amount : amounts) total += amount;
  if (const auto given = ctx.options.Value("--total")) total = ParseAmount("--total", *given);
  const std::string kind = ParseKind("--kind", ctx.options.ValueOr("--kind", "C"));

  const SaleRun sale = PaySale(ctx.context, amounts, total, kind, [&](std::size_t i, const Payment& payment) {
    const std::string n = std::to_string(i + 1) + ".";
    ctx.out.Result(n + "result", payment.result);
    ctx.out.Result(n + "approved", payment.approved);
    ctx.out.Result(n + "txn", payment.transaction);
    ctx.out.Result(n + "extra", Money(payment.extra));
    ctx.out.Result(n + "doc", payment.document);
    ctx.out.Result(n + "f748", payment.field748);
    ctx.out.Result(n + "f013", payment.field013);
    ctx.out.Result(n + "f027", payment.field027);
    if (!payment.note.empty()) ctx.out.Result(n + "note", payment.note);
  });
  const double paid_by_card = GetFloat("doValorTef");
  ctx.out.Result("doTrocoTef", Money(GetFloat("doTrocoTef")));
  ctx.out.Result("doValorTef", Money(paid_by_card));
  ctx.out.Result("DirTef", GetStr("DirTef"));
  if (const auto file = ctx.options.Value("--receipts"); file && sale.receipts)
    sale.receipts->SaveToFile(PathFromTerminal(*file));
  if (!ctx.options.Has("--print") || !sale.paid) return ExitStatus(sale.paid);

  // The last list holds the total payment's block; the partial payments'
  // receipts are printed from their pending copies.
  const List none;
  const bool printed = PrintReceipts(sale.receipts ? *sale.receipts : none, 1, sale.with_receipt,
                                     paid_by_card, ctx.context, ctx.options);
  ctx.out.Result("print.result", printed);
  return ExitStatus(printed);
}

const bool registered_sale = RegisterCommand([] {
  Command command;
  command.name = "sale";
  command.summary = "pay a sale by card or cheque: DoTEF for each --pay";
  command.description = "Runs DoTEF once per --pay, in order, as a host pays one sale in several\n"
                        "payments: each call owes the total less the payments approved before it, and\n"
                        "the transaction number carries from call to call. A payment that returns false\n"
                        "ends the sale. Prints N.result, N.approved, N.txn, N.extra, N.doc, N.f748,\n"
                        "N.f013 and N.f027 for payment N, then doTrocoTef, doValorTef and DirTef.\n"
                        "With --print, once every payment went through, ImprCupons prints the receipts\n"
                        "on the virtual fiscal printer (receipt count 1, one transaction per approval\n"
                        "with receipt) and print.result shows its result.";
  command.options = {
      {"--pay", "A", "a payment's amount (40, 40.00 or 40,00); repeatable, in order", true},
      {"--total", "T", "the sale's total (default: the sum of the payments)"},
      {"--kind", "K", "payment kind, one letter: C, D, V, A, Q (cheque) or another (default C)"},
      {"--receipts", "FILE", "save the last receipts list to FILE (code page 1252, CR LF)"},
      {"--print", "", "print the receipts when every payment went through: ImprCupons"}};
  for (OptionDef& option : PrintingRunOptions()) command.options.push_back(std::move(option));
  command.rank = 60;
  command.run = run_sale;
  return command;
}());

} // namespace
} // namespace zulpos

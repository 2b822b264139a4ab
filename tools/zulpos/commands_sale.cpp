// A sale paid in one or more card or cheque payments, as a host runs it: one
// DoTEF per payment, the amount due shrinking by each approved payment.
#include <memory>

#include "command.h"
#include "options.h"
#include "output.h"
#include "printer_options.h"
#include "sale_run.h"

namespace zulpos {
namespace {

struct SaleOptions {
  std::vector<std::string> pays;
  std::string total;
  std::string kind = "C";
  std::string receipts;
  bool print = false;
  PrintingOptions printing;
};

int run_sale(CommandContext& ctx, const SaleOptions& o) {
  std::vector<double> amounts;
  for (const std::string& text : o.pays) amounts.push_back(AmountValue(text));
  double total = 0;
  for (double amount : amounts) total += amount;
  if (!o.total.empty()) total = AmountValue(o.total);

  const SaleRun sale =
      PaySale(ctx.context, amounts, total, o.kind, [&](std::size_t i, const Payment& payment) {
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
  if (!o.receipts.empty() && sale.receipts) sale.receipts->SaveToFile(PackagePath(o.receipts));
  if (!o.print || !sale.paid) return ExitStatus(sale.paid);

  // The last list holds the total payment's block; the partial payments'
  // receipts are printed from their pending copies.
  const List none;
  const bool printed = PrintReceipts(sale.receipts ? *sale.receipts : none, 1, sale.with_receipt,
                                     paid_by_card, ctx.context, o.printing);
  ctx.out.Result("print.result", printed);
  return ExitStatus(printed);
}

} // namespace

// Every option is checked as it is parsed, before the first payment: a typo
// never leaves an approved payment unprinted.
Command AddSale(CLI::App& zulpos) {
  auto o = std::make_shared<SaleOptions>();
  CLI::App* sale = zulpos.add_subcommand(
      "sale", "pay a sale by card or cheque: DoTEF for each --pay\n\n"
              "Runs DoTEF once per --pay, in order, as a host pays one sale in several\n"
              "payments: each call owes the total less the payments approved before it, and\n"
              "the transaction number carries from call to call. A payment that returns false\n"
              "ends the sale. Prints N.result, N.approved, N.txn, N.extra, N.doc, N.f748,\n"
              "N.f013 and N.f027 for payment N, then doTrocoTef, doValorTef and DirTef.\n"
              "With --print, once every payment went through, ImprCupons prints the receipts\n"
              "on the virtual fiscal printer (receipt count 1, one transaction per approval\n"
              "with receipt) and print.result shows its result.");
  AddRepeatable(*sale, "--pay", o->pays, "A", "a payment's amount (40, 40.00 or 40,00); repeatable, in order")
      ->required()
      ->transform(PaymentAmount());
  AddValue(*sale, "--total", o->total, "T", "the sale's total (default: the sum of the payments)")
      ->transform(PaymentAmount());
  AddValue(*sale, "--kind", o->kind, "K",
           "payment kind, one letter: C, D, V, A, Q (cheque) or another (default C)")
      ->check(Kind());
  AddValue(*sale, "--receipts", o->receipts, "FILE",
           "save the last receipts list to FILE (code page 1252, CR LF)")
      ->check(OutputFile());
  AddFlag(*sale, "--print", o->print, "print the receipts when every payment went through: ImprCupons");
  AddPrintingOptions(*sale, o->printing);
  return {.app = sale, .run = [o](CommandContext& ctx) { return run_sale(ctx, *o); }};
}

} // namespace zulpos

// A sale paid in one or more card or cheque payments, as a host runs it: one
// DoTEF per payment, the amount due shrinking by each approved payment.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "command.h"
#include "output.h"
#include "zul00500/sale.h"
#include "zul00500/state.h"
#include "zul00500/string_list.h"

namespace zulpos {
namespace {

// "40", "40.5", "40.00": a money amount, dot as decimal separator whatever the
// machine's regional settings say.
double parse_amount(const std::string& option, const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < 0)
    throw UsageError(option + " wants an amount such as 40 or 40.00, not '" + text + "'");
  return value;
}

std::string money(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

struct Payment {
  bool result = false;
  std::int32_t approved = 0;
  double extra = 0;
  std::string document, field748, field013, field027;
};

int run_sale(CommandContext& ctx) {
  std::vector<double> amounts;
  for (const std::string& text : ctx.options.All("--pay")) amounts.push_back(parse_amount("--pay", text));
  if (amounts.empty()) throw UsageError("sale needs at least one --pay A");
  double total = 0;
  for (double amount : amounts) total += amount;
  if (const auto given = ctx.options.Value("--total")) total = parse_amount("--total", *given);
  const std::string kind = FromTerminal(ctx.options.ValueOr("--kind", "C"));

  std::shared_ptr<zul00500::StringList> receipts;
  std::int32_t transaction = 0;
  double paid = 0;
  bool all_paid = true;
  for (std::size_t i = 0; i < amounts.size() && all_paid; ++i) {
    Payment payment;
    payment.result = zul00500::DoTEF(ctx.context, amounts[i], total - paid, kind, receipts, payment.approved,
                                     transaction, payment.extra, payment.document, payment.field748,
                                     payment.field013, payment.field027);
    if (payment.result) paid += amounts[i];
    all_paid = payment.result;
    const std::string n = std::to_string(i + 1) + ".";
    ctx.out.Result(n + "result", payment.result);
    ctx.out.Result(n + "approved", payment.approved);
    ctx.out.Result(n + "txn", transaction);
    ctx.out.Result(n + "extra", money(payment.extra));
    ctx.out.Result(n + "doc", payment.document);
    ctx.out.Result(n + "f748", payment.field748);
    ctx.out.Result(n + "f013", payment.field013);
    ctx.out.Result(n + "f027", payment.field027);
  }
  ctx.out.Result("doTrocoTef", money(zul00500::doTrocoTef));
  ctx.out.Result("doValorTef", money(zul00500::doValorTef));
  ctx.out.Result("DirTef", zul00500::DirTef);
  if (const auto file = ctx.options.Value("--receipts"); file && receipts)
    receipts->SaveToFile(PathFromTerminal(*file));
  return ExitStatus(all_paid);
}

const bool registered_sale = RegisterCommand([] {
  Command command;
  command.name = "sale";
  command.summary = "pay a sale by card or cheque: DoTEF for each --pay";
  command.description =
      "Runs DoTEF once per --pay, in order, as a host pays one sale in several\n"
      "payments: each call owes the total less the payments approved before it, and\n"
      "the transaction number carries from call to call. A payment that returns false\n"
      "ends the sale. Prints N.result, N.approved, N.txn, N.extra, N.doc, N.f748,\n"
      "N.f013 and N.f027 for payment N, then doTrocoTef, doValorTef and DirTef.";
  command.options = {{"--pay", "A", "a payment's amount (40 or 40.00); repeatable, in order", true},
                     {"--total", "T", "the sale's total (default: the sum of the payments)"},
                     {"--kind", "K", "payment kind: C, D, V, A, Q (cheque) or another letter (default C)"},
                     {"--receipts", "FILE", "save the last receipts list to FILE (code page 1252, CR LF)"}};
  command.rank = 60;
  command.run = run_sale;
  return command;
}());

} // namespace
} // namespace zulpos

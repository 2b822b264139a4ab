#include "tef/pending_sale.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/file_system.h"
#include "support/state.h"
#include "support/text.h"
#include "tef/exchange_read.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/store.h"

namespace zul00500 {

namespace {

// The number of a pending copy's name ("intpos.3" gives 3), or nothing for
// a name the sale never writes.
std::optional<std::int32_t> copy_number(const std::string& name) {
  const std::string prefix = "intpos.";
  std::int32_t number = 0;
  if (name.size() <= prefix.size() || !SameText(name.substr(0, prefix.size()), prefix) ||
      !PositiveDecimal(name.substr(prefix.size()), number))
    return std::nullopt;
  return number;
}

// True when the copy records a payment that stands confirmed and that
// nothing ended since. A copy without sequence is none the sale wrote.
bool records_standing_payment(const std::string& path) {
  const std::optional<std::string> head = ReadHead(path);
  if (!head) return false;
  const std::string sequence = WholeLines(*head).Field("001-000 ");
  return !sequence.empty() && PaymentStands(sequence) && !PendingCopyPrinted(sequence) &&
         !PendingCopyEnded(sequence);
}

} // namespace

std::vector<std::string> PendingCopiesOfAnotherSale(std::int32_t transactionNumber) {
  std::vector<std::pair<std::int32_t, std::string>> found;
  for (const std::string& name : platform::fs().list(dsDirPenTef + "intpos.*")) {
    const std::optional<std::int32_t> number = copy_number(name);
    if (!number || *number <= transactionNumber) continue;
    if (records_standing_payment(dsDirPenTef + name)) found.emplace_back(*number, name);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& [number, name] : found) names.push_back(std::move(name));
  return names;
}

std::int32_t HighestCopyNumber(const std::vector<std::string>& names) {
  std::int32_t highest = 0;
  for (const std::string& name : names) highest = std::max(highest, copy_number(name).value_or(0));
  return highest;
}

std::string PendingCopiesText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? dsDirPenTef : ", ") + name;
  return text;
}

std::string PendingSaleNotice() {
  return "H\xE1 pagamentos parciais confirmados de uma venda n\xE3o conclu\xED"
         "da. Antes de iniciar outra "
         "venda, conclua essa venda e imprima os comprovantes, ou cancele os pagamentos pendentes.";
}

} // namespace zul00500

// Undoing an abandoned sale's partial payments: every pending copy is offered
// to the manager for cancellation, pass after pass, until none is left.
#include "cancellation/cancellation.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cancellation/transaction_cancellation.h"
#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/exchange_read.h"
#include "tef/holder.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/store.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {

std::vector<std::string> pending_names() {
  std::vector<std::string> names = platform::fs().list(dsDirPenTef + "intpos.*");
  std::sort(names.begin(), names.end());
  return names;
}

bool any_gone(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  return std::any_of(before.begin(), before.end(), [&](const std::string& name) {
    return !std::binary_search(after.begin(), after.end(), name);
  });
}

// The numbers of the pending copies "intpos." + n with n from 1 to `count`,
// in increasing order: the copies present bound the pass, not the count.
std::vector<std::int32_t> numbered_copies(const std::vector<std::string>& names, std::int32_t count) {
  std::vector<std::int32_t> numbers;
  const std::string prefix = "intpos.";
  for (const std::string& name : names) {
    std::int32_t n = 0;
    if (SameText(name.substr(0, prefix.size()), prefix) && PositiveDecimal(name.substr(prefix.size()), n) &&
        n <= count)
      numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

// True when the payment of the pending copy of `sequence` needs no
// cancellation any more: its cancellation went through, or its sale was
// printed, though the copy could not go then (a directory the till could
// not write for a moment). The copy then goes.
bool drop_if_done(const std::string& sequence) {
  if (!PendingCopyEnded(sequence) && !PendingCopyPrinted(sequence)) return false;
  DeleteIntPosFiles(dsDirPenTef, sequence);
  return true;
}

// Drops every such copy, whatever its number: one numbered above the count
// would otherwise make the run fail.
void drop_copies_done() {
  for (const std::string& name : pending_names()) {
    const std::optional<std::string> head = ReadHead(dsDirPenTef + name);
    if (head) drop_if_done(WholeLines(*head).Field("001-000 "));
  }
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

} // namespace

bool CancelaPendencia(const std::string& report1, const std::string& report2, const std::string& context,
                      const std::string& /*unused*/, std::int32_t transactionCount, std::int32_t printerType,
                      const std::string& mode, const std::string& standard2, const std::string& standard1) {
  const TillLock till("CancelaPendencia", context);
  if (!till.Held()) return false;
  NewHolder();
  // A payment whose cancellation the manager took before a stop is gone.
  EndPendingCopiesOfTakenSettlements();
  drop_copies_done();
  platform::FileSystem& fs = platform::fs();
  StringList pending;
  while (fs.file_exists(dsDirPenTef + "intpos.*")) {
    const std::vector<std::string> before = pending_names();
    for (const std::int32_t i : numbered_copies(before, transactionCount)) {
      const std::string path = dsDirPenTef + "intpos." + std::to_string(i);
      if (!fs.file_exists(path)) continue;
      LoadExchangeFile(pending, path);
      const std::string sequence = pending.Field("001-000 ");
      if (drop_if_done(sequence)) continue;
      bool settled = false;
      CancelTransaction(report1, report2, context, "N", transactionCount, printerType, sequence,
                        pending.Field("003-000 "), pending.Field("010-000 "), pending.Field("012-000 "),
                        pending.Field("022-000 "), pending.Field("023-000 "), mode, standard2, standard1,
                        true, settled);
      // A copy without sequence is removed by its own name, and only it.
      if (settled && sequence.empty()) fs.remove_file(path);
    }
    // Entries this run cannot take (numbered above the count, not numbered,
    // or refused every time) would bring every later pass back to them.
    const std::vector<std::string> after = pending_names();
    if (!any_gone(before, after)) {
      LogCartao("Zul00500 - CancelaPendencia - pend\xEAncias n\xE3o canceladas: " + joined(after));
      return false;
    }
  }
  return true;
}

} // namespace zul00500

// The sale: one card or cheque payment through the TEF manager.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// Pays `amount` of a sale that still owes `amountDue`, by payment kind `kind`
// ("C", "D", "V", "Q" for a cheque, or another letter). Clears the previous
// conversation's answers (an answer no backup holds is left for the scan),
// settles leftovers of earlier sales, lets the operator choose the network,
// sends the sale request and waits, without time limit, for the manager's
// answer. Every request, backup and pending copy reaches the disk whole
// before it takes its name.
//
// `receipts` receives a new list, which holds after an approval with receipt
// one block: "1" and the answer's lines. Whatever the caller held before is
// left as it was (the host may still hold it elsewhere). `approvedCount` is 1
// after such an approval, 0 otherwise; `transactionNumber` counts the sale's
// approvals and names the pending copy of a partial payment, which is
// confirmed at once. `extraAmount` gets field 709-000 / 100; the four strings
// get their fields (012-000, the first ten characters of 748-000 trimmed,
// 013-000, characters 13 to 23 of 027-000) when the answer carries them.
//
// False when leftovers could not be settled, the operator closed the network
// dialog, the manager did not answer in time, the transaction was refused
// or failed, or a partial payment's confirmation was taken back from a
// manager that did not take it (the payment does not stand: not counted,
// its pending copy gone, left for the next scan to undo). Before anything is
// sent or written, PendingSaleError while the pending directory holds
// another sale's confirmed partial payments (pending_sale.h). An approval whose amounts are not numbers, or whose receipt
// count is not a number from 0 to 999, throws ConvertError and leaves every
// stored answer in place; file errors throw FileError. An answer file is
// read only once whole: its last line "999-999 = 0", or ending with a line
// end and unchanged 300 ms later. The card log gets "Inicio DoTEF ----" first and
// "Fim DoTEF ----" last on every path.
bool DoTEF(const std::string& context, double amount, double amountDue, const std::string& kind,
           std::shared_ptr<StringList>& receipts, std::int32_t& approvedCount,
           std::int32_t& transactionNumber, double& extraAmount, std::string& documentNumber,
           std::string& field748, std::string& field013, std::string& field027);

// The same routine under its plain name.
inline bool DoTef(const std::string& context, double amount, double amountDue, const std::string& kind,
                  std::shared_ptr<StringList>& receipts, std::int32_t& approvedCount,
                  std::int32_t& transactionNumber, double& extraAmount, std::string& documentNumber,
                  std::string& field748, std::string& field013, std::string& field027) {
  return DoTEF(context, amount, amountDue, kind, receipts, approvedCount, transactionNumber, extraAmount,
               documentNumber, field748, field013, field027);
}

} // namespace zul00500

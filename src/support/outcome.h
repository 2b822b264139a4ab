// What a routine that talks to a manager ended with, told to the host by
// code beside its result (approved, refused with the network's own code, the
// manager not active...), and what the last printing run left of each
// payment of its sale: confirmed or undone at the manager, printed or not.
// The C interface resets the outcome when such a routine starts; the step
// that decides it sets it, the last one set wins.
#pragma once

#include <string>
#include <vector>

#include "support/string_list.h"

namespace zul00500 {

enum class RoutineOutcome {
  None,              // nothing was decided with a manager
  Done,              // the manager took what was sent
  Approved,          // a payment approved with receipt
  ApprovedNoReceipt, // a payment approved without receipt: final, nothing to print
  Refused,           // the network refused; its code is beside it
  ManagerError,      // the manager's error answer ("XXX") or an answer it cannot mean
  NotActive,         // the manager did not acknowledge a request within 15 s
  NoDirectory,       // the exchange root, or its req\ or resp\, does not exist
  OperatorStopped,   // the operator stopped waiting for the answer
  NetworkClosed,     // the operator closed the network dialog
  TillBusy,          // another till held the host directory or a root
  CancelApproved,    // the network approved a cancellation
  CancelRefused,     // the network refused a cancellation; its code is beside it
  Withdrawn,         // the manager did not take a confirmation, which was taken back
  NotPrinted,        // a printing run ended with receipts unprinted
};

struct OutcomeRecord {
  RoutineOutcome outcome = RoutineOutcome::None;
  std::string networkCode; // the answer's 009-000 for a refusal
};

void ResetOutcome() noexcept;
void SetOutcome(RoutineOutcome outcome, std::string networkCode = {});
// The outcome of a manager's verdict in `answer` (009-000): `approved` when
// it is "0", else `refused` with the code.
void SetVerdict(const StringList& answer, RoutineOutcome approved, RoutineOutcome refused);
// After a request the manager did not acknowledge: the manager is not active,
// or its exchange directories are missing.
void SetManagerSilent(const std::string& root);
const OutcomeRecord& LastOutcome() noexcept;

// One payment of the sale the last printing run (ImprCupons) handled: the
// earlier partial payments from their pending copies, then the receipts
// list's. Where each stands at the manager is asked of the settlement
// records when the host asks, so that a later scan's settlement shows too.
struct RunPayment {
  StringList answer;
  bool printed = false;
};
std::vector<RunPayment>& RunPayments() noexcept;

} // namespace zul00500

// What a routine that talks to a manager ended with (zul_LastOutcome), and
// where each payment of the last printing run's sale stands (zul_SalePayment).
#include "capi/boundary.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"

using namespace zul00500;
using namespace zul00500::capi;

namespace {

int outcome_code(RoutineOutcome outcome) {
  switch (outcome) {
  case RoutineOutcome::None:
    return ZUL_OUTCOME_NONE;
  case RoutineOutcome::Done:
    return ZUL_OUTCOME_DONE;
  case RoutineOutcome::Approved:
    return ZUL_OUTCOME_APPROVED;
  case RoutineOutcome::ApprovedNoReceipt:
    return ZUL_OUTCOME_APPROVED_NO_RECEIPT;
  case RoutineOutcome::Refused:
    return ZUL_OUTCOME_REFUSED;
  case RoutineOutcome::ManagerError:
    return ZUL_OUTCOME_MANAGER_ERROR;
  case RoutineOutcome::NotActive:
    return ZUL_OUTCOME_NOT_ACTIVE;
  case RoutineOutcome::NoDirectory:
    return ZUL_OUTCOME_NO_DIRECTORY;
  case RoutineOutcome::OperatorStopped:
    return ZUL_OUTCOME_OPERATOR_STOPPED;
  case RoutineOutcome::NetworkClosed:
    return ZUL_OUTCOME_NETWORK_CLOSED;
  case RoutineOutcome::TillBusy:
    return ZUL_OUTCOME_TILL_BUSY;
  case RoutineOutcome::CancelApproved:
    return ZUL_OUTCOME_CANCEL_APPROVED;
  case RoutineOutcome::CancelRefused:
    return ZUL_OUTCOME_CANCEL_REFUSED;
  case RoutineOutcome::Withdrawn:
    return ZUL_OUTCOME_WITHDRAWN;
  case RoutineOutcome::NotPrinted:
    return ZUL_OUTCOME_NOT_PRINTED;
  }
  return ZUL_OUTCOME_NONE;
}

// What the manager took for the answer of `sequence`, as this process
// remembers it or the settlement's note or mark tells.
int standing_at_manager(const std::string& sequence) {
  std::string operation = SettledInThisProcess(sequence);
  if (operation.empty()) operation = SettledAs(sequence);
  if (operation == "CNF") return ZUL_PAYMENT_CONFIRMED;
  if (operation == "NCN") return ZUL_PAYMENT_UNDONE;
  return ZUL_PAYMENT_OPEN;
}

} // namespace

// Like the readers of the last error, it leaves the last error as it is.
int ZUL_CALL zul_LastOutcome(char* networkCode, int capacity) {
  const OutcomeRecord& last = LastOutcome();
  if (networkCode && capacity > 0) CopyOut(last.networkCode, networkCode, capacity);
  return outcome_code(last.outcome);
}

int ZUL_CALL zul_SalePayment(int index, int* standing, int* printed, ZulList answer) {
  return Reader("zul_SalePayment", [&] {
    StringList* lines = nullptr;
    if (answer) {
      ListEntry& entry = ListRecord(answer, "answer");
      if (entry.package_owned)
        throw ArgumentError("answer", "the package's own list, which it does not hand out");
      lines = entry.list.get();
    }
    const std::vector<RunPayment>& payments = RunPayments();
    if (index < 1 || static_cast<std::size_t>(index) > payments.size()) return ZUL_FALSE;
    const RunPayment& payment = payments[static_cast<std::size_t>(index) - 1];
    if (standing) *standing = standing_at_manager(payment.answer.Field("001-000 "));
    if (printed) *printed = payment.printed ? 1 : 0;
    if (lines) *lines = payment.answer;
    return ZUL_TRUE;
  });
}

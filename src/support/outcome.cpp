// The outcome of the last routine that talked to a manager, and the payments
// of the last printing run.
#include "support/outcome.h"

#include <utility>

#include "platform/file_system.h"

namespace zul00500 {

namespace {
OutcomeRecord last;
std::vector<RunPayment> run_payments;
} // namespace

void ResetOutcome() noexcept {
  last.outcome = RoutineOutcome::None;
  last.networkCode.clear();
}

void SetOutcome(RoutineOutcome outcome, std::string networkCode) {
  last.outcome = outcome;
  last.networkCode = std::move(networkCode);
}

void SetVerdict(const StringList& answer, RoutineOutcome approved, RoutineOutcome refused) {
  const std::string code = answer.Field("009-000 ");
  if (code == "0") SetOutcome(approved);
  else SetOutcome(refused, code);
}

void SetManagerSilent(const std::string& root) {
  // An installer's wrong drive or root reads otherwise as a manager that is
  // not running, and the operator waits for a manager that cannot hear.
  bool missing = root.empty();
  try {
    platform::FileSystem& fs = platform::fs();
    missing = missing || !fs.directory_exists(root + "req\\") || !fs.directory_exists(root + "resp\\");
  } catch (...) {
  }
  SetOutcome(missing ? RoutineOutcome::NoDirectory : RoutineOutcome::NotActive);
}

const OutcomeRecord& LastOutcome() noexcept { return last; }

std::vector<RunPayment>& RunPayments() noexcept { return run_payments; }

} // namespace zul00500

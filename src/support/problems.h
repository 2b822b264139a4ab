// What a routine meets after the manager took a settlement ("CNF" or
// "NCN"): the transaction stands, so a card log line that cannot be written,
// or a clean-up that fails, must not turn the routine's result into an error
// that invites the host to try again. Such problems are kept here instead;
// the C interface hands them to the host with the routine's result (in its
// last-error text), and the tools print them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zul00500 {

// Keeps `text` for the host. Never throws.
void ReportProblem(const std::string& text) noexcept;
// The problems reported since the last call, oldest first; they are then
// forgotten.
std::vector<std::string> TakeReportedProblems();

// A file in an exchange directory that the till may not read (another
// user's, or held without sharing) was passed over, left where it is: the
// C interface tells the host with the routine's result, by its own code.
// Each path is kept once. Never throws.
void ReportPassedOver(const std::string& path) noexcept;
// The paths passed over since the last call; they are then forgotten.
std::vector<std::string> TakePassedOver();

// Runs `step`; a package error it raises is reported, not passed on.
template <typename Step> void AfterSettlement(Step&& step) {
  try {
    step();
  } catch (const std::exception& error) {
    ReportProblem(error.what());
  }
}

// LogCartao for a line that follows a settlement the manager took: a log
// that cannot be written is reported instead of raised.
void LogSettled(const std::string& message) noexcept;

// Counts the settlements the manager took in this process (each "CNF" or
// "NCN" acknowledged, or found taken), and those sent (written to the
// manager, taken or not), so that a routine can tell whether one was taken,
// or may have been, since it started.
void CountSettlementTaken() noexcept;
void CountSettlementSent() noexcept;
class SettlementsSince {
public:
  SettlementsSince();
  bool Any() const;
  // Taken, or sent and perhaps taken: the transaction may stand.
  bool AnyOut() const;

private:
  std::uint64_t start_;
  std::uint64_t sent_start_;
};

// A confirmation ("CNF") that the manager did not take in time and that the
// package took back from its request directory: the payment or cancellation
// it was to confirm does not stand (the next scan not-confirms it). Kept by
// the settled answer's sequence, the last few, until the C interface takes
// them at the end of the routine (or at the start of the next), so that the
// routine reports it and its caller can tell.
void RememberConfirmationWithdrawn(const std::string& answerSequence) noexcept;
bool ConfirmationWithdrawn(const std::string& answerSequence);
std::vector<std::string> TakeWithdrawnConfirmations();

// What this process remembers of the settlements the manager took (the last
// few): the operation that settled the answer of `answerSequence`, or empty.
// It keeps a host that retries a routine which failed after the manager
// took its settlement from settling the transaction again. Initialize and
// Finalize forget everything, as a new process would.
void RememberSettled(const std::string& answerSequence, const std::string& operation);
std::string SettledInThisProcess(const std::string& answerSequence);
// How the manager of an exchange root took its last acknowledged request:
// true when the request had left the request directory, false when it lay
// there still. Unknown (false) until a status counted.
void RememberHowRequestsAreTaken(const std::string& root, bool removed);
bool RemovesRequests(const std::string& root);
// This process's memory of the requests the manager of an exchange root took
// and did not acknowledge in time (tef/unacknowledged_takes.h, which also
// keeps them on disk).
void RememberUnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation);
void ForgetUnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation);
bool UnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation);
// Exchange files (a root's status file, its answer file) that their
// manager was seen to end with the closing line: one without it there is
// more likely paused or cut short than ended. A manager may end one kind of
// file with it and not the other.
void RememberClosingLine(const std::string& path);
bool WritesClosingLine(const std::string& path);
// Forgets the memories above.
void ForgetSettledInThisProcess();

} // namespace zul00500

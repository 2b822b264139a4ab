// What a routine meets after the manager took a settlement ("CNF" or
// "NCN"): the transaction stands, so a card log line that cannot be written,
// or a clean-up that fails, must not turn the routine's result into an error
// that invites the host to try again. Such problems are kept here instead;
// the C interface hands them to the host with the routine's result (in its
// last-error text), and the tools print them.
#pragma once

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

} // namespace zul00500

#include "rehearsal/record.h"

#include <algorithm>

namespace rehearsal {

namespace {
struct LaneWords {
  const char* name;
  const char* title;
};
// In the order of Lane.
constexpr LaneWords kLaneWords[] = {{"host", "Host"},
                                    {"package", "Package"},
                                    {"manager", "Manager's files"},
                                    {"printer", "Printer"},
                                    {"dialog", "Dialogs"}};
} // namespace

const char* LaneName(Lane lane) { return kLaneWords[static_cast<int>(lane)].name; }
const char* LaneTitle(Lane lane) { return kLaneWords[static_cast<int>(lane)].title; }

std::string Transaction::Ending() const {
  if (confirmations == 1 && non_confirmations == 0) return "confirmed";
  if (confirmations == 0 && non_confirmations == 1) return "not confirmed";
  if (confirmations == 0 && non_confirmations == 0) return observed ? "open" : "not observed";
  return std::to_string(confirmations) + " CNF, " + std::to_string(non_confirmations) + " NCN";
}

std::string CaseRecord::FirstFailure() const {
  if (!problem.empty()) return problem;
  for (const Mark& mark : marks)
    if (mark.premise_unmet) return "premise not met: " + mark.what + ": " + mark.actual;
  for (const Mark& mark : marks)
    if (!mark.passed && !mark.skipped)
      return mark.what + ": expected " + mark.expected + ", got " + mark.actual;
  return {};
}

// What follows from a premise not met (a sale the case needs refused was
// approved, and stays open) is no fault of the host either: the case shows
// its marks and ends with the premise.
bool CaseRecord::PremiseNotMet() const {
  return !passed && problem.empty() &&
         std::any_of(marks.begin(), marks.end(), [](const Mark& mark) { return mark.premise_unmet; });
}

const char* CaseRecord::Verdict() const {
  return passed ? "PASS" : PremiseNotMet() ? "PREMISE NOT MET" : "FAIL";
}

int BookRecord::PremisesNotMet() const {
  return static_cast<int>(
      std::count_if(cases.begin(), cases.end(), [](const CaseRecord& c) { return c.PremiseNotMet(); }));
}

int BookRecord::Passed() const {
  return static_cast<int>(
      std::count_if(cases.begin(), cases.end(), [](const CaseRecord& c) { return c.passed; }));
}

} // namespace rehearsal

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
    if (!mark.passed && !mark.skipped)
      return mark.what + ": expected " + mark.expected + ", got " + mark.actual;
  return {};
}

int BookRecord::Passed() const {
  return static_cast<int>(
      std::count_if(cases.begin(), cases.end(), [](const CaseRecord& c) { return c.passed; }));
}

} // namespace rehearsal

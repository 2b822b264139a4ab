#include "rehearsal/record.h"

#include <algorithm>

namespace rehearsal {

const char* LaneName(Lane lane) {
  switch (lane) {
  case Lane::Host:
    return "host";
  case Lane::Package:
    return "package";
  case Lane::Manager:
    return "manager";
  case Lane::Printer:
    return "printer";
  case Lane::Dialog:
    return "dialog";
  }
  return "";
}

std::string Transaction::Ending() const {
  if (confirmations == 1 && non_confirmations == 0) return "confirmed";
  if (confirmations == 0 && non_confirmations == 1) return "not confirmed";
  if (confirmations == 0 && non_confirmations == 0) return "open";
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

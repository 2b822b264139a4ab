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
  if (not_run) return not_run_reason;
  if (!problem.empty()) return problem;
  for (const Mark& mark : marks)
    if (mark.premise_unmet) return "premise not met: " + mark.what + ": " + mark.actual;
  for (const Mark& mark : marks)
    if (!mark.passed && !mark.skipped)
      return mark.what + ": expected " + mark.expected + ", got " + mark.actual;
  for (const Mark& mark : marks)
    if (mark.unobserved) return "not observed: " + mark.what + ": " + mark.actual;
  if (std::none_of(marks.begin(), marks.end(), [](const Mark& mark) { return mark.passed && !mark.skipped; }))
    return "nothing of this case was checked: the book expects nothing the run could judge";
  return {};
}

// What follows from a premise not met (a sale the case needs refused was
// approved, and stays open) is no fault of the host either: the case shows
// its marks and ends with the premise.
bool CaseRecord::PremiseNotMet() const {
  return !not_run && !passed && problem.empty() &&
         std::any_of(marks.begin(), marks.end(), [](const Mark& mark) { return mark.premise_unmet; });
}

namespace {
struct StatusWords {
  const char* text;
  const char* key;
  const char* counted; // in the summary's counts
};
// In the order of Status.
constexpr StatusWords kStatusWords[] = {{"PASS", "pass", "passed"},
                                        {"FAIL", "fail", "failed"},
                                        {"PREMISE NOT MET", "premise_not_met", "premise not met"},
                                        {"NOT OBSERVED", "not_observed", "not observed"},
                                        {"NO EXPECTATION", "no_expectation", "with no expectation"},
                                        {"NOT RUN", "not_run", "not run"}};
} // namespace

const char* StatusText(Status status) { return kStatusWords[static_cast<int>(status)].text; }
const char* StatusKey(Status status) { return kStatusWords[static_cast<int>(status)].key; }
const char* StatusCounted(Status status) { return kStatusWords[static_cast<int>(status)].counted; }

Status CaseRecord::status() const {
  if (not_run) return Status::NotRun;
  if (!problem.empty()) return Status::Fail;
  if (PremiseNotMet()) return Status::PremiseNotMet;
  if (!passed) return Status::Fail;
  // Passed: every mark passed or was left unchecked. Only a checked one
  // makes it a pass, and one not observed keeps it from being one.
  if (std::any_of(marks.begin(), marks.end(), [](const Mark& mark) { return mark.unobserved; }))
    return Status::NotObserved;
  if (std::none_of(marks.begin(), marks.end(), [](const Mark& mark) { return mark.passed && !mark.skipped; }))
    return Status::NoExpectation;
  return Status::Pass;
}

const char* CaseRecord::Verdict() const { return StatusText(status()); }

int BookRecord::Count(Status status) const {
  return static_cast<int>(
      std::count_if(cases.begin(), cases.end(), [&](const CaseRecord& c) { return c.status() == status; }));
}

int BookRecord::Run() const { return static_cast<int>(cases.size()) - Count(Status::NotRun); }

int BookRecord::PremisesNotMet() const {
  return static_cast<int>(
      std::count_if(cases.begin(), cases.end(), [](const CaseRecord& c) { return c.PremiseNotMet(); }));
}

int BookRecord::Passed() const { return Count(Status::Pass); }

} // namespace rehearsal

#include "rehearsal/runner.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "rehearsal/case_run.h"
#include "tool_platform/signals.h"

namespace rehearsal {

std::string CaseFolderName(int index, const std::string& name) {
  char number[16];
  std::snprintf(number, sizeof number, "%02d-", index + 1);
  return number + name;
}

namespace {

// What the rehearsal does itself in a case, so that the person does not.
std::vector<std::string> done_by_the_rehearsal(const Case& rehearsed) {
  std::vector<std::string> done;
  const auto add = [&](const std::string& text) {
    if (std::find(done.begin(), done.end(), text) == done.end()) done.push_back(text);
  };
  for (const Step& step : rehearsed.steps) {
    if (!step.answers.empty()) add("answers the till's questions");
    if (step.network_choice || rehearsed.roots.size() > 1) add("chooses the network at the till");
    if (!step.printing.printer_fail.empty()) add("makes the printer fail");
    if (step.power_cut) add("cuts the till's power and starts it again");
    if (step.restart) add("restarts the till");
  }
  return done;
}

// Attended: the person reads what to do at the real pinpad and manager (and
// only that) and says when ready.
void brief_operator(const Case& rehearsed, const RunOptions& options) {
  if (!options.operator_out) return;
  std::ostream& out = *options.operator_out;
  out << "\n== " << rehearsed.name << ": " << rehearsed.purpose << "\n";
  out << "   you, at the pinpad and the manager: "
      << (rehearsed.operator_text.empty() ? "nothing to do but watch" : rehearsed.operator_text) << "\n";
  const std::vector<std::string> done = done_by_the_rehearsal(rehearsed);
  for (std::size_t i = 0; i < done.size(); ++i)
    out << (i == 0 ? "   the rehearsal itself " : ", ") << done[i] << (i + 1 == done.size() ? "\n" : "");
  for (const GivenFile& given : rehearsed.given)
    if (given.path.rfind("host:", 0) != 0)
      out << "   it first writes " << given.path << " (into the manager's folder)\n";
  if (!options.operator_in) return;
  out << "   press Enter when ready... " << std::flush;
  std::string line;
  std::getline(*options.operator_in, line);
}

// A rough guess of a case's length, so that the long ones start first and
// the others fill in beside them: the package's pauses per step, the
// scenario's delays, a manager that is not running (15 s per activity check).
double estimated_seconds(const Case& rehearsed) {
  double seconds = 0;
  for (const Step& step : rehearsed.steps) {
    seconds += step.action == "sale" ? 2.0 * static_cast<double>(step.payments.size()) : 2.0;
    seconds += step.milliseconds / 1000.0;
    for (const bool answer : step.answers) seconds += answer ? 5 : 0; // a reprint waits 5 s
  }
  if (!rehearsed.stopped.empty()) seconds += 16;
  for (const auto& [root, scenario] : rehearsed.manager) {
    for (const char* word : {"delay ", "torn "})
      for (std::size_t at = scenario.find(word); at != std::string::npos; at = scenario.find(word, at + 1))
        seconds += std::atof(scenario.c_str() + at + std::strlen(word)) / 1000.0;
  }
  return seconds;
}

} // namespace

std::vector<CaseRecord> RunCases(const Book& book, const std::vector<int>& selected,
                                 const RunOptions& options) {
  std::vector<CaseRecord> records(selected.size());
  std::mutex done;
  const auto run_one = [&](std::size_t slot) {
    const int index = selected[slot];
    CaseRecord record = RunCase(book, index, options);
    const std::lock_guard<std::mutex> lock(done);
    records[slot] = std::move(record);
    if (options.on_case_done) options.on_case_done(records[slot]);
  };

  if (options.attended || options.jobs <= 1 || selected.size() <= 1) {
    for (std::size_t slot = 0; slot < selected.size(); ++slot) {
      if (options.attended) brief_operator(book.cases[static_cast<std::size_t>(selected[slot])], options);
      run_one(slot);
    }
    return records;
  }
  // The cases wait on the package's pauses and the manager, not on the
  // processor: several run at once, each in its own folders.
  std::vector<std::size_t> order(selected.size());
  for (std::size_t slot = 0; slot < order.size(); ++slot) order[slot] = slot;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return estimated_seconds(book.cases[static_cast<std::size_t>(selected[a])]) >
           estimated_seconds(book.cases[static_cast<std::size_t>(selected[b])]);
  });
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> workers;
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(options.jobs), selected.size());
  for (std::size_t w = 0; w < count; ++w)
    workers.emplace_back([&] {
      for (std::size_t at = next++; at < order.size() && !tool_platform::stop_requested(); at = next++)
        run_one(order[at]);
    });
  for (std::thread& worker : workers) worker.join();
  return records;
}

} // namespace rehearsal

// A simulated TEF manager serving one exchange root. It never sleeps: the
// caller polls it (tefsim's loop in real time, a test's virtual clock in
// virtual time), and every delay is a due time on the clock seam.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "tefsim/answers.h"
#include "tefsim/scenario.h"

namespace tefsim {

// What the managers of one run share: the scenario, the count of requests
// per operation (over every root), the document numbers handed out, and the
// transactions approved, so that a confirmation can be traced to its sale.
class Simulation {
public:
  explicit Simulation(Scenario scenario = {}) : scenario_(std::move(scenario)) {}

  const Scenario& scenario() const { return scenario_; }
  // Folder (native path) that receives a copy of every request taken.
  void keep_requests_in(std::string folder) { keep_folder_ = std::move(folder); }
  const std::string& kept_requests_folder() const { return keep_folder_; }
  // Folder (native path) that receives a copy of every file written, each
  // piece of a torn write on its own.
  void keep_written_in(std::string folder) { keep_written_folder_ = std::move(folder); }
  const std::string& kept_written_folder() const { return keep_written_folder_; }
  // The turn (from 1) of the next request of `operation`.
  unsigned next_turn(const std::string& operation) { return ++turns_[operation]; }
  // "000001", "000002", ...
  std::string next_document();

  void record_approval(const std::string& network, const std::string& document, std::string description);
  // How this run approved that transaction, or empty when it did not.
  std::string approval(const std::string& network, const std::string& document) const;

private:
  Scenario scenario_;
  std::string keep_folder_;
  std::string keep_written_folder_;
  std::map<std::string, unsigned> turns_;
  unsigned documents_ = 0;
  std::map<std::pair<std::string, std::string>, std::string> approvals_;
};

class Manager {
public:
  using Log = std::function<void(const std::string& line)>;

  // `root` is an exchange root with its trailing backslash ("c:\tef_dial\").
  // Every log line starts with the root.
  Manager(std::string root, Simulation& simulation, Log log);

  // Creates the request and response directories. Throws zul00500::FileError.
  void prepare();

  // One cycle: notes the files the package took away, writes what is due,
  // and takes a new request when nothing is left to write. Never throws: a
  // failing file operation is logged (once while it keeps failing).
  void poll();

  // Nothing left to write for the request taken last.
  bool idle() const { return plan_.empty(); }
  const std::string& root() const { return root_; }

private:
  void notice_pickups();
  void take_request();
  void run_due_steps();
  void write(const Step& step);
  void keep_written(const Step& step, const std::string& bytes);
  void log_confirmation(const std::string& operation, const zul00500::StringList& request);
  void log(const std::string& event);

  std::string root_;
  Simulation& simulation_;
  Log log_;

  std::string label_;             // "ATV#2": the request being answered
  unsigned writes_ = 0;           // files written for it so far
  std::deque<Step> plan_;         // what is left to write for it
  std::int64_t last_step_ms_ = 0; // when the previous step was done
  std::set<std::string> written_; // files written that are still there
  std::string last_error_;
};

} // namespace tefsim

#include "rehearsal/case_run.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>
#include <utility>

#include "rehearsal/evidence.h"
#include "rehearsal/judge.h"
#include "rehearsal/manager_watch.h"
#include "rehearsal/plan.h"
#include "rehearsal/text.h"
#include "tool_platform/error.h"
#include "tool_platform/files.h"
#include "tool_platform/signals.h"
#include "tool_platform/spawn.h"
#include "zulpos/session.h"

namespace rehearsal {

namespace {

namespace fs = std::filesystem;
using tool_platform::ChildProcess;

constexpr std::uint32_t kPollMs = 20;
// tefsim's start, under wine too.
constexpr std::int64_t kReadyLimitMs = 30'000;
// After a kill, what the manager had taken it finishes writing.
constexpr std::uint32_t kSettleMs = 300;
constexpr std::uint32_t kStopLimitMs = 5000;

std::string join(const fs::path& folder, const std::string& name) { return (folder / name).string(); }

bool file_has(const std::string& path, const std::string& text) {
  std::error_code error;
  return fs::is_regular_file(path, error) && tool_platform::read_file(path).find(text) != std::string::npos;
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

// One case from its folders to its record.
class CaseRun {
public:
  CaseRun(const Book& book, int index, const RunOptions& options)
      : case_(book.cases.at(static_cast<std::size_t>(index))), options_(options),
        folder_(fs::path(options.work_dir) / CaseFolderName(index, case_.name)),
        drive_root_(options.attended ? options.drive_root : join(folder_, "drive")),
        // Simulated, inside the drive root: a Windows path outside it would
        // be moved under it by the package (c:\ is DRIVE_ROOT\c).
        host_dir_(options.attended ? join(folder_, "host") : join(fs::path(drive_root_), "host")),
        package_host_dir_(zulpos::WhereThePackageLooks(
            host_dir_, drive_root_.empty() ? std::nullopt : std::optional<std::string>(drive_root_))),
        events_path_(join(folder_, "host-events.tsv")), paper_path_(join(folder_, "paper.txt")),
        started_(std::chrono::steady_clock::now()), t0_(LocalMillisecondsOfDay()) {
    record_.index = index;
    record_.name = case_.name;
    record_.purpose = case_.purpose;
    record_.operator_text = case_.operator_text;
    record_.network_case = case_.network_case;
    std::error_code error;
    record_.folder = options.report_dir.empty() ? folder_.string()
                                                : fs::relative(fs::absolute(folder_, error),
                                                               fs::absolute(options.report_dir, error), error)
                                                      .generic_string();
    for (const Step& step : case_.steps) record_.steps.push_back(DescribeStep(step));
  }

  CaseRecord Run() {
    try {
      Prepare();
      if (!options_.attended) StartManagers();
      if (record_.problem.empty()) RunStarts();
    } catch (const std::exception& error) {
      record_.problem = "the run failed: " + std::string(error.what());
      record_.run_error = true;
    }
    StopManagers();
    record_.duration_ms = Elapsed();
    try {
      Gather();
    } catch (const std::exception& error) {
      if (record_.problem.empty()) {
        record_.problem = "its records cannot be read: " + std::string(error.what());
        record_.run_error = true;
      }
    }
    if (record_.timed_out) SayWhatWasWaiting();
    record_.marks = Judge(case_, record_, options_.attended);
    record_.passed = record_.problem.empty() &&
                     std::all_of(record_.marks.begin(), record_.marks.end(), [](const Mark& mark) {
                       return (mark.passed || mark.skipped) && !mark.premise_unmet;
                     });
    return record_;
  }

private:
  std::int64_t Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_)
        .count();
  }

  // Runner-side events, on the case's clock.
  TimelineEvent& Note(Lane lane, const std::string& kind, const std::string& text,
                      const std::string& detail = {}) {
    TimelineEvent event;
    event.ms = RelativeMs(LocalMillisecondsOfDay(), t0_);
    event.lane = lane;
    event.kind = kind;
    event.text = text;
    event.detail = detail;
    notes_.push_back(event);
    return notes_.back();
  }

  void Prepare() {
    std::error_code error;
    fs::remove_all(folder_, error);
    fs::create_directories(folder_);
    fs::create_directories(package_host_dir_);
    if (!options_.attended) {
      fs::create_directories(join(folder_, "manager"));
      for (const std::string& root : case_.roots) {
        fs::create_directories(NativeDrivePath(drive_root_, RootPath(root) + "req"));
        fs::create_directories(NativeDrivePath(drive_root_, RootPath(root) + "resp"));
      }
    }
    for (const GivenFile& given : case_.given) {
      std::string native;
      if (given.path.rfind("host:", 0) == 0) {
        native = package_host_dir_;
        for (const std::string& part : SplitPath(given.path.substr(5))) native = join(native, part);
      } else {
        native = NativeDrivePath(drive_root_, given.path);
      }
      fs::create_directories(fs::path(native).parent_path());
      tool_platform::write_file(native, given.bytes);
      Note(Lane::Host, "given", "before the start: " + given.path).is_file = true;
      notes_.back().file = given.path;
      notes_.back().bytes = given.bytes;
    }
  }

  static std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path + "\\") {
      if (c != '\\' && c != '/') part += c;
      else if (!part.empty()) parts.push_back(std::exchange(part, {}));
    }
    return parts;
  }

  // tefsim and the host stop by themselves once the lease is stale: nothing
  // outlives a rehearsal that was killed.
  void TouchLease() {
    const auto now = std::chrono::steady_clock::now();
    if (now < next_touch_) return;
    next_touch_ = now + std::chrono::seconds(1);
    std::error_code error;
    if (!fs::exists(lease_, error)) tool_platform::write_file(lease_, "");
    fs::last_write_time(lease_, fs::file_time_type::clock::now(), error);
  }

  void StartManagers() {
    TouchLease();
    for (const std::string& root : case_.roots) {
      if (std::find(case_.stopped.begin(), case_.stopped.end(), root) != case_.stopped.end()) {
        Note(Lane::Manager, "note", "no manager runs on " + RootPath(root));
        continue;
      }
      Manager manager;
      manager.root = root;
      manager.log = join(folder_, "manager/tefsim-" + root + ".log");
      manager.requests = join(folder_, "manager/" + root + "-requests");
      manager.written = join(folder_, "manager/" + root + "-written");
      fs::create_directories(manager.requests);
      fs::create_directories(manager.written);
      std::vector<std::string> arguments = {"--roots",         root,
                                            "--drive-root",    drive_root_,
                                            "--log",           manager.log,
                                            "--keep-requests", manager.requests,
                                            "--keep-written",  manager.written,
                                            "--poll-ms",       "20",
                                            "--lease",         lease_};
      if (const auto scenario = case_.manager.find(root); scenario != case_.manager.end()) {
        const std::string file = join(folder_, "manager/" + root + ".scenario");
        tool_platform::write_file(file, scenario->second);
        arguments.insert(arguments.end(), {"--scenario", file});
      }
      try {
        manager.process.emplace(tool_platform::spawn(options_.tefsim, arguments,
                                                     {join(folder_, "manager/tefsim-" + root + ".out")}));
      } catch (const tool_platform::Error& error) {
        record_.problem = "tefsim did not start: " + std::string(error.what());
        record_.run_error = true;
        return;
      }
      managers_.push_back(std::move(manager));
    }
    // Ready once each has said it serves its root.
    const auto deadline = Elapsed() + kReadyLimitMs;
    for (Manager& manager : managers_) {
      while (!file_has(manager.log, "tefsim: serving")) {
        TouchLease();
        if (const auto status = manager.process->wait_for(kPollMs)) {
          record_.problem = "tefsim for " + manager.root + " ended at once (exit status " +
                            std::to_string(*status) +
                            "): " + tool_platform::read_file_if_any(join(folder_, "manager/tefsim-" + manager.root + ".out"));
          record_.run_error = true;
          return;
        }
        if (Elapsed() > deadline) {
          record_.problem = "tefsim for " + manager.root + " did not get ready within 30 s";
          record_.run_error = true;
          return;
        }
      }
    }
  }

  void StopManagers() {
    for (Manager& manager : managers_) {
      if (!manager.process) continue;
      manager.process->terminate();
      if (!manager.process->wait_for(kStopLimitMs)) {
        manager.process->kill();
        manager.process->wait_for(kStopLimitMs);
      }
      manager.process.reset();
    }
  }

  void RunStarts() {
    std::optional<ManagerWatch> watch;
    if (options_.attended) {
      std::vector<std::string> roots;
      for (const std::string& root : case_.roots) roots.push_back(RootPath(root));
      watch.emplace(drive_root_, roots, join(folder_, "seen"), t0_);
    }
    int start = 0;
    for (const auto& [first, end] : HostStarts(case_)) {
      if (!RunStart(++start, first, end)) break;
    }
    if (watch) seen_ = watch->Stop();
  }

  // False when the case cannot go on.
  bool RunStart(int start, int first, int end) {
    HostPlan plan;
    plan.book = options_.book_path.empty() ? "" : fs::absolute(options_.book_path).string();
    plan.case_index = record_.index;
    plan.first_step = first;
    plan.end_step = end;
    plan.start = start;
    plan.host_dir = host_dir_;
    plan.drive_root = drive_root_;
    plan.events = events_path_;
    plan.paper = paper_path_;
    plan.lease = lease_;
    const std::string plan_path = join(folder_, "start-" + std::to_string(start) + ".plan.toml");
    WritePlan(plan, plan_path);
    std::vector<std::string> arguments;
    if (!options_.package.empty()) arguments = {"--package", options_.package};
    arguments.insert(arguments.end(), {"rehearse", "--host-part", plan_path});
    const std::string output = join(folder_, "start-" + std::to_string(start) + ".out");

    const std::size_t cuts_before = count_of(tool_platform::read_file_if_any(events_path_), "\thost\tpower-cut\t");
    ChildProcess host = tool_platform::spawn(options_.program, arguments, {output});
    const std::size_t span = notes_.size();
    Note(Lane::Host, "process", "host start " + std::to_string(start),
         "process " + std::to_string(host.id()));
    const std::int64_t limit = static_cast<std::int64_t>(case_.timeout_seconds) * 1000;
    for (;;) {
      TouchLease();
      if (const auto status = host.wait_for(kPollMs)) {
        notes_[span].end_ms = RelativeMs(LocalMillisecondsOfDay(), t0_);
        if (*status == 0 || *status == 1) {
          Note(Lane::Host, "exit", "the host ended", "exit status " + std::to_string(*status));
          return true;
        }
        record_.problem = "host start " + std::to_string(start) + " ended with exit status " +
                          std::to_string(*status) + ": " + ToCp1252(tool_platform::read_file_if_any(output));
        return false;
      }
      if (count_of(tool_platform::read_file_if_any(events_path_), "\thost\tpower-cut\t") > cuts_before) {
        host.kill();
        host.wait_for(kStopLimitMs);
        notes_[span].end_ms = RelativeMs(LocalMillisecondsOfDay(), t0_);
        Note(Lane::Host, "kill", "power cut: the host is killed");
        std::error_code error;
        record_.paper_cuts.push_back(fs::is_regular_file(paper_path_, error) ? fs::file_size(paper_path_)
                                                                             : 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
        return true;
      }
      if (tool_platform::stop_requested()) {
        host.kill();
        host.wait_for(kStopLimitMs);
        record_.problem = "interrupted: the host was killed";
        record_.not_run = true;
        record_.not_run_reason = "not run: the rehearsal was interrupted while this case ran";
        return false;
      }
      if (Elapsed() > limit) {
        host.kill();
        host.wait_for(kStopLimitMs);
        notes_[span].end_ms = RelativeMs(LocalMillisecondsOfDay(), t0_);
        Note(Lane::Host, "kill", "timeout: the host is killed",
             "the case did not finish within " + std::to_string(case_.timeout_seconds) + " s");
        record_.problem = "the case did not finish within " + std::to_string(case_.timeout_seconds) +
                          " s (its timeout): the host was killed";
        record_.timed_out = true;
        return false;
      }
    }
  }

  // A timeout names the routine that was called and still waiting when the
  // host was killed: what a certifier needs to tell a hung host from a
  // manager that never answered.
  void SayWhatWasWaiting() {
    const TimelineEvent* waiting = nullptr;
    for (const TimelineEvent& event : record_.events)
      if (event.kind == "call" && event.detail.find(kNeverReturned) != std::string::npos) waiting = &event;
    char at[32];
    if (waiting) {
      std::snprintf(at, sizeof at, "%.1f s", static_cast<double>(waiting->ms) / 1000);
      record_.problem = "timeout: " + ToUtf8(waiting->text) + " was called at " + at +
                        " and was still waiting when the host was killed at the case's " +
                        std::to_string(case_.timeout_seconds) + " s";
    } else {
      record_.problem = "timeout: the host was killed at the case's " +
                        std::to_string(case_.timeout_seconds) + " s, between routine calls";
    }
  }

  void Gather() {
    Evidence evidence(record_, t0_);
    evidence.AddEvents(notes_);
    evidence.ReadHostEvents(tool_platform::read_file_if_any(events_path_));
    if (options_.attended) evidence.UsePackageExchange();
    for (const GivenFile& given : case_.given) evidence.AddGiven(given);
    for (const Manager& manager : managers_)
      evidence.ReadManager(manager.root, tool_platform::read_file_if_any(manager.log), manager.requests, manager.written);
    if (options_.attended) evidence.AddSeen(seen_);
    evidence.ReadPaper(tool_platform::read_file_if_any(paper_path_));
    evidence.ReadCardLog(package_host_dir_);
    evidence.Finish(folder_.string());
  }

  struct Manager {
    std::string root, log, requests, written;
    std::optional<ChildProcess> process;
  };

  const Case& case_;
  const RunOptions& options_;
  fs::path folder_;
  std::string drive_root_, host_dir_;
  std::string package_host_dir_; // where the package keeps the host's files, card log included
  std::string events_path_, paper_path_;
  std::string lease_ = (folder_ / "lease").string();
  std::chrono::steady_clock::time_point next_touch_{};
  std::chrono::steady_clock::time_point started_;
  std::int64_t t0_;
  CaseRecord record_;
  std::vector<TimelineEvent> notes_;
  std::vector<Manager> managers_;
  std::vector<SeenFile> seen_;
};

} // namespace

std::string NativeDrivePath(const std::string& drive_root, const std::string& path) {
  if (drive_root.empty()) return path;
  fs::path native = fs::path(drive_root) /
                    std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(path.at(0)))));
  std::string part;
  for (const char c : path.substr(2) + "\\") {
    if (c != '\\') part += c;
    else if (!part.empty()) native /= std::exchange(part, {});
  }
  return native.string();
}

std::vector<std::pair<int, int>> HostStarts(const Case& rehearsed) {
  std::vector<std::pair<int, int>> starts;
  const int count = static_cast<int>(rehearsed.steps.size());
  int first = 0;
  for (int i = 0; i < count; ++i) {
    const Step& step = rehearsed.steps[static_cast<std::size_t>(i)];
    if (step.restart && i > first) {
      starts.emplace_back(first, i);
      first = i;
    }
    if (step.power_cut) {
      starts.emplace_back(first, i + 1);
      first = i + 1;
    }
  }
  if (first < count) starts.emplace_back(first, count);
  return starts;
}

CaseRecord RunCase(const Book& book, int index, const RunOptions& options) {
  return CaseRun(book, index, options).Run();
}

} // namespace rehearsal

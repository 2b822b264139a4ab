#include "tefsim/manager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "tool_platform/files.h"

namespace tefsim {

using zul00500::StringList;
namespace platform = zul00500::platform;

namespace {

constexpr const char* kRequestName = "req\\intpos.001";
// Written first and renamed into place, so the package never reads half a
// file. Not an "intpos.*" name: the package's scans list those.
constexpr const char* kTemporaryName = "resp\\tefsim.tmp";

std::int64_t now_ms() { return std::llround(platform::clock().now() * 86'400'000.0); }

} // namespace

std::string Simulation::next_document() {
  char text[16];
  std::snprintf(text, sizeof text, "%06u", ++documents_ % 1'000'000);
  return text;
}

void Simulation::record_approval(const std::string& network, const std::string& document,
                                 std::string description) {
  approvals_[{network, document}] = std::move(description);
}

std::string Simulation::approval(const std::string& network, const std::string& document) const {
  const auto found = approvals_.find({network, document});
  return found == approvals_.end() ? std::string() : found->second;
}

Manager::Manager(std::string root, Simulation& simulation, Log log)
    : root_(std::move(root)), simulation_(simulation), log_(std::move(log)) {}

void Manager::prepare() {
  platform::fs().create_directories(root_ + "req");
  platform::fs().create_directories(root_ + "resp");
}

void Manager::poll() {
  try {
    notice_pickups();
    run_due_steps();
    if (platform::fs().file_exists(root_ + kRequestName)) {
      // A manager waiting for the package to take an answer away gives up
      // when the package has moved on to a new request.
      if (!plan_.empty() && plan_.front().after_pickup) {
        log("gave up writing the " + plan_.front().what + ": a new request came first");
        plan_.clear();
      }
      if (plan_.empty()) {
        take_request();
        run_due_steps();
      }
    }
    last_error_.clear();
  } catch (const std::exception& e) {
    if (e.what() != last_error_) log(std::string("error: ") + e.what());
    last_error_ = e.what();
  }
}

void Manager::notice_pickups() {
  for (auto it = written_.begin(); it != written_.end();) {
    if (platform::fs().file_exists(root_ + *it)) {
      ++it;
      continue;
    }
    log(*it + " was taken away");
    it = written_.erase(it);
  }
}

void Manager::take_request() {
  platform::FileSystem& fs = platform::fs();
  const std::string bytes = fs.read_file(root_ + kRequestName);
  if (!fs.remove_file(root_ + kRequestName)) log("could not remove " + std::string(kRequestName));
  StringList request;
  request.SetText(bytes);

  const std::string operation = request.Field("000-000 ");
  const unsigned turn = simulation_.next_turn(operation);
  label_ = (operation.empty() ? "?" : operation) + "#" + std::to_string(turn);
  writes_ = 0;
  log("took " + std::string(kRequestName) + ": " + one_line(request));
  if (!simulation_.kept_requests_folder().empty()) {
    const std::string copy = simulation_.kept_requests_folder() + "/" +
                             (operation.empty() ? "?" : operation) + "-" + std::to_string(turn) + ".001";
    // A folder of the machine's own: the package's file system would move a
    // Windows path (C:\...) under the drive root.
    tool_platform::write_file(copy, bytes);
  }
  if (operation == "CNF" || operation == "NCN") log_confirmation(operation, request);

  const Behaviour behaviour = simulation_.scenario().behaviour_for(operation, turn);
  Transaction transaction;
  if (has_answer_file(operation)) {
    transaction.network = behaviour.network.empty() ? default_network(root_) : behaviour.network;
    transaction.document = simulation_.next_document();
    transaction.time = platform::clock().now();
  }
  const std::vector<Step> steps = plan_answer(request, behaviour, transaction);

  if (steps.empty()) log("silent: no answer");
  else if (steps.front().delay_ms > 0) log("status in " + std::to_string(steps.front().delay_ms) + " ms");
  const bool answered = !steps.empty() && steps.back().name == kAnswerName;
  if (answered && (behaviour.outcome == Outcome::Approve || behaviour.outcome == Outcome::ApproveNoReceipt)) {
    simulation_.record_approval(transaction.network, transaction.document,
                                label_ + " on " + root_ + ", 001-000 = " + request.Field("001-000 ") +
                                    ", 003-000 = " + request.Field("003-000 "));
  }
  plan_.assign(steps.begin(), steps.end());
  last_step_ms_ = now_ms();
}

void Manager::run_due_steps() {
  while (!plan_.empty()) {
    const Step& step = plan_.front();
    if (now_ms() < last_step_ms_ + step.delay_ms) return;
    if (step.after_pickup && written_.contains(step.name)) return;
    // Taken off the plan first: a write that fails is logged, not retried.
    const Step due = step;
    plan_.pop_front();
    last_step_ms_ = now_ms();
    write(due);
  }
}

void Manager::write(const Step& step) {
  platform::FileSystem& fs = platform::fs();
  if (step.piece != Piece::Whole) {
    // In place, as a manager that writes as it goes: the package may read
    // the first piece alone.
    const std::string bytes = step_bytes(step);
    const std::size_t cut = step.cut ? *step.cut : torn_cut(bytes);
    const std::string piece = step.piece == Piece::First ? bytes.substr(0, cut) : bytes.substr(cut);
    if (step.piece == Piece::First) fs.write_file(root_ + step.name, piece);
    else fs.append_file(root_ + step.name, piece);
    written_.insert(step.name);
    keep_written(step, piece);
    log("wrote " + step.name + " (" + step.what + ")");
    return;
  }
  const std::string bytes = step_bytes(step);
  try {
    fs.write_file(root_ + kTemporaryName, bytes);
  } catch (...) {
    fs.remove_file(root_ + kTemporaryName); // no half file left behind
    throw;
  }
  if (!fs.rename_file(root_ + kTemporaryName, root_ + step.name)) {
    fs.remove_file(root_ + kTemporaryName);
    log("could not write " + step.name + " (" + step.what + ")");
    return;
  }
  written_.insert(step.name);
  keep_written(step, bytes);
  log("wrote " + step.name + " (" + step.what + "): " + one_line(step.lines) +
      (step.bulk_mb ? " and " + std::to_string(step.bulk_mb) + " MB more" : std::string()));
}

// "CRT-1-2.001": the second file written for the request CRT#1, named after
// the extension of the file it went to.
void Manager::keep_written(const Step& step, const std::string& bytes) {
  ++writes_;
  const std::string& folder = simulation_.kept_written_folder();
  if (folder.empty()) return;
  std::string name = label_;
  std::replace(name.begin(), name.end(), '#', '-');
  name += "-" + std::to_string(writes_) + step.name.substr(step.name.rfind('.'));
  tool_platform::write_file(folder + "/" + name, bytes);
}

void Manager::log_confirmation(const std::string& operation, const StringList& request) {
  const std::string network = request.Field("010-000 ");
  const std::string document = request.Field("012-000 ");
  const std::string approval = simulation_.approval(network, document);
  log((operation == "CNF" ? "confirmed" : "not confirmed") + std::string(": network=") + network +
      " doc=" + document + " 027-000=" + request.Field("027-000 ") +
      (approval.empty() ? " (not approved in this run)" : " (approved as " + approval + ")"));
}

void Manager::log(const std::string& event) {
  if (log_) log_(root_ + " " + (label_.empty() ? std::string() : label_ + ": ") + event);
}

} // namespace tefsim

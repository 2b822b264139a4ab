// The judge: the invariants of docs/crash-consistency.md and docs/simulation.md,
// held against what the managers recorded, after every step and at the end
// of the day.
#include <algorithm>
#include <set>
#include <sstream>
#include <string_view>

#include "sim/sim_world.h"
#include "support/state.h"
#include "support/string_list.h"

namespace zul00500::sim {

namespace {
const char* const kAnswerDirectories[] = {"c:\\tef_dial\\resp\\", "c:\\tef_disc\\resp\\",
                                          "c:\\HiperTEF\\resp\\"};
} // namespace

// Written from the protocol, not taken from the package: TecBan's manager
// lives in c:\tef_disc\, Hipercard's in c:\HiperTEF\, every other
// network's in c:\tef_dial\.
std::string SimWorld::RootOf(const std::string& network) {
  if (network == "TECBAN") return "c:\\tef_disc\\";
  if (network == "HCard") return "c:\\HiperTEF\\";
  return "c:\\tef_dial\\";
}

bool SimWorld::PendingBeyondReach() const {
  std::string bytes;
  for (const std::string& path : disk_.FilesUnder(dsDirPenTef)) {
    if (!disk_.Peek(path, bytes)) continue;
    StringList copy;
    copy.SetText(bytes);
    const std::string network = copy.Field("010-000 ");
    const Approval* approval = ledger_.Find(copy.Field("012-000 "));
    const bool missing = std::none_of(managers_.begin(), managers_.end(),
                                      [&](const auto& m) { return m->Root() == RootOf(network); });
    if (missing || (approval && RootOf(approval->network) != approval->root)) return true;
  }
  return false;
}

// I9: a settlement or cancellation of a transaction whose manager named its
// own network goes to that manager, naming what it approved.
void SimWorld::JudgeRouting() {
  for (const Taken& taken : ledger_.taken) {
    // I2 as well: the package never offers a cancelled payment again. A
    // host that cancels a printed transaction again after a power cut hid
    // the outcome of its first try asks without knowing; the manager's
    // refusal is all that is due. The step is the one that wrote the
    // request, not the one during which the manager took it: a manager that
    // looks late takes the retry after the call gave up waiting (556249).
    const auto request = ledger_.cancel_requests.find(taken.sequence);
    const int asked = request != ledger_.cancel_requests.end() ? request->second : taken.step;
    const bool host_retry = asked >= 0 && static_cast<std::size_t>(asked) < history_.steps.size() &&
                            history_.steps[static_cast<std::size_t>(asked)].action == Action::Cancel;
    if (taken.again && !host_retry)
      Break("I2", taken.document + " was cancelled again after its cancellation was confirmed");
    const Approval* approval = ledger_.Find(taken.document);
    if (!approval || RootOf(approval->network) != approval->root) continue;
    if (taken.root != approval->root)
      Break("I9", taken.operation + " of " + taken.document + " went to " + taken.root + ", not to " +
                      approval->root + " that approved it");
    else if (taken.refused)
      Break("I9", taken.operation + " of " + taken.document + " named " + taken.network + ", approved as " +
                      approval->network);
  }
}

// I10: what a routine told the host agrees with how the transaction ends at
// its manager. A partial payment that DoTEF reported paid, and a
// cancellation that CancelaTEF reported done, are never undone ("NCN")
// afterwards: the host handed the goods over, or the refund, on that word;
// nor is a partial payment reported paid whose confirmation the call took
// back.
void SimWorld::JudgeToldHost() {
  for (const Approval& approval : ledger_.approvals) {
    if (!approval.receipt) continue;
    const auto request = ledger_.sale_requests.find(approval.sequence);
    int step = request != ledger_.sale_requests.end() ? request->second : -1;
    if (approval.operation == "CNC") {
      // The step whose cancellation asked for it, not the one during which
      // its answer came.
      const auto cancel = ledger_.cancel_requests.find(approval.sequence);
      step = cancel != ledger_.cancel_requests.end() ? cancel->second : approval.step;
    }
    if (step < 0 || static_cast<std::size_t>(step) >= outcomes_.size() ||
        static_cast<std::size_t>(step) >= history_.steps.size() ||
        outcomes_[static_cast<std::size_t>(step)] != Outcome::True)
      continue;
    const Action action = history_.steps[static_cast<std::size_t>(step)].action;
    const bool told_paid = approval.operation != "CNC" && action == Action::Pay &&
                           static_cast<std::size_t>(step) < step_partial_.size() &&
                           step_partial_[static_cast<std::size_t>(step)];
    const bool told_cancelled = approval.operation == "CNC" && action == Action::Cancel;
    const auto settled = ledger_.settled.find(approval.document);
    const bool undone = settled != ledger_.settled.end() && settled->second.second > 0;
    // A cancellation whose receipt did not print gets its "NCN" in the same
    // call (taken then, or taken back and sent again later), and
    // CancelaTEF's 1 says only that the manager answered (the header's
    // meaning, kept until the outcome codes tell it apart). One the package
    // first asked to undo at a later step was reported as standing.
    const auto undo = ledger_.undo_requested.find(approval.document);
    if (told_cancelled && undone && undo != ledger_.undo_requested.end() && undo->second == step) continue;
    // A partial payment whose confirmation the call took back does not
    // stand, whatever settles it later (a printing run may confirm it
    // again): reported paid, it was a word the manager did not hold.
    const auto withdrawn = ledger_.confirmation_withdrawn.find(approval.document);
    if (told_paid && withdrawn != ledger_.confirmation_withdrawn.end() && withdrawn->second == step)
      Break("I10", approval.operation + " " + approval.document +
                       " was reported to the host as paid at step " + std::to_string(step) +
                       ", and its confirmation was taken back in that call");
    if ((told_paid || told_cancelled) && undone)
      Break("I10", approval.operation + " " + approval.document + " was reported to the host as " +
                       (told_paid ? "paid" : "cancelled") + " at step " + std::to_string(step) +
                       ", and its manager undid it");
  }
}

// I7: every partial payment of a sale the host abandoned (no printing run
// was started for it) is cancelled or undone by the end of the day, unless
// its manager cannot be reached (its root missing, or a network that is not
// its manager's). A printing run settles the sale and empties the pending
// directory by design, even when it fails: that sale is the run's (I1).
void SimWorld::JudgeAbandoned() {
  for (const Approval& approval : ledger_.approvals) {
    if (!approval.receipt || !Partial(approval) || RootOf(approval.network) != approval.root) continue;
    const auto sale = ledger_.sale_of_request.find(approval.sequence);
    if (sale == ledger_.sale_of_request.end() || print_runs_.count(sale->second)) continue;
    const auto settled = ledger_.settled.find(approval.document);
    const bool undone = settled != ledger_.settled.end() && settled->second.second > 0;
    if (!undone && !Cancelled(approval.document))
      Break("I7", "partial payment " + approval.document +
                      " of an abandoned sale was neither cancelled nor undone");
  }
}

// I11: a receipt prints as its manager wrote it. A printed line that is a
// strict beginning of a receipt line of an approved answer is one the
// package read before the manager had written it whole.
void SimWorld::JudgeReceiptsWhole() {
  const auto unquoted = [](std::string_view text) {
    while (!text.empty() && (text.front() == '"' || text.front() == ' ')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == '"' || text.back() == ' ' || text.back() == '\r'))
      text.remove_suffix(1);
    return std::string(text);
  };
  std::set<std::string> receipt_lines;
  for (const Approval& approval : ledger_.approvals) {
    StringList answer;
    answer.SetText(approval.bytes);
    for (const std::string& line : answer.lines())
      if (line.starts_with("029-") && line.size() > 10) receipt_lines.insert(unquoted(line.substr(10)));
  }
  std::istringstream printed(host_.Printed());
  for (std::string line; std::getline(printed, line);) {
    const std::string text = unquoted(line);
    if (text.size() < 2 || receipt_lines.count(text)) continue;
    for (const std::string& whole : receipt_lines)
      if (whole.starts_with(text))
        return Break("I11", "the receipt line \"" + whole + "\" printed as \"" + text + "\"");
  }
}

void SimWorld::Break(const char* invariant, const std::string& why) {
  if (!violation_) violation_ = Violation{invariant, step_, why};
}

std::vector<std::string> SimWorld::DocumentsIn(const std::string& directory) const {
  std::vector<std::string> documents;
  std::string bytes;
  for (const std::string& path : disk_.FilesUnder(directory)) {
    if (!disk_.Peek(path, bytes)) continue;
    StringList file;
    file.SetText(bytes);
    if (std::string document = file.Field("012-000 "); !document.empty()) documents.push_back(document);
  }
  return documents;
}

// Byte for byte; an answer whose last line had no line end may be kept
// with one (the same lines).
bool SimWorld::KeptInQuarantine(const std::string& bytes) const {
  // A file past a MiB is kept cut there, with a note of its size beside it:
  // what a manager writes costs the till's disk no more.
  constexpr std::size_t kKeptAtMost = 1024 * 1024;
  std::string kept, note;
  const bool unended = !bytes.empty() && bytes.back() != '\n';
  for (const std::string& path : disk_.FilesUnder(dsDirBkpTef + "Descartados")) {
    if (!disk_.Peek(path, kept)) continue;
    if (kept == bytes || (unended && kept == bytes + "\r\n")) return true;
    if (bytes.size() > kKeptAtMost && kept.size() == kKeptAtMost &&
        bytes.compare(0, kKeptAtMost, kept) == 0 && disk_.Peek(path + ".tamanho", note) &&
        note.find(" " + std::to_string(bytes.size()) + " bytes") != std::string::npos)
      return true;
  }
  return false;
}

bool SimWorld::PendingCopyOf(const std::string& document) const {
  const std::vector<std::string> documents = DocumentsIn(dsDirPenTef);
  return std::find(documents.begin(), documents.end(), document) != documents.end();
}

bool SimWorld::Printed(const std::string& document) const {
  return host_.Printed().find("VIA " + document) != std::string::npos;
}

bool SimWorld::Cancelled(const std::string& document) const {
  return std::any_of(ledger_.approvals.begin(), ledger_.approvals.end(), [&](const Approval& a) {
    const auto settled = ledger_.settled.find(a.document);
    return a.operation == "CNC" && a.cancelled == document && settled != ledger_.settled.end() &&
           settled->second.first > 0;
  });
}

// A cancellation whose "CNF" still lies in its manager's request directory:
// a slow manager may take it yet, and the cancellation then goes through.
bool SimWorld::CancellationStillToBeTaken(const std::string& document) const {
  return std::any_of(ledger_.approvals.begin(), ledger_.approvals.end(), [&](const Approval& a) {
    if (a.operation != "CNC" || a.cancelled != document) return false;
    return std::any_of(managers_.begin(), managers_.end(), [&](const auto& m) {
      std::string bytes;
      if (!disk_.Peek(m->Root() + "req\\intpos.001", bytes)) return false;
      StringList request;
      request.SetText(bytes);
      return request.Field("000-000 ") == "CNF" && request.Field("012-000 ") == a.document;
    });
  });
}

// A cancellation prints the saved receipts of the sale's partial payments
// with its own, and prints before it confirms: such receipts say nothing of
// how the payment was settled.
bool SimWorld::CancellationAsked(const std::string& document) const {
  return std::any_of(ledger_.approvals.begin(), ledger_.approvals.end(),
                     [&](const Approval& a) { return a.operation == "CNC" && a.cancelled == document; });
}

bool SimWorld::Partial(const Approval& approval) const {
  const auto request = ledger_.sale_requests.find(approval.sequence);
  return approval.operation != "CNC" && request != ledger_.sale_requests.end() &&
         step_partial_[static_cast<std::size_t>(request->second)] != 0;
}

void SimWorld::SnapshotPending() {
  const std::vector<std::string> documents = DocumentsIn(dsDirPenTef);
  pending_at_end_ = std::set<std::string>(documents.begin(), documents.end());
}

// After each step: nothing settled twice (I2), no call hung (I6), and every
// partial payment confirmed at once still has its pending copy, unless it
// was printed or cancelled, or a printing run has run since (it empties the
// pending directory by design) (I1).
void SimWorld::JudgeStep(std::size_t index) {
  if (outcomes_[index] == Outcome::Hung)
    Break("I6", std::string(ActionName(history_.steps[index].action)) + " did not return within its bound");
  for (const auto& [document, counts] : ledger_.settled)
    if (!document.empty() && counts.first + counts.second > 1)
      Break("I2", document + " got " + std::to_string(counts.first) + " CNF and " +
                      std::to_string(counts.second) + " NCN");
  for (const Approval& approval : ledger_.approvals) {
    const auto settled = ledger_.settled.find(approval.document);
    if (!approval.receipt || !Partial(approval) || settled == ledger_.settled.end() ||
        settled->second.first == 0)
      continue;
    const int confirmed = confirmed_at_.emplace(approval.document, static_cast<int>(index)).first->second;
    const bool released = std::any_of(release_steps_.begin(), release_steps_.end(),
                                      [&](int step) { return step >= confirmed; });
    // A pending copy ended by a cancellation whose "CNF" a slow manager has
    // not taken yet is judged at the end of the day, when it has or has not.
    if (!released && !Printed(approval.document) && !Cancelled(approval.document) &&
        !CancellationStillToBeTaken(approval.document) && !PendingCopyOf(approval.document))
      Break("I1", "partial payment " + approval.document + " confirmed, then its pending copy lost");
  }
  JudgeRouting();
}

// At the end of the day, after the managers finished, a restart, a leftover
// scan and a last sale with healthy managers.
void SimWorld::JudgeDay() {
  std::vector<std::string> on_disk;
  for (const char* directory : kAnswerDirectories) {
    const std::vector<std::string> found = DocumentsIn(directory);
    on_disk.insert(on_disk.end(), found.begin(), found.end());
  }
  for (const std::string& directory : {dsDirBkpTef, dsDirPenTef}) {
    const std::vector<std::string> found = DocumentsIn(directory);
    on_disk.insert(on_disk.end(), found.begin(), found.end());
  }
  const auto there = [&](const std::string& document) {
    return std::find(on_disk.begin(), on_disk.end(), document) != on_disk.end();
  };

  for (const Approval& approval : ledger_.approvals) {
    if (!approval.receipt) continue;
    const auto found = ledger_.settled.find(approval.document);
    const int confirmed = found == ledger_.settled.end() ? 0 : found->second.first;
    const int undone = found == ledger_.settled.end() ? 0 : found->second.second;
    const std::string name = approval.operation + " " + approval.document + " (" + approval.root + ")";
    if (confirmed + undone == 0) {
      const std::string network_root = RootOf(approval.network);
      const bool reachable = std::any_of(managers_.begin(), managers_.end(),
                                         [&](const auto& m) { return m->Root() == network_root; });
      if (!reachable && KeptInQuarantine(approval.bytes)) continue;
      if (!there(approval.document) && !KeptInQuarantine(approval.bytes))
        Break("I3", "the answer of approved " + name + " was lost unsettled");
      else Break("I1", "approved " + name + " was never settled");
    } else if (confirmed + undone > 1) {
      Break("I2", name + " got " + std::to_string(confirmed) + " CNF and " + std::to_string(undone) + " NCN");
    } else if (undone && approval.operation != "CNC" && !CancellationAsked(approval.document) &&
               Printed(approval.document)) {
      Break("I1", "the receipt of " + name + " was printed, yet it got NCN");
    }
    if (approval.operation == "CNC") continue;
    const auto request = ledger_.sale_requests.find(approval.sequence);
    if (request == ledger_.sale_requests.end() || request->second >= static_cast<int>(outcomes_.size()))
      continue;
    const Outcome told = outcomes_[static_cast<std::size_t>(request->second)];
    const bool undone_since = (undone == 1 && confirmed == 0) || Cancelled(approval.document);
    if ((told == Outcome::False || told == Outcome::Error) && !undone_since)
      Break("I5", "the host was told " + std::string(told == Outcome::False ? "false" : "of an error") +
                      " at step " + std::to_string(request->second) + " while " + name + " stands");
  }
  for (const Approval& approval : ledger_.approvals) {
    const auto confirmed = confirmed_at_.find(approval.document);
    if (confirmed == confirmed_at_.end() || Printed(approval.document) || Cancelled(approval.document))
      continue;
    const bool released = std::any_of(release_steps_.begin(), release_steps_.end(),
                                      [&](int step) { return step >= confirmed->second; });
    if (!released && !pending_at_end_.count(approval.document))
      Break("I1", "partial payment " + approval.document + " confirmed, then its pending copy lost");
  }
  JudgeRouting();
  JudgeAbandoned();
  JudgeToldHost();
  JudgeReceiptsWhole();
  const auto found = ledger_.settled.find(final_document_);
  const bool confirmed_once =
      !final_document_.empty() && found != ledger_.settled.end() && found->second == std::make_pair(1, 0);
  if (final_pay_ != Outcome::True || final_print_ != Outcome::True || !confirmed_once)
    Break("I4", std::string("the last sale with a healthy manager: payment ") + OutcomeName(final_pay_) +
                    ", printing " + OutcomeName(final_print_) + ", document \"" + final_document_ + "\"");
}

} // namespace zul00500::sim

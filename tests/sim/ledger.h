// What the managers did, as the judge reads it, and the timeline that a
// replay prints.
#pragma once

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zul00500::sim {

// A transaction a manager approved.
struct Approval {
  std::string document;  // 012-000, unique in the day
  std::string operation; // "CRT", "CHQ" or "CNC"
  std::string root;      // the manager that approved it
  std::string network;   // 010-000 as written
  std::string sequence;  // the request's 001-000
  std::string cancelled; // "CNC": the document it cancels
  std::string bytes;     // the answer file, whole
  bool receipt = false;  // with receipt lines: it waits for "CNF" or "NCN"
  bool oversize = false; // past the package's limits
  int step = 0;          // the step during which the manager wrote it
};

// A settlement ("CNF", "NCN") or cancellation ("CNC") a manager took, with
// the document and network it names.
struct Taken {
  std::string operation;
  std::string document;
  std::string network;
  std::string root;     // the manager that took it
  bool refused = false; // it never approved that document with that network
  bool again = false;   // a cancellation of a document whose cancellation it confirmed already
  int step = 0;         // the step during which the manager took it
  std::string sequence; // the request's 001-000
};

struct Ledger {
  std::vector<Approval> approvals;
  std::vector<Taken> taken;
  // Settlements taken, per document: "CNF" and "NCN" counts.
  std::map<std::string, std::pair<int, int>> settled;
  // Sale requests placed by the package: sequence -> step that wrote it,
  // and sequence -> the host's sale it pays.
  std::map<std::string, int> sale_requests;
  std::map<std::string, int> sale_of_request;
  // Cancellation requests placed by the package: sequence -> step that
  // wrote it (its answer may come during a later step).
  std::map<std::string, int> cancel_requests;
  // Documents the package asked to undo ("NCN" placed), with the first step
  // that asked: the manager may take it only later.
  std::map<std::string, int> undo_requested;
  // Documents whose "CNF" the package took back from "req\\", with the
  // first step that did.
  std::map<std::string, int> confirmation_withdrawn;
  int requests_taken = 0;

  const Approval* Find(const std::string& document) const {
    for (const Approval& approval : approvals)
      if (approval.document == document) return &approval;
    return nullptr;
  }
};

// The readable history of one run: one line per event, with its virtual
// time. Off (and free) unless a replay asked for it.
class Timeline {
public:
  explicit Timeline(bool on) : on_(on) {}
  bool On() const { return on_; }
  void Line(std::int64_t ms, const std::string& who, const std::string& text) {
    if (!on_) return;
    out_ << Clock(ms) << "  " << who << std::string(who.size() < 13 ? 13 - who.size() : 1, ' ') << text
         << "\n";
  }
  void Raw(const std::string& text) {
    if (on_) out_ << text << "\n";
  }
  std::string Text() const { return out_.str(); }

private:
  static std::string Clock(std::int64_t ms) {
    char buffer[32];
    const long long h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, f = ms % 1000;
    std::snprintf(buffer, sizeof buffer, "+%02lld:%02lld:%02lld.%03lld", h, m, s, f);
    return buffer;
  }
  bool on_;
  std::ostringstream out_;
};

} // namespace zul00500::sim

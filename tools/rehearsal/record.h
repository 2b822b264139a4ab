// What a case's run left, put in order: the events on one clock, the
// requests the manager saw, the transactions and how they ended, the
// dialogs, the paper, the card log, and each expectation with its mark. The
// reports are drawn from it alone.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace rehearsal {

enum class Lane { Host, Package, Manager, Printer, Dialog };
inline constexpr Lane kLanes[] = {Lane::Host, Lane::Package, Lane::Manager, Lane::Printer, Lane::Dialog};
const char* LaneName(Lane lane);  // "host", "package", "manager", "printer", "dialog"
const char* LaneTitle(Lane lane); // "Host", "Package", "Manager's files", "Printer", "Dialogs"

// Texts are code page 1252 unless said otherwise.
struct TimelineEvent {
  std::int64_t ms = 0;      // since the case began
  std::int64_t end_ms = -1; // a span's end (a host process, a routine call); -1: a moment
  Lane lane = Lane::Host;
  std::string kind; // start, kill, exit, step, call, log, request, status, answer, taken, dialog, printer,
                    // power-cut, note
  std::string text;
  std::string detail;
  bool is_file = false;
  std::string file;  // its name, as the package sees it ("c:\tef_dial\resp\intpos.001")
  std::string bytes; // its content as written
};

// A request the manager took.
struct Operation {
  std::int64_t ms = 0;
  std::string root; // "dial"
  std::string code;
  std::map<std::string, std::string> fields; // trimmed values
};

// An approved transaction that must be confirmed or not confirmed. It is
// the answer's root and sequence (001-000) that tell two apart: managers
// repeat document numbers.
struct Transaction {
  int number = 0;
  std::string origin; // "CRT#1 on dial", or the given file's path
  std::string root;   // "dial"; "host" for a copy given under the host's directory
  std::string sequence;
  std::string operation, network, document, cents;
  std::string control;  // 027-000, which a confirmation repeats
  std::int64_t ms = -1; // when it was approved; -1 given before the start
  int confirmations = 0, non_confirmations = 0;
  // False when only the folder watch saw its answer: the package never read
  // it, so how it ended is not something the records can tell.
  bool observed = true;
  // "confirmed", "not confirmed", "open", "not observed", or "2 CNF, 1 NCN"
  // when settled more than once
  std::string Ending() const;
};

struct Dialog {
  std::string text;
  std::string answer; // "yes", "no", a network choice, or empty
  bool network = false;
};

// One expectation and how it fared.
struct Mark {
  std::string what;             // UTF-8
  std::string expected, actual; // UTF-8
  bool passed = false;
  bool skipped = false; // not checked (attended mode: decided by the manager)
  int line = 0;         // in the book; 0: implied
  // Not checked because what it needs was not observed (skipped too): never
  // held against the host.
  bool unobserved = false;
  // Attended: the real manager did not do what the case needs (approved a
  // payment the case needs refused); skipped too. The case shows nothing
  // then, and says so instead of blaming the host.
  bool premise_unmet = false;
};

struct CaseRecord {
  int index = 0;                            // in the book
  std::string name, purpose, operator_text; // UTF-8
  std::string folder;                       // relative to the report: "cases/01-approved-sale"
  std::vector<std::string> steps;           // the host's actions, described (UTF-8)
  bool passed = false;
  std::int64_t duration_ms = 0;
  std::string problem; // the run itself went wrong (UTF-8); the case fails

  std::vector<TimelineEvent> events; // by time
  std::vector<Operation> operations;
  std::vector<Transaction> transactions;
  std::vector<Dialog> dialogs;
  std::string paper;
  std::vector<std::size_t> paper_cuts; // where the paper stood at each power cut
  std::string card_log;
  std::vector<std::vector<std::string>> step_returns; // per step: "true", "false", "error"
  std::vector<int> cut_steps;                         // the steps a power cut stopped
  std::vector<Mark> marks;
  std::vector<std::string> raw_files; // relative to the report

  // The problem, the first mark of a premise not met, or the first failed
  // mark: one line.
  std::string FirstFailure() const;
  // The real manager did not do what the case needs (the run itself went
  // well): the other marks are shown, not held against the host.
  bool PremiseNotMet() const;
  // "PASS", "FAIL" or "PREMISE NOT MET".
  const char* Verdict() const;
};

struct BookRecord {
  std::string title, origin; // UTF-8
  bool attended = false;
  std::string started;  // local date and time, "2026-12-08 17:21:08"
  std::string versions; // "zulpos 0.1.0, package 0.1.0"
  std::int64_t duration_ms = 0;
  std::vector<CaseRecord> cases;
  int Passed() const;
  int PremisesNotMet() const;
};

} // namespace rehearsal

// What a case's run left, put in order: the events on one clock, the
// requests the manager saw, the transactions and how they ended, the
// dialogs, the paper, the card log, and each expectation with its mark. The
// reports are drawn from it alone.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rehearsal/book.h"

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
                    // printer-failed, power-cut, note
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

// What a case came to. Only Pass is a green pass: a case with nothing
// checked, or whose evidence was not all observed, is not one.
enum class Status {
  Pass,
  Fail,          // an expectation failed, or the run itself went wrong
  PremiseNotMet, // attended: the real manager did not do what the case needs
  NotObserved,   // nothing failed, but an expectation's evidence was not observed
  NoExpectation, // the case ran, but nothing of it was checked
  NotRun,        // left out with --case, or never finished: the run was interrupted
};
inline constexpr Status kStatuses[] = {Status::Pass,        Status::Fail,          Status::PremiseNotMet,
                                       Status::NotObserved, Status::NoExpectation, Status::NotRun};
// "PASS", "FAIL", "PREMISE NOT MET", "NOT OBSERVED", "NO EXPECTATION", "NOT RUN".
const char* StatusText(Status status);
// "pass", "fail", "premise_not_met", "not_observed", "no_expectation", "not_run":
// the JSON's and the page's word for it.
const char* StatusKey(Status status);
// "passed", "failed", "premise not met", "not observed", "with no
// expectation", "not run": the word after a count.
const char* StatusCounted(Status status);

struct CaseRecord {
  int index = 0;                            // in the book
  std::string name, purpose, operator_text; // UTF-8
  std::string folder;                       // relative to the report: "cases/01-approved-sale"
  std::vector<std::string> steps;           // the host's actions, described (UTF-8)
  bool passed = false;
  std::int64_t duration_ms = 0;
  std::string problem; // the run itself went wrong (UTF-8); the case fails
  // The host was killed at the case's timeout (the problem says what was
  // still waiting): an error of the run rather than a failed expectation.
  bool timed_out = false;
  // The rehearsal itself went wrong (tefsim did not start, the records
  // cannot be read): no verdict on the host.
  bool run_error = false;
  // Not run: left out with --case (`not_run_reason` says so), or the run
  // was interrupted before the case ended.
  bool not_run = false;
  std::string not_run_reason;
  std::string network_case; // the network's own number for the case (sign-off), UTF-8

  std::vector<TimelineEvent> events; // by time
  std::vector<Operation> operations;
  std::vector<Transaction> transactions;
  std::vector<Dialog> dialogs;
  std::string paper;
  std::vector<std::size_t> paper_cuts;     // where the paper stood at each power cut
  std::vector<std::size_t> paper_failures; // and at each printer call that failed
  std::string card_log;
  std::vector<std::vector<std::string>> step_returns; // per step: "true", "false", "error"
  std::vector<int> cut_steps;                         // the steps a power cut stopped
  std::vector<Mark> marks;
  std::vector<std::string> raw_files; // relative to the report

  // Why it is not a pass, in one line: why it did not run, the problem, the
  // first mark of a premise not met, the first failed mark, the first not
  // observed, or that nothing was checked. Empty for a pass.
  std::string FirstFailure() const;
  // The real manager did not do what the case needs (the run itself went
  // well): the other marks are shown, not held against the host.
  bool PremiseNotMet() const;
  Status status() const;
  // StatusText(status()).
  const char* Verdict() const;
};

// Who and what ran the book, for the certifier: the report's first facts.
struct Identity {
  std::string book_sha256;  // of the book's text as read
  std::string book_copy;    // the copy beside the report, relative to it; empty: none
  std::string package_path; // native, as given to the host's starts
  std::string package_version;
  std::string package_sha256; // of the library file; empty when it cannot be read
  std::string tools_version;  // zulpos's
  std::string machine;        // host name and system
  std::string started_iso;    // "2026-12-10T01:40:12+00:00": the date with its zone
};

struct BookRecord {
  std::string title, origin; // UTF-8
  bool attended = false;
  std::string started;  // local date and time, "2026-12-08 17:21:08"
  std::string versions; // "zulpos 0.1.0, package 0.1.0"
  std::int64_t duration_ms = 0;
  Identity identity;
  // The block the certifier signs: from the options, else the book's
  // [signoff]; empty ones are printed as lines to fill in.
  BookSignOff signoff;
  std::vector<CaseRecord> cases; // every case of the book, in its order; those not run say so
  int Passed() const;
  int PremisesNotMet() const;
  int Count(Status status) const;
  int Run() const; // the cases not NotRun
};

} // namespace rehearsal

// A rehearsal book: the cases an integrator runs to certify a point-of-sale
// host with the card networks. Each case is a short story: the managers'
// behaviour on each exchange root, the host's actions in order (with power
// cuts at named moments), and the evidence expected. docs/rehearsal.md
// describes the TOML form; book_reader.cpp reads it.
//
// Texts the package compares (dialogs, paper, card log, scenario lines) are
// held in code page 1252, as the package and the manager write them; names
// and purposes stay UTF-8.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace rehearsal {

// A mistake in a book: what() starts with "FILE line N: ".
class BookError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The exchange roots a case can install, by their short names.
inline constexpr const char* kRootNames[] = {"dial", "disc", "hiper"};
// "c:\tef_dial\" for "dial", and so on.
std::string RootPath(const std::string& name);

// Where the power fails during a step. The host is frozen at the first point
// it reaches after the moment (a wait's message pump, a dialog, a printer
// call, the step's end), then killed from outside.
struct Moment {
  enum class Kind {
    AfterAnswer, // the manager's answer to payment `number` was taken, before any CNF
    MidReceipt,  // receipt copy `number` has its first lines on paper
    DuringScan,  // a leftover's NCN is written, its acknowledgement not yet read
    AfterStep,   // the step's routine returned
    LogLine,     // the card log got `text` for the `number`-th time in this step
    PrinterCall, // the printer call `text` (NAME:N or #N) was made
    Dialog,      // the dialog whose text holds `text` is on screen
  };
  Kind kind = Kind::AfterStep;
  int number = 1;
  std::string text;  // code page 1252 for LogLine and Dialog
  std::string label; // as the book wrote it
};

// The printing run's choices and the printer's failures.
struct Printing {
  int printer_type = 0;
  std::string mode = "F";
  std::string copy = "S";
  std::string voucher1, voucher2, report1, report2, standard1, standard2; // code page 1252
  std::string printer_fail; // failure rules, as --printer-fail takes them
  bool cutter = true;       // Guilhotina assigned
};

// One host action, run through the package's C interface.
struct Step {
  int line = 0;       // where the book defines it
  std::string action; // sale, print, cancel, pending, scan, check, network, idle
  std::string note;   // UTF-8, shown in the report

  // sale
  std::vector<double> payments;
  std::optional<double> total;
  std::string kind = "C";
  // cancel
  std::string network, document, cents, sequence, field022, field023;
  bool print = true;
  // print, cancel, pending (print: default the sale's approvals with receipt; others 1)
  std::optional<int> transactions;
  std::optional<double> amount; // print: the amount paid by card (default: doValorTef)
  Printing printing;
  // network
  int printer_type = 0;
  // idle
  int milliseconds = 0;

  std::vector<bool> answers;         // yes/no questions, in order; then no
  std::optional<int> network_choice; // the network dialog: 1, 2, 3 or 9 (default 2)
  std::optional<Moment> power_cut;
  bool restart = false; // the host closes and starts again before this step
  // Expected routine results: one per payment for a sale, one otherwise.
  std::vector<bool> expect;
};

// A file that lies on the machine when the case starts (a leftover answer).
struct GivenFile {
  int line = 0;
  std::string path;  // "c:\tef_dial\resp\intpos.001" or "host:Dados\TefDisc\intpos.003"
  std::string bytes; // code page 1252, lines ended by CR LF
};

// One request the manager must see: "[ROOT: ]OP[ FIELD=VALUE]...".
struct ExpectedOperation {
  std::string root; // empty: any
  std::string code;
  std::map<std::string, std::string> fields; // "003-000" -> "10000", code page 1252
  std::string text;                          // as the book wrote it
};

// The evidence expected of a case; an unset list is not checked.
struct Expectations {
  std::optional<std::vector<ExpectedOperation>> operations; // exactly these, in order
  // Transactions (approved answers needing settlement, numbered from 1 in
  // order of appearance, leftovers given first) by how they end.
  std::optional<std::vector<int>> confirmed, not_confirmed, open;
  // Each a substring of a line, in this order (paper, dialogs, card log);
  // dialogs are exactly this many.
  std::optional<std::vector<std::string>> paper, dialogs, log;
  std::optional<std::vector<std::string>> paper_absent, log_absent; // on no line
  std::map<std::string, int> lines;                                 // "operations" -> its line in the book
};

struct Case {
  int line = 0;
  std::string name;                           // [a-z0-9-]
  std::string purpose;                        // one line, UTF-8
  std::string operator_text;                  // what the operator does at the pinpad (attended mode), UTF-8
  std::string network_case;                   // the network's own number for this case (sign-off), UTF-8
  std::vector<std::string> roots{"dial"};     // installed exchange roots
  std::vector<std::string> stopped;           // installed roots whose manager is not running
  std::map<std::string, std::string> manager; // root -> scenario text (code page 1252)
  std::map<std::string, int> manager_lines;   // root -> the book line of its scenario
  std::vector<GivenFile> given;
  std::vector<Step> steps;
  Expectations expect;
  int timeout_seconds = 120;
};

// The book's [signoff] table: who runs it, where, with what. UTF-8.
struct BookSignOff {
  std::string ran_by, store, pinpad, cards;
};

struct Book {
  std::string origin; // the file's path, or "built-in book"
  std::string title;  // UTF-8
  BookSignOff signoff;
  std::vector<Case> cases;
};

// Reads a book. `origin` names it in errors. Throws BookError naming the
// line for a TOML mistake, an unknown key, a bad value or a step that cannot
// run (a print with no sale before it in the same start).
Book ReadBook(const std::string& text, const std::string& origin);
// The standard script, built in (builtin_book.toml).
const std::string& BuiltinBookText();
Book BuiltinBook();

} // namespace rehearsal

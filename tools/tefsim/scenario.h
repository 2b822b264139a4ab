// What the simulated manager does with each request: a Behaviour, chosen per
// operation and per request in turn by the lines of a small scenario.
//
// Scenario format: one directive per line,
//
//   SELECTOR: DIRECTIVE [ARGUMENT]
//
// SELECTOR is an operation code the package sends ("ATV", "CRT", "CHQ",
// "CNC", "CNF", "NCN") or "*" for every operation, optionally followed by "#N" (or a blank and N) for the
// N-th request of that operation only, or "#N+" for the N-th and every later one. Requests are counted per
// operation over every root the simulator serves. The ARGUMENT is the rest of the line, blanks included.
// Empty lines and lines starting with "#" are ignored. Every matching line applies, in order, so a later line
// overrides an earlier one:
//
//   ATV: delay 300          every activity check acknowledged after 300 ms
//   ATV#2: silent           ... but the second one never
//   CNF#1+: wrong-header    no confirmation is ever acknowledged properly
//   CRT#1: refuse           the first card sale is refused
//
// The directives, with their help, are listed by directive_help().
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tefsim {

// How the status file ("resp\intpos.sts") is written.
enum class StatusKind {
  Echo,        // first line repeats the request's header
  WrongHeader, // the request's header followed by a blank
  Header,      // a given first line
  Empty,       // a file with no line at all
};

// What the answer file ("resp\intpos.001") of a sale or cancellation says.
enum class Outcome {
  Approve,          // 009-000 = 0 with receipt lines
  ApproveNoReceipt, // 009-000 = 0, 028-000 = 0
  Refuse,           // 009-000 other than 0, no receipt
  Error,            // the error answer "000-000 = XXX"
};

struct Behaviour {
  // Takes the request and writes nothing at all.
  bool silent = false;
  // Pause between taking the request and writing the status file.
  std::uint32_t delay_ms = 0;
  // Every file written in place in two pieces, this far apart; the first
  // piece ends in the middle of the first line. Unset: whole files.
  std::optional<std::uint32_t> torn_ms;
  // The answer file written in place by a slow writer: its first
  // pause_at_byte bytes, then, pause_ms later, the rest. Unset: whole.
  std::optional<std::uint32_t> pause_at_byte;
  std::uint32_t pause_ms = 0;
  StatusKind status = StatusKind::Echo;
  std::string status_header; // for StatusKind::Header

  // Answer file, for the operations that get one.
  bool answer_silent = false;
  std::uint32_t answer_delay_ms = 0; // after the status file
  Outcome outcome = Outcome::Approve;
  std::string network;      // 010-000; empty: the root's own network
  bool has_message = false; // 030-000 given, possibly empty
  std::string message;
  bool other_sequence_first = false;
  std::set<std::string> extra_blocks;        // count fields "710-000", "712-000", "714-000"
  std::map<std::string, std::string> fields; // field id -> value, replaced or added
  std::set<std::string> omitted;             // field ids left out
  std::map<int, std::string> lines;          // line number (from 1) -> raw text
  // Bytes added to the answer before its closing line, of a huge answer:
  // 'l' one receipt line, 's' short lines, 'f' bare line feeds; 0: none.
  char bulk_shape = 0;
  std::uint32_t bulk_mb = 0;

  bool operator==(const Behaviour&) const = default;
};

// A scenario line that cannot be understood; what() names where and why.
class ScenarioError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class Scenario {
public:
  // Adds every directive of `text`; `origin` names it in errors ("run.txt").
  // Throws ScenarioError naming the line; nothing is added then.
  void add_text(std::string_view text, const std::string& origin);
  // Adds one directive line. Throws ScenarioError.
  void add_line(std::string_view line, const std::string& origin = "option");

  // The behaviour for the `turn`-th request (from 1) of `operation`.
  Behaviour behaviour_for(std::string_view operation, unsigned turn) const;

  bool empty() const { return rules_.empty(); }

private:
  struct Rule {
    std::string operation; // "*" matches every operation
    unsigned first = 1;
    unsigned last = 0; // 0: no upper bound
    std::string directive;
    std::string argument;
  };
  static Rule parse(std::string_view line);

  std::vector<Rule> rules_;
};

// One line per directive: "silent                  take the request ...".
std::string directive_help();

} // namespace tefsim

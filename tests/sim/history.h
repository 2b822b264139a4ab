// One day at the till, as data: the machine, the host's actions with the
// faults that strike during each, and how the managers behave toward each
// request they take. A seed draws a history; the shrinker removes pieces of
// one; its text form is what a violation prints and what a fixed scenario
// test holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zul00500::sim {

enum class Action {
  Pay,           // DoTEF: a payment of the sale in progress, or of a new sale
  Print,         // ImprCupons of the sale in progress
  CancelPending, // CancelaPendencia of the sale in progress
  Cancel,        // CancelaTEF of a transaction printed earlier
  ChooseNetwork, // CheckDirTef
  Scan,          // CheckIntPosFiles, as a host does at its start
  Restart,       // the host closes and starts again (no fault)
  Idle,          // time passes, the managers act
  Night,         // the till closes for `amount` ms (hours), then starts again and scans
};

struct Fault {
  enum class Kind {
    None,
    Cut,          // the power goes at the package's `at`th file operation of the step
    DiskFull,     // from the `at`th write and the `at`th append of the step on
    Busy,         // another program holds file `target` for `ms`, unshared
    ReadOnly,     // directory `target` is made read-only for the step
    DialogFails,  // the host's `at`th dialog of the step fails (-1)
    PrinterFails, // the `at`th printer call of the step fails; with `torn`, every later one too
    Erase,        // another program deletes the files of directory `target` as the step begins;
                  // never drawn: a fault the package cannot survive, for the simulator's own tests
    Divert,       // another program moves each settlement placed during the step into root
                  // `target`'s request directory (never drawn, as Erase)
    Plant,        // another program puts a pending copy of a payment no manager approved into the
                  // pending directory as the step begins (never drawn, as Erase)
    Forget,       // the host drops its sale as the step begins and never cancels its payments
                  // (never drawn, as Erase)
  };
  Kind kind = Kind::None;
  int at = 0;
  bool torn = false; // Cut: the write cut there is torn; PrinterFails: for good
  int target = 0;
  int ms = 0;

  bool operator==(const Fault&) const = default;
};

struct Step {
  Action action = Action::Idle;
  int amount = 0;         // Pay: cents of this payment; Idle: milliseconds
  int total = 0;          // Pay: cents of a sale it opens
  char kind = 'C';        // Pay, ChooseNetwork: payment kind
  int choice = 0;         // Cancel: which printed transaction; Print: 1 for a second copy
  std::uint32_t seed = 0; // the host's answers and network buttons during the step
  Fault fault;
  // After a cut: the faults of each restart's leftover scan, deeper each time.
  std::vector<Fault> recovery;

  bool operator==(const Step&) const = default;
};

// What the protocol lets a manager do, whatever else it does: none of it is
// a fault, and a package must work with a manager that does all of it.
struct Manner {
  bool keep = false;        // leaves the request in "req\" (the next request overwrites it)
  bool unclosed = false;    // status and answer files without the closing "999-999 = 0"
  bool unended = false;     // their last line without a line end
  bool remove_late = false; // removes the request only once the status file is written

  Manner operator|(const Manner& o) const {
    return {keep || o.keep, unclosed || o.unclosed, unended || o.unended, remove_late || o.remove_late};
  }
  bool operator==(const Manner&) const = default;
};

// How a manager treats one request it takes.
struct Behaviour {
  // Early: as soon as it sees the request, before it takes it, a stale
  // status of its own with the request's header (naming another sequence
  // where the manager names sequences); EarlyOther: the same, naming
  // another sequence whatever the manager. Then it takes the request when
  // `take_ms` says, and writes no other status.
  enum class Status { Ack, Never, Empty, Torn, OtherSequence, WrongHeader, Early, EarlyOther };
  // TooManyLines and TooLarge approve, past the package's line or byte limit.
  enum class Answer { Approve, NoReceipt, Refuse, Error, Silent, BadCount, TooManyLines, TooLarge };
  enum class Network { Own, Tecban, Hcard, Other };

  bool lose = false; // deletes the request unread
  int take_ms = 0;   // waits this long before it looks at the request
  Status status = Status::Ack;
  int status_ms = 0; // after taking the request (past 15 s: a late acknowledgement)
  Answer answer = Answer::Approve;
  int answer_ms = 0; // after the status file
  Network network = Network::Own;
  int pieces = 1;         // above 1: each file is written in place, in that many pieces
  int pause_ms = 0;       // between two pieces
  std::uint32_t cuts = 0; // where the pieces end
  bool twice = false;     // the answer is written a second time once the first is gone
  // Another program puts a FIFO where the answer goes as the status file is
  // written; the manager writes its answer once that is gone (never drawn:
  // for the fixed scenarios).
  bool fifo = false;
  Manner manner; // for this request, on top of the manager's own manner

  // Nothing but what the protocol allows: the manner does not count.
  bool Healthy() const {
    Behaviour plain = *this;
    plain.manner = Manner{};
    return plain == Behaviour{};
  }
  bool operator==(const Behaviour&) const = default;
};

struct History {
  std::uint64_t seed = 0;
  unsigned roots = 7;  // bit 0: c:\tef_dial\, bit 1: c:\tef_disc\, bit 2: c:\HiperTEF\ is on the machine
  bool fiscal = false; // "F" mode on printer `printer`, or the standard printer
  int printer = 0;
  std::vector<Step> steps;
  // Indexed by the order in which the managers take requests; past its end,
  // and for a missing entry, a manager is healthy.
  std::vector<Behaviour> behaviours;
  // Each root's manager's own manner, for every request it takes (kept
  // when the managers turn healthy at the end of the day).
  Manner manners[3];

  bool operator==(const History&) const = default;
};

// The day that `seed` draws: `steps` host actions.
History Generate(std::uint64_t seed, int steps);

// The text form: one line for the machine, one per manager with a manner,
// one per step, one per behaviour other than the plain one. Parse reads it back (false with a reason on a bad
// line).
std::string Describe(const History& history);
bool Parse(const std::string& text, History& history, std::string& error);

const char* ActionName(Action action);
std::string FaultText(const Fault& fault);

} // namespace zul00500::sim

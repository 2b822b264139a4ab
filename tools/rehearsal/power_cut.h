// The host part's watch for a power cut's moment. The host tells it what it
// sees (new card log lines, dialogs, printer calls, routines returning); once
// the moment has come, the host freezes at the first point it reaches: it
// records the cut and stops there until the runner kills it. A frozen host
// never takes another step, so the cut lands exactly there however busy the
// machine is.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "rehearsal/book.h"
#include "rehearsal/host_events.h"

namespace virtual_printer {
struct PrinterCall;
}

namespace rehearsal {

class PowerCutWatch {
public:
  PowerCutWatch(EventJournal& events, std::string host_dir);

  // The moment of the step about to run (null: none). Card log lines written
  // before count no more.
  void Arm(const Moment* moment);

  // Records the card log's new lines: before an event of the host's, so that
  // what the package logged first comes first.
  void CatchUp() { ReadCardLog(); }

  // A point where the host may stop: a wait's message pump, a dialog, a
  // printer call, a routine's return. Reads the card log's new lines first.
  void Point();
  void Dialog(const std::string& text);
  void PrinterCall(const virtual_printer::PrinterCall& call);
  // Payment `index` (from 0) of a sale returned.
  void PaymentReturned(std::size_t index);
  void StepEnded();

  // Records the cut and stops the host for good.
  [[noreturn]] void Freeze();

private:
  void ReadCardLog();
  void Notice(const std::string& line);

  EventJournal& events_;
  std::string host_dir_;
  std::map<std::string, std::uintmax_t> log_read_; // card log file -> bytes already seen
  const Moment* moment_ = nullptr;
  bool due_ = false; // the moment has come: stop at the next point
  int occurrences_ = 0;
  // Printer sends of the step: receipt copies begun, trailers seen, calls made.
  int receipts_ = 0;
  bool in_trailer_ = true;
  std::map<std::string, std::uint64_t> calls_by_name_;
  std::uint64_t calls_ = 0;
};

} // namespace rehearsal

// One simulated day: a machine whose disk lives in memory, virtual time, a
// manager in each exchange root the history puts on the machine, the host,
// and the real package between them, over its seams. Run() plays a history
// step by step, strikes each step's fault, restarts after a power cut (and
// again after a cut during that recovery), and judges the invariants after
// every step and at the end of the day.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "sim/history.h"
#include "sim/ledger.h"
#include "sim/sim_host.h"
#include "sim/sim_manager.h"
#include "sim/watch_fs.h"
#include "support/crash_fs.h"
#include "support/faulty_fs.h"
#include "support/memory_fs.h"
#include "support/string_list.h"
#include "support/virtual_clock.h"

namespace zul00500::sim {

// The first invariant a day broke, and where.
struct Violation {
  std::string invariant; // "I1" ... "I9"
  int step = 0;          // the step after which it was found; the steps' count: at the end of the day
  std::string why;
};

struct DayResult {
  std::optional<Violation> violation;
  std::string timeline;     // with a replay only
  long long operations = 0; // file operations of the package
};

// Plays `history`; with `replay` the timeline is kept.
DayResult RunDay(const History& history, bool replay);

// What a step's call to the package ended with.
enum class Outcome { True, False, Error, Cut, Hung, Skipped };
const char* OutcomeName(Outcome outcome);

class SimWorld {
public:
  SimWorld(const History& history, bool replay);
  ~SimWorld();
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;

  DayResult Run();

private:
  // --- the day (sim_world.cpp) -----------------------------------------------
  void Play(std::size_t index, const Step& step);
  Outcome Call(const Step& step);
  Outcome Pay(const Step& step);
  Outcome Print(const Step& step);
  Outcome CancelPending(const Step& step);
  void EndPendingOfAnotherSale();
  Outcome Cancel(const Step& step);
  void Strike(const Fault& fault);
  void Heal();
  // After a cut: restarts, and restarts again while the leftover scan of the
  // restart is cut in turn by the step's recovery faults.
  void Recover(const std::vector<Fault>& recovery);
  void Restart();
  void PassTime(std::int64_t ms);
  void EndOfDay();
  void OnRequestPlaced(const std::string& path);
  // Nothing amiss for a call: no fault in the step, no file held, every
  // manager idle before it, and every request it took handled healthily.
  bool Calm(const Step& step, bool calm_before, std::size_t drawn_before) const;
  // No file held, and no manager with anything to do.
  bool Quiet() const;
  std::int64_t Now() const { return clock_.elapsed_ms(); }
  void Say(const std::string& who, const std::string& text) { timeline_.Line(Now(), who, text); }

  // --- the judge (sim_judge.cpp) ---------------------------------------------
  void JudgeStep(std::size_t index);
  void JudgeDay();
  void Break(const char* invariant, const std::string& why);
  // Documents of the answers in the response, backup, pending directories.
  std::vector<std::string> DocumentsIn(const std::string& directory) const;
  bool KeptInQuarantine(const std::string& bytes) const;
  bool PendingCopyOf(const std::string& document) const;
  bool Printed(const std::string& document) const;
  bool Cancelled(const std::string& document) const;
  bool CancellationStillToBeTaken(const std::string& document) const;
  bool CancellationAsked(const std::string& document) const;
  bool Partial(const Approval& approval) const;
  void SnapshotPending();
  // A pending payment the package cannot cancel: its network's root is
  // missing, or its network is not its manager's (that root refuses it).
  bool PendingBeyondReach() const;
  // The judge's own table: the root where a network's manager lives.
  static std::string RootOf(const std::string& network);
  void JudgeRouting();
  void JudgeAbandoned();
  void JudgeToldHost();
  void JudgeReceiptsWhole();

  History history_;
  Timeline timeline_;
  Ledger ledger_;
  testing::VirtualClock clock_;
  platform::ScopedClock scoped_clock_;
  testing::MemoryFs disk_;
  testing::FaultyFs faulty_;
  testing::CrashFs crash_;
  WatchFs watch_;
  platform::ScopedFileSystem scoped_fs_;
  SimHost host_;
  std::vector<std::unique_ptr<SimManager>> managers_;
  std::size_t next_behaviour_ = 0;
  std::vector<std::string> held_; // files another program holds

  // The host's own memory of the day.
  struct Sale {
    bool open = false;
    std::int64_t due = 0; // cents
    std::int32_t transactions = 0;
    std::shared_ptr<StringList> receipts;
    int id = 0;
  };
  Sale sale_;
  int sales_ = 0;
  std::set<int> print_runs_;        // sales a printing run was started for, whatever it returned
  int divert_ = -1;                 // a Divert fault's root for the step
  std::int32_t abandoned_ = 0;      // payments of a sale a restart cut short
  std::vector<StringList> printed_; // answers of the transactions printed, for a cancellation
  std::vector<int> step_partial_;   // per step: 1 when its payment left part of the sale unpaid
  std::vector<Outcome> outcomes_;
  std::map<std::string, int> confirmed_at_; // partial payment's document -> step of its "CNF"
  std::vector<int> release_steps_;          // steps that ran a printing run or a pending cancellation
  int step_ = 0;
  std::int64_t call_start_ = 0;
  std::int64_t call_bound_ = 0;
  bool hung_ = false; // the running call outlived its bound, whatever caught that
  bool ending_ = false;
  Outcome final_pay_ = Outcome::Skipped;
  Outcome final_print_ = Outcome::Skipped;
  std::string final_document_;
  std::set<std::string> pending_at_end_;
  std::optional<Violation> violation_;
};

} // namespace zul00500::sim

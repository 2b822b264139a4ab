// One machine for the crash harness: a temporary drive, virtual time, a
// scripted manager in each exchange root that records every request and
// every transaction it approved, and a package whose file system loses its
// power at a chosen operation. After the cut the package restarts on the
// same disk, with the same managers, and the invariants are judged from
// what the managers saw.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/crash_fs.h"
#include "support/fake_manager.h"
#include "support/scripted_chooser.h"
#include "support/scripted_host.h"
#include "support/string_list.h"
#include "support/temp_world.h"
#include "support/virtual_clock.h"
#include "tef/form.h"

namespace zul00500::testing {

// A transaction the managers approved.
struct Approval {
  std::string document;  // 012-000, one per approval
  std::string operation; // "CRT" or "CNC"
  bool partial = false;  // a payment that left part of the sale unpaid
  std::string cancelled; // for "CNC": the document it cancels
};

// Which invariants one run kept, and why not.
struct Verdict {
  bool i1 = true, i2 = true, i3 = true, i4 = true;
  std::string why;
  bool all() const { return i1 && i2 && i3 && i4; }
};

class CrashWorld {
public:
  CrashWorld();
  ~CrashWorld();
  CrashWorld(const CrashWorld&) = delete;
  CrashWorld& operator=(const CrashWorld&) = delete;

  // --- what the scenarios do ------------------------------------------------
  // DoTEF by card; the receipts go to Receipts().
  bool Pay(double amount, double amountDue);
  // ImprCupons on the standard printer.
  bool Print(const StringList& receipts, int receiptCount, int transactionCount);
  bool CancelDocument(const std::string& document, const std::string& sequence);
  bool CancelPending(int transactionCount);
  bool ChooseNetwork();
  // Two approved answers that wait for one printing run, as two total
  // payments leave them: numbered backups, the second also in the manager's
  // response directory. Their receipts list.
  StringList TwoWaitingReceipts();
  // From now on every approval names `network` (010-000), whichever
  // manager makes it: "TECBAN" from c:\tef_dial\ is another root's network.
  void NameNetwork(const std::string& network) { network_ = network; }
  // An approved total payment that a stop cut short before its printing
  // run: its answer in c:\tef_dial\'s response directory and as a
  // numbered backup.
  void LeaveTotalPayment();
  // Every manager writes each status `polls` polls after it took the request.
  void AcknowledgeLate(int polls);
  // Run at the next start between the leftover scan and the new sale: what
  // the host does again after the stop (a pending cancellation retried).
  void AfterRestart(std::function<void(CrashWorld&)> step) { after_restart_ = std::move(step); }
  const StringList& Receipts() const { return *receipts_; }
  // The answer of approved document `document` as the manager wrote it.
  StringList AnswerOf(const std::string& document) const;

  // --- the run --------------------------------------------------------------
  CrashFs& Disk() { return crash_; }
  // Cuts the power at operation `at` (0: never) of what `action` does.
  void RunCut(long long at, bool tear, const std::function<void()>& action);
  // The next start: the power back, a fresh package state, the leftover
  // scan, then a new sale that must complete.
  void Restart();
  Verdict Judge() const;
  // True when the new sale was refused for the pending copies a cut sale
  // left, and the host undid them first.
  bool Refused() const { return refused_; }

private:
  FakeManager::AnswerMaker Approve();
  // The highest number of the pending copies a new sale is refused for.
  int HighestPendingNumber() const;
  // Documents of the answers in the managers' response directories, the
  // backup and pending directories, and the quarantine when asked.
  std::set<std::string> DocumentsOnDisk(bool withQuarantine) const;
  std::map<std::string, std::pair<int, int>> Settlements() const; // document -> (CNF, NCN)

  TempWorld temp_;
  VirtualClock clock_;
  platform::ScopedClock scoped_clock_;
  std::shared_ptr<ScriptedHostServices> host_;
  std::shared_ptr<ScriptedChooser> chooser_;
  CrashFs crash_;
  platform::ScopedFileSystem scoped_fs_;
  FakeManager dial_, disc_, hiper_;

  std::shared_ptr<StringList> receipts_ = std::make_shared<StringList>();
  std::int32_t transaction_ = 0;
  bool paying_partial_ = false;
  std::string network_ = "REDEY";
  std::string printed_;
  std::vector<Approval> approvals_;
  std::map<std::string, StringList> answers_;
  std::set<std::string> on_disk_at_cut_;
  std::set<std::string> on_disk_after_scan_;
  std::set<std::string> pending_after_scan_;
  std::set<std::string> pending_at_end_;
  bool scan_done_ = false;
  bool sale_ok_ = false;
  bool refused_ = false;
  std::vector<std::string> sale_documents_;
  std::function<void(CrashWorld&)> after_restart_;
  std::string sale_failure_;
};

} // namespace zul00500::testing

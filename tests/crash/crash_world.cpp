#include "crash/crash_world.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "cancellation/cancellation.h"
#include "platform/message_pump.h"
#include "platform/regional.h"
#include "printing/printing.h"
#include "support/host_services.h"
#include "support/package_reset.h"
#include "support/printer_stubs.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/form.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/pending_sale.h"
#include "tef/sale.h"

namespace zul00500::testing {

namespace {

// A wait that never ends is a fault of its own, not a hang of the harness.
constexpr std::int64_t kGiveUpMs = 10LL * 60 * 60 * 1000;

platform::FileSystem& disk() { return platform::native_fs(); }

} // namespace

CrashWorld::CrashWorld()
    : scoped_clock_(clock_), host_(std::make_shared<ScriptedHostServices>()),
      chooser_(std::make_shared<ScriptedChooser>(std::vector<std::string>(64, "btnOutros"))),
      scoped_fs_(crash_), dial_(kRootTefDial, &disk()), disc_(kRootTefDisc, &disk()),
      hiper_(kRootHiperTef, &disk()) {
  SetHostServices(host_);
  SetNetworkChooser(chooser_);
  platform::set_regional(platform::RegionalSettings{});
  platform::set_message_hook([](bool) {});
  AnswerEveryPrinterCall(&printed_);
  ResetPackageVariables();
  Initialize();
  disk().create_directories(dsDirTef);
  disk().create_directories(dsDirPenTef);
  for (FakeManager* manager : {&dial_, &disc_, &hiper_}) {
    manager->AnswerEachRequestOnce();
    for (int i = 0; i < 16; ++i) manager->QueueAnswer(Approve());
  }
  clock_.every_sleep([this] {
    if (crash_.Cut()) throw PowerCut{};
    dial_.Poll();
    disc_.Poll();
    hiper_.Poll();
  });
  clock_.at(kGiveUpMs, [] { throw std::runtime_error("still waiting after ten hours of virtual time"); });
}

CrashWorld::~CrashWorld() {
  crash_.PowerOn();
  Finalize();
  ResetPackageVariables();
  ClearPrinterProcedures();
  platform::set_message_hook({});
  platform::reset_regional();
  SetNetworkChooser(nullptr);
  SetHostServices(nullptr);
}

FakeManager::AnswerMaker CrashWorld::Approve() {
  return [this](const StringList& request) {
    const std::string operation = request.Field("000-000 ");
    std::string document = "D";
    document += AjustaZero(std::to_string(approvals_.size() + 1), 5);
    approvals_.push_back({document, operation, operation == "CRT" && paying_partial_,
                          operation == "CNC" ? request.Field("012-000 ") : std::string()});
    StringList answer{"000-000 = " + operation,
                      "001-000 = " + request.Field("001-000 "),
                      "003-000 = " + request.Field("003-000 "),
                      "009-000 = 0",
                      "010-000 = " + network_,
                      "012-000 = " + document,
                      "022-000 = 07122026",
                      "023-000 = 080000",
                      "027-000 = 000000000000" + document + "XYZ",
                      "028-000 = 2",
                      "029-001 = \"VIA " + document + "\"",
                      "029-002 = \"APROVADA\"",
                      "999-999 = 0"};
    answers_[document] = answer;
    return answer;
  };
}

bool CrashWorld::Pay(double amount, double amountDue) {
  paying_partial_ = Trunc2(amountDue - amount) > 0;
  std::int32_t approved = 0;
  double extra = 0;
  std::string document, field748, field013, field027;
  return DoTEF("ctx", amount, amountDue, "C", receipts_, approved, transaction_, extra, document, field748,
               field013, field027) &&
         approved == 1;
}

bool CrashWorld::Print(const StringList& receipts, int receiptCount, int transactionCount) {
  return ImprCupons(receipts, receiptCount, transactionCount, 0, "", "", "ctx", "", "", "N", "N", "std2",
                    "std1", 0.0);
}

bool CrashWorld::CancelDocument(const std::string& document, const std::string& sequence) {
  const StringList answer = AnswerOf(document);
  return CancelaTEF("", "", "ctx", "N", 1, 1, 0, sequence, "", answer.Field("003-000 "), "REDEY", document,
                    answer.Field("022-000 "), answer.Field("023-000 "), "N", "std2", "std1", true);
}

bool CrashWorld::CancelPending(int transactionCount) {
  return CancelaPendencia("", "", "ctx", "", transactionCount, 0, "N", "std2", "std1");
}

bool CrashWorld::ChooseNetwork() { return CheckDirTef(DirTef, "D", 0); }

StringList CrashWorld::TwoWaitingReceipts() {
  const FakeManager::AnswerMaker approve = Approve();
  paying_partial_ = false;
  StringList receipts;
  for (int n = 1; n <= 2; ++n) {
    const StringList answer = approve(
        {"000-000 = CRT", "001-000 = 000000000" + std::to_string(n), "003-000 = 2500", "999-999 = 0"});
    disk().write_file(dsDirBkpTef + "intpos." + Ajusta(std::to_string(n), 3), answer.Text());
    if (n == 2) disk().write_file(std::string(kRootTefDial) + "resp\\intpos.001", answer.Text());
    receipts.Add(std::to_string(n));
    for (const std::string& line : answer.lines()) receipts.Add(line);
  }
  return receipts;
}

void CrashWorld::LeaveTotalPayment() {
  paying_partial_ = false;
  const StringList answer =
      Approve()({"000-000 = CRT", "001-000 = 0000000007", "003-000 = 1000", "999-999 = 0"});
  disk().write_file(dsDirBkpTef + "intpos.  1", answer.Text());
  disk().write_file(std::string(kRootTefDial) + "resp\\intpos.001", answer.Text());
}

void CrashWorld::AcknowledgeLate(int polls) {
  for (FakeManager* manager : {&dial_, &disc_, &hiper_}) manager->AcknowledgeLate(polls);
}

StringList CrashWorld::AnswerOf(const std::string& document) const {
  const auto found = answers_.find(document);
  return found == answers_.end() ? StringList() : found->second;
}

void CrashWorld::RunCut(long long at, bool tear, const std::function<void()>& action) {
  crash_.OnCut([this] { on_disk_at_cut_ = DocumentsOnDisk(false); });
  crash_.Arm(at, tear);
  try {
    action();
  } catch (...) {
    // What the dead process was doing when it died is of no account.
    if (!crash_.Cut()) throw;
  }
}

void CrashWorld::Restart() {
  crash_.PowerOn();
  Finalize();
  ResetPackageVariables();
  Initialize();
  try {
    CheckIntPosFiles("ctx", true);
  } catch (const std::exception& error) {
    sale_failure_ = std::string("scan: ") + error.what();
  }
  scan_done_ = true;
  on_disk_after_scan_ = DocumentsOnDisk(true);
  for (const std::string& name : disk().list(dsDirPenTef + "intpos.*")) {
    StringList copy;
    copy.SetText(disk().read_file(dsDirPenTef + name));
    pending_after_scan_.insert(copy.Field("012-000 "));
  }

  if (after_restart_) try {
      after_restart_(*this);
    } catch (const std::exception& error) {
      sale_failure_ += std::string(" after the restart: ") + error.what();
    }

  // The new sale is paid in two payments, as the one a cut may have
  // interrupted between its two: its first payment's pending copy takes the
  // first number. The host does as its guide says when the sale is refused
  // for the copies the interrupted sale left: it undoes them, and starts
  // again.
  receipts_ = std::make_shared<StringList>();
  transaction_ = 0;
  try {
    bool paid = false;
    try {
      paid = Pay(5, 10);
    } catch (const PendingSaleError&) {
      refused_ = true;
      CancelPending(HighestPendingNumber());
      paid = Pay(5, 10);
    }
    sale_documents_.push_back(receipts_->Field("012-000 "));
    paid = paid && Pay(5, 5);
    sale_documents_.push_back(receipts_->Field("012-000 "));
    const bool printed = paid && Print(*receipts_, 1, transaction_);
    sale_ok_ = paid && printed && !sale_documents_.back().empty();
    if (!sale_ok_) sale_failure_ += paid ? " printing failed" : " sale failed";
  } catch (const std::exception& error) {
    sale_failure_ += std::string(" error: ") + error.what();
  }
  for (const std::string& name : disk().list(dsDirPenTef + "intpos.*")) {
    StringList copy;
    copy.SetText(disk().read_file(dsDirPenTef + name));
    pending_at_end_.insert(copy.Field("012-000 "));
  }
}

int CrashWorld::HighestPendingNumber() const { return HighestCopyNumber(PendingCopiesOfAnotherSale(0)); }

std::set<std::string> CrashWorld::DocumentsOnDisk(bool withQuarantine) const {
  std::vector<std::string> directories = {dsDirBkpTef, dsDirPenTef};
  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef})
    directories.push_back(std::string(root) + "resp\\");
  std::set<std::string> documents;
  auto collect = [&](const std::string& directory, const std::string& pattern) {
    for (const std::string& name : disk().list(directory + pattern)) {
      if (!disk().file_exists(directory + name)) continue;
      StringList file;
      file.SetText(disk().read_file(directory + name));
      if (const std::string document = file.Field("012-000 "); !document.empty()) documents.insert(document);
    }
  };
  for (const std::string& directory : directories) collect(directory, "intpos.*");
  if (withQuarantine) collect(dsDirBkpTef + "Descartados\\", "*");
  return documents;
}

std::map<std::string, std::pair<int, int>> CrashWorld::Settlements() const {
  std::map<std::string, std::pair<int, int>> settled;
  for (const FakeManager* manager : {&dial_, &disc_, &hiper_})
    for (const StringList& request : manager->Requests()) {
      const std::string operation = request.Field("000-000 ");
      auto& [confirmed, undone] = settled[request.Field("012-000 ")];
      if (operation == "CNF") ++confirmed;
      if (operation == "NCN") ++undone;
    }
  return settled;
}

Verdict CrashWorld::Judge() const {
  Verdict verdict;
  auto settled = Settlements();
  auto fail = [&verdict](bool& invariant, const std::string& why) {
    invariant = false;
    verdict.why += (verdict.why.empty() ? "" : "; ") + why;
  };
  auto cancelled = [&](const std::string& document) {
    return std::any_of(approvals_.begin(), approvals_.end(), [&](const Approval& a) {
      return a.operation == "CNC" && a.cancelled == document && settled[a.document].first == 1;
    });
  };

  for (const Approval& approval : approvals_) {
    const auto [confirmed, undone] = settled[approval.document];
    const std::string name = approval.operation + " " + approval.document;
    if (confirmed + undone != 1) {
      fail(verdict.i1, name + " settled " + std::to_string(confirmed + undone) + " times");
    } else if (approval.partial && confirmed == 1 && !pending_after_scan_.count(approval.document) &&
               printed_.find("VIA " + approval.document) == std::string::npos &&
               !cancelled(approval.document)) {
      fail(verdict.i1, "partial payment " + approval.document + " confirmed, then its pending copy lost");
    } else if (approval.partial && confirmed == 1 && !pending_at_end_.count(approval.document) &&
               printed_.find("VIA " + approval.document) == std::string::npos &&
               !cancelled(approval.document)) {
      fail(verdict.i1, "partial payment " + approval.document +
                           " confirmed, then its pending copy lost to the next sale");
    }
  }
  for (const auto& [document, counts] : settled) {
    if (document.empty()) continue;
    const auto [confirmed, undone] = counts;
    if (confirmed > 1 || undone > 1 || (confirmed && undone))
      fail(verdict.i2,
           document + " got " + std::to_string(confirmed) + " CNF and " + std::to_string(undone) + " NCN");
  }
  for (const std::string& document : on_disk_at_cut_) {
    const auto [confirmed, undone] = settled[document];
    if (confirmed + undone == 0 && !on_disk_after_scan_.count(document))
      fail(verdict.i3, "answer " + document + " lost unsettled");
  }
  // A payment two confirmed cancellations undo is refunded twice.
  std::map<std::string, int> cancellations;
  for (const Approval& approval : approvals_)
    if (approval.operation == "CNC" && settled[approval.document].first == 1) ++cancellations[approval.cancelled];
  for (const auto& [document, count] : cancellations)
    if (count > 1) fail(verdict.i2, "payment " + document + " cancelled " + std::to_string(count) + " times");
  bool sale_settled = sale_documents_.size() == 2;
  for (const std::string& document : sale_documents_)
    sale_settled = sale_settled && settled[document] == std::make_pair(1, 0);
  if (!scan_done_ || !sale_ok_ || !sale_settled)
    fail(verdict.i4, "new sale " + (sale_documents_.empty() ? std::string() : sale_documents_.back()) + ":" +
                         sale_failure_);
  return verdict;
}

} // namespace zul00500::testing

#include "sim/sim_world.h"

#include <algorithm>

#include "cancellation/cancellation.h"
#include "platform/message_pump.h"
#include "platform/process.h"
#include "platform/regional.h"
#include "printing/printing.h"
#include "support/package_reset.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/pending_sale.h"
#include "tef/sale.h"

namespace zul00500::sim {

namespace {

// Thrown from a pause once a call has outlived its bound: the call is hung.
struct Hung {};

constexpr const char* kContext = "ctx";
constexpr const char* kHost = "c:\\pdv\\pdv.exe";
constexpr const char* kRoots[] = {"c:\\tef_dial\\", "c:\\tef_disc\\", "c:\\HiperTEF\\"};
constexpr char kLetters[] = {'A', 'B', 'C'};

// A call to the package ends within this much virtual time, or it is hung.
constexpr std::int64_t kCallBoundMs = 30LL * 60 * 1000;
constexpr std::int64_t kPendingBoundMs = 60LL * 60 * 1000;
// The system writes back what a program wrote this long after it wrote it.
constexpr std::int64_t kWritebackMs = 5000;
// How long the till stays dark after a power cut.
constexpr std::int64_t kDowntimeMs = 5000;
// The managers finish what they started within this much time at the end of
// the day.
constexpr std::int64_t kDrainMs = 4LL * 60 * 60 * 1000;

const char* const kBusyTargets[] = {"c:\\tef_dial\\resp\\intpos.001",
                                    "c:\\tef_dial\\resp\\intpos.sts",
                                    "c:\\tef_dial\\req\\intpos.001",
                                    "c:\\pdv\\Dados\\TefDisc\\intpos.001",
                                    "c:\\pdv\\Dados\\TefDisc\\Pendente\\intpos.1",
                                    "c:\\pdv\\LogTef1226.txt",
                                    "c:\\tef_disc\\resp\\intpos.001",
                                    "c:\\pdv\\Dados\\Cadastros\\DIRTEF.cds"};
// Both paths in the same exchange root.
bool SameRoot(const std::string& a, const std::string& b) {
  const std::size_t end = a.find('\\', 3);
  return end != std::string::npos && a.size() > end && b.size() > end &&
         std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(end), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

const char* const kReadOnlyTargets[] = {"c:\\pdv\\Dados\\TefDisc",
                                        "c:\\pdv\\Dados\\TefDisc\\Pendente",
                                        "c:\\tef_dial\\req",
                                        "c:\\tef_dial\\resp",
                                        "c:\\pdv",
                                        "c:\\pdv\\Dados\\Cadastros",
                                        "c:\\tef_disc\\req",
                                        "c:\\pdv\\Dados\\TefDisc\\Descartados"};

std::string Money(std::int64_t cents) {
  return std::to_string(cents / 100) + "." + (cents % 100 < 10 ? "0" : "") + std::to_string(cents % 100);
}

} // namespace

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
  case Outcome::True:
    return "true";
  case Outcome::False:
    return "false";
  case Outcome::Error:
    return "error";
  case Outcome::Cut:
    return "cut short by the power cut";
  case Outcome::Hung:
    return "hung";
  case Outcome::Skipped:
    return "nothing to do";
  }
  return "";
}

DayResult RunDay(const History& history, bool replay) { return SimWorld(history, replay).Run(); }

SimWorld::SimWorld(const History& history, bool replay)
    : history_(history), timeline_(replay), scoped_clock_(clock_), faulty_(disk_), crash_(faulty_),
      watch_(
          crash_, timeline_, [this] { return Now(); },
          [this](const std::string& path) { OnRequestPlaced(path); }),
      scoped_fs_(watch_), host_(
                              timeline_, [this] { return Now(); }, [this] { return crash_.Cut(); }) {
  faulty_.keep_calls(false);
  crash_.KeepOperations(false);
  crash_.PassFlushes(true);
  disk_.SetClock([this] { return Now(); }, kWritebackMs);
  platform::set_host_executable_path(kHost);
  platform::set_regional(platform::RegionalSettings{});
  platform::set_message_hook([](bool) {});
  testing::ResetPackageVariables();
  Initialize();
  disk_.create_directories(dsDirTef);
  disk_.create_directories(dsDirPenTef);
  for (int i = 0; i < 3; ++i) {
    if (!(history_.roots & (1u << i))) continue;
    managers_.push_back(std::make_unique<SimManager>(
        kRoots[i], kLetters[i], history_.manners[i], disk_, ledger_, timeline_,
        [this] {
          const std::size_t n = next_behaviour_++;
          return n < history_.behaviours.size() ? history_.behaviours[n] : Behaviour{};
        },
        [this] { return Now(); }, [this] { return step_; }));
  }
  step_partial_.assign(history_.steps.size() + 1, 0);
  clock_.every_sleep([this] {
    if (crash_.Cut()) throw testing::PowerCut{};
    for (const auto& manager : managers_) manager->Poll();
    // The package may catch anything (a clean-up that must not fail); the
    // call stays hung all the same.
    if (Now() - call_start_ > call_bound_) {
      hung_ = true;
      throw Hung{};
    }
  });
}

SimWorld::~SimWorld() {
  crash_.PowerOn();
  Finalize();
  testing::ResetPackageVariables();
  platform::set_message_hook({});
  platform::reset_regional();
  platform::set_host_executable_path("");
}

DayResult SimWorld::Run() {
  timeline_.Raw(Describe(history_));
  for (std::size_t i = 0; i < history_.steps.size() && !violation_; ++i) {
    Play(i, history_.steps[i]);
    if (!violation_) JudgeStep(i);
  }
  if (!violation_) {
    EndOfDay();
    JudgeDay();
  }
  if (violation_) Say("judge", violation_->invariant + " broken: " + violation_->why);
  else Say("judge", "every invariant held");
  DayResult result;
  result.violation = violation_;
  result.timeline = timeline_.Text();
  return result;
}

void SimWorld::Play(std::size_t index, const Step& step) {
  step_ = static_cast<int>(index);
  host_.Begin(step.seed, step.fault);
  if (timeline_.On()) {
    timeline_.Raw("");
    Say("host", "step " + std::to_string(index) + ": " + ActionName(step.action) +
                    (step.fault.kind == Fault::Kind::None ? "" : " with fault " + FaultText(step.fault)));
  }
  Strike(step.fault);
  call_start_ = Now();
  call_bound_ = step.action == Action::CancelPending ? kPendingBoundMs : kCallBoundMs;
  if (step.action == Action::Idle || step.action == Action::Night) call_bound_ += step.amount;
  hung_ = false;
  const Outcome called = Call(step);
  const Outcome outcome = hung_ && called != Outcome::Cut ? Outcome::Hung : called;
  outcomes_.push_back(outcome);
  if (timeline_.On()) Say("host", std::string(ActionName(step.action)) + " -> " + OutcomeName(outcome));
  Heal();
  divert_ = -1;
  if (crash_.Cut()) Recover(step.recovery);
  else crash_.PowerOn();
}

Outcome SimWorld::Call(const Step& step) {
  try {
    Outcome outcome = Outcome::Skipped;
    switch (step.action) {
    case Action::Pay:
      outcome = Pay(step);
      break;
    case Action::Print:
      outcome = Print(step);
      break;
    case Action::CancelPending:
      outcome = CancelPending(step);
      break;
    case Action::Cancel:
      outcome = Cancel(step);
      break;
    case Action::ChooseNetwork:
      outcome = CheckDirTef(DirTef, std::string(1, step.kind), 0) ? Outcome::True : Outcome::False;
      break;
    case Action::Scan:
      // A host scans when it starts a sale, not in the middle of one.
      if (!sale_.open) outcome = CheckIntPosFiles(kContext, true) ? Outcome::True : Outcome::False;
      break;
    case Action::Restart:
      Restart();
      outcome = CheckIntPosFiles(kContext, true) ? Outcome::True : Outcome::False;
      break;
    case Action::Idle:
      PassTime(step.amount);
      break;
    case Action::Night:
      // The till closes for the night: the host's memory goes, the
      // managers finish, and the morning starts with a leftover scan.
      Restart();
      PassTime(step.amount);
      call_start_ = Now();
      outcome = CheckIntPosFiles(kContext, true) ? Outcome::True : Outcome::False;
      break;
    }
    return crash_.Cut() ? Outcome::Cut : outcome;
  } catch (const testing::PowerCut&) {
    return Outcome::Cut;
  } catch (const Hung&) {
    return Outcome::Hung;
  } catch (const std::exception& error) {
    if (crash_.Cut()) return Outcome::Cut;
    if (timeline_.On()) Say("host", std::string("the call failed: ") + error.what());
    return Outcome::Error;
  }
}

// A careful host: it pays the sale in progress, prints a sale once it is
// paid, and opens a new one only after the last was printed or its pending
// payments cancelled.
Outcome SimWorld::Pay(const Step& step) {
  if (sale_.open && sale_.due <= 0) return Print(step);
  if (!sale_.open && abandoned_ > 0) {
    // A sale a restart cut short: its pending payments are undone first.
    const Outcome undone = CancelPending(step);
    if (undone != Outcome::True) return undone;
  }
  if (!sale_.open) sale_ = Sale{true, step.total, 0, nullptr, ++sales_};
  const std::int64_t amount = step.amount > 0 && step.amount < sale_.due ? step.amount : sale_.due;
  step_partial_[static_cast<std::size_t>(step_)] = amount < sale_.due;
  if (timeline_.On())
    Say("host", "DoTEF " + Money(amount) + " of " + Money(sale_.due) + " kind " + std::string(1, step.kind));
  const std::size_t drawn_before = next_behaviour_;
  const bool calm_before = Quiet();
  std::shared_ptr<StringList> receipts;
  std::int32_t approved = 0;
  double extra = 0;
  std::string document, field748, field013, field027;
  const auto pay = [&] {
    return DoTEF(kContext, static_cast<double>(amount) / 100, static_cast<double>(sale_.due) / 100,
                 std::string(1, step.kind), receipts, approved, sale_.transactions, extra, document, field748,
                 field013, field027);
  };
  bool ok = false;
  try {
    ok = pay();
  } catch (const PendingSaleError&) {
    if (crash_.Cut()) throw;
    EndPendingOfAnotherSale();
    if (crash_.Cut()) return Outcome::Cut;
    ok = pay();
  }
  // A result that came after the power went never reached the host.
  if (crash_.Cut()) return Outcome::Cut;
  sale_.receipts = receipts;
  const bool partial = amount < sale_.due;
  if (ok) sale_.due -= amount;
  if (const Approval* approval = ok ? ledger_.Find(document) : nullptr) {
    // The approval the host is told of answers this call's own request, not
    // an earlier one the manager answered late.
    const auto request = ledger_.sale_requests.find(approval->sequence);
    if (request == ledger_.sale_requests.end() || request->second != step_)
      Break("I5", "the host was told that " + document + " paid this sale: the answer to another request");
    // With nothing amiss (no fault, no manager busy or odd, no file held),
    // a partial payment is confirmed before the call returns.
    const bool healthy = Calm(step, calm_before, drawn_before);
    const auto settled = ledger_.settled.find(document);
    if (partial && healthy && approval->receipt &&
        (settled == ledger_.settled.end() || settled->second.first == 0))
      Break("I1", "partial payment " + document + " was not confirmed at once, with nothing amiss");
  }
  return ok ? Outcome::True : Outcome::False;
}

Outcome SimWorld::Print(const Step& step) {
  if (!sale_.open || sale_.due > 0 || !sale_.receipts) return Outcome::Skipped;
  release_steps_.push_back(step_);
  print_runs_.insert(sale_.id);
  const std::string mode = history_.fiscal ? "F" : "N";
  const bool ok = ImprCupons(*sale_.receipts, 1, sale_.transactions, history_.printer, "000123", "000045",
                             kContext, "R1", "R2", step.choice ? "S" : "N", mode, "std2", "std1", 10.0);
  if (crash_.Cut()) return Outcome::Cut;
  if (!ok) return Outcome::False;
  StringList answer;
  for (std::size_t i = 1; i < sale_.receipts->Count(); ++i) answer.Add((*sale_.receipts)[i]);
  if (!answer.empty()) printed_.push_back(answer);
  sale_ = Sale{};
  return Outcome::True;
}

// A pending cancellation the package could not finish is tried again
// before the next sale: the host does not leave confirmed payments behind.
// With nothing amiss it must succeed, or the till cannot sell (I8).
Outcome SimWorld::CancelPending(const Step& step) {
  const std::int32_t count = sale_.open ? sale_.transactions : abandoned_ > 0 ? abandoned_ : 9;
  if (timeline_.On()) Say("host", "CancelaPendencia of " + std::to_string(count) + " transaction(s)");
  sale_ = Sale{};
  abandoned_ = count;
  const std::size_t drawn_before = next_behaviour_;
  const bool calm_before = Quiet() && !PendingBeyondReach();
  const bool done = CancelaPendencia("R1", "R2", kContext, "", count, history_.printer,
                                     history_.fiscal ? "F" : "N", "std2", "std1");
  if (crash_.Cut()) return Outcome::Cut;
  if (done) abandoned_ = 0;
  // A cancellation the manager refused as a repeat is I2's, not a till
  // that cannot sell.
  if (!done) JudgeRouting();
  if (!done && count > 0 && Calm(step, calm_before, drawn_before))
    Break("I8", "a pending cancellation failed with healthy managers and nothing amiss");
  return done ? Outcome::True : Outcome::False;
}

// A sale refused for another sale's pending payments (one the host forgot,
// or could not cancel): the host does as its guide says. It undoes them, and
// ends with an empty printing run those that cannot be undone (they stand),
// so that the till sells again.
void SimWorld::EndPendingOfAnotherSale() {
  const std::int32_t count = HighestCopyNumber(PendingCopiesOfAnotherSale(0));
  if (timeline_.On())
    Say("host", "DoTEF refused for another sale's pending payments: CancelaPendencia of " +
                    std::to_string(count) + " transaction(s)");
  const std::string mode = history_.fiscal ? "F" : "N";
  if (CancelaPendencia("R1", "R2", kContext, "", count, history_.printer, mode, "std2", "std1")) return;
  if (crash_.Cut() || PendingCopiesOfAnotherSale(0).empty()) return;
  if (timeline_.On()) Say("host", "what stays pending is ended by an empty printing run");
  ImprCupons(StringList{}, 0, count + 1, history_.printer, "000123", "000045", kContext, "R1", "R2", "S",
             mode, "std2", "std1", 0.0);
}

bool SimWorld::Quiet() const {
  return held_.empty() &&
         std::none_of(managers_.begin(), managers_.end(), [](const auto& m) { return m->Working(); });
}

bool SimWorld::Calm(const Step& step, bool calm_before, std::size_t drawn_before) const {
  bool calm = calm_before && step.fault.kind == Fault::Kind::None && host_.Refusals() == 0;
  for (std::size_t n = drawn_before; n < next_behaviour_ && n < history_.behaviours.size(); ++n)
    calm = calm && history_.behaviours[n].Healthy();
  return calm;
}

// The host cancels a printed transaction; once told it is cancelled, it
// does not ask again.
Outcome SimWorld::Cancel(const Step& step) {
  if (printed_.empty()) return Outcome::Skipped;
  const std::size_t chosen = static_cast<std::size_t>(step.choice) % printed_.size();
  const StringList& a = printed_[chosen];
  const bool done =
      CancelaTEF("R1", "R2", kContext, "N", 1, 1, history_.printer, a.Field("001-000 "), "",
                 a.Field("003-000 "), a.Field("010-000 "), a.Field("012-000 "), a.Field("022-000 "),
                 a.Field("023-000 "), history_.fiscal ? "F" : "N", "std2", "std1", true);
  if (crash_.Cut()) return Outcome::Cut;
  if (done) printed_.erase(printed_.begin() + static_cast<std::ptrdiff_t>(chosen));
  return done ? Outcome::True : Outcome::False;
}

void SimWorld::Strike(const Fault& fault) {
  switch (fault.kind) {
  case Fault::Kind::Cut:
    crash_.Arm(fault.at, fault.torn);
    break;
  case Fault::Kind::DiskFull:
    faulty_.fail_from(testing::FsOp::WriteFile, fault.at, testing::Fault::Torn);
    faulty_.fail_from(testing::FsOp::AppendFile, fault.at, testing::Fault::Torn);
    break;
  case Fault::Kind::Busy: {
    const std::string path = kBusyTargets[fault.target % 8];
    disk_.Hold(path, testing::MemoryFs::Hold::Exclusive);
    held_.push_back(path);
    clock_.at(Now() + fault.ms, [this, path] {
      if (std::find(held_.begin(), held_.end(), path) == held_.end()) return;
      if (timeline_.On()) Say("fault", "the other program lets " + path + " go");
      held_.erase(std::find(held_.begin(), held_.end(), path));
      disk_.Release(path, testing::MemoryFs::Hold::Exclusive);
    });
    if (timeline_.On()) Say("fault", "another program holds " + path);
    break;
  }
  case Fault::Kind::ReadOnly: {
    const std::string directory = kReadOnlyTargets[fault.target % 8];
    for (const testing::FsOp op :
         {testing::FsOp::WriteFile, testing::FsOp::AppendFile, testing::FsOp::RemoveFile,
          testing::FsOp::RenameFile, testing::FsOp::CreateDirectories})
      faulty_.fail_directory(op, directory);
    if (timeline_.On()) Say("fault", directory + " is read-only");
    break;
  }
  case Fault::Kind::Erase: {
    const std::string directory = std::string(kReadOnlyTargets[fault.target % 8]) + "\\";
    for (const std::string& name : disk_.list(directory + "*")) disk_.Drop(directory + name);
    if (timeline_.On()) Say("fault", "another program deletes the files of " + directory);
    break;
  }
  case Fault::Kind::Divert:
    divert_ = fault.target % 3;
    if (timeline_.On())
      Say("fault", std::string("another program moves each settlement to ") + kRoots[divert_]);
    break;
  case Fault::Kind::Forget:
    if (timeline_.On()) Say("fault", "the host forgets its sale and its payments");
    sale_ = Sale{};
    abandoned_ = 0;
    break;
  case Fault::Kind::Plant: {
    // A payment no manager ever approved, as a confirmed partial payment's
    // pending copy.
    const std::string document = "Z" + std::to_string(90000 + fault.target);
    const StringList copy{"000-000 = CRT",
                          "001-000 = 1111111111",
                          "003-000 = 500",
                          "009-000 = 0",
                          "010-000 = REDEY",
                          "012-000 = " + document,
                          "022-000 = 07122026",
                          "023-000 = 080000",
                          "027-000 = 000000000000" + document,
                          "028-000 = 1",
                          "029-001 = \"VIA " + document + "\"",
                          "999-999 = 0"};
    disk_.Put(dsDirPenTef + "intpos.9" + std::to_string(fault.target), copy.Text());
    if (timeline_.On()) Say("fault", "another program puts a pending copy of " + document);
    break;
  }
  default:
    break;
  }
}

void SimWorld::Heal() { faulty_.heal(); }

void SimWorld::Recover(const std::vector<Fault>& recovery) {
  for (std::size_t depth = 0;; ++depth) {
    if (timeline_.On())
      Say("fault",
          depth == 0 ? "the power went; the till restarts" : "the power went again during the recovery");
    for (const std::string& path : disk_.LoseUnflushed())
      if (timeline_.On()) Say("fault", "the cut lost what was not flushed of " + path);
    crash_.PowerOn();
    Heal();
    call_start_ = Now();
    call_bound_ = kCallBoundMs;
    PassTime(kDowntimeMs);
    Restart();
    if (depth < recovery.size() && recovery[depth].kind == Fault::Kind::Cut)
      crash_.Arm(recovery[depth].at, recovery[depth].torn);
    call_start_ = Now();
    hung_ = false;
    try {
      if (timeline_.On()) Say("host", "leftover scan at the start");
      CheckIntPosFiles(kContext, true);
    } catch (...) {
    }
    if (hung_) {
      Break("I6", "the leftover scan after a restart hung");
      return;
    }
    if (!crash_.Cut()) break;
  }
  crash_.PowerOn();
}

// The host's memory of its sale goes with the restart; it remembers only
// that a sale with payments was left, to undo them before the next one.
void SimWorld::Restart() {
  if (sale_.open && sale_.transactions > 0) abandoned_ = std::max(abandoned_, sale_.transactions);
  sale_ = Sale{};
  Finalize();
  testing::ResetPackageVariables();
  for (const auto& manager : managers_) manager->TillRestarted();
  Initialize();
}

// Time passes in the package's own rhythm while something may happen;
// hours in which nobody has anything to do pass ten minutes at a time.
void SimWorld::PassTime(std::int64_t ms) {
  constexpr std::int64_t kQuietSliceMs = 10 * 60 * 1000;
  for (const std::int64_t until = Now() + ms; Now() < until;)
    clock_.sleep(
        static_cast<std::uint32_t>(std::min<std::int64_t>(until - Now(), Quiet() ? kQuietSliceMs : 250)));
}

void SimWorld::OnRequestPlaced(const std::string& path) {
  std::string bytes;
  if (!disk_.Peek(path, bytes)) return;
  StringList request;
  request.SetText(bytes);
  const std::string operation = request.Field("000-000 ");
  if (path.ends_with(".ret")) {
    if (operation == "CNF") ledger_.confirmation_withdrawn.emplace(request.Field("012-000 "), step_);
    return;
  }
  if (operation == "CRT" || operation == "CHQ") {
    ledger_.sale_requests[request.Field("001-000 ")] = step_;
    ledger_.sale_of_request[request.Field("001-000 ")] = sale_.id;
  }
  if (operation == "CNC") ledger_.cancel_requests.emplace(request.Field("001-000 "), step_);
  if (operation == "NCN") ledger_.undo_requested.emplace(request.Field("012-000 "), step_);
  const std::string target = divert_ >= 0 ? std::string(kRoots[divert_]) + "req\\intpos.001" : std::string();
  if ((operation == "CNF" || operation == "NCN" || operation == "CNC") && !target.empty() &&
      disk_.directory_exists(std::string(kRoots[divert_]) + "req") && !SameRoot(path, target)) {
    disk_.Drop(path);
    disk_.Put(target, bytes);
    if (timeline_.On()) Say("fault", "another program moves " + path + " to " + target);
  }
}

void SimWorld::EndOfDay() {
  ending_ = true;
  step_ = static_cast<int>(history_.steps.size());
  if (timeline_.On()) {
    timeline_.Raw("");
    Say("host", "end of the day: the managers finish, the till restarts, a last sale");
  }
  Heal();
  crash_.PowerOn();
  for (const std::string& path : held_) disk_.Release(path, testing::MemoryFs::Hold::Exclusive);
  held_.clear();
  call_start_ = Now();
  call_bound_ = kDrainMs + kCallBoundMs;
  const std::int64_t until = Now() + kDrainMs;
  while (Now() < until &&
         std::any_of(managers_.begin(), managers_.end(), [](const auto& m) { return m->Working(); }))
    PassTime(1000);
  for (const auto& manager : managers_) manager->Heal();
  const bool dial = history_.roots & 1u;
  host_.Heal(dial ? 1 : 0);
  // The host settles the sale it has in hand: prints it when paid, else
  // cancels its pending payments; with every manager healthy, that must
  // succeed (I8), unless a payment's manager cannot be reached.
  // A paid sale whose printing run still fails is cancelled like an unpaid
  // one: its confirmed partial payments must not stand unprinted.
  host_.Begin(0, Fault{});
  if (sale_.open && sale_.due <= 0) {
    Step print;
    print.action = Action::Print;
    call_start_ = Now();
    Call(print);
  }
  if (sale_.open || abandoned_ > 0) {
    Step cancel;
    cancel.action = Action::CancelPending;
    call_start_ = Now();
    Call(cancel);
    sale_ = Sale{};
  }
  // What it could not cancel (a payment whose network's root is missing)
  // does not keep it from selling.
  abandoned_ = 0;
  Restart();
  call_start_ = Now();
  call_bound_ = kCallBoundMs;
  hung_ = false;
  try {
    CheckIntPosFiles(kContext, true);
  } catch (const Hung&) {
  } catch (const std::exception& error) {
    Break("I4", std::string("the last leftover scan failed: ") + error.what());
  }
  if (hung_) Break("I6", "the last leftover scan hung");
  SnapshotPending();
  Step pay;
  pay.action = Action::Pay;
  pay.amount = pay.total = 1000;
  pay.kind = dial ? 'C' : 'D';
  call_start_ = Now();
  final_pay_ = Call(pay);
  final_document_ = sale_.receipts ? sale_.receipts->Field("012-000 ") : std::string();
  Step print;
  print.action = Action::Print;
  call_start_ = Now();
  final_print_ = Call(print);
}

} // namespace zul00500::sim

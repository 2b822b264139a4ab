#include "rehearsal/host_part.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "rehearsal/book.h"
#include "rehearsal/exchange_record.h"
#include "rehearsal/host_events.h"
#include "rehearsal/plan.h"
#include "rehearsal/power_cut.h"
#include "tool_platform/files.h"
#include "virtual_printer/virtual_printer.h"
#include "zulpos/package.h"
#include "zulpos/printer_connection.h"
#include "zulpos/sale_run.h"
#include "zulpos/session.h"

namespace rehearsal {

namespace {

using zulpos::api;
using zulpos::Checked;
using zulpos::Money;

// The context string of every routine: the package hands it to the dialogs
// and the printer, where the records show it.
constexpr const char* kContext = "rehearsal";

constexpr auto kLeaseLimit = std::chrono::seconds(10);

const char* yes_no(bool value) { return value ? "true" : "false"; }

class HostPart {
public:
  HostPart(const HostPlan& plan, const Case& rehearsed, const std::string& program_path)
      : plan_(plan), case_(rehearsed), events_(plan.events), session_(session_options(plan), program_path),
        watch_(events_, session_.host_dir()), exchange_(JournalSink(events_)) {
    Checked(api().zul_SetFileObserver(&HostPart::OnFile, this));
    Checked(api().zul_SetDialog(&HostPart::OnDialog, this));
    Checked(api().zul_SetNetworkChooser(&HostPart::OnNetwork, this));
    Checked(api().zul_SetMessagePump(&HostPart::OnPump, this));
  }
  ~HostPart() {
    api().zul_SetMessagePump(nullptr, nullptr);
    api().zul_SetNetworkChooser(nullptr, nullptr);
    api().zul_SetDialog(nullptr, nullptr);
    api().zul_SetFileObserver(nullptr, nullptr);
  }
  HostPart(const HostPart&) = delete;
  HostPart& operator=(const HostPart&) = delete;

  int Run() {
    events_.Add("host", "start", "start " + std::to_string(plan_.start));
    bool failed = false;
    for (int index = plan_.first_step; index < plan_.end_step; ++index) {
      const Step& step = case_.steps.at(static_cast<std::size_t>(index));
      step_ = &step;
      next_answer_ = 0;
      events_.Add("host", "step", step.action, std::to_string(index));
      watch_.Arm(step.power_cut ? &*step.power_cut : nullptr);
      failed = !RunStep(step) || failed;
      watch_.StepEnded();
      events_.Add("host", "step-end", step.action, std::to_string(index));
    }
    step_ = nullptr;
    return failed ? 1 : 0;
  }

private:
  static zulpos::SessionOptions session_options(const HostPlan& plan) {
    zulpos::SessionOptions options;
    options.host_dir = plan.host_dir;
    if (!plan.drive_root.empty()) options.drive_root = plan.drive_root;
    return options;
  }

  // False when the routine raised an error (recorded as its return).
  bool RunStep(const Step& step) {
    try {
      if (step.action == "sale") Sale(step);
      else if (step.action == "print") Print(step);
      else if (step.action == "cancel") Cancel(step);
      else if (step.action == "pending") Pending(step);
      else if (step.action == "scan")
        Routine("CheckIntPosFiles(true)", [] { return api().CheckIntPosFiles(kContext, ZUL_TRUE); });
      else if (step.action == "check") Check();
      else if (step.action == "network") Network(step);
      else if (step.action == "idle")
        std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
      return true;
    } catch (const std::exception& error) {
      events_.Add("package", "return", "error", error.what());
      return false;
    }
  }

  // One routine call: its call and return in the record.
  void Routine(const std::string& call, const std::function<int()>& routine) {
    events_.Add("package", "call", call);
    const bool result = Checked(routine());
    watch_.CatchUp();
    events_.Add("package", "return", yes_no(result));
  }

  void Sale(const Step& step) {
    double total = 0;
    for (const double amount : step.payments) total += amount;
    total = step.total.value_or(total);
    double approved = 0;
    const auto call = [&](std::size_t i) {
      events_.Add("package", "call",
                  "DoTEF(" + Money(step.payments[i]) + ", due " + Money(total - approved) + ", " + step.kind +
                      ")",
                  "payment " + std::to_string(i + 1));
    };
    call(0);
    sale_.reset();
    sale_ = std::make_unique<zulpos::SaleRun>(zulpos::PaySale(
        kContext, step.payments, total, step.kind, [&](std::size_t i, const zulpos::Payment& paid) {
          watch_.CatchUp();
          events_.Add("package", "return", yes_no(paid.result),
                      "transaction " + std::to_string(paid.transaction) + ", document " + paid.document);
          if (paid.result) approved += paid.amount;
          watch_.PaymentReturned(i);
          if (paid.result && i + 1 < step.payments.size()) call(i + 1);
        }));
  }

  // The virtual fiscal printer of one printing step, watched call by call.
  struct Printer {
    Printer(HostPart& host, const Printing& printing) : connection(SetUp(host, printing), Cutter(printing)) {}
    static zulpos::Cutter Cutter(const Printing& printing) {
      return printing.cutter ? zulpos::Cutter::Assigned : zulpos::Cutter::Unassigned;
    }
    virtual_printer::VirtualPrinter& SetUp(HostPart& host, const Printing& printing) {
      if (!printing.printer_fail.empty()) device.AddFailures(printing.printer_fail);
      device.SetPaperFile(host.plan_.paper);
      device.SetObserver([&host](const virtual_printer::PrinterCall& call) {
        host.watch_.CatchUp();
        host.events_.Add("printer", "call", call.JournalLine());
        // Where the paper stood when the printer failed, to mark it there.
        if (!call.result) {
          std::error_code error;
          const auto size = std::filesystem::file_size(host.plan_.paper, error);
          host.events_.Add("printer", "failed", call.JournalLine(), std::to_string(error ? 0 : size));
        }
        host.watch_.PrinterCall(call);
      });
      return device;
    }
    virtual_printer::VirtualPrinter device;
    zulpos::PrinterConnection connection;
  };

  void Print(const Step& step) {
    const Printing& p = step.printing;
    Printer printer(*this, p);
    const zulpos::List none;
    const zulpos::List& receipts = sale_ && sale_->receipts ? *sale_->receipts : none;
    const int transactions = step.transactions.value_or(sale_ ? sale_->with_receipt : 1);
    const double amount = step.amount.value_or(zulpos::GetFloat("doValorTef"));
    Routine("ImprCupons(1 receipt, " + std::to_string(transactions) + " transaction" +
                (transactions == 1 ? "" : "s") + ", type " + std::to_string(p.printer_type) + ", " + p.mode +
                ")",
            [&] {
              return api().ImprCupons(receipts.handle(), 1, transactions, p.printer_type, p.voucher1.c_str(),
                                      p.voucher2.c_str(), kContext, p.report1.c_str(), p.report2.c_str(),
                                      p.copy.c_str(), p.mode.c_str(), p.standard2.c_str(),
                                      p.standard1.c_str(), amount);
            });
  }

  void Cancel(const Step& step) {
    const Printing& p = step.printing;
    Printer printer(*this, p);
    Routine("CancelaTEF(" + step.network + " " + step.document + ", " + step.cents + " cents" +
                (step.print ? "" : ", no receipt") + ")",
            [&] {
              return api().CancelaTEF(p.report1.c_str(), p.report2.c_str(), kContext, p.copy.c_str(), 0,
                                      step.transactions.value_or(1), p.printer_type, step.sequence.c_str(),
                                      "", step.cents.c_str(), step.network.c_str(), step.document.c_str(),
                                      step.field022.c_str(), step.field023.c_str(), p.mode.c_str(),
                                      p.standard2.c_str(), p.standard1.c_str(),
                                      step.print ? ZUL_TRUE : ZUL_FALSE);
            });
  }

  void Pending(const Step& step) {
    const Printing& p = step.printing;
    Printer printer(*this, p);
    const int transactions = step.transactions.value_or(1);
    Routine("CancelaPendencia(" + std::to_string(transactions) + " transactions)", [&] {
      return api().CancelaPendencia(p.report1.c_str(), p.report2.c_str(), kContext, "", transactions,
                                    p.printer_type, p.mode.c_str(), p.standard2.c_str(), p.standard1.c_str());
    });
  }

  void Check() {
    char sequence[ZUL_SEQUENCE_CAPACITY] = "";
    Checked(api().GetSequence(sequence, sizeof sequence));
    Routine("CheckGPAtivo(ATV)", [&] { return api().CheckGPAtivo("ATV", sequence); });
  }

  void Network(const Step& step) {
    char root[ZUL_ROOT_CAPACITY] = "";
    Routine("CheckDirTef(" + step.kind + ", " + std::to_string(step.printer_type) + ")",
            [&] { return api().CheckDirTef(root, sizeof root, step.kind.c_str(), step.printer_type); });
  }

  // The callbacks: nothing may leave them but a result.
  template <typename Action> static int Guarded(Action action) {
    try {
      return action();
    } catch (const std::exception& error) {
      zulpos::RememberCallbackFailure(error.what());
      return ZUL_ERROR;
    }
  }

  static int ZUL_CALL OnDialog(void* user, const char* text, const char*, const char*, const char* yesNo, int,
                               const char*, const char*, int, const void*) {
    return Guarded([&] {
      HostPart& host = *static_cast<HostPart*>(user);
      host.watch_.CatchUp();
      const bool question = std::string(yesNo) == "S";
      bool answer = false;
      if (question && host.step_ && host.next_answer_ < host.step_->answers.size())
        answer = host.step_->answers[host.next_answer_++];
      host.events_.Add("dialog", "dialog", text, question ? (answer ? "yes" : "no") : "");
      host.watch_.Dialog(text);
      return answer ? ZUL_TRUE : ZUL_FALSE;
    });
  }

  static int ZUL_CALL OnNetwork(void* user, const char* caption) {
    return Guarded([&] {
      HostPart& host = *static_cast<HostPart*>(user);
      host.watch_.CatchUp();
      const int choice = host.step_ && host.step_->network_choice ? *host.step_->network_choice : 2;
      host.events_.Add("dialog", "network", caption, std::to_string(choice));
      host.watch_.Dialog(caption);
      return choice;
    });
  }

  static int ZUL_CALL OnFile(void* user, const char* operation, const char* path, const char* to,
                             const char* bytes, int length, double package_ms) {
    try {
      static_cast<HostPart*>(user)->exchange_.Told(operation, path, to,
                                                   std::string_view(bytes, static_cast<std::size_t>(length)),
                                                   static_cast<std::uint64_t>(package_ms));
    } catch (const std::exception& error) {
      // The operation is done; the journal that failed says it at the end.
      zulpos::RememberCallbackFailure(error.what());
    }
    return ZUL_TRUE;
  }

  static int ZUL_CALL OnPump(void* user, int) {
    return Guarded([&] {
      HostPart& host = *static_cast<HostPart*>(user);
      host.CheckLease();
      host.watch_.Point();
      return ZUL_TRUE;
    });
  }

  // The sale's answer wait has no limit: a host whose rehearsal was killed
  // (and its manager with it) ends once the runner's lease is stale.
  void CheckLease() {
    const auto now = std::chrono::steady_clock::now();
    if (plan_.lease.empty() || now < next_lease_look_) return;
    next_lease_look_ = now + std::chrono::seconds(1);
    std::error_code error;
    const auto touched = std::filesystem::last_write_time(plan_.lease, error);
    if (!error && std::filesystem::file_time_type::clock::now() - touched < kLeaseLimit) return;
    events_.Add("host", "note", "the rehearsal that started this host is gone: it ends");
    std::_Exit(4);
  }

  const HostPlan& plan_;
  const Case& case_;
  EventJournal events_;
  zulpos::PackageSession session_;
  PowerCutWatch watch_;
  ExchangeRecord exchange_;
  const Step* step_ = nullptr;
  std::size_t next_answer_ = 0;
  std::unique_ptr<zulpos::SaleRun> sale_; // the last sale of this start, for its printing
  std::chrono::steady_clock::time_point next_lease_look_{};
};

} // namespace

int RunHostPart(const std::string& plan_path, const std::string& program_path) {
  const HostPlan plan = ReadPlan(plan_path);
  const Book book =
      plan.book.empty() ? BuiltinBook() : ReadBook(tool_platform::read_file(plan.book), plan.book);
  if (plan.case_index < 0 || plan.case_index >= static_cast<int>(book.cases.size()))
    throw BookError(plan_path + ": no case " + std::to_string(plan.case_index) + " in " + book.origin);
  const Case& rehearsed = book.cases[static_cast<std::size_t>(plan.case_index)];
  if (plan.first_step < 0 || plan.end_step > static_cast<int>(rehearsed.steps.size()))
    throw BookError(plan_path + ": the case " + rehearsed.name + " has no such steps");
  HostPart host(plan, rehearsed, program_path);
  return host.Run();
}

} // namespace rehearsal

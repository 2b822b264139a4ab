// zulpos demo: a fresh throw-away machine with two managers installed, the
// manager simulator answering for them, and the package walked through what
// it can do so far. Runs unattended and always ends: every wait is bounded.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>

#include "command.h"
#include "output.h"
#include "package.h"
#include "printer_connection.h"
#include "rehearsal/text.h"
#include "sale_run.h"
#include "session.h"
#include "tool_platform/error.h"
#include "tool_platform/files.h"
#include "tool_platform/spawn.h"
#include "tool_platform/temp_directory.h"
#include "virtual_printer/virtual_printer.h"

namespace zulpos {
namespace {

namespace platform = tool_platform;
namespace fs = std::filesystem;

constexpr std::uint32_t kStartLimitMs = 5000;
constexpr std::uint32_t kStopLimitMs = 3000;
constexpr std::uint32_t kPollMs = 50;
constexpr int kSteps = 9;

// The temporary folder and all in it go when the demo ends, however it ends.
class ScratchFolder {
public:
  ScratchFolder() : path_(platform::make_temp_directory("zulpos-demo-")) {}
  ~ScratchFolder() { Remove(); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Join(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }
  const std::string& path() const { return path_; }
  void Keep() { keep_ = true; }
  // True when it is gone (or kept on purpose).
  bool Remove() {
    if (keep_ || removed_) return true;
    removed_ = platform::remove_directory_tree(path_);
    return removed_;
  }

private:
  std::string path_;
  bool keep_ = false;
  bool removed_ = false;
};

// Shows each cycle of the package's waits: they pump the host's messages once
// per cycle (through zul_SetMessagePump), and this host has none to handle.
class ProgressHook {
public:
  ProgressHook(Output& out, std::string what)
      : out_(out), what_(std::move(what)), start_(std::chrono::steady_clock::now()) {
    Checked(api().zul_SetMessagePump(&ProgressHook::Pump, this));
  }
  ~ProgressHook() { api().zul_SetMessagePump(nullptr, nullptr); }
  ProgressHook(const ProgressHook&) = delete;
  ProgressHook& operator=(const ProgressHook&) = delete;

private:
  static int ZUL_CALL Pump(void* user, int) {
    try {
      static_cast<ProgressHook*>(user)->Tick();
      return ZUL_TRUE;
    } catch (const std::exception& error) {
      RememberCallbackFailure(error.what());
      return ZUL_ERROR;
    }
  }

  void Tick() {
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start_;
    std::ostringstream line;
    line << "... waiting for " << what_ << " (" << std::fixed << std::setprecision(1) << waited.count()
         << " s)";
    out_.Text(line.str());
  }

  Output& out_;
  std::string what_;
  std::chrono::steady_clock::time_point start_;
};

// Where a drive path of the package ("c:\tef_dial\") lives on this machine:
// under the drive root on POSIX (c:\ is ROOT/c), where it says on Windows.
std::string native_drive_path([[maybe_unused]] const std::string& drive_root, const std::string& path) {
#ifdef _WIN32
  return path;
#else
  std::string native =
      drive_root + "/" + static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
  for (const char c : path.substr(2)) native += c == '\\' ? '/' : c;
  return native;
#endif
}

// The names in a native folder that start with `prefix` (any letter case),
// sorted.
std::vector<std::string> names_in(const std::string& folder, const std::string& prefix) {
  const auto lower = [](std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
  };
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (lower(name).rfind(lower(prefix), 0) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string tefsim_beside(const std::string& program_path) {
  const std::filesystem::path program(program_path);
  // Same extension as ours: ".exe" on Windows, none elsewhere.
  return (program.parent_path() / ("tefsim" + program.extension().string())).string();
}

struct DemoOptions {
  std::string tefsim;
  bool keep = false;
};

class Demo {
public:
  Demo(CommandContext& ctx, const DemoOptions& options) : ctx_(ctx), options_(options), out_(ctx.out) {}

  int Run() {
    out_.stream() << "zulpos demo: the card-payment package Pkg_Zul00500 in a command-line host,\n"
                     "talking to the TEF manager simulator tefsim. Nothing here touches your machine:\n"
                     "everything lives in a temporary folder that goes away at the end.\n";
    if (ctx_.global.host_dir || ctx_.global.drive_root)
      out_.stream() << "(--host-dir and --drive-root are not used: the demo makes its own.)\n";

    ScratchFolder scratch;
    if (options_.keep) scratch.Keep();
    const std::string drive_root = scratch.Join("drive");
    const std::string host_dir = scratch.Join("host");
    drive_root_ = drive_root;
    host_dir_ = host_dir;
    std::optional<platform::ChildProcess> tefsim;
    bool network = false;
    bool active = false;
    bool paid = false;
    bool printed = false;
    std::string root; // DirTef, which the end of the session empties
    {
      PackageSession session({host_dir, drive_root}, ctx_.program_path);
      Step(1, "A fresh machine with two TEF managers installed");
      fs::create_directories(native_drive_path(drive_root, "c:\\tef_disc\\"));
      fs::create_directories(native_drive_path(drive_root, "c:\\tef_dial\\"));
      Say("c:\\ lives in  " + PathToTerminal(native_drive_path(drive_root, "c:\\")));
      Say("host program  " + PathToTerminal(host_dir) +
          " (with Dados\\Cadastros and Dados\\TefDisc\\Pendente)");
      Say("made c:\\tef_disc\\ (TecBan) and c:\\tef_dial\\ (other networks): with the TecBan");
      Say("root present the package asks the operator which network to use.");

      Step(2, "The manager simulator");
      tefsim = StartTefsim(scratch, drive_root);
      if (!tefsim) {
        out_.SetIndent("");
        out_.Result("tefsim_started", false);
        out_.Result("result", false);
        return 1;
      }

      Step(3, "The package's directories, computed at load from the host program's path");
      Say("dsDirTef    = " + ToTerminal(GetStr("dsDirTef")) + "   (DIRTEF.cds goes here)");
      Say("dsDirBkpTef = " + ToTerminal(GetStr("dsDirBkpTef")) + "   (copies of the manager's answers)");
      Say("dsDirPenTef = " + ToTerminal(GetStr("dsDirPenTef")) + "   (answers of partial payments)");

      Step(4, "Network choice: CheckDirTef(root, \"D\", 0) for a debit card");
      char chosen[ZUL_ROOT_CAPACITY] = "";
      network = Checked(api().CheckDirTef(chosen, sizeof chosen, "D", 0));
      root = GetStr("DirTef");
      Say("returned " + std::string(network ? "true" : "false") + ", DirTef = " + root);
      Say("DIRTEF.cds written:");
      ShowFile((fs::path(host_dir) / "Dados" / "Cadastros" / "DIRTEF.cds").string());

      Step(5, "Is the manager running? CheckGPAtivo(\"ATV\", GetSequence())");
      Say("the package writes " + root + "req\\intpos.001 and waits up to 15 s for");
      Say(root + "resp\\intpos.sts, checking every 600 ms.");
      {
        ProgressHook progress(out_, "the manager's status file");
        char sequence[ZUL_SEQUENCE_CAPACITY] = "";
        Checked(api().GetSequence(sequence, sizeof sequence));
        active = Checked(api().CheckGPAtivo("ATV", sequence));
      }
      Say(active ? "returned true: the manager answered." : "returned false: no answer from the manager.");

      Step(6, "A sale of 100.00 paid by credit card in two payments: DoTEF(40.00), DoTEF(60.00)");
      std::optional<SaleRun> sale;
      if (active) sale = PaySale();
      else Say("skipped: the manager is not running.");
      paid = sale && sale->paid;

      Step(7, "The receipts on the virtual fiscal printer: ImprCupons(receipts, 1, 2, 0, ...)");
      if (paid) printed = PrintReceipts(*sale);
      else Say("skipped: the sale was not paid.");

      Step(8, "What was logged");
      ShowCardLog();
      Say("what the manager saw confirmed or not confirmed (from tefsim's log):");
      ShowConfirmations(scratch.Join("tefsim.log"));
    }

    Step(9, "Clean-up");
    StopTefsim(*tefsim);
    tefsim.reset();
    const std::string folder = PathToTerminal(scratch.path());
    if (options_.keep) Say("kept " + folder + " (--keep).");
    else Say(scratch.Remove() ? "removed " + folder + "." : "could not remove all of " + folder + ".");

    out_.SetIndent("");
    out_.Text("\nNext: the standard certification script, every case above and the ones that go\n"
              "wrong (refusals, power cuts, a failing printer, a silent manager), run end to end\n"
              "with a report to read in a browser or on paper:\n"
              "  zulpos rehearse --builtin --report DIR     then open DIR/index.html\n");
    out_.Result("tefsim_started", true);
    out_.Result("network_result", network);
    out_.Result("DirTef", root);
    out_.Result("check_result", active);
    out_.Result("sale_result", paid);
    out_.Result("print_result", printed);
    out_.Result("result", printed);
    return ExitStatus(printed);
  }

private:
  void Step(int number, const std::string& title) {
    out_.SetIndent("");
    out_.Text("\n[" + std::to_string(number) + "/" + std::to_string(kSteps) + "] " + title);
    out_.SetIndent("  ");
  }
  // `text` is UTF-8 already: package values in it went through ToTerminal or
  // PathToTerminal.
  void Say(const std::string& text) { out_.Text(text); }

  // Starts tefsim and waits until its request and response directories are
  // there; nothing when it cannot start, after saying why.
  std::optional<platform::ChildProcess> StartTefsim(const ScratchFolder& scratch,
                                                    const std::string& drive_root) {
    const std::string program = options_.tefsim.empty() ? tefsim_beside(ctx_.program_path) : options_.tefsim;
    const std::string output = scratch.Join("tefsim.out");
    std::optional<platform::ChildProcess> child;
    try {
      child = platform::spawn(
          program, {"--roots", "dial,disc", "--drive-root", drive_root, "--log", scratch.Join("tefsim.log")},
          {output});
    } catch (const platform::Error& error) {
      return Failed(std::string("tefsim did not start: ") + error.what(), output);
    }
    const char* const ready[] = {"c:\\tef_dial\\req\\", "c:\\tef_dial\\resp\\", "c:\\tef_disc\\req\\",
                                 "c:\\tef_disc\\resp\\"};
    for (std::uint32_t waited = 0;; waited += kPollMs) {
      bool all = true;
      for (const char* directory : ready)
        all = all && fs::is_directory(native_drive_path(drive_root, directory));
      if (all) break;
      if (const auto status = child->wait_for(kPollMs))
        return Failed("tefsim ended at once (exit status " + std::to_string(*status) + ")", output);
      if (waited >= kStartLimitMs) return Failed("tefsim did not get ready within 5 seconds", output);
    }
    Say("tefsim runs (process " + std::to_string(child->id()) +
        ") and answers in c:\\tef_dial\\ and c:\\tef_disc\\.");
    return child;
  }

  std::optional<platform::ChildProcess> Failed(const std::string& why, const std::string& output) {
    std::cerr << "zulpos demo: " << PathToTerminal(why) << std::endl;
    // What tefsim wrote is for a terminal already.
    std::error_code error;
    const std::string said = fs::is_regular_file(output, error) ? platform::read_file(output) : "";
    if (!said.empty()) std::cerr << "tefsim said:\n" << said << std::flush;
    return std::nullopt;
  }

  // The first payment leaves 60.00 due: it is kept in the pending directory
  // and confirmed at once. The second pays the rest and is left for printing.
  SaleRun PaySale() {
    Say("each payment: leftover scan, network choice, activity check, the sale request,");
    Say("then the wait for the manager's answer.");
    ProgressHook progress(out_, "the manager's answer");
    SaleRun sale =
        zulpos::PaySale(ctx_.context, {40.00, 60.00}, 100.00, "C", [&](std::size_t i, const Payment& p) {
          Say("payment " + std::to_string(i + 1) + " of " + Money(p.amount) + ": " +
              (p.result ? "approved" : "not approved") + ", transaction " + std::to_string(p.transaction) +
              ", document " + ToTerminal(p.document) + ", authorization " + ToTerminal(p.field013));
        });
    Say("paid by card: doValorTef = " + Money(GetFloat("doValorTef")));
    ShowAnswerFiles("the last answer, left for printing");
    return sale;
  }

  // The partial payment's receipt comes from its pending copy, the last one
  // from the list; each is confirmed with the manager before it is printed.
  bool PrintReceipts(const SaleRun& sale) {
    Say("each receipt: activity check, confirmation (CNF), printing, answer files removed.");
    virtual_printer::VirtualPrinter printer;
    PrinterConnection connection(printer);
    const bool printed =
        Checked(api().ImprCupons(sale.receipts->handle(), 1, sale.with_receipt, 0, "", "",
                                 ctx_.context.c_str(), "", "", "S", "F", "", "", GetFloat("doValorTef")));
    Say(std::string("returned ") + (printed ? "true" : "false") + "; the paper, as the customer gets it:");
    for (const std::string& line : Lines(printer.PaperText())) Say("  | " + ToTerminal(line));
    Say(std::to_string(printer.Calls().size()) + " printer calls.");
    ShowAnswerFiles("nothing left");
    return printed;
  }

  void ShowAnswerFiles(const std::string& expected) {
    const std::string root = GetStr("DirTef");
    Say("pending directory: " + Listing((fs::path(host_dir_) / "Dados" / "TefDisc" / "Pendente").string()) +
        "; " + root + "resp\\: " + Listing(native_drive_path(drive_root_, root + "resp\\")) + " (" +
        expected + ")");
  }

  static std::string Listing(const std::string& folder) {
    std::string names;
    for (const std::string& name : names_in(folder, "intpos.")) names += (names.empty() ? "" : ", ") + name;
    return names.empty() ? "(empty)" : names;
  }

  // CR LF, CR and LF each end a line; a last line without an end is a line.
  static std::vector<std::string> Lines(const std::string& text) { return rehearsal::SplitLines(text); }

  void StopTefsim(platform::ChildProcess& child) {
    child.terminate();
    const auto status = child.wait_for(kStopLimitMs);
    if (!status) {
      child.kill();
      child.wait_for(kStopLimitMs);
      Say("tefsim ignored the request to stop and was killed.");
      return;
    }
    Say("stopped tefsim (exit status " + std::to_string(*status) + ").");
  }

  void ShowFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
      Say("  (no file " + PathToTerminal(path) + ")");
      return;
    }
    for (const std::string& line : Lines(platform::read_file(path))) Say("  | " + ToTerminal(line));
  }

  void ShowConfirmations(const std::string& tefsim_log) {
    std::error_code error;
    const std::string text = fs::is_regular_file(tefsim_log, error) ? platform::read_file(tefsim_log) : "";
    bool any = false;
    for (const std::string& line : Lines(text)) {
      const std::size_t at = line.find("confirmed: ");
      if (at == std::string::npos) continue;
      // "not confirmed: network=... doc=..." up to the transaction it names.
      const std::size_t start =
          line.rfind(' ', at >= 5 && line.compare(at - 4, 4, "not ") == 0 ? at - 5 : at);
      Say("  | " + ToTerminal(line.substr(start + 1, line.find(" 027-000=") - start - 1)));
      any = true;
    }
    if (!any) Say("  (nothing)");
  }

  void ShowCardLog() {
    const auto logs = names_in(host_dir_, "LogTef");
    if (logs.empty()) Say("the card log: (none written)");
    for (const std::string& name : logs) {
      Say("the card log, " + PathToTerminal(name) + " beside the host program:");
      ShowFile((fs::path(host_dir_) / name).string());
    }
  }

  CommandContext& ctx_;
  const DemoOptions& options_;
  Output& out_;
  std::string drive_root_;
  std::string host_dir_;
};

} // namespace

Command AddDemo(CLI::App& zulpos) {
  auto o = std::make_shared<DemoOptions>();
  CLI::App* demo = zulpos.add_subcommand(
      "demo", "watch the package at work against the manager simulator\n\n"
              "Makes a throw-away drive root and host directory with two managers' roots\n"
              "(c:\\tef_disc\\, c:\\tef_dial\\), starts tefsim for them, shows the package's\n"
              "directories, runs a network choice (answer 2 unless --network says), shows\n"
              "DIRTEF.cds, runs an activity check against tefsim, pays a sale of 100.00 in\n"
              "two card payments (40.00, 60.00), prints both receipts on the virtual fiscal\n"
              "printer and shows the paper, shows the card log, then\n"
              "stops tefsim and removes everything. It never asks the terminal and ignores\n"
              "--host-dir and --drive-root. Exit status 1 when tefsim does not start or the\n"
              "check, the sale or the printing fails.");
  AddValue(*demo, "--tefsim", o->tefsim, "PATH", "the simulator to run (default: tefsim beside zulpos)");
  AddFlag(*demo, "--keep", o->keep, "keep the temporary folder, to look at it afterwards");
  return {.app = demo, .uses_host_dir = false, .interactive = false, .run = [o](CommandContext& ctx) {
            return Demo(ctx, *o).Run();
          }};
}

} // namespace zulpos

#include "rehearsal/command.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <utility>

#include "cli/command_line.h"
#include "rehearsal/book.h"
#include "rehearsal/host_part.h"
#include "rehearsal/reports.h"
#include "rehearsal/runner.h"
#include "rehearsal/text.h"
#include "tool_platform/files.h"
#include "tool_platform/process.h"
#include "tool_platform/signals.h"
#include "tool_platform/temp_directory.h"
#include "zulpos/command_line.h"
#include "zulpos/options.h"
#include "zulpos/output.h"
#include "zulpos/package.h"

namespace rehearsal {

namespace {

constexpr const char* kDescription =
    "rehearse a certification script: a book of cases against tefsim\n\n"
    "Runs the cases of the rehearsal book BOOK.toml (or the built-in standard script)\n"
    "end to end: each in a fresh drive root and host directory, the managers played\n"
    "by tefsim with the case's scenario, the host's steps run through the package's\n"
    "C interface by zulpos processes, each power cut a kill of the host at its\n"
    "named moment followed by the next start. Every case's expectations are judged\n"
    "from the files, the journals, the paper and the card log. One line per case\n"
    "shows its result and time. Exit status 0 when every case passed, 1 when one\n"
    "failed or its premise was not met (attended), 2 for a mistake in the book (named by its line) or the command line.\n"
    "docs/rehearsal.md describes the book.";

CLI::Validator Jobs() {
  return zul_cli::Check("jobs", [](std::string& text) -> std::string {
    int jobs = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, jobs);
    if (text.empty() || error != std::errc() || stop != end || jobs < 1 || jobs > 64)
      return "a whole number from 1 to 64, not '" + text + "'";
    return {};
  });
}

} // namespace

CLI::App* AddRehearseCommand(CLI::App& zulpos, RehearseOptions& o) {
  CLI::App* rehearse = zulpos.add_subcommand("rehearse", kDescription);
  rehearse->add_option("BOOK.toml", o.book, "the rehearsal book (or --builtin)");
  zulpos::AddFlag(*rehearse, "--builtin", o.builtin, "the built-in book: the standard certification script");
  zulpos::AddFlag(*rehearse, "--list", o.list, "list the book's cases and what each shows, run nothing");
  zulpos::AddRepeatable(*rehearse, "--case", o.cases, "NAME", "run this case only; repeatable");
  zulpos::AddValue(*rehearse, "--report", o.report, "DIR",
                   "write DIR/index.html, one self-contained page, each case's files\n"
                   "beside it in DIR/cases/, DIR/junit.xml and DIR/rehearsal.json");
  zulpos::AddValue(*rehearse, "--junit", o.junit, "FILE",
                   "write JUnit XML, one test case per case (default with --report:\n"
                   "DIR/junit.xml)");
  zulpos::AddValue(*rehearse, "--json", o.json, "FILE",
                   "write the same facts as JSON (default with --report:\n"
                   "DIR/rehearsal.json)");
  zulpos::AddValue(*rehearse, "--drive-root", o.drive_root, "DIR",
                   "attended: the drive root of the real manager (POSIX: default\n"
                   "$ZUL_DRIVE_ROOT; Windows: the real drives). Otherwise the folder\n"
                   "in which each case gets its fresh drive root and host directory");
  zulpos::AddValue(*rehearse, "--package", o.package, "FILE",
                   "the package the host's starts load (default: zulpos's own)");
  zulpos::AddFlag(*rehearse, "--attended", o.attended,
                  "against a real manager: no tefsim; before each case the operator\n"
                  "is told what to do at the pinpad; what the manager decides is\n"
                  "checked against its actual answers");
  zulpos::AddValue(*rehearse, "--jobs", o.jobs, "N", "cases run at once (default 4; attended: 1)")
      ->check(Jobs());
  zulpos::AddValue(*rehearse, "--tefsim", o.tefsim, "PATH",
                   "the simulator to run (default: tefsim beside zulpos)");
  zulpos::AddValue(*rehearse, "--host-part", o.host_part, "PLAN",
                   "(used by the rehearsal itself) run one start of the host");
  return rehearse;
}

namespace {

namespace fs = std::filesystem;
using zulpos::PathFromTerminal;
using zulpos::PathToTerminal;

// A mistake in the book or in how the command was called: exit status 2.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

std::string tefsim_beside(const std::string& program_path) {
  const fs::path program(program_path);
  return (program.parent_path() / ("tefsim" + program.extension().string())).string();
}

std::string local_date_time() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
  return text;
}

std::string seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000);
  return text;
}

Book load_book(const RehearseOptions& o, std::string& path) {
  if (o.builtin == !o.book.empty())
    throw UsageError("rehearse needs a book: BOOK.toml or --builtin (one of them)");
  if (o.builtin) return BuiltinBook();
  path = PathFromTerminal(o.book);
  std::string text;
  try {
    text = tool_platform::read_file(path);
  } catch (const std::exception& error) {
    throw UsageError(std::string("cannot read the book: ") + error.what());
  }
  return ReadBook(text, PathToTerminal(path));
}

std::vector<int> select_cases(const Book& book, const RehearseOptions& o) {
  std::vector<int> selected;
  if (o.cases.empty()) {
    for (std::size_t i = 0; i < book.cases.size(); ++i) selected.push_back(static_cast<int>(i));
    return selected;
  }
  for (const std::string& name : o.cases) {
    int found = -1;
    for (std::size_t i = 0; i < book.cases.size(); ++i)
      if (book.cases[i].name == name) found = static_cast<int>(i);
    if (found < 0) throw UsageError("no case \"" + name + "\" in " + book.origin + " (see --list)");
    if (std::find(selected.begin(), selected.end(), found) == selected.end()) selected.push_back(found);
  }
  std::sort(selected.begin(), selected.end());
  return selected;
}

void list_cases(const Book& book, zulpos::Output& out) {
  std::size_t width = 0;
  for (const Case& c : book.cases) width = std::max(width, c.name.size());
  for (const Case& c : book.cases)
    out.stream() << c.name << std::string(width - c.name.size() + 2, ' ') << c.purpose << "\n";
  out.stream() << book.cases.size() << " cases in " << book.origin << std::endl;
}

// The folder the cases run in, removed at the end unless it is the report's.
class WorkFolder {
public:
  WorkFolder(const std::string& report, const std::string& drive_root) {
    if (!drive_root.empty()) path_ = drive_root;
    else if (!report.empty()) path_ = (fs::path(report) / "cases").string();
    else {
      path_ = tool_platform::make_temp_directory("zulpos-rehearsal-");
      temporary_ = true;
    }
    fs::create_directories(path_);
  }
  ~WorkFolder() {
    if (temporary_) tool_platform::remove_directory_tree(path_);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::string& path() const { return path_; }

private:
  std::string path_;
  bool temporary_ = false;
};

void write_report(const std::string& option, const std::string& path, const std::string& text,
                  zulpos::Output& out) {
  tool_platform::write_file(path, text);
  out.stream() << option.substr(2) << ": " << PathToTerminal(path) << "\n";
}

} // namespace

namespace {

int rehearse(zulpos::CommandContext& ctx, const RehearseOptions& o) {
  if (o.host_part) return RunHostPart(PathFromTerminal(*o.host_part), ctx.program_path);

  std::string book_path;
  const Book book = load_book(o, book_path);
  if (o.list) {
    list_cases(book, ctx.out);
    return 0;
  }
  const std::vector<int> selected = select_cases(book, o);
  RunOptions options;
  options.program = ctx.program_path;
  options.book_path = book_path;
  options.attended = o.attended;
  options.tefsim = o.tefsim.empty() ? tefsim_beside(ctx.program_path) : PathFromTerminal(o.tefsim);
  if (o.package) options.package = PathFromTerminal(*o.package);
  else if (ctx.global.package) options.package = PathFromTerminal(*ctx.global.package);
  // Before the command, --drive-root is where zulpos's own drives live: the
  // real manager's when attended, nothing to the simulated cases.
  auto drive = o.drive_root;
  std::string cases_in;
  if (options.attended) {
    if (!drive) drive = ctx.global.drive_root;
    options.jobs = 1;
    options.drive_root = drive ? PathFromTerminal(*drive) : "";
#ifndef _WIN32
    if (options.drive_root.empty())
      if (const char* environment = std::getenv("ZUL_DRIVE_ROOT")) options.drive_root = environment;
    if (options.drive_root.empty())
      throw UsageError("--attended needs the real manager's drive root: --drive-root DIR or $ZUL_DRIVE_ROOT");
#endif
    options.operator_in = tool_platform::stdin_is_terminal() ? &std::cin : nullptr;
    options.operator_out = &ctx.out.stream();
  } else if (drive) {
    cases_in = PathFromTerminal(*drive);
  }
  if (o.jobs && !options.attended) options.jobs = *o.jobs;
  const std::string report = PathFromTerminal(o.report);
  std::error_code error;
  if (!report.empty() && fs::exists(report, error) && !fs::is_directory(report, error))
    throw UsageError("--report wants a folder, not the file " + PathToTerminal(report));
  // First, so that --junit and --json may go into it.
  if (!report.empty()) fs::create_directories(report);
  for (const auto& [option, path] : {std::pair{"--junit", o.junit}, std::pair{"--json", o.json}}) {
    if (!path) continue;
    std::string file = *path;
    if (const std::string why = zulpos::OutputFile()(file); !why.empty())
      throw UsageError(option + (": " + why));
  }
  const WorkFolder work(report, cases_in);
  options.work_dir = work.path();
  options.report_dir = report;

  BookRecord record;
  record.title = book.title;
  record.origin = book.origin;
  record.attended = options.attended;
  record.started = local_date_time();
  record.versions =
      std::string("zulpos ") + zulpos::ZulposVersion() + ", package " + zulpos::PackageVersion();
  zulpos::Output& out = ctx.out;
  out.stream() << "Rehearsing " << selected.size() << " case" << (selected.size() == 1 ? "" : "s") << " of "
               << book.origin
               << (options.attended ? ", attended"
                                    : ", " +
                                          std::to_string(std::min<std::size_t>(
                                              static_cast<std::size_t>(options.jobs), selected.size())) +
                                          " at a time")
               << std::endl;
  int done = 0;
  const std::size_t width = std::to_string(selected.size()).size();
  options.on_case_done = [&](const CaseRecord& c) {
    const std::string number = std::to_string(++done);
    out.stream() << "[" << std::string(width - number.size(), ' ') << number << "/" << selected.size() << "] "
                 << c.Verdict() << " " << c.name << " (" << seconds(c.duration_ms) << ")";
    if (!c.passed) {
      // The report has it whole.
      std::string why = c.FirstFailure();
      if (why.size() > 200) {
        std::size_t cut = 197;
        while (cut > 0 && (static_cast<unsigned char>(why[cut]) & 0xC0) == 0x80) --cut; // whole characters
        why = why.substr(0, cut) + "...";
      }
      out.stream() << ": " << why;
    }
    out.stream() << std::endl;
  };
  tool_platform::install_stop_handler();
  const auto started = std::chrono::steady_clock::now();
  record.cases = RunCases(book, selected, options);
  // An interrupted run leaves the cases it never began out.
  record.cases.erase(std::remove_if(record.cases.begin(), record.cases.end(),
                                    [](const CaseRecord& c) { return c.name.empty(); }),
                     record.cases.end());
  record.duration_ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
          .count();

  const int passed = record.Passed();
  out.stream() << passed << " of " << record.cases.size() << " cases passed in "
               << seconds(record.duration_ms);
  if (const int unmet = record.PremisesNotMet())
    out.stream() << " (" << unmet << " whose premise the manager did not meet)";
  out.stream() << "\n";
  // The report's folder holds all three; --junit and --json put them where CI wants them.
  const auto place = [&](const std::optional<std::string>& option, const char* name) {
    if (option) return PathFromTerminal(*option);
    return report.empty() ? std::string() : (fs::path(report) / name).string();
  };
  if (!report.empty())
    write_report("--report", (fs::path(report) / "index.html").string(), HtmlReport(record), out);
  if (const std::string path = place(o.junit, "junit.xml"); !path.empty())
    write_report("--junit", path, JUnitReport(record), out);
  if (const std::string path = place(o.json, "rehearsal.json"); !path.empty())
    write_report("--json", path, JsonReport(record), out);
  out.stream() << std::flush;
  return passed == static_cast<int>(record.cases.size()) ? 0 : 1;
}

} // namespace

int RunRehearse(zulpos::CommandContext& ctx, const RehearseOptions& options) {
  try {
    return rehearse(ctx, options);
  } catch (const BookError& error) {
    std::cerr << "zulpos: " << error.what() << std::endl;
    return 2;
  } catch (const UsageError& error) {
    std::cerr << "zulpos: " << error.what() << "\nTry 'zulpos rehearse --help'." << std::endl;
    return 2;
  }
}

} // namespace rehearsal

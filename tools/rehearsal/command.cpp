#include "rehearsal/command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <utility>

#include "cli/command_line.h"
#include "rehearsal/book.h"
#include "rehearsal/host_part.h"
#include "rehearsal/identity.h"
#include "rehearsal/reports.h"
#include "rehearsal/runner.h"
#include "rehearsal/text.h"
#include "tool_platform/files.h"
#include "tool_platform/process.h"
#include "tool_platform/signals.h"
#include "tool_platform/temp_directory.h"
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
    "shows its result and time. Exit status 0 when every case run passed, 1 when one\n"
    "did not (failed, premise not met, not observed, no expectation, interrupted),\n"
    "2 for a mistake in the book (named by its line) or the command line.\n"
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
  zulpos::AddFlag(*rehearse, "--print-book", o.print_book,
                  "print the book's text (the built-in one with --builtin), so that\n"
                  "\"book line N\" in a report can be read; run nothing");
  zulpos::AddValue(*rehearse, "--ran-by", o.ran_by, "NAME", "the sign-off: who ran the rehearsal");
  zulpos::AddValue(*rehearse, "--store", o.store, "TEXT", "the sign-off: the store and till");
  zulpos::AddValue(*rehearse, "--pinpad", o.pinpad, "TEXT", "the sign-off: the pinpad used");
  zulpos::AddValue(*rehearse, "--cards", o.cards, "TEXT", "the sign-off: the cards used");
  zulpos::AddRepeatable(*rehearse, "--network-case", o.network_cases, "NAME=NUMBER",
                        "the sign-off: the network's own number for case NAME; repeatable");
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

std::string local_date_time(std::time_t now) {
  char text[32];
  const std::tm local = LocalTime(now);
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string summary_seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000);
  return text;
}

// The book's path (empty for the built-in one) and its text as read.
std::pair<std::string, std::string> book_text(const RehearseOptions& o) {
  if (o.builtin == !o.book.empty())
    throw UsageError("rehearse needs a book: BOOK.toml or --builtin (one of them)");
  if (o.builtin) return {std::string(), BuiltinBookText()};
  const std::string path = PathFromTerminal(o.book);
  try {
    return {path, tool_platform::read_file(path)};
  } catch (const std::exception& error) {
    throw UsageError(std::string("cannot read the book: ") + error.what());
  }
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

// A reused report folder holds this run's cases only: the case folders an
// earlier run left (NN-name) go, and nothing else of the folder is touched.
void clear_old_cases(const std::string& cases) {
  std::error_code error;
  if (!fs::is_directory(cases, error)) return;
  std::vector<fs::path> old;
  for (const fs::directory_entry& entry : fs::directory_iterator(cases, error)) {
    const std::string name = entry.path().filename().string();
    const bool ours = name.size() > 3 && std::isdigit(static_cast<unsigned char>(name[0])) &&
                      std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == '-';
    if (ours && entry.is_directory(error)) old.push_back(entry.path());
  }
  for (const fs::path& folder : old) tool_platform::remove_directory_tree(folder.string());
}

// "--network-case NAME=NUMBER": the number by case name.
std::map<std::string, std::string> network_cases(const RehearseOptions& o, const Book& book) {
  std::map<std::string, std::string> numbers;
  for (const std::string& given : o.network_cases) {
    const std::size_t equals = given.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == given.size())
      throw UsageError("--network-case wants NAME=NUMBER, not '" + given + "'");
    const std::string name = given.substr(0, equals);
    if (std::none_of(book.cases.begin(), book.cases.end(), [&](const Case& c) { return c.name == name; }))
      throw UsageError("--network-case: no case \"" + name + "\" in " + book.origin + " (see --list)");
    numbers[name] = given.substr(equals + 1);
  }
  return numbers;
}

BookSignOff sign_off(const RehearseOptions& o, const Book& book) {
  BookSignOff signoff = book.signoff;
  for (const auto& [option, field] :
       {std::pair{&o.ran_by, &signoff.ran_by}, std::pair{&o.store, &signoff.store},
        std::pair{&o.pinpad, &signoff.pinpad}, std::pair{&o.cards, &signoff.cards}})
    if (*option) *field = **option;
  return signoff;
}

// The package's identity: its path, version and a hash of its file. The
// rehearsal's starts load `path`; zulpos itself loaded `loaded`.
void identify_package(Identity& identity, const std::string& path, const std::string& loaded) {
  std::error_code error;
  const fs::path shown = fs::weakly_canonical(path, error);
  identity.package_path = error ? path : shown.string();
  try {
    identity.package_sha256 = Sha256Hex(tool_platform::read_file(path));
  } catch (const std::exception&) {
    // Found by the system's search: no file of ours to hash. Said as such.
  }
  if (path == loaded) {
    identity.package_version = zulpos::PackageVersion();
    return;
  }
  try {
    const zulpos::LoadedPackage package(path);
    identity.package_version = zulpos::PackageVersion();
  } catch (const std::exception& error) {
    identity.package_version = std::string("cannot be loaded: ") + error.what();
  }
}

// One line per case: a reason cut at a word; the report has it whole.
std::string console_reason(const std::string& why) {
  std::string line = why;
  for (char& c : line)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return CutAtWord(line, 110);
}

void write_report(const std::string& option, const std::string& path, const std::string& text,
                  zulpos::Output& out) {
  tool_platform::write_file(path, text);
  out.stream() << option.substr(2) << ": " << PathToTerminal(path) << "\n";
}

} // namespace

namespace {

int rehearse(zulpos::CommandContext& ctx, const RehearseOptions& o) {
  if (o.host_part) return RunHostPart(PathFromTerminal(*o.host_part), ctx.program_path);

  const auto [book_path, text] = book_text(o);
  if (o.print_book) {
    ctx.out.stream() << text << std::flush;
    return 0;
  }
  const Book book = ReadBook(text, book_path.empty() ? "built-in book" : PathToTerminal(book_path));
  if (o.list) {
    list_cases(book, ctx.out);
    return 0;
  }
  const std::vector<int> selected = select_cases(book, o);
  const std::map<std::string, std::string> numbers = network_cases(o, book);
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
    if (options.drive_root.empty()) options.drive_root = tool_platform::drive_root_variable();
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
  if (!report.empty()) clear_old_cases((fs::path(report) / "cases").string());
  const WorkFolder work(report, cases_in);
  if (!cases_in.empty()) clear_old_cases(work.path());
  options.work_dir = work.path();
  options.report_dir = report;

  BookRecord record;
  record.title = book.title;
  record.origin = book.origin;
  record.attended = options.attended;
  const std::time_t now = std::time(nullptr);
  record.started = local_date_time(now);
  Identity& identity = record.identity;
  identity.started_iso = IsoLocalTime(now);
  identity.book_sha256 = Sha256Hex(text);
  identity.tools_version = std::string("zulpos ") + zulpos::ZulposVersion();
  identity.machine = tool_platform::machine_description();
  const std::string loaded = ctx.global.package ? PathFromTerminal(*ctx.global.package)
                                                : zulpos::DefaultPackagePath(ctx.program_path);
  identify_package(identity, options.package.empty() ? loaded : options.package, loaded);
  record.versions = identity.tools_version + ", package " + identity.package_version;
  record.signoff = sign_off(o, book);
  if (!report.empty()) {
    // The book as run, beside the report: its line numbers are the marks'.
    identity.book_copy = "book.toml";
    tool_platform::write_file((fs::path(report) / identity.book_copy).string(), text);
  }

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
                 << c.Verdict() << " " << c.name << " (" << summary_seconds(c.duration_ms) << ")";
    if (const std::string why = c.FirstFailure(); !why.empty()) out.stream() << ": " << console_reason(why);
    out.stream() << std::endl;
  };
  tool_platform::install_stop_handler();
  const auto started = std::chrono::steady_clock::now();
  std::vector<CaseRecord> ran = RunCases(book, selected, options);
  record.duration_ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
          .count();
  // Every case of the book is in the report: those left out with --case, or
  // never begun because the run was interrupted, as not run.
  for (std::size_t i = 0; i < book.cases.size(); ++i) {
    const Case& c = book.cases[i];
    const auto slot = std::find(selected.begin(), selected.end(), static_cast<int>(i));
    CaseRecord& added = record.cases.emplace_back();
    if (slot != selected.end() && !ran[static_cast<std::size_t>(slot - selected.begin())].name.empty()) {
      added = std::move(ran[static_cast<std::size_t>(slot - selected.begin())]);
    } else {
      added.index = static_cast<int>(i);
      added.name = c.name;
      added.purpose = c.purpose;
      added.operator_text = c.operator_text;
      added.network_case = c.network_case;
      added.not_run = true;
      added.not_run_reason = slot == selected.end()
                                 ? "not run: left out with --case"
                                 : "not run: the rehearsal was interrupted before it began";
    }
    if (const auto given = numbers.find(c.name); given != numbers.end()) added.network_case = given->second;
  }

  const int passed = record.Passed();
  const int to_run = static_cast<int>(selected.size());
  out.stream() << passed << " of " << to_run << " cases passed in " << summary_seconds(record.duration_ms);
  std::string others;
  for (const Status status : kStatuses) {
    const int count = record.Count(status);
    if (status == Status::Pass || count == 0) continue;
    if (status == Status::NotRun && o.cases.size() > 0 &&
        count == static_cast<int>(book.cases.size()) - to_run)
      continue; // left out on purpose: said below
    others += (others.empty() ? "" : ", ") + std::to_string(count) + " " + StatusCounted(status);
  }
  if (!others.empty()) out.stream() << " (" << others << ")";
  if (to_run < static_cast<int>(book.cases.size()))
    out.stream() << "; " << book.cases.size() - selected.size() << " of the book's " << book.cases.size()
                 << " left out with --case";
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
  if (const std::string path = place(o.json, "rehearsal.json"); !path.empty()) {
    write_report("--json", path, JsonReport(record), out);
    // Its schema beside it, so that a tool reading it knows what to expect.
    tool_platform::write_file((fs::path(path).parent_path() / kJsonSchemaName).string(), JsonSchema());
  }
  out.stream() << std::flush;
  return passed == to_run ? 0 : 1;
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

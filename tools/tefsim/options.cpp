#include "tefsim/options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "cli/command_line.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text_encoding.h"
#include "tefsim/scenario.h"
#include "zul_source_id.h"

namespace tefsim {

namespace {

// "dial" and the others, as exchange roots; empty for an unknown name.
std::string root_of(std::string_view name) {
  if (name == "dial") return "c:\\tef_dial\\";
  if (name == "disc") return "c:\\tef_disc\\";
  if (name == "hiper") return "c:\\HiperTEF\\";
  return {};
}

std::vector<std::string> roots_of(std::string_view list) {
  std::vector<std::string> roots;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string root = root_of(list.substr(0, comma));
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
    if (comma == std::string_view::npos) return roots;
    list.remove_prefix(comma + 1);
  }
}

CLI::Validator Roots() {
  return zul_cli::Check("roots", [](std::string& list) -> std::string {
    for (std::string_view rest = list;;) {
      const std::size_t comma = rest.find(',');
      const std::string_view name = rest.substr(0, comma);
      if (root_of(name).empty()) return "unknown root \"" + std::string(name) + "\" (dial, disc or hiper)";
      if (comma == std::string_view::npos) return {};
      rest.remove_prefix(comma + 1);
    }
  });
}

CLI::Validator PollMs() {
  return zul_cli::Check("poll ms", [](std::string& text) -> std::string {
    std::uint32_t ms = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || ms == 0)
      return "a whole number of milliseconds above 0, not \"" + text + "\"";
    return {};
  });
}

CLI::Validator SelectorAndMs() {
  return zul_cli::Check("SEL=MS", [](std::string& text) -> std::string {
    return text.rfind('=') == std::string::npos ? "SELECTOR=MS, not \"" + text + "\"" : std::string();
  });
}

CLI::Validator ExistingFolder() {
  return zul_cli::Check("folder", [](std::string& folder) -> std::string {
    return zul00500::platform::native_fs().directory_exists(folder)
               ? std::string()
               : "the folder " + folder + " does not exist";
  });
}

constexpr const char* kDescription =
    "Plays the TEF manager of one or more exchange roots: takes each request\n"
    "file req\\intpos.001, removes it, and answers in resp\\ the way a manager\n"
    "does, or misbehaves the way the scenario says. Logs one line per event.\n"
    "Stops cleanly on Ctrl+C or SIGTERM.";

std::string footer() {
  return "Scenario: one line per directive, \"SEL: DIRECTIVE [ARGUMENT]\". SEL is an\n"
         "operation code (ATV, CNF, NCN, CRT, CHQ, CNC) or * for every operation,\n"
         "optionally followed by #N for its N-th request only or #N+ for the N-th and\n"
         "later ones (counted per operation over every root). Every matching line\n"
         "applies, in order, so a later line overrides an earlier one. Lines starting\n"
         "with # are comments. Example:\n"
         "\n"
         "  ATV: delay 300\n"
         "  ATV#2: silent\n"
         "  CNF#1+: wrong-header\n"
         "  CRT#1: refuse\n"
         "  CRT#2: network TECBAN\n"
         "\n"
         "Without a directive a request gets a status file repeating its header (and\n"
         "its sequence); sales (CRT, CHQ) then get an approved answer with receipt.\n"
         "\n"
         "Directives, by the file they change:\n" +
         directive_help();
}

// The options as CLI11 knows them, bound to `options`. The scenario lines
// are added as each option is parsed, so that they keep the command line's
// order.
void declare(CLI::App& app, Options& options) {
  zul_cli::SetUp(app, footer());
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  Options& o = options;
  app.add_option_function<std::string>(
         "--roots", [&o](const std::string& list) { o.roots = roots_of(list); },
         "roots to serve, comma-separated: dial (c:\\tef_dial\\),\n"
         "disc (c:\\tef_disc\\), hiper (c:\\HiperTEF\\); default dial")
      ->type_name("LIST")
      ->check(Roots());
  // What the platform would use right now, so that an integrator knows where
  // to look for c:\.
  const std::string default_root = zul00500::platform::cp1252_to_utf8(zul00500::platform::drive_root());
  app.add_option("--drive-root", o.drive_root,
                 "folder holding the drive letters (c:\\ is DIR/c); default\n"
                 "$ZUL_DRIVE_ROOT, else $XDG_DATA_HOME/zul00500/drives,\n"
                 "else ~/.local/share/zul00500/drives on POSIX; the real\n"
                 "drives on Windows" +
                     (default_root.empty() ? std::string() : "\n(here: " + default_root + ")"))
      ->type_name("DIR");
  app.add_option("--scenario", o.scenario_file, "scenario lines from FILE (format below)")->type_name("FILE");
  auto rule = [&app, &o](const char* name, const char* value_name, const char* help, auto line) {
    app.add_option_function<std::string>(
           name, [&o, line](const std::string& value) { o.rules.push_back(line(value)); }, help)
        ->type_name(value_name)
        ->trigger_on_parse();
  };
  rule("--rule", "LINE", "one scenario line; repeatable, applied after the file",
       [](const std::string& line) { return line; });
  rule("--silent", "SEL", "same as --rule \"SEL: silent\"",
       [](const std::string& selector) { return selector + ": silent"; });
  rule("--delay", "SEL=MS", "same as --rule \"SEL: delay MS\"", [](const std::string& text) {
    const std::size_t equals = text.rfind('=');
    return text.substr(0, equals) + ": delay " + text.substr(equals + 1);
  });
  app.get_option("--delay")->check(SelectorAndMs());
  rule("--wrong-header", "SEL", "same as --rule \"SEL: wrong-header\"",
       [](const std::string& selector) { return selector + ": wrong-header"; });
  rule("--empty-status", "SEL", "same as --rule \"SEL: empty-status\"",
       [](const std::string& selector) { return selector + ": empty-status"; });
  app.add_option("--log", o.log_file, "append the log to FILE instead of standard output")->type_name("FILE");
  app.add_option("--keep-requests", o.keep_requests,
                 "keep a byte-exact copy of every request taken, as\n"
                 "DIR/ATV-1.001, DIR/CRT-2.001, ... (DIR must exist)")
      ->type_name("DIR")
      ->check(ExistingFolder());
  app.add_option("--keep-written", o.keep_written,
                 "keep a byte-exact copy of every file written (each piece\n"
                 "of a torn write apart), named after the request and the\n"
                 "count of writes for it: DIR/CRT-2-1.sts, DIR/CRT-2-2.001")
      ->type_name("DIR")
      ->check(ExistingFolder());
  app.add_option("--lease", o.lease,
                 "stop once FILE is gone or untouched for 10 seconds: a program\n"
                 "that starts tefsim touches it while it needs tefsim, and\n"
                 "tefsim does not outlive it however it ends")
      ->type_name("FILE");
  app.add_option("--poll-ms", o.poll_ms, "pause between two looks at the request files (default 100)")
      ->type_name("N")
      ->check(PollMs());
  app.add_flag("--version", o.version, "print tefsim's version")->disable_flag_override();
  app.add_flag("--bash-completion", o.bash_completion, "print a bash completion script for tefsim")
      ->disable_flag_override();
}

// tefsim's table, with the options it fills.
struct Table {
  Options options;
  CLI::App app{kDescription, "tefsim"};
  Table() { declare(app, options); }
};

} // namespace

Options parse_options(const std::vector<std::string>& args) {
  Table table;
  zul_cli::Parse(table.app, args);
  return table.options;
}

int report(const CLI::ParseError& error, std::ostream& out, std::ostream& err) {
  Table table;
  return zul_cli::Report(table.app, error, out, err);
}

std::string usage() { return Table().app.help(); }

std::string version_text() { return std::string("tefsim ") + ZUL_BUILD_DESCRIPTION + "\n"; }

std::string bash_completion() { return zul_cli::BashCompletion(Table().app, "tefsim"); }

std::vector<std::string> option_names() {
  Table table;
  std::vector<std::string> names;
  for (const CLI::Option* option : table.app.get_options())
    names.push_back("--" + option->get_lnames().front());
  return names;
}

} // namespace tefsim

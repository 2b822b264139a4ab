#include "tefsim/options.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <string_view>

#include "cli/command_line.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "tefsim/scenario.h"

namespace tefsim {

namespace {

std::string root_of(std::string_view name) {
  if (name == "dial") return "c:\\tef_dial\\";
  if (name == "disc") return "c:\\tef_disc\\";
  if (name == "hiper") return "c:\\HiperTEF\\";
  throw UsageError("unknown root \"" + std::string(name) + "\" (dial, disc or hiper)");
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

// "SEL=VALUE" of --delay, split.
std::pair<std::string, std::string> selector_and_value(const std::string& option, const std::string& text) {
  const std::size_t equals = text.rfind('=');
  if (equals == std::string::npos) throw UsageError(option + " wants SELECTOR=VALUE, not \"" + text + "\"");
  return {text.substr(0, equals), text.substr(equals + 1)};
}

constexpr const char* kValueOptions[][2] = {
    {"--roots", "LIST"}, {"--drive-root", "DIR"},    {"--scenario", "FILE"},    {"--rule", "LINE"},
    {"--silent", "SEL"}, {"--delay", "SEL=MS"},      {"--wrong-header", "SEL"}, {"--empty-status", "SEL"},
    {"--log", "FILE"},   {"--keep-requests", "DIR"}, {"--keep-written", "DIR"}, {"--lease", "FILE"},
    {"--poll-ms", "N"},
};

// The options as CLI11 knows them; usage() describes them. Every value is
// kept, in order, and read off afterwards in command-line order.
void declare(CLI::App& app) {
  app.set_help_flag();
  app.allow_windows_style_options(false);
  for (const auto& [name, type] : kValueOptions)
    app.add_option(name)->type_name(type)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  for (const char* flag : {"-h,--help", "--version", "--bash-completion"})
    app.add_flag(flag)->disable_flag_override();
}

std::uint32_t poll_ms_of(const std::string& text) {
  std::uint32_t ms = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || ms == 0)
    throw UsageError("--poll-ms wants a whole number of milliseconds above 0, not \"" + text + "\"");
  return ms;
}

// One option as given: a later --roots, --log... replaces an earlier one;
// scenario lines add up.
void apply(Options& options, const std::string& option, const std::string& value) {
  if (option == "--help") options.help = true;
  else if (option == "--version") options.version = true;
  else if (option == "--bash-completion") options.bash_completion = true;
  else if (option == "--roots") options.roots = roots_of(value);
  else if (option == "--drive-root") options.drive_root = value;
  else if (option == "--scenario") options.scenario_file = value;
  else if (option == "--log") options.log_file = value;
  else if (option == "--keep-requests") options.keep_requests = value;
  else if (option == "--keep-written") options.keep_written = value;
  else if (option == "--lease") options.lease = value;
  else if (option == "--poll-ms") options.poll_ms = poll_ms_of(value);
  else if (option == "--rule") options.rules.push_back(value);
  else if (option == "--delay") {
    const auto [selector, ms] = selector_and_value(option, value);
    options.rules.push_back(selector + ": delay " + ms);
  } else options.rules.push_back(value + ": " + option.substr(2)); // --silent, --wrong-header...
}

} // namespace

Options parse_options(const std::vector<std::string>& args) {
  CLI::App app("", "tefsim");
  declare(app);
  try {
    zul_cli::Parse(app, args);
  } catch (const CLI::ParseError& error) {
    throw UsageError(zul_cli::Message(error));
  }
  Options options;
  std::map<const CLI::Option*, std::size_t> used;
  for (const CLI::Option* option : app.parse_order()) {
    const std::size_t index = used[option]++;
    const std::string name = "--" + option->get_lnames().front();
    const auto& results = option->results();
    apply(options, name, option->get_expected_max() == 0 || index >= results.size() ? "" : results[index]);
  }
  return options;
}

std::string version_text() { return std::string("tefsim ") + ZUL_VERSION + "\n"; }

std::string bash_completion() {
  CLI::App app("", "tefsim");
  declare(app);
  return zul_cli::BashCompletion(app, "tefsim");
}

std::vector<std::string> option_names() {
  CLI::App app("", "tefsim");
  declare(app);
  std::vector<std::string> names;
  for (const CLI::Option* option : app.get_options()) names.push_back("--" + option->get_lnames().front());
  return names;
}

void check_folders(const Options& options) {
  const std::pair<const char*, const std::string*> folders[] = {{"--keep-requests", &options.keep_requests},
                                                                {"--keep-written", &options.keep_written}};
  for (const auto& [option, folder] : folders)
    if (!folder->empty() && !zul00500::platform::native_fs().directory_exists(*folder))
      throw UsageError(std::string(option) + ": the folder " + *folder + " does not exist");
}

std::string usage() {
  // What the platform would use right now, so that an integrator knows where
  // to look for c:\.
  const std::string default_root = zul00500::platform::drive_root();
  const std::string here =
      default_root.empty() ? "" : "\n                        (here: " + default_root + ")";
  return "Usage: tefsim [options]\n"
         "\n"
         "Plays the TEF manager of one or more exchange roots: takes each request\n"
         "file req\\intpos.001, removes it, and answers in resp\\ the way a manager\n"
         "does, or misbehaves the way the scenario says. Logs one line per event.\n"
         "Stops cleanly on Ctrl+C or SIGTERM.\n"
         "\n"
         "Options:\n"
         "  --roots LIST          roots to serve, comma-separated: dial (c:\\tef_dial\\),\n"
         "                        disc (c:\\tef_disc\\), hiper (c:\\HiperTEF\\); default dial\n"
         "  --drive-root DIR      folder holding the drive letters (c:\\ is DIR/c); default\n"
         "                        $ZUL_DRIVE_ROOT, else $XDG_DATA_HOME/zul00500/drives,\n"
         "                        else ~/.local/share/zul00500/drives on POSIX; the real\n"
         "                        drives on Windows" +
         here +
         "\n"
         "  --scenario FILE       scenario lines from FILE (format below)\n"
         "  --rule LINE           one scenario line; repeatable, applied after the file\n"
         "  --silent SEL          same as --rule \"SEL: silent\"\n"
         "  --delay SEL=MS        same as --rule \"SEL: delay MS\"\n"
         "  --wrong-header SEL    same as --rule \"SEL: wrong-header\"\n"
         "  --empty-status SEL    same as --rule \"SEL: empty-status\"\n"
         "  --log FILE            append the log to FILE instead of standard output\n"
         "  --keep-requests DIR   keep a byte-exact copy of every request taken, as\n"
         "                        DIR/ATV-1.001, DIR/CRT-2.001, ... (DIR must exist)\n"
         "  --keep-written DIR    keep a byte-exact copy of every file written (each piece\n"
         "                        of a torn write apart), named after the request and the\n"
         "                        count of writes for it: DIR/CRT-2-1.sts, DIR/CRT-2-2.001\n"
         "  --lease FILE          stop once FILE is gone or untouched for 10 seconds: a program\n"
         "                        that starts tefsim touches it while it needs tefsim, and\n"
         "                        tefsim does not outlive it however it ends\n"
         "  --poll-ms N           pause between two looks at the request files (default 100)\n"
         "  --version             print tefsim's version\n"
         "  --bash-completion     print a bash completion script for tefsim\n"
         "  --help                this text\n"
         "\n"
         "Scenario: one line per directive, \"SEL: DIRECTIVE [ARGUMENT]\". SEL is an\n"
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

} // namespace tefsim

#include "tefsim/options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

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

} // namespace

Options parse_options(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string option = args[i];
    std::string value;
    bool has_value = false;
    if (const std::size_t equals = option.find('=');
        option.starts_with("--") && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
      has_value = true;
    }
    auto argument = [&]() -> const std::string& {
      if (!has_value) {
        if (i + 1 >= args.size()) throw UsageError(option + " needs a value");
        value = args[++i];
        has_value = true;
      }
      return value;
    };

    if (option == "--help" || option == "-h") {
      if (has_value) throw UsageError(option + " takes no value");
      options.help = true;
    } else if (option == "--roots") {
      options.roots = roots_of(argument());
    } else if (option == "--drive-root") {
      options.drive_root = argument();
    } else if (option == "--scenario") {
      options.scenario_file = argument();
    } else if (option == "--log") {
      options.log_file = argument();
    } else if (option == "--keep-requests") {
      options.keep_requests = argument();
    } else if (option == "--poll-ms") {
      const std::string& text = argument();
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), options.poll_ms);
      if (text.empty() || error != std::errc() || end != text.data() + text.size() || options.poll_ms == 0)
        throw UsageError("--poll-ms wants a whole number of milliseconds above 0, not \"" + text + "\"");
    } else if (option == "--rule") {
      options.rules.push_back(argument());
    } else if (option == "--silent" || option == "--wrong-header" || option == "--empty-status") {
      options.rules.push_back(argument() + ": " + option.substr(2));
    } else if (option == "--delay") {
      const auto [selector, ms] = selector_and_value(option, argument());
      options.rules.push_back(selector + ": delay " + ms);
    } else {
      throw UsageError("unknown option \"" + args[i] + "\"");
    }
  }
  return options;
}

void check_folders(const Options& options) {
  if (!options.keep_requests.empty() &&
      !zul00500::platform::native_fs().directory_exists(options.keep_requests))
    throw UsageError("--keep-requests: the folder " + options.keep_requests + " does not exist");
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
         "  --poll-ms N           pause between two looks at the request files (default 100)\n"
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

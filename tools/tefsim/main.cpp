// tefsim: a TEF manager simulator. Serves the exchange roots chosen on the
// command line until Ctrl+C or SIGTERM; see usage() for the options and the
// scenario format.
#include <cstdio>
#include <deque>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text_encoding.h"
#include "tefsim/lease.h"
#include "tefsim/manager.h"
#include "tefsim/options.h"
#include "tool_platform/signals.h"

namespace platform = zul00500::platform;

namespace {

// One line per event, time first, flushed at once so that a reader (or an
// integration test) sees it while the simulator runs. A log file gets the
// code page 1252 bytes as they are; the terminal gets UTF-8.
class LogWriter {
public:
  explicit LogWriter(const std::string& path) {
    if (path.empty()) return;
    file_.open(path, std::ios::binary | std::ios::app);
    if (!file_) throw std::runtime_error("cannot open the log file " + path);
  }

  void operator()(const std::string& text) {
    const auto t = platform::decode_date_time(platform::clock().now());
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d ", t.hour, t.minute, t.second, t.millisecond);
    if (file_.is_open()) file_ << stamp << text << "\r\n" << std::flush;
    else std::cout << stamp << platform::cp1252_to_utf8(text) << "\n" << std::flush;
  }

private:
  std::ofstream file_;
};

std::string read_text_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw tefsim::UsageError("cannot read the scenario file " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Scenarios are typed in UTF-8, as a terminal and an editor write them; the
// answers carry their texts in code page 1252, as a manager writes them. A
// scenario file already in the code page passes as it is.
tefsim::Scenario load_scenario(const tefsim::Options& options) {
  tefsim::Scenario scenario;
  if (!options.scenario_file.empty())
    scenario.add_text(platform::utf8_or_cp1252_to_cp1252(read_text_file(options.scenario_file)),
                      options.scenario_file);
  for (const std::string& rule : options.rules) scenario.add_line(platform::utf8_or_cp1252_to_cp1252(rule));
  return scenario;
}

} // namespace

int main(int argc, char** argv) {
  // First of all: a stop request that comes while starting up must not be lost.
  tool_platform::install_stop_handler();
  tefsim::Options options;
  tefsim::Scenario scenario;
  try {
    options = tefsim::parse_options(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const CLI::ParseError& error) {
    return tefsim::report(error, std::cout, std::cerr);
  }
  if (options.version || options.bash_completion) {
    std::cout << (options.version ? tefsim::version_text() : tefsim::bash_completion());
    return 0;
  }
  try {
    scenario = load_scenario(options);
  } catch (const std::exception& e) {
    std::cerr << "tefsim: " << e.what() << "\nTry 'tefsim --help'.\n";
    return 2;
  }

  try {
    // The package's paths are code page 1252 text; the option is typed in UTF-8.
    if (!options.drive_root.empty())
      platform::set_drive_root(platform::utf8_or_cp1252_to_cp1252(options.drive_root));
    // Where drive letters live (none on Windows without --drive-root): a
    // folder that is not there yet is made with the roots' folders, and said.
    const std::string drive_root = platform::drive_root();
    const bool new_drive_root = !drive_root.empty() && !platform::native_fs().directory_exists(drive_root);
    LogWriter log(options.log_file);
    tefsim::Simulation simulation(std::move(scenario));
    simulation.keep_requests_in(options.keep_requests);
    simulation.keep_written_in(options.keep_written);
    std::deque<tefsim::Manager> managers;
    for (const std::string& root : options.roots) {
      tefsim::Manager& manager = managers.emplace_back(root, simulation, std::ref(log));
      manager.prepare();
      log("tefsim: serving " + root + " (" + platform::fs().native_path(root) + ")");
    }
    if (new_drive_root)
      std::cerr << "tefsim: made the drive root " << platform::cp1252_to_utf8(drive_root) << "; c:\\ is "
                << platform::fs().native_path("c:\\") << std::endl;

    const tefsim::Lease lease(options.lease);
    while (!tool_platform::stop_requested()) {
      for (tefsim::Manager& manager : managers) manager.poll();
      if (lease.expired()) {
        log("tefsim: the lease " + options.lease + " is gone or stale: stopping");
        break;
      }
      platform::pause(options.poll_ms);
    }
    log("tefsim: stopped");
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "tefsim: " << e.what() << "\n";
    return 1;
  }
}

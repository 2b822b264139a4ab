// settlement_sim: whole days at the till from one seed each, judged step by
// step; a day that breaks an invariant is shrunk and printed. See
// docs/simulation.md.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sim/history.h"
#include "sim/shrink.h"
#include "sim/sim_world.h"
#include "tool_platform/files.h"
#include "tool_platform/process.h"
#include "tool_platform/spawn.h"
#include "tool_platform/temp_directory.h"

namespace {

using namespace zul00500::sim;

constexpr const char* kUsage =
    "usage: settlement_sim [--histories N] [--seed S] [--steps K] [--jobs J] [--no-shrink] [--allow F]\n"
    "       settlement_sim --replay SEED [--steps K] [--no-shrink]\n"
    "       settlement_sim --history FILE [--replay] [--no-shrink]\n"
    "Plays N days from consecutive seeds S, S+1, ... (K host actions each; J at once)\n"
    "and prints one line per day that broke an invariant, with its shrunk history.\n"
    "--replay prints one day whole as a timeline (its shrunk form when it breaks one).\n"
    "--history plays a history in its text form (as a violation prints it).\n"
    "--allow F exits with success while at most F days broke one (known, open findings).\n";

struct Options {
  std::uint64_t histories = 1;
  std::uint64_t seed = 1;
  int steps = 16;
  int jobs = 1;
  bool shrink = true;
  bool replay = false;
  std::uint64_t allowed = 0; // days that may break an invariant before the exit status says so
  std::string history_file;
  int worker = -1; // a worker plays the seeds whose index is `worker` modulo `jobs`
};

bool ParseNumber(const char* text, std::uint64_t& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return *text != '\0' && *end == '\0';
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::uint64_t n = 0;
    const bool has_value = i + 1 < argc;
    if (arg == "--no-shrink") options.shrink = false;
    else if (arg == "--replay" && has_value && ParseNumber(argv[i + 1], n))
      options.replay = true, options.seed = n, ++i;
    else if (arg == "--replay") options.replay = true;
    else if (arg == "--history" && has_value) options.history_file = argv[++i];
    else if (!has_value || !ParseNumber(argv[i + 1], n)) return false;
    else if (arg == "--histories") options.histories = n, ++i;
    else if (arg == "--seed") options.seed = n, ++i;
    else if (arg == "--allow") options.allowed = n, ++i;
    else if (arg == "--steps" && n > 0 && n <= 1000) options.steps = static_cast<int>(n), ++i;
    else if (arg == "--jobs" && n > 0 && n <= 64) options.jobs = static_cast<int>(n), ++i;
    else if (arg == "--worker") options.worker = static_cast<int>(n), ++i;
    else return false;
  }
  return true;
}

std::string Indented(const std::string& text) {
  std::string out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out += "  " + line + "\n";
  return out;
}

// The report of one day that broke an invariant: its line, then its shrunk
// history.
std::string Report(const History& history, const Violation& violation, bool shrink) {
  std::ostringstream out;
  if (!shrink) {
    out << "seed " << history.seed << ": " << violation.invariant << " at step " << violation.step << " of "
        << history.steps.size() << ": " << violation.why << "\n"
        << Indented(Describe(history));
    return out.str();
  }
  const Shrunk shrunk = Shrink(history, violation);
  out << "seed " << history.seed << ": " << shrunk.violation.invariant << " at step " << shrunk.violation.step
      << " of " << shrunk.history.steps.size() << " (shrunk from " << history.steps.size() << " in "
      << shrunk.runs << " days): " << shrunk.violation.why << "\n"
      << Indented(Describe(shrunk.history));
  return out.str();
}

int Replay(const History& history, bool shrink) {
  DayResult day = RunDay(history, true);
  if (day.violation && shrink) {
    const Shrunk shrunk = Shrink(history, *day.violation);
    std::cout << "# seed " << history.seed << " broke " << day.violation->invariant << "; shrunk from "
              << history.steps.size() << " steps to " << shrunk.history.steps.size() << ":\n";
    day = RunDay(shrunk.history, true);
  }
  std::cout << day.timeline;
  return day.violation ? 1 : 0;
}

struct Tally {
  std::uint64_t passed = 0, failed = 0;
};

// Plays this process's share of the seeds; each report goes to `out` after
// a line "@@ seed" so that the parent can put the workers' reports in order.
Tally Play(const Options& options, std::ostream& out, bool marked) {
  Tally tally;
  for (std::uint64_t i = 0; i < options.histories; ++i) {
    if (options.worker >= 0 &&
        static_cast<int>(i % static_cast<std::uint64_t>(options.jobs)) != options.worker)
      continue;
    const History history = Generate(options.seed + i, options.steps);
    const DayResult day = RunDay(history, false);
    if (!day.violation) {
      ++tally.passed;
      continue;
    }
    ++tally.failed;
    if (marked) out << "@@ " << history.seed << "\n";
    out << Report(history, *day.violation, options.shrink) << std::flush;
  }
  if (marked) out << "@@ tally " << tally.passed << " " << tally.failed << "\n";
  return tally;
}

Tally PlayInParallel(const Options& options, const char* argv0) {
  const std::string folder = tool_platform::make_temp_directory("settlement_sim");
  std::string program = tool_platform::executable_path();
  if (program.empty()) program = argv0;
  std::vector<tool_platform::ChildProcess> workers;
  std::vector<std::string> outputs;
  for (int k = 0; k < options.jobs; ++k) {
    outputs.push_back(folder + "/worker" + std::to_string(k) + ".txt");
    std::vector<std::string> arguments = {"--histories", std::to_string(options.histories),
                                          "--seed",      std::to_string(options.seed),
                                          "--steps",     std::to_string(options.steps),
                                          "--jobs",      std::to_string(options.jobs),
                                          "--worker",    std::to_string(k)};
    if (!options.shrink) arguments.push_back("--no-shrink");
    workers.push_back(tool_platform::spawn(program, arguments, {outputs.back()}));
  }
  for (auto& worker : workers)
    while (!worker.wait_for(1000)) {
    }
  Tally tally;
  std::map<std::uint64_t, std::string> reports;
  for (const std::string& output : outputs) {
    std::istringstream in(tool_platform::read_file(output));
    std::string line, *current = nullptr;
    bool counted = false;
    while (std::getline(in, line)) {
      if (line.rfind("@@ tally ", 0) == 0) {
        std::istringstream numbers(line.substr(9));
        std::uint64_t passed = 0, failed = 0;
        numbers >> passed >> failed;
        tally.passed += passed, tally.failed += failed, counted = true;
      } else if (line.rfind("@@ ", 0) == 0) {
        current = &reports[std::strtoull(line.c_str() + 3, nullptr, 10)];
      } else if (current) {
        *current += line + "\n";
      }
    }
    if (!counted) {
      std::cerr << "settlement_sim: a worker stopped before the end; its output: " << output << "\n";
      ++tally.failed;
    }
  }
  for (const auto& [seed, report] : reports) std::cout << report;
  tool_platform::remove_directory_tree(folder);
  return tally;
}

} // namespace

int main(int argc, char** argv) {
  // The same day prints the same bytes on every platform.
  tool_platform::binary_stdout();
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
  if (!options.history_file.empty()) {
    History history;
    std::string error;
    if (!Parse(tool_platform::read_file(options.history_file), history, error)) {
      std::cerr << "settlement_sim: " << options.history_file << ": " << error << "\n";
      return 2;
    }
    if (options.replay) return Replay(history, options.shrink);
    const DayResult day = RunDay(history, false);
    if (day.violation) std::cout << Report(history, *day.violation, options.shrink);
    std::cout << "histories: " << (day.violation ? 0 : 1) << " passed, " << (day.violation ? 1 : 0)
              << " failed\n";
    return day.violation ? 1 : 0;
  }
  if (options.replay) return Replay(Generate(options.seed, options.steps), options.shrink);

  const auto start = std::chrono::steady_clock::now();
  Tally tally;
  if (options.worker >= 0) {
    Play(options, std::cout, true);
    return 0;
  }
  if (options.jobs > 1) tally = PlayInParallel(options, argv[0]);
  else tally = Play(options, std::cout, false);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cerr << "settlement_sim: " << options.histories << " histories from seed " << options.seed << ", "
            << options.steps << " steps each, " << options.jobs << " job(s): " << seconds << " s, "
            << static_cast<double>(options.histories) / std::max(seconds, 1e-9) << " histories/s\n";
  std::cout << "histories: " << tally.passed << " passed, " << tally.failed << " failed\n";
  if (tally.failed > 0 && tally.failed <= options.allowed)
    std::cout << "within the " << options.allowed << " allowed\n";
  return tally.failed > options.allowed ? 1 : 0;
}

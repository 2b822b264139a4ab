// zulpos [global options] COMMAND [options]: loads the package as a host
// would and runs one command.
#include <filesystem>
#include <iostream>
#include <optional>

#include "command.h"
#include "command_line.h"
#include "host.h"
#include "options.h"
#include "output.h"
#include "package.h"
#include "progress.h"
#include "session.h"
#include "tool_platform/process.h"

namespace zulpos {
namespace {

// Exit statuses beyond the routine's true (0) and false (1), as --help tells
// them; CLI11's usage errors end with 2.
constexpr int kError = 3;      // raised by the package, or a file zulpos could not make
constexpr int kCannotLoad = 4; // the package's library

HostOptions host_options(const GlobalOptions& global) {
  HostOptions options;
  for (const std::string& answer : global.answers) options.answers.push_back(YesNoValue(answer));
  if (global.network) options.network = *global.network;
  options.journal_path = PathFromTerminal(global.dialog_journal);
  options.interactive = tool_platform::stdin_is_terminal();
  return options;
}

// The host directory: --host-dir's, else this user's (said on stderr, as
// zulpos may be installed where a user cannot write), else the directory of
// zulpos.
SessionOptions session_options(const GlobalOptions& global) {
  SessionOptions options;
  if (global.host_dir) options.host_dir = PathFromTerminal(*global.host_dir);
  else if (const std::string data = tool_platform::user_data_folder(); !data.empty())
    options.host_dir = (std::filesystem::path(data) / "zul00500" / "host").string();
  // A native folder the platform uses as it is.
  options.drive_root = global.drive_root;
  return options;
}

// The facts SetupNotices judges, for the host directory the command works
// in: the drive root zulpos gives the package (or $ZUL_DRIVE_ROOT, which the
// package reads when none is given), and the DIRTEF.cds the package keeps
// under the host's directory.
MachineSetup current_setup(const Command& command, const GlobalOptions& global, const std::string& host_dir) {
  MachineSetup setup;
  if (global.drive_root) setup.drive_root = *global.drive_root;
  else setup.drive_root = tool_platform::drive_root_variable();
  std::error_code error;
  setup.drive_root_exists =
      setup.drive_root.empty() || std::filesystem::is_directory(setup.drive_root, error);
  setup.needs_stored_root = command.uses_stored_root;
  const std::filesystem::path dirtef = std::filesystem::path(host_dir) / "Dados" / "Cadastros" / "DIRTEF.cds";
  setup.dirtef_path = dirtef.string();
  setup.dirtef_exists = std::filesystem::is_regular_file(dirtef, error);
  return setup;
}

std::string package_path(const GlobalOptions& global, const std::string& program_path) {
  return global.package ? PathFromTerminal(*global.package) : DefaultPackagePath(program_path);
}

// "zulpos VERSION (SOURCE, KIND)", then the version of the package it loads
// and where from, or why it cannot load it.
int show_version(const GlobalOptions& global, Output& out) {
  out.stream() << "zulpos " << ZulposVersion() << std::endl;
  const std::string path = package_path(global, tool_platform::executable_path());
  try {
    const LoadedPackage package(path);
    out.stream() << "package " << PackageVersion() << "\n  from " << PathToTerminal(path) << std::endl;
  } catch (const LoadError& error) {
    std::cerr << "zulpos: " << PathToTerminal(error.what()) << std::endl;
    return kCannotLoad;
  }
  return 0;
}

// What starts a manager for zulpos's drive root, for a shell.
std::string manager_command(const GlobalOptions& global) {
  if (!global.drive_root) return "tefsim";
  const std::string root = PathToTerminal(*global.drive_root);
  const bool plain = root.find_first_of(" '\"$`!&;|<>()*?[]{}~#") == std::string::npos;
  return "tefsim --drive-root " + (plain ? root : "'" + root + "'");
}

int run(const std::vector<std::string>& args, Output& out) {
  CommandLine line;
  try {
    line.Parse(args);
  } catch (const CLI::ParseError& error) {
    return line.Report(error, out.stream(), std::cerr);
  }
  const GlobalOptions& global = line.global();
  if (global.version) return show_version(global, out);
  if (global.bash_completion) {
    out.stream() << line.BashCompletionScript();
    return 0;
  }
  const Command& command = *line.command();
  const SessionOptions session_choice = session_options(global);
  // Where zulpos really is, whatever --host-dir says.
  const std::string program_path = tool_platform::executable_path();
  const std::string host_dir =
      command.uses_host_dir ? SessionHostDirectory(session_choice, program_path) : "";
  const MachineSetup setup = current_setup(command, global, host_dir);
  auto fail = [&](const std::exception& error, int status) {
    const std::string text = PathToTerminal(error.what());
    std::cerr << "zulpos: " << text << FolderHint(text, PathToTerminal(host_dir), setup.drive_root)
              << std::endl;
    return status;
  };
  try {
    HostOptions dialogs = host_options(global);
    // Loaded as a host loads it; unloaded last, after everything set in it
    // was put back.
    const LoadedPackage package(package_path(global, program_path));
    dialogs.interactive = dialogs.interactive && command.interactive;
    ConsoleHost host(std::move(dialogs), std::cin, out);
    host.Install();
    CommandContext context{global, out, FromTerminal(global.context), program_path, ""};
    if (!command.uses_host_dir) return command.run(context);
    const PackageSession session(session_choice, program_path);
    context.host_dir = session.host_dir();
    if (!global.host_dir)
      std::cerr << "zulpos: host directory " << PathToTerminal(session.host_dir())
                << " (this user's; --host-dir DIR chooses another)" << std::endl;
    for (const std::string& notice : SetupNotices(setup))
      std::cerr << "zulpos: notice: " << PathToTerminal(notice) << std::endl;
    // While the package waits for the manager, a terminal shows how long.
    std::optional<Progress> progress;
    if (tool_platform::stderr_is_terminal()) {
      progress.emplace(std::cerr, manager_command(global), SteadyNow);
      progress->Install(out);
    }
    return command.run(context);
  } catch (const LoadError& error) {
    return fail(error, kCannotLoad);
  } catch (const std::exception& error) {
    // The package's errors name an operation, a path and the system's reason.
    return fail(error, kError);
  }
}

} // namespace
} // namespace zulpos

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  zulpos::Output out(std::cout);
  return zulpos::run(args, out);
}

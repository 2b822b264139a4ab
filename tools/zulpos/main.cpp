// zulpos [global options] COMMAND [options]: loads the package as a host
// would and runs one command.
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "command.h"
#include "command_line.h"
#include "host.h"
#include "options.h"
#include "output.h"
#include "package.h"
#include "session.h"
#include "tool_platform/process.h"

namespace zulpos {
namespace {

HostOptions host_options(const ParsedOptions& global) {
  HostOptions options;
  for (const std::string& answer : global.All("--answer"))
    options.answers.push_back(ParseYesNo("--answer", answer));
  if (const auto network = global.Value("--network"))
    options.network = ParseChoice("--network", *network, {"1", "2", "3", "9"});
  options.journal_path = PathFromTerminal(global.ValueOr("--dialog-journal", ""));
  options.interactive = tool_platform::stdin_is_terminal();
  return options;
}

SessionOptions session_options(const ParsedOptions& global) {
  SessionOptions options;
  if (const auto dir = global.Value("--host-dir")) options.host_dir = PathFromTerminal(*dir);
  // A native folder the platform uses as it is.
  options.drive_root = global.Value("--drive-root");
  return options;
}

// The facts SetupNotices judges, once the package is set up for the host:
// the drive root zulpos gave the package (or $ZUL_DRIVE_ROOT, which the
// package reads when none is given), and the DIRTEF.cds the package keeps
// under the host's directory.
MachineSetup current_setup(const Command& command, const ParsedOptions& global, const std::string& host_dir) {
  MachineSetup setup;
  if (const auto given = global.Value("--drive-root")) setup.drive_root = *given;
  else if (const char* environment = std::getenv("ZUL_DRIVE_ROOT")) setup.drive_root = environment;
  std::error_code error;
  setup.drive_root_exists =
      setup.drive_root.empty() || std::filesystem::is_directory(setup.drive_root, error);
  setup.needs_stored_root = command.uses_stored_root;
  const std::filesystem::path dirtef = std::filesystem::path(host_dir) / "Dados" / "Cadastros" / "DIRTEF.cds";
  setup.dirtef_path = dirtef.string();
  setup.dirtef_exists = std::filesystem::is_regular_file(dirtef, error);
  return setup;
}

int run(const std::vector<std::string>& args, Output& out) {
  CommandLine line;
  try {
    ParseCommandLine(args, line);
    if (!line.command) {
      out.stream() << ProgramHelp(GlobalOptions());
      return 0;
    }
    const Command* command = line.command;
    if (line.options.help) {
      out.stream() << CommandHelp(*command);
      return 0;
    }
    const ParsedOptions& global = line.global;
    const ParsedOptions& options = line.options;
    HostOptions dialogs = host_options(global);

    // Where zulpos really is, whatever --host-dir says.
    const std::string program_path = tool_platform::executable_path();
    // Loaded as a host loads it; unloaded last, after everything set in it
    // was put back.
    const LoadedPackage package(
        PathFromTerminal(global.ValueOr("--package", DefaultPackagePath(program_path))));
    dialogs.interactive = dialogs.interactive && command->interactive;
    ConsoleHost host(std::move(dialogs), std::cin, out);
    host.Install();
    CommandContext context{global,       options, out, FromTerminal(global.ValueOr("--context", "zulpos")),
                           program_path, ""};
    if (!command->uses_host_dir) return command->run(context);
    const PackageSession session(session_options(global), program_path);
    context.host_dir = session.host_dir();
    for (const std::string& notice : SetupNotices(current_setup(*command, global, context.host_dir)))
      std::cerr << "zulpos: notice: " << PathToTerminal(notice) << std::endl;
    return command->run(context);
  } catch (const UsageError& error) {
    const std::string help_hint = line.command ? "zulpos " + line.command->name + " --help" : "zulpos --help";
    std::cerr << "zulpos: " << error.what() << "\nTry '" << help_hint << "'." << std::endl;
  } catch (const std::exception& error) {
    // The package's errors name an operation, a path and the system's reason.
    std::cerr << "zulpos: " << PathToTerminal(error.what()) << std::endl;
  }
  return 2;
}

} // namespace
} // namespace zulpos

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  zulpos::Output out(std::cout);
  return zulpos::run(args, out);
}

// zulpos [global options] COMMAND [options]: loads the package as a host
// would and runs one command.
#include <iostream>

#include "command.h"
#include "command_line.h"
#include "host.h"
#include "options.h"
#include "output.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "session.h"
#include "zul00500/state.h"

namespace zulpos {
namespace {

HostOptions host_options(const ParsedOptions& global) {
  HostOptions options;
  for (const std::string& answer : global.All("--answer"))
    options.answers.push_back(ParseYesNo("--answer", answer));
  if (const auto network = global.Value("--network"))
    options.network = ParseChoice("--network", *network, {"1", "2", "3", "9"});
  options.journal_path = PathFromTerminal(global.ValueOr("--dialog-journal", ""));
  options.interactive = zul00500::platform::stdin_is_terminal();
  return options;
}

SessionOptions session_options(const ParsedOptions& global) {
  SessionOptions options;
  if (const auto dir = global.Value("--host-dir")) options.host_dir = PathFromTerminal(*dir);
  // A native folder the platform uses as it is.
  options.drive_root = global.Value("--drive-root");
  return options;
}

// The facts SetupNotices judges, once the package is loaded for the host.
MachineSetup current_setup(const Command& command) {
  namespace platform = zul00500::platform;
  MachineSetup setup;
  setup.drive_root = platform::drive_root();
  setup.drive_root_exists =
      setup.drive_root.empty() || platform::native_fs().directory_exists(setup.drive_root);
  setup.needs_stored_root = command.uses_stored_root;
  setup.dirtef_path = zul00500::dsDirTef + "\\DIRTEF.cds";
  setup.dirtef_exists = platform::fs().file_exists(setup.dirtef_path);
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
    HostOptions dialogs = host_options(line.global);
    const Command* command = line.command;
    if (line.options.help) {
      out.stream() << CommandHelp(*command);
      return 0;
    }
    const ParsedOptions& global = line.global;
    const ParsedOptions& options = line.options;

    // Before any --host-dir: where zulpos really is.
    const std::string program_path = zul00500::platform::host_executable_path();
    dialogs.interactive = dialogs.interactive && command->interactive;
    ConsoleHost host(std::move(dialogs), std::cin, out);
    host.Install();
    CommandContext context{global, options, out, FromTerminal(global.ValueOr("--context", "zulpos")),
                           program_path};
    if (!command->uses_host_dir) return command->run(context);
    PackageSession session(session_options(global));
    for (const std::string& notice : SetupNotices(current_setup(*command)))
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

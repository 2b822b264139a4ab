#include "command_line.h"

#include "cli/command_line.h"
#include "options.h"

namespace zulpos {

namespace {

// The commands, in the order of the help.
constexpr CommandSetup kCommands[] = {AddDirs,    AddNetwork, AddCheck,   AddScan, AddConfirm,
                                      AddSale,    AddReceipt, AddPrint,   AddCancel, AddPending,
                                      AddDemo,    AddDataset, AddRehearse};

constexpr const char* kDescription =
    "A command-line host for the card-payment package Pkg_Zul00500: it loads the\n"
    "package, answers its dialogs from the options or the terminal, and runs its\n"
    "routines. Each command ends with key=value lines of its results.";

constexpr const char* kFooter =
    "Without --host-dir the host directory is this user's: $XDG_DATA_HOME/zul00500/host\n"
    "(~/.local/share/zul00500/host) on POSIX, %LOCALAPPDATA%\\zul00500\\host on Windows.\n"
    "On a terminal, stderr shows how long the package has been waiting for the\n"
    "TEF manager.\n"
    "\n"
    "Exit status:\n"
    "  0  the routine returned true\n"
    "  1  the routine returned false\n"
    "  2  a usage error: an unknown option or command, a missing or wrong value\n"
    "  3  an error raised by the package, or a file zulpos could not make\n"
    "  4  the package's library cannot be loaded\n"
    "\n"
    "'zulpos COMMAND --help' describes a command.";

} // namespace

CommandLine::CommandLine() : app_(kDescription, "zulpos") {
  zul_cli::SetUp(app_, kFooter);
  // A global option may also follow the command, where the command has no
  // option of that name.
  app_.fallthrough();
  app_.require_subcommand(0, 1);
  GlobalOptions& g = global_;
  app_.add_option_function<std::string>(
          "--host-dir", [&g](const std::string& dir) { g.host_dir = dir; },
          "the host program's directory (default: this user's, see below)")
      ->type_name("DIR");
  app_.add_option_function<std::string>(
          "--drive-root", [&g](const std::string& dir) { g.drive_root = dir; },
          "the folder in which drive letters live, c:\\ being DIR\\c (default:\n"
          "POSIX $ZUL_DRIVE_ROOT, else a per-user data folder; Windows the real drives)")
      ->type_name("DIR");
  AddValue(app_, "--context", g.context, "TEXT",
           "the context string passed to every routine (default: zulpos)");
  AddRepeatable(app_, "--answer", g.answers, "y|n",
                "the answer to the next yes/no question; repeatable, used in order.\n"
                "When used up the terminal asks, or the answer is no")
      ->check(YesNo());
  app_.add_option_function<std::string>(
          "--network", [&g](const std::string& answer) { g.network = answer; },
          "the answer to the network dialog: 1 TecBan, 2 other networks,\n"
          "3 Hipercard, 9 close it (default: the terminal asks, or 2)")
      ->type_name("1|2|3|9")
      ->check(OneOf({"1", "2", "3", "9"}));
  AddValue(app_, "--dialog-journal", g.dialog_journal, "FILE",
           "append a line per dialog to FILE: its nine arguments and the\n"
           "answer, TAB-separated, escaped, in code page 1252");
  app_.add_option_function<std::string>(
          "--package", [&g](const std::string& file) { g.package = file; },
          "the package's shared library to load (default: the one beside\n"
          "zulpos, then ../lib, then the system's search)")
      ->type_name("FILE");
  AddFlag(app_, "--version", g.version, "print zulpos's version and that of the package it loads");
  AddFlag(app_, "--bash-completion", g.bash_completion, "print a bash completion script for zulpos");
  for (CLI::Option* option : app_.get_options()) option->group("Global options");
  for (const CommandSetup setup : kCommands) Add(setup);
}

void CommandLine::Add(CommandSetup setup) {
  Command command = setup(app_);
  command.app->group("Commands");
  // The program's footer (exit statuses) is for the program's help only.
  command.app->footer("");
  commands_.push_back(std::move(command));
}

void CommandLine::Parse(const std::vector<std::string>& args) {
  zul_cli::Parse(app_, args);
  if (!command() && !global_.version && !global_.bash_completion) throw CLI::RequiredError("COMMAND");
}

const Command* CommandLine::command() const {
  const CLI::App* parsed = zul_cli::ParsedCommand(app_);
  for (const Command& known : commands_)
    if (known.app == parsed) return &known;
  return nullptr;
}

int CommandLine::Report(const CLI::ParseError& error, std::ostream& out, std::ostream& err) {
  return zul_cli::Report(app_, error, out, err);
}

std::string CommandLine::BashCompletionScript() const { return zul_cli::BashCompletion(app_, "zulpos"); }

} // namespace zulpos

#include "command.h"

#include <algorithm>
#include <memory>
#include <sstream>

namespace zulpos {

namespace {
// Function-local so registration from other files' static initializers
// always finds it built.
std::vector<std::unique_ptr<Command>>& registry() {
  static std::vector<std::unique_ptr<Command>> commands;
  return commands;
}

std::string synopsis(const Command& command) {
  std::string text = "zulpos [global options] " + command.name;
  if (!command.options.empty()) text += " [options]";
  if (!command.operands.empty()) text += " " + command.operands;
  return text;
}
} // namespace

bool RegisterCommand(Command command) {
  registry().push_back(std::make_unique<Command>(std::move(command)));
  return true;
}

const Command* FindCommand(const std::string& name) {
  for (const auto& command : registry())
    if (command->name == name) return command.get();
  return nullptr;
}

std::vector<const Command*> AllCommands() {
  std::vector<const Command*> commands;
  for (const auto& command : registry()) commands.push_back(command.get());
  std::sort(commands.begin(), commands.end(), [](const Command* a, const Command* b) {
    return a->rank != b->rank ? a->rank < b->rank : a->name < b->name;
  });
  return commands;
}

std::string ProgramHelp(const std::vector<OptionDef>& global_options) {
  std::ostringstream text;
  text << "Usage: zulpos [global options] COMMAND [options]\n\n"
          "A command-line host for the card-payment package Pkg_Zul00500: it loads the\n"
          "package, answers its dialogs from the options or the terminal, and runs its\n"
          "routines. Each command ends with key=value lines of its results.\n"
          "Exit status: 0 when the routine returned true, 1 when it returned false,\n"
          "2 for a usage error or an error raised by the package.\n\n"
          "Global options:\n"
       << FormatOptions(global_options) << "\nCommands:\n";
  std::size_t width = 0;
  const auto commands = AllCommands();
  for (const Command* command : commands) width = std::max(width, command->name.size());
  for (const Command* command : commands)
    text << "  " << command->name << std::string(width - command->name.size() + 3, ' ') << command->summary
         << "\n";
  text << "\n'zulpos COMMAND --help' describes a command.\n";
  return text.str();
}

std::string CommandHelp(const Command& command) {
  std::ostringstream text;
  text << "Usage: " << synopsis(command) << "\n\n" << command.description << "\n";
  if (!command.options.empty()) text << "\nOptions:\n" << FormatOptions(command.options);
  return text.str();
}

} // namespace zulpos

#include "command_line.h"

#include <algorithm>
#include <memory>

#include "cli/command_line.h"
#include "command.h"

namespace zulpos {

const std::vector<OptionDef>& GlobalOptions() {
  static const std::vector<OptionDef> options = {
      {"--host-dir", "DIR", "the host program's directory (default: the directory of zulpos)"},
      {"--drive-root", "DIR",
       "the folder in which drive letters live, c:\\ being DIR\\c (default:\n"
       "POSIX $ZUL_DRIVE_ROOT, else a per-user data folder; Windows the real drives)"},
      {"--context", "TEXT", "the context string passed to every routine (default: zulpos)"},
      {"--answer", "y|n",
       "the answer to the next yes/no question; repeatable, used in order.\n"
       "When used up the terminal asks, or the answer is no",
       true},
      {"--network", "1|2|3|9",
       "the answer to the network dialog: 1 TecBan, 2 other networks,\n"
       "3 Hipercard, 9 close it (default: the terminal asks, or 2)"},
      {"--dialog-journal", "FILE",
       "append a line per dialog to FILE: its nine arguments and the\n"
       "answer, TAB-separated, escaped, in code page 1252"},
      {"--package", "FILE",
       "the package's shared library to load (default: the one beside\n"
       "zulpos, then ../lib, then the system's search)"},
      {"--version", "", "print zulpos's version and that of the package it loads"},
      {"--bash-completion", "", "print a bash completion script for zulpos"},
  };
  return options;
}

namespace {

constexpr const char* kHelp = "-h,--help";

// The program and every registered command, as CLI11 parses them. Values are
// all kept, in order; the checks come after parsing.
std::unique_ptr<CLI::App> make_app() {
  auto app = std::make_unique<CLI::App>("", "zulpos");
  auto declare = [](CLI::App& part, const std::vector<OptionDef>& options) {
    part.set_help_flag();
    part.allow_extras();
    part.allow_windows_style_options(false);
    part.add_flag(kHelp)->disable_flag_override();
    for (const OptionDef& def : options) {
      if (def.value_name.empty()) part.add_flag(def.name)->disable_flag_override();
      else
        part.add_option(def.name)
            ->type_name(def.value_name)
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
  };
  declare(*app, GlobalOptions());
  app->require_subcommand(0, 1);
  for (const Command* command : AllCommands()) {
    CLI::App* part = app->add_subcommand(command->name, command->summary);
    declare(*part, command->options);
    if (command->max_operands > 0)
      part->add_option("operands")->expected(static_cast<int>(command->max_operands));
  }
  return app;
}

// The table costs many times what a parse does, so it is built once and
// cleared of the previous parse before each use; it is built again only when
// a command has registered since (tests register their own). zulpos parses on
// one thread.
CLI::App& cleared_app() {
  static std::unique_ptr<CLI::App> app;
  static std::size_t built_for = 0;
  const std::size_t registered = AllCommands().size();
  if (!app || built_for != registered) {
    app = make_app();
    built_for = registered;
  }
  app->clear();
  return *app;
}

bool declared(const std::vector<OptionDef>& defs, const std::string& name) {
  return std::any_of(defs.begin(), defs.end(), [&](const OptionDef& def) { return def.name == name; });
}

// The values CLI11 kept for one part, checked against its table.
ParsedOptions collect(const CLI::App& part, const std::vector<OptionDef>& defs, const std::string& command) {
  ParsedOptions parsed;
  for (const OptionDef& def : defs) {
    const CLI::Option* option = part.get_option(def.name);
    if (option->count() == 0) continue;
    if (option->count() > 1 && !def.repeatable) throw UsageError(def.name + " given more than once", command);
    parsed.values[def.name] =
        def.value_name.empty() ? std::vector<std::string>(option->count()) : option->results();
  }
  if (const CLI::Option* operands = part.get_option_no_throw("operands"))
    parsed.positionals = operands->results();
  return parsed;
}

// What CLI11 could not place in the global part (`in_command` false: before
// the command, or operands after a "--") or in the command's: unknown
// options, a global option after the command, operands too many or of no
// command.
void reject_leftovers(const std::vector<std::string>& leftovers, const Command* command, bool in_command) {
  const std::string name = command ? command->name : "";
  bool marked = false;
  for (const std::string& arg : leftovers) {
    // CLI11 keeps the "--" that ends the options among them; what follows it
    // are operands, a "--" among them too.
    if (arg == "--" && !marked) {
      marked = true;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      const std::string option = arg.substr(0, arg.find('='));
      if (in_command && declared(GlobalOptions(), option))
        throw UsageError(option + " is a global option: write it before the command (zulpos " + option +
                             " ... COMMAND)",
                         name);
      throw UsageError("unknown option " + option, in_command ? name : "");
    }
    if (!command) throw UsageError("unknown command '" + arg + "'");
    throw UsageError("unexpected operand '" + arg + "'", name);
  }
}

// A "--" among the global options ends them: the next argument is the
// command, whatever it looks like. CLI11 would take what follows as operands
// of the program, which has none, so the mark goes before it parses.
std::vector<std::string> without_global_mark(std::vector<std::string> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      if (i + 1 < args.size() && !FindCommand(args[i + 1]))
        throw UsageError("unknown command '" + args[i + 1] + "'");
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      return args;
    }
    if (arg.size() < 2 || arg[0] != '-') return args; // the command
    const auto def = std::find_if(GlobalOptions().begin(), GlobalOptions().end(),
                                  [&](const OptionDef& known) { return known.name == arg; });
    if (def != GlobalOptions().end() && !def->value_name.empty()) ++i; // its value
  }
  return args;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CLI::App& app = cleared_app();
  const Command* command = nullptr;
  try {
    zul_cli::Parse(app, without_global_mark(args));
  } catch (const CLI::ParseError& error) {
    const auto parts = app.get_subcommands();
    throw UsageError(zul_cli::Message(error), parts.empty() ? "" : parts.front()->get_name());
  }
  const auto parts = app.get_subcommands();
  const CLI::App* part = parts.empty() ? nullptr : parts.front();
  if (part) command = FindCommand(part->get_name());

  CommandLine line;
  line.command = command;
  if (app.get_option("--help")->count() > 0 || (part && part->get_option("--help")->count() > 0)) {
    line.request = CommandLine::Request::Help;
    if (app.get_option("--help")->count() > 0) line.command = nullptr;
    return line;
  }
  reject_leftovers(app.remaining(), command, false);
  line.global = collect(app, GlobalOptions(), "");
  if (line.global.Has("--version")) line.request = CommandLine::Request::Version;
  else if (line.global.Has("--bash-completion")) line.request = CommandLine::Request::BashCompletion;
  if (line.request != CommandLine::Request::Run) return line;
  if (!command) throw UsageError("no command given");

  reject_leftovers(part->remaining(), command, true);
  line.options = collect(*part, command->options, command->name);
  const std::size_t operands = line.options.positionals.size();
  if (operands < command->min_operands)
    throw UsageError(command->name + " needs " + command->operands, command->name);
  return line;
}

const char* ZulposVersion() { return ZUL_VERSION; }

std::string BashCompletionScript() { return zul_cli::BashCompletion(cleared_app(), "zulpos"); }

} // namespace zulpos

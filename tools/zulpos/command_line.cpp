#include "command_line.h"

#include <span>

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
  };
  return options;
}

void ParseCommandLine(const std::vector<std::string>& args, CommandLine& line) {
  line.global = ParseOptions(args, GlobalOptions(), Positionals::StopAtFirst);
  if (line.global.help) return;
  if (line.global.rest == args.size()) throw UsageError("no command given");
  line.command = FindCommand(args[line.global.rest]);
  if (!line.command) throw UsageError("unknown command '" + args[line.global.rest] + "'");

  const Command& command = *line.command;
  line.options =
      ParseCommandOptions(std::span(args).subspan(line.global.rest + 1), command.options, GlobalOptions());
  if (line.options.help) return;
  const std::size_t operands = line.options.positionals.size();
  if (operands < command.min_operands) throw UsageError(command.name + " needs " + command.operands);
  if (operands > command.max_operands)
    throw UsageError("unexpected operand '" + line.options.positionals.back() + "'");
}

} // namespace zulpos

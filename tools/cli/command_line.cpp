#include "cli/command_line.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace zul_cli {

Formatter::Formatter() {
  column_width(28);
  label("Positionals", "Operands");
}

std::string Formatter::make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const {
  if (mode == CLI::AppFormatMode::Sub) return make_expanded(app);
  std::ostringstream out;
  out << make_usage(app, name) << "\n" << app->get_description() << "\n";
  out << make_positionals(app) << make_groups(app, mode) << make_subcommands(app, mode);
  if (!app->get_footer().empty()) out << "\n" << make_footer(app);
  return out.str();
}

// "Usage: zulpos [global options] COMMAND [options]" for a program with
// commands, "Usage: zulpos [global options] sale [options] FILE" for one of
// them, "Usage: tefsim [options]" for a program without.
std::string Formatter::make_usage(const CLI::App* app, std::string name) const {
  std::string usage = "Usage: ";
  const CLI::App* parent = app->get_parent();
  if (parent) {
    const std::string program = parent->get_name();
    usage += program + " [global options]" + name.substr(std::min(name.size(), program.size()));
  } else {
    usage += name;
  }
  const bool commands = !app->get_subcommands({}).empty();
  if (!app->get_options([](const CLI::Option* option) { return option->nonpositional(); }).empty())
    usage += commands ? " [global options]" : " [options]";
  if (commands) usage += " COMMAND [options]";
  for (const CLI::Option* operand :
       app->get_options([](const CLI::Option* o) { return o->get_positional(); }))
    usage += " " + (operand->get_required() ? operand->get_name() : "[" + operand->get_name() + "]");
  return usage + "\n";
}

// "-h, --help", as help2man reads it.
std::string Formatter::make_option_name(const CLI::Option* option, bool positional) const {
  std::string name = CLI::Formatter::make_option_name(option, positional);
  for (std::size_t comma = name.find(','); comma != std::string::npos; comma = name.find(',', comma + 2))
    name.insert(comma + 1, " ");
  return name;
}

std::string Formatter::make_option_opts(const CLI::Option* option) const {
  return option->get_type_size() == 0 ? std::string() : " " + option->get_type_name();
}

std::string Formatter::make_option_desc(const CLI::Option* option) const {
  const bool required = option->get_required() && !option->get_positional();
  return option->get_description() + (required ? " (required)" : "");
}

// A command's description is a summary, a blank line and the rest: the list
// of commands shows the summary.
std::string Formatter::make_subcommand(const CLI::App* command) const {
  const std::string description = command->get_description();
  std::ostringstream out;
  CLI::detail::format_help(out, command->get_name(), description.substr(0, description.find("\n\n")),
                           column_width_);
  return out.str();
}

void SetUp(CLI::App& app, const std::string& footer) {
  app.set_help_flag("-h,--help", "print this help");
  app.allow_windows_style_options(false);
  app.allow_extras();
  app.formatter(std::make_shared<Formatter>());
  app.failure_message(Failure);
  app.footer(footer);
}

const CLI::App* ParsedCommand(const CLI::App& app) {
  const auto commands = app.get_subcommands();
  return commands.empty() ? nullptr : commands.front();
}

std::string Failure(const CLI::App* app, const CLI::Error& error) {
  const CLI::App* command = ParsedCommand(*app);
  const std::string program = app->get_name();
  return program + ": " + error.what() + "\nTry '" + program + (command ? " " + command->get_name() : "") +
         " --help'.\n";
}

CLI::Validator Check(const std::string& name, std::function<std::string(std::string&)> check) {
  // No description: it would show beside the option's value in the help.
  return CLI::Validator(std::move(check), "", name);
}

namespace {

std::vector<std::string> option_names(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::Option* option : app.get_options())
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
  return names;
}

std::string did_you_mean(const std::string& word, const std::vector<std::string>& known) {
  const std::string nearest = Nearest(word, known);
  return nearest.empty() ? std::string() : ": did you mean " + nearest + "?";
}

// What no option, command or operand took: the first such argument is the
// mistake. A "--" that ended the options is among them, and what follows it
// can only be an operand.
void reject_leftovers(const CLI::App& app) {
  const CLI::App* command = ParsedCommand(app);
  bool operands_only = false;
  for (const std::string& arg : app.remaining(true)) {
    if (arg == "--" && !operands_only) {
      operands_only = true;
      continue;
    }
    if (!operands_only && arg.size() > 1 && arg[0] == '-') {
      const std::string option = arg.substr(0, arg.find('='));
      std::vector<std::string> known = option_names(app);
      if (command) {
        const std::vector<std::string> own = option_names(*command);
        known.insert(known.begin(), own.begin(), own.end());
      }
      throw CLI::ExtrasError("unknown option " + option + did_you_mean(option, known),
                             CLI::ExitCodes::ExtrasError);
    }
    const auto commands = app.get_subcommands({});
    if (command || commands.empty())
      throw CLI::ExtrasError("unexpected operand '" + arg + "'", CLI::ExitCodes::ExtrasError);
    std::vector<std::string> names;
    for (const CLI::App* known : commands) names.push_back(known->get_name());
    throw CLI::ExtrasError("unknown command '" + arg + "'" + did_you_mean(arg, names),
                           CLI::ExitCodes::ExtrasError);
  }
}

// Letters to change, add or remove, or neighbours to swap, to turn `a` into
// `b` ("sael" is one swap from "sale"); any count above `most` is most + 1.
std::size_t distance(const std::string& a, const std::string& b, std::size_t most) {
  const std::size_t longer = std::max(a.size(), b.size()), shorter = std::min(a.size(), b.size());
  if (longer - shorter > most) return most + 1;
  // Three rows of the table: the one before the last, the last, this one.
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> rows(3 * width);
  std::size_t* before = rows.data();
  std::size_t* last = before + width;
  std::size_t* row = last + width;
  for (std::size_t j = 0; j < width; ++j) last[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j < width; ++j) {
      row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        row[j] = std::min(row[j], before[j - 2] + 1);
    }
    std::swap(before, last);
    std::swap(last, row);
  }
  return std::min(last[b.size()], most + 1);
}

std::string without_dashes(const std::string& word) {
  return word.substr(std::min(word.find_first_not_of('-'), word.size()));
}

// A "--" among the program's options ends them, and the command comes next.
// CLI11 would parse that command as an operand of the program, and not as its
// command: the mark goes before it parses.
std::vector<std::string> without_mark_before_command(const CLI::App& app, std::vector<std::string> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      const auto commands = app.get_subcommands({});
      const bool command_next =
          i + 1 < args.size() && std::any_of(commands.begin(), commands.end(),
                                             [&](const CLI::App* c) { return c->check_name(args[i + 1]); });
      if (command_next) args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      return args;
    }
    if (arg.size() < 2 || arg[0] != '-') return args; // the command
    const CLI::Option* option = app.get_option_no_throw(arg);
    if (option && option->get_expected_max() > 0) ++i; // its value
  }
  return args;
}

} // namespace

void Parse(CLI::App& app, const std::vector<std::string>& given) {
  const std::vector<std::string> args = without_mark_before_command(app, given);
  std::vector<std::string> reversed;
  reversed.reserve(args.size() + 1);
  for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
    if (arg->size() > 3 && arg->starts_with("--") && arg->back() == '=' &&
        arg->find('=') == arg->size() - 1) {
      reversed.push_back("");
      reversed.push_back(arg->substr(0, arg->size() - 1));
    } else {
      reversed.push_back(*arg);
    }
  }
  try {
    app.parse(reversed);
  } catch (const CLI::RequiredError&) {
    // "--pay is required" after "--pays 40": the unknown word is the mistake.
    reject_leftovers(app);
    throw;
  }
  reject_leftovers(app);
}

int Report(CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err) {
  return app.exit(error, out, err) == 0 ? 0 : 2;
}

std::string Nearest(const std::string& word, const std::vector<std::string>& known) {
  const std::string bare = without_dashes(word);
  if (bare.empty()) return {};
  std::string best;
  std::size_t best_distance = std::min<std::size_t>(2, (bare.size() - 1) / 2);
  bool found = false;
  for (const std::string& candidate : known) {
    const std::size_t d = distance(bare, without_dashes(candidate), best_distance);
    if (d <= best_distance && (!found || d < best_distance)) {
      best = candidate;
      best_distance = d;
      found = true;
    }
  }
  if (found) return best;
  // Cut short ("--host" for "--host-dir"): only when one word starts so.
  if (bare.size() < 3) return {};
  for (const std::string& candidate : known) {
    if (!without_dashes(candidate).starts_with(bare)) continue;
    if (!best.empty() && best != candidate) return {};
    best = candidate;
  }
  return best;
}

} // namespace zul_cli

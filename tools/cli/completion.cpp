#include "cli/command_line.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace zul_cli {

namespace {

struct OptionWords {
  std::vector<std::string> names;                           // every long name of every option
  std::vector<std::string> valued;                          // the options that take a value
  std::vector<std::pair<std::string, std::string>> choices; // option, "A B C"
};

OptionWords option_words(const CLI::App& app) {
  OptionWords words;
  for (const CLI::Option* option : app.get_options()) {
    for (const std::string& name : option->get_lnames()) {
      const std::string dashed = "--" + name;
      words.names.push_back(dashed);
      if (option->get_expected_max() == 0) continue;
      words.valued.push_back(dashed);
      std::string type = option->get_type_name();
      if (type.find('|') == std::string::npos) continue;
      std::replace(type.begin(), type.end(), '|', ' ');
      words.choices.emplace_back(dashed, type);
    }
  }
  return words;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

// Bash function names and case labels: letters, digits and underscores.
std::string identifier(std::string text) {
  for (char& c : text)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return text;
}

} // namespace

std::string BashCompletion(const CLI::App& app, const std::string& program) {
  const auto subcommands = app.get_subcommands([](const CLI::App*) { return true; });
  std::vector<std::string> names;
  for (const CLI::App* sub : subcommands) names.push_back(sub->get_name());
  const OptionWords top = option_words(app);

  std::ostringstream out;
  const std::string function = "_" + identifier(program);
  out << "# bash completion for " << program << ", written by `" << program << " --bash-completion`\n"
      << function << "() {\n"
      << "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= i\n";
  if (!names.empty()) {
    out << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
        << "    case ${COMP_WORDS[i]} in " << joined(names, "|")
        << ") command=${COMP_WORDS[i]}; break ;; esac\n"
        << "  done\n";
  }
  // The value of an option: its choices, else file names (complete -o default).
  auto values = [&](const std::string& key, const OptionWords& words) {
    if (words.valued.empty()) return;
    out << "  " << key << ") case $prev in\n";
    for (const auto& [option, choice] : words.choices)
      out << "      " << option << ") COMPREPLY=($(compgen -W \"" << choice
          << "\" -- \"$cur\")); return ;;\n";
    out << "      " << joined(words.valued, "|") << ") COMPREPLY=(); return ;;\n"
        << "    esac ;;\n";
  };
  out << "  case $command in\n";
  values("\"\"", top);
  for (const CLI::App* sub : subcommands) values(sub->get_name(), option_words(*sub));
  out << "  esac\n"
      << "  local words\n"
      << "  case $command in\n"
      << "  \"\") words=\"" << joined(top.names, " ") << "\"\n"
      << "      [[ $cur == -* ]] || words=\"" << joined(names, " ") << "\" ;;\n";
  for (const CLI::App* sub : subcommands)
    out << "  " << sub->get_name() << ") [[ $cur == -* ]] && words=\""
        << joined(option_words(*sub).names, " ") << "\" ;;\n";
  out << "  esac\n"
      << "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
      << "}\n"
      << "complete -o default -F " << function << " " << program << "\n";
  return out.str();
}

} // namespace zul_cli

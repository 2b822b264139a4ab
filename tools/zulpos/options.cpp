#include "options.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace zulpos {

namespace {
const OptionDef* find_def(const std::vector<OptionDef>& defs, const std::string& name) {
  const auto found =
      std::find_if(defs.begin(), defs.end(), [&](const OptionDef& s) { return s.name == name; });
  return found == defs.end() ? nullptr : &*found;
}

std::string join(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}
} // namespace

std::optional<std::string> ParsedOptions::Value(const std::string& name) const {
  const auto found = values.find(name);
  if (found == values.end() || found->second.empty()) return std::nullopt;
  return found->second.back();
}

std::string ParsedOptions::ValueOr(const std::string& name, const std::string& fallback) const {
  return Value(name).value_or(fallback);
}

const std::vector<std::string>& ParsedOptions::All(const std::string& name) const {
  static const std::vector<std::string> none;
  const auto found = values.find(name);
  return found == values.end() ? none : found->second;
}

ParsedOptions ParseOptions(std::span<const std::string> args, const std::vector<OptionDef>& defs,
                           Positionals mode) {
  ParsedOptions parsed;
  std::size_t i = 0;
  bool options_ended = false;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A lone "-" is an operand, as it is for most tools.
    const bool is_option = !options_ended && arg.size() > 1 && arg[0] == '-';
    if (!is_option) {
      if (mode == Positionals::StopAtFirst) break;
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      if (mode == Positionals::StopAtFirst) {
        ++i;
        break;
      }
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      parsed.help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionDef* def = arg.rfind("--", 0) == 0 ? find_def(defs, name) : nullptr;
    if (!def) throw UsageError("unknown option " + name);
    if (!def->repeatable && parsed.Has(name)) throw UsageError(name + " given more than once");

    std::string value;
    if (def->value_name.empty()) {
      if (equals != std::string::npos) throw UsageError(name + " takes no value");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError(name + " needs a value (" + def->value_name + ")");
    }
    parsed.values[name].push_back(std::move(value));
  }
  parsed.rest = i;
  return parsed;
}

std::string FormatOptions(const std::vector<OptionDef>& defs) {
  std::vector<std::string> heads;
  std::size_t width = 0;
  for (const OptionDef& def : defs) {
    heads.push_back(def.value_name.empty() ? def.name : def.name + " " + def.value_name);
    width = std::max(width, heads.back().size());
  }
  std::ostringstream text;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    text << "  " << heads[i] << std::string(width - heads[i].size() + 3, ' ');
    // Continuation lines of a long help text line up under its first line.
    std::string help = defs[i].help;
    for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
      help.insert(at + 1, std::string(width + 5, ' '));
    text << help << "\n";
  }
  return text.str();
}

bool ParseYesNo(const std::string& option, const std::string& value) {
  if (value == "y" || value == "yes") return true;
  if (value == "n" || value == "no") return false;
  throw UsageError(option + " takes y or n, not '" + value + "'");
}

int ParseInteger(const std::string& option, const std::string& value) {
  int number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || error != std::errc() || stop != end)
    throw UsageError(option + " takes a whole number, not '" + value + "'");
  return number;
}

std::string ParseChoice(const std::string& option, const std::string& value,
                        const std::vector<std::string>& allowed) {
  if (std::find(allowed.begin(), allowed.end(), value) == allowed.end())
    throw UsageError(option + " takes one of " + join(allowed, ", ") + ", not '" + value + "'");
  return value;
}

} // namespace zulpos

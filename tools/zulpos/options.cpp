#include "options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sstream>
#include <string_view>

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
    if (!def) throw UnknownOptionError(name);
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

ParsedOptions ParseCommandOptions(std::span<const std::string> args, const std::vector<OptionDef>& defs,
                                  const std::vector<OptionDef>& global) {
  try {
    return ParseOptions(args, defs, Positionals::Collect);
  } catch (const UnknownOptionError& error) {
    if (!find_def(global, error.name())) throw;
    throw UsageError(error.name() + " is a global option: write it before the command (zulpos " +
                     error.name() + " ... COMMAND)");
  }
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

namespace {
bool all_digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
// Amounts beyond this many whole digits are typing mistakes.
constexpr std::size_t kMaxWholeDigits = 12;
} // namespace

double ParseAmount(const std::string& option, const std::string& text) {
  const std::size_t separator = text.find_first_of(".,");
  const std::string_view whole = std::string_view(text).substr(0, separator);
  const std::string_view decimals =
      separator == std::string::npos ? std::string_view() : std::string_view(text).substr(separator + 1);
  const bool ok =
      !whole.empty() && whole.size() <= kMaxWholeDigits && all_digits(whole) &&
      (separator == std::string::npos || (!decimals.empty() && decimals.size() <= 2 && all_digits(decimals)));
  if (!ok) throw UsageError(option + " wants an amount such as 40, 40.00 or 40,00, not '" + text + "'");
  std::string normal = text;
  if (separator != std::string::npos) normal[separator] = '.';
  double value = 0;
  std::from_chars(normal.data(), normal.data() + normal.size(), value);
  return value;
}

std::string ParseCents(const std::string& option, const std::string& text) {
  if (text.empty() || text.size() > kMaxWholeDigits + 2 || !all_digits(text))
    throw UsageError(option + " wants whole cents, digits only (1250 for 12.50), not '" + text + "'");
  return text;
}

std::string ParseKind(const std::string& option, const std::string& text) {
  const bool letter =
      text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
  if (!letter) throw UsageError(option + " takes one letter (C, D, V, A, Q...), not '" + text + "'");
  return text;
}

void CheckOutputFile(const std::string& option, const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::error_code error;
  if (path.empty() || std::filesystem::is_directory(path, error))
    throw UsageError(option + " wants a file, not the folder '" + path + "'");
  if (!folder.empty() && !std::filesystem::is_directory(folder, error))
    throw UsageError(option + ": the folder " + folder + " does not exist");
}

std::vector<std::string> SetupNotices(const MachineSetup& setup) {
  std::vector<std::string> notices;
  if (!setup.drive_root.empty() && !setup.drive_root_exists)
    notices.push_back("the drive root " + setup.drive_root +
                      " does not exist, so neither does c:\\ nor any exchange root: create it, or "
                      "give --drive-root DIR before the command");
  if (setup.needs_stored_root && !setup.dirtef_exists)
    notices.push_back("no exchange root has been chosen yet (" + setup.dirtef_path +
                      " does not exist): run `zulpos network` first");
  return notices;
}

} // namespace zulpos

#include "options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <string_view>

#include "cli/command_line.h"
#include "output.h"

namespace zulpos {

namespace {
std::string join(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

bool all_digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Amounts beyond this many whole digits are typing mistakes.
constexpr std::size_t kMaxWholeDigits = 12;
} // namespace

CLI::Validator Amount() {
  return zul_cli::Check("amount", [](std::string& text) -> std::string {
    const std::size_t separator = text.find_first_of(".,");
    const std::string_view whole = std::string_view(text).substr(0, separator);
    const std::string_view decimals =
        separator == std::string::npos ? std::string_view() : std::string_view(text).substr(separator + 1);
    const bool ok = !whole.empty() && whole.size() <= kMaxWholeDigits && all_digits(whole) &&
                    (separator == std::string::npos ||
                     (!decimals.empty() && decimals.size() <= 2 && all_digits(decimals)));
    if (!ok) return "an amount such as 40, 40.00 or 40,00, not '" + text + "'";
    if (separator != std::string::npos) text[separator] = '.';
    return {};
  });
}

CLI::Validator PaymentAmount() {
  return zul_cli::Check("payment amount", [](std::string& text) -> std::string {
    std::string error = Amount()(text);
    if (error.empty() && text.find_first_not_of("0.") == std::string::npos)
      error = "an amount of 0.01 or more, not '" + text + "'";
    return error;
  });
}

double AmountValue(const std::string& amount) {
  double value = 0;
  std::from_chars(amount.data(), amount.data() + amount.size(), value);
  return value;
}

CLI::Validator Cents() {
  return zul_cli::Check("cents", [](std::string& text) -> std::string {
    if (text.empty() || text.size() > kMaxWholeDigits + 2 || !all_digits(text) ||
        text.find_first_not_of('0') == std::string::npos)
      return "whole cents above 0, digits only (1250 for 12.50), not '" + text + "'";
    return {};
  });
}

CLI::Validator Integer() {
  return zul_cli::Check("integer", [](std::string& text) -> std::string {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) return "a whole number, not '" + text + "'";
    return {};
  });
}

CLI::Validator Kind() {
  return zul_cli::Check("kind", [](std::string& text) -> std::string {
    const bool letter =
        text.size() == 1 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    return letter ? std::string() : "one letter (C, D, V, A, Q...), not '" + text + "'";
  });
}

CLI::Validator YesNo() {
  return zul_cli::Check("yes/no", [](std::string& text) -> std::string {
    return text == "y" || text == "yes" || text == "n" || text == "no" ? std::string()
                                                                       : "y or n, not '" + text + "'";
  });
}

bool YesNoValue(const std::string& answer) { return answer == "y" || answer == "yes"; }

CLI::Validator OneOf(std::vector<std::string> allowed) {
  return zul_cli::Check("choice", [allowed = std::move(allowed)](std::string& text) -> std::string {
    if (std::find(allowed.begin(), allowed.end(), text) != allowed.end()) return {};
    return "one of " + join(allowed, ", ") + ", not '" + text + "'";
  });
}

CLI::Validator OutputFile() {
  return zul_cli::Check("output file", [](std::string& text) -> std::string {
    const std::string path = PathFromTerminal(text);
    const std::size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::error_code error;
    if (path.empty() || std::filesystem::is_directory(path, error))
      return "a file, not the folder '" + text + "'";
    if (!folder.empty() && !std::filesystem::is_directory(folder, error))
      return "the folder " + PathToTerminal(folder) + " does not exist";
    return {};
  });
}

std::vector<std::string> SetupNotices(const MachineSetup& setup) {
  std::vector<std::string> notices;
  if (!setup.drive_root.empty() && !setup.drive_root_exists)
    notices.push_back("the drive root " + setup.drive_root +
                      " does not exist, so neither does c:\\ nor any exchange root: create it, or "
                      "give --drive-root DIR");
  if (setup.needs_stored_root && !setup.dirtef_exists)
    notices.push_back("no exchange root has been chosen yet (" + setup.dirtef_path +
                      " does not exist): run `zulpos network` first");
  return notices;
}

namespace {
// Whether `text` names `folder`, letter case and the kind of separator aside
// (the package's paths mix both separators).
bool names_folder(const std::string& text, const std::string& folder) {
  if (folder.empty()) return false;
  auto same = [](char a, char b) {
    const auto fold = [](char c) {
      return c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    return fold(a) == fold(b);
  };
  return std::search(text.begin(), text.end(), folder.begin(), folder.end(), same) != text.end();
}
} // namespace

std::string FolderHint(const std::string& error, const std::string& host_dir, const std::string& drive_root) {
  if (names_folder(error, host_dir)) return " (the host directory: --host-dir DIR chooses another)";
  if (names_folder(error, drive_root)) return " (under the drive root: --drive-root DIR chooses another)";
  return {};
}

} // namespace zulpos

// zulpos's command line: the input, cut at NUL bytes, is the argument list.
// It is either turned into a command and its options, whose values then go
// through the checks the commands make, or refused with a UsageError.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "zulpos/command_line.h"

using namespace zulpos;

namespace {

// The value checks the commands apply to what they were given. Each value
// meets one of them, chosen by its length: a refusal is an exception, and
// under the sanitizers five of them per value cost more than the parsing.
void CheckValues(const ParsedOptions& options) {
  using Check = void (*)(const std::string&, const std::string&);
  static const Check checks[] = {[](const std::string& o, const std::string& v) { ParseAmount(o, v); },
                                 [](const std::string& o, const std::string& v) { ParseCents(o, v); },
                                 [](const std::string& o, const std::string& v) { ParseInteger(o, v); },
                                 [](const std::string& o, const std::string& v) { ParseKind(o, v); },
                                 [](const std::string& o, const std::string& v) { ParseYesNo(o, v); }};
  for (const auto& [name, values] : options.values)
    for (const std::string& value : values) {
      try {
        checks[value.size() % std::size(checks)](name, value);
      } catch (const UsageError&) {
      }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) args.emplace_back();
    else args.back() += static_cast<char>(data[i]);
  }
  CommandLine line;
  try {
    line = ParseCommandLine(args);
  } catch (const UsageError&) {
    return 0;
  }
  CheckValues(line.global);
  CheckValues(line.options);
  return 0;
}

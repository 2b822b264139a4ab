// zulpos's command line: the input, cut at NUL bytes, is the argument list.
// It is either turned into a command and its options, every value passing
// the check its option makes as it is parsed, or refused with CLI11's error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zulpos/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The table costs many times what a parse does: it is built once, and
  // cleared of the previous parse before each. Values bound to variables
  // may stay from an earlier input; only the parse itself is judged here.
  static zulpos::CommandLine line;
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) args.emplace_back();
    else args.back() += static_cast<char>(data[i]);
  }
  line.app().clear();
  try {
    line.Parse(args);
  } catch (const CLI::ParseError&) {
  }
  return 0;
}

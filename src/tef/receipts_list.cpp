#include "tef/receipts_list.h"

#include <algorithm>
#include <string>

#include "support/text.h"

namespace zul00500 {

std::vector<std::int32_t> MarkedBlocks(const StringList& receipts, std::int32_t count) {
  std::vector<std::int32_t> numbers;
  for (const std::string& line : receipts.lines()) {
    std::int32_t n = 0;
    if (PositiveDecimal(line, n) && n <= count) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

void CopyReceiptsBlock(const StringList& receipts, std::int32_t n, StringList& block) {
  block.Clear();
  const int start = receipts.IndexOf(std::to_string(n));
  if (start < 0) return;
  const std::string next = std::to_string(static_cast<std::int64_t>(n) + 1);
  for (std::size_t i = static_cast<std::size_t>(start) + 1; i < receipts.Count() && receipts[i] != next; ++i)
    block.Add(receipts[i]);
}

} // namespace zul00500

// The sale's receipts list as the printing run and CancelaTEFs walk it:
// blocks of answer lines, each after a marker line holding its number.
#pragma once

#include <cstdint>
#include <vector>

#include "support/string_list.h"

namespace zul00500 {

// The numbers n from 1 to `count` whose marker (a line holding just n) is in
// `receipts`, in increasing order. The list bounds the walk, not the count:
// a count near the largest integer costs no more than the list's length.
std::vector<std::int32_t> MarkedBlocks(const StringList& receipts, std::int32_t count);

// The lines of block n: those after the first line "n", up to the line
// "n + 1" or the end of the list. Empty when there is no marker.
void CopyReceiptsBlock(const StringList& receipts, std::int32_t n, StringList& block);

} // namespace zul00500

// What the benchmarks store: the receipt block of a manager's approved
// answer, as managers write it.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

// "028-000 = 24" and the 24 numbered receipt lines, each ended by CR LF.
inline std::string ReceiptBlock() {
  std::string text = "028-000 = 24\r\n";
  for (int line = 1; line <= 24; ++line) {
    char receipt[64];
    std::snprintf(receipt, sizeof receipt, "029-%03d = \"RECEIPT LINE %02d OF THE CARD SALE\"\r\n", line,
                  line);
    text += receipt;
  }
  return text;
}

} // namespace bench

// The last error's text, read through the C interface the way a host reads
// it: first its length, then the whole text.
#pragma once

#include <cstddef>
#include <string>

#include "Pkg_Zul00500.h"

namespace zul00500::testing {

inline std::string CapiLastError() {
  std::string text(static_cast<std::size_t>(zul_LastError(nullptr, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(zul_LastError(text.data(), static_cast<int>(text.size()))));
  return text;
}

} // namespace zul00500::testing

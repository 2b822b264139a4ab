// Whether a text is one JSON value and nothing else (RFC 8259's grammar),
// for the tests of what the tools write as JSON.
#pragma once

#include <string>
#include <string_view>

namespace zul00500::testing {

// False with `error` saying where, when `text` is not JSON.
bool IsJson(std::string_view text, std::string& error);

} // namespace zul00500::testing

// The tools take the platform layer's own conversion, so that a text a tool
// hands to the package comes back the same.
#include "tool_platform/text.h"

#include "platform/text_encoding.h"

namespace tool_platform {

std::string cp1252_to_utf8(std::string_view text) { return zul00500::platform::cp1252_to_utf8(text); }

std::string utf8_or_cp1252_to_cp1252(std::string_view text) {
  return zul00500::platform::utf8_or_cp1252_to_cp1252(text);
}

} // namespace tool_platform

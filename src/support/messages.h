// The message table component: entries "key|text", looked up by key.
#pragma once

#include <string>
#include <string_view>

#include "support/string_list.h"

namespace zul00500 {

class TMessages {
public:
  StringList Messages;
  // The text of the entry `key`, through the host's lookup (HostServices::Msg).
  std::string Msg(std::string_view key) const;
};

} // namespace zul00500

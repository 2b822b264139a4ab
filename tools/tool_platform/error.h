// What the tools' platform library throws: the operation, the object (a
// program, a folder) and the system's reason, in one readable text.
#pragma once

#include <stdexcept>
#include <string>

namespace tool_platform {

class Error : public std::runtime_error {
public:
  Error(const std::string& operation, const std::string& object, const std::string& reason)
      : std::runtime_error(operation + (object.empty() ? "" : " \"" + object + "\"") +
                           (reason.empty() ? "" : ": " + reason)) {}
};

} // namespace tool_platform

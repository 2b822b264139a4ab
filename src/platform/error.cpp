#include "platform/error.h"

#include "platform/detail.h"

namespace zul00500::platform {

namespace {
std::string compose(const std::string& operation, const std::string& object, const std::string& reason) {
  std::string text = operation;
  if (!object.empty()) text += " \"" + detail::shown_path(object) + "\"";
  if (!reason.empty()) text += ": " + reason;
  return text;
}
} // namespace

Error::Error(std::string operation, std::string object, std::string reason)
    : std::runtime_error(compose(operation, object, reason)), operation_(std::move(operation)),
      object_(std::move(object)), reason_(std::move(reason)) {}

} // namespace zul00500::platform

// No window system of the package's own on POSIX: a host there brings its
// dialogs, or the terminal stands in for them.
#include "platform/window_form.h"

namespace zul00500::platform {

bool window_dialogs_available() { return false; }

std::optional<bool> message_box(const std::string&, const std::string&, bool, MessageIcon) {
  return std::nullopt;
}

bool show_form(const FormWindow&, const std::function<bool(const std::string&)>&) { return false; }

} // namespace zul00500::platform

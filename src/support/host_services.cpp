#include "support/host_services.h"

#include <cmath>
#include <cstdio>

#include "platform/console_dialogs.h"
#include "platform/window_form.h"
#include "support/messages.h"
#include "support/string_list.h"
#include "support/text.h"

namespace zul00500 {

namespace {
// The title of a message box whose caller gave no context: what a cashier
// calls the card payment.
constexpr const char* kDefaultTitle = "TEF";

std::shared_ptr<HostServices>& installed() {
  static std::shared_ptr<HostServices> services;
  return services;
}
} // namespace

bool HostServices::Mensagem(const std::string& text, const std::string&, const std::string&,
                            const std::string& yesNo, int kind, const std::string&,
                            const std::string& context, int, const ClientDataSet*) {
  const bool asks = yesNo == "S";
  // Where the platform has message boxes: Yes and No when the answer counts,
  // a warning for the warnings and the printer question, the host's context
  // as the title.
  const auto icon = kind == tmAviso ? platform::MessageIcon::Warning : platform::MessageIcon::Information;
  if (const auto answer = platform::message_box(text, context.empty() ? kDefaultTitle : context, asks, icon))
    return asks && *answer;

  return platform::console_message(text, asks);
}

void HostServices::Trad(TfrmCartaoDebito&) {}

std::string HostServices::Msg(const TMessages& table, std::string_view key) {
  for (const std::string& entry : table.Messages.lines()) {
    const std::size_t bar = entry.find('|');
    if (bar != std::string::npos && SameText(std::string_view(entry).substr(0, bar), key))
      return entry.substr(bar + 1);
  }
  return {};
}

HostServices& DefaultHostServices() {
  static HostServices fallback;
  return fallback;
}

HostServices& host() { return installed() ? *installed() : DefaultHostServices(); }

void SetHostServices(std::shared_ptr<HostServices> services) { installed() = std::move(services); }

std::string TMessages::Msg(std::string_view key) const { return host().Msg(*this, key); }

std::string AjustaZero(std::string_view text, int width) {
  std::string result(text);
  if (static_cast<int>(result.size()) < width) result.insert(0, width - result.size(), '0');
  return result;
}

std::string Ajusta(std::string_view text, int width) {
  std::string result(text);
  if (static_cast<int>(result.size()) < width) result.insert(0, width - result.size(), ' ');
  return result;
}

bool EmptyString(std::string_view text) { return Trim(text).empty(); }

double Trunc2(double value) {
  if (!std::isfinite(value)) return value;
  // Cut the decimal text, not the binary value: 10.01 - 10.00 is stored as
  // 0.00999999..., which is one cent to everyone but a binary truncation.
  char text[400];
  std::snprintf(text, sizeof text, "%.9f", value);
  std::string digits(text);
  const std::size_t point = digits.find('.');
  if (point != std::string::npos && digits.size() > point + 3) digits.resize(point + 3);
  return std::strtod(digits.c_str(), nullptr);
}

} // namespace zul00500

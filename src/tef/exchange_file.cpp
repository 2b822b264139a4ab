#include "tef/exchange_file.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "zul00500/host_services.h"
#include "zul00500/errors.h"

namespace zul00500 {

namespace {
// Long enough for a manager to finish writing a file of a few lines.
constexpr std::uint32_t kEmptyReadRetryMs = 50;
} // namespace

void SaveRequest(const StringList& request, const std::string& root) {
  const std::string temporary = root + "req\\intpos.tmp";
  const std::string request_file = root + "req\\intpos.001";
  request.SaveToFile(temporary);
  if (!platform::fs().rename_file(temporary, request_file))
    throw FileError("move the request into place", request_file, "renaming " + temporary + " failed");
}

void ShowManagerMessage(const std::string& text, const std::string& context, bool withReceipt) {
  host().Mensagem(text, "", "N", "N", tmInformacao, "", context, withReceipt ? 1 : 0, nullptr);
  if (withReceipt) platform::handle_message();
}

void LoadExchangeFile(StringList& list, const std::string& path) {
  list.LoadFromFile(path);
  if (!list.empty()) return;
  platform::pause(kEmptyReadRetryMs);
  list.LoadFromFile(path);
}

} // namespace zul00500

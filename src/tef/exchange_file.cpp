#include "tef/exchange_file.h"

#include <optional>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "tef/settlement_journal.h"

namespace zul00500 {

namespace {

constexpr const char* kClosingLine = "999-999 = 0";

// The bytes of the file, or nothing while it is not there to be read: gone,
// or held by the manager that is writing it.
std::optional<std::string> read_if_there(const std::string& path) {
  platform::FileSystem& fs = platform::fs();
  try {
    return fs.read_file(path);
  } catch (const FileBusyError&) {
    return std::nullopt;
  } catch (const FileError&) {
    if (!fs.file_exists(path)) return std::nullopt;
    throw;
  }
}

bool ends_with_line_end(const std::string& bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

} // namespace

void SaveRequest(const StringList& request, const std::string& root,
                 const std::function<void()>& beforePlacing) {
  ForgetUntakenSettlements(root);
  const std::string path = root + "req\\intpos.001";
  PrepareFileInOneStep(path, request.Text());
  if (beforePlacing) beforePlacing();
  PlaceFileInOneStep(path);
}

void PausedTime::Pause(std::uint32_t milliseconds) {
  platform::pause(milliseconds);
  ms_ += milliseconds;
}

bool ReadWholeExchangeFile(StringList& list, const std::string& path, PausedTime& waited) {
  const std::optional<std::string> bytes = read_if_there(path);
  if (!bytes) return false;
  StringList lines;
  lines.SetText(*bytes);
  if (lines.empty() || lines.lines().back() != kClosingLine) {
    // Without its closing line a file is only taken once it has stood still.
    if (!ends_with_line_end(*bytes)) return false;
    waited.Pause(kSettleMs);
    if (read_if_there(path) != bytes) return false;
  }
  list = std::move(lines);
  return true;
}

bool IsAnswerTo(const StringList& answer, const std::string& operation, const std::string& sequence) {
  return answer.Count() > 1 && answer[0] == "000-000 = " + operation && answer[1] == "001-000 = " + sequence;
}

bool NeedsNoConfirmation(const StringList& answer) {
  const std::string operation = answer.Field("000-000 ");
  return (answer.Field("009-000 ") == "FF" && operation == "ADM") ||
         (answer.Field("028-000 ") == "0" && operation == "CRT");
}

void ShowManagerMessage(const std::string& text, const std::string& context, bool withReceipt) {
  ShowDialog(text, "N", tmInformacao, context, withReceipt ? 1 : 0);
  if (withReceipt) platform::handle_message();
}

} // namespace zul00500

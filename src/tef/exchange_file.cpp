#include "tef/exchange_file.h"

#include <algorithm>
#include <optional>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/text.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"

namespace zul00500 {

namespace {

// Receipt blocks: their count field and the prefix of their numbered lines.
constexpr std::pair<const char*, const char*> kBlocks[] = {
    {"028-000 ", "029-"}, {"710-000 ", "711-"}, {"712-000 ", "713-"}, {"714-000 ", "715-"}};

// True when a line of `answer` holds field `name` (its id and one blank),
// whatever its value.
bool holds(const StringList& answer, const std::string& name) {
  for (const std::string& line : answer.lines())
    if (line.compare(0, name.size(), name) == 0 && line.size() > name.size() && line[name.size()] == '=')
      return true;
  return false;
}

// True for a whole header line, "000-000 = " and an operation code of
// three capital letters: no operation code is the start of another, so a
// header read without its line end is not a part of one.
bool IsHeaderLine(std::string_view line) {
  constexpr std::string_view prefix = "000-000 = ";
  return line.size() == prefix.size() + 3 && line.substr(0, prefix.size()) == prefix &&
         std::all_of(line.begin() + prefix.size(), line.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// True for a line that has a field's whole id and separator,
// "NNN-NNN = ": a last line cut before them is no line yet.
bool IsFieldLine(std::string_view line) {
  const auto digits = [&line](std::size_t at) {
    return std::all_of(line.begin() + static_cast<std::ptrdiff_t>(at),
                       line.begin() + static_cast<std::ptrdiff_t>(at + 3),
                       [](char c) { return c >= '0' && c <= '9'; });
  };
  return line.size() >= 10 && digits(0) && line[3] == '-' && digits(4) && line.substr(7, 3) == " = ";
}

// The last line of `bytes`, when it has no line end.
std::string_view unended_last_line(std::string_view bytes) {
  if (EndsWithLineEnd(bytes)) return {};
  const std::size_t end = bytes.find_last_of("\r\n");
  return end == std::string_view::npos ? bytes : bytes.substr(end + 1);
}

} // namespace

bool LooksWhole(const StringList& answer) {
  if (answer.Count() < 2 || !holds(answer, "000-000 ") || !holds(answer, "001-000 ")) return false;
  if (answer[0] == "000-000 = XXX") return true;
  const std::string result = answer.Field("009-000 ");
  if (result.empty()) return false;
  if (result != "0") return true;
  if (!holds(answer, "028-000 ")) return false;
  for (const auto& [count_field, prefix] : kBlocks) {
    std::int32_t lines = 0;
    const std::string count = answer.Field(count_field);
    // A count line cut after its "=": the count is still to come, and read
    // now it would make an approval one without a receipt.
    if (count.empty() && holds(answer, count_field)) return false;
    // A count that is no line count is the reader's to report.
    if (!TryStrToInt(count, lines) || lines <= 0 || lines > kMaxReceiptLines) continue;
    if (!holds(answer, prefix + AjustaZero(std::to_string(lines), 3) + " ")) return false;
  }
  return true;
}

void SaveRequest(const StringList& request, const std::string& root,
                 const std::function<void()>& beforePlacing, const std::function<void()>& ifNotPlaced) {
  ForgetUntakenSettlements(root);
  const std::string path = root + "req\\intpos.001";
  // A status file already there belongs to an earlier request (one
  // acknowledged late): gone before this request goes out, so that every
  // status read in its wait came after it.
  const std::string status = root + "resp\\intpos.sts";
  if (platform::fs().file_exists(status)) platform::fs().remove_file(status);
  PrepareFileInOneStep(path, request.Text());
  if (beforePlacing) {
    try {
      beforePlacing();
    } catch (...) {
      // The request will not go out: its temporary must not stay behind in
      // the manager's directory.
      platform::fs().remove_file(TemporaryBeside(path));
      throw;
    }
  }
  PlaceFileInOneStep(path, ifNotPlaced);
}

bool ReadsWhole(const StringList& answer) {
  return (!answer.empty() && answer.lines().back() == kClosingLine) || LooksWhole(answer);
}

bool EndsClosed(const StringList& lines, std::string_view bytes) {
  return !lines.empty() && lines.lines().back() == kClosingLine && !EndsMidLineEnd(bytes);
}

bool ReadWholeExchangeFile(StringList& list, const std::string& path) {
  const std::optional<std::string> bytes = ReadIfThere(path);
  if (!bytes) return false;
  if (OverLimit(*bytes)) {
    StringList first = WholeLines(*bytes);
    if (first.empty()) return false;
    list = StringList{first[0]};
    return true;
  }
  StringList lines;
  lines.SetText(*bytes);
  if (EndsClosed(lines, *bytes)) {
    RememberClosingLine(path);
  } else {
    // Without its closing line a file is only taken once it has stood
    // still, and its last line, when it has no line end, is a whole header
    // or at least names its field.
    if (WholeLines(*bytes).empty() && !IsHeaderLine(*bytes)) return false;
    if (const std::string_view last = unended_last_line(*bytes); !last.empty() && !IsFieldLine(last))
      return false;
    // A manager seen to write the closing line may only be pausing.
    const std::uint32_t quiet = WritesClosingLine(path) ? kSettleClosingWriterMs : kSettleQuietMs;
    for (std::uint32_t waited = 0; waited < quiet; waited += kSettleMs) {
      if (waited > 0) platform::process_messages();
      platform::pause(kSettleMs);
      if (ReadIfThere(path) != bytes) return false;
    }
  }
  list = std::move(lines);
  return true;
}

bool Acknowledges(const StringList& status, const std::string& header, const std::string& sequence) {
  const std::string its = status.Field("001-000 ");
  return !status.empty() && status[0] == header && (its.empty() || its == sequence);
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

#include "rehearsal/power_cut.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "rehearsal/text.h"
#include "tool_platform/files.h"
#include "virtual_printer/failure_plan.h"
#include "virtual_printer/virtual_printer.h"

namespace rehearsal {

namespace {

// What the package logs when it has taken a sale's answer (and saved its
// backup copy), and just before it writes a non-confirmation.
constexpr const char* kAnswerTaken = "Rez00000 - Renomeia intpos e cria bkp.";
constexpr const char* kNotConfirming = "Zul00500 - Transa\xE7\xE3o n\xE3o foi confirmada";
// A frozen host whose runner is gone ends by itself.
constexpr auto kFreezeLimit = std::chrono::seconds(60);

bool is_card_log(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower.rfind("logtef", 0) == 0 && lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".txt") == 0;
}

// The text a call puts on the receipt: nothing for calls that print none.
const std::string* receipt_text(const virtual_printer::PrinterCall& call) {
  using virtual_printer::Procedure;
  if (call.procedure == Procedure::Usa_CompNFis) return &call.arguments[1];
  if (call.procedure == Procedure::Abre_Comp_NFiscalVinc && call.arguments[1] == "CCD" &&
      call.arguments[2] == "ImprimeCCD")
    return &call.arguments[3];
  return nullptr;
}

// Line feeds and the feed byte 160 alone: the end of a receipt's copy.
bool only_feeds(const std::string& text) { return text.find_first_not_of("\r\n \xA0") == std::string::npos; }

} // namespace

PowerCutWatch::PowerCutWatch(EventJournal& events, std::string host_dir)
    : events_(events), host_dir_(std::move(host_dir)) {
  // What earlier starts logged is theirs.
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(host_dir_, error))
    if (is_card_log(entry.path().filename().string()))
      log_read_[entry.path().string()] = entry.file_size(error);
}

void PowerCutWatch::Arm(const Moment* moment) {
  ReadCardLog();
  moment_ = moment;
  due_ = false;
  occurrences_ = 0;
  receipts_ = 0;
  in_trailer_ = true;
  calls_by_name_.clear();
  calls_ = 0;
}

void PowerCutWatch::ReadCardLog() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(host_dir_, error)) {
    const std::string path = entry.path().string();
    if (!is_card_log(entry.path().filename().string())) continue;
    std::uintmax_t& read = log_read_[path];
    if (entry.file_size(error) <= read) continue;
    const std::string bytes = tool_platform::read_file(path);
    // Complete lines only: the package may be writing the last one.
    const std::size_t end = bytes.rfind('\n');
    if (end == std::string::npos || end + 1 <= read) continue;
    std::size_t start = static_cast<std::size_t>(read);
    read = end + 1;
    while (start <= end) {
      std::size_t stop = bytes.find('\n', start);
      std::string line = bytes.substr(start, stop - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Notice(line);
      start = stop + 1;
    }
  }
}

void PowerCutWatch::Notice(const std::string& line) {
  events_.Add("package", "log", line);
  if (!moment_) return;
  switch (moment_->kind) {
  case Moment::Kind::AfterAnswer:
    if (Contains(line, kAnswerTaken) && ++occurrences_ >= moment_->number) due_ = true;
    break;
  case Moment::Kind::DuringScan:
    if (Contains(line, kNotConfirming)) due_ = true;
    break;
  case Moment::Kind::LogLine:
    if (Contains(line, moment_->text) && ++occurrences_ >= moment_->number) due_ = true;
    break;
  default:
    break;
  }
}

void PowerCutWatch::Point() {
  ReadCardLog();
  if (due_) Freeze();
}

void PowerCutWatch::Dialog(const std::string& text) {
  if (moment_ && moment_->kind == Moment::Kind::Dialog && Contains(text, moment_->text)) due_ = true;
  Point();
}

void PowerCutWatch::PrinterCall(const virtual_printer::PrinterCall& call) {
  const std::string procedure(virtual_printer::ProcedureName(call.procedure));
  virtual_printer::CallNumbers numbers;
  numbers.overall = ++calls_;
  numbers.procedure = procedure;
  numbers.of_procedure = ++calls_by_name_[procedure];
  if (call.procedure == virtual_printer::Procedure::Abre_Comp_NFiscalVinc && call.arguments[1] == "CCD") {
    numbers.command = call.arguments[2];
    numbers.of_command = ++calls_by_name_[call.arguments[2]];
  }
  if (moment_ && moment_->kind == Moment::Kind::PrinterCall &&
      virtual_printer::ParseFailureRules(moment_->text).Fails(numbers))
    due_ = true;

  if (call.result) {
    if (call.procedure == virtual_printer::Procedure::ImprimePadrao) {
      ++receipts_; // a whole copy at once
      in_trailer_ = true;
    } else if (const std::string* text = receipt_text(call)) {
      if (only_feeds(*text)) in_trailer_ = true;
      else if (in_trailer_) {
        ++receipts_;
        in_trailer_ = false;
      }
    }
    if (moment_ && moment_->kind == Moment::Kind::MidReceipt && receipts_ >= moment_->number) due_ = true;
  }
  Point();
}

void PowerCutWatch::PaymentReturned(std::size_t index) {
  if (moment_ && moment_->kind == Moment::Kind::AfterAnswer && static_cast<int>(index) + 1 >= moment_->number)
    due_ = true;
  Point();
}

void PowerCutWatch::StepEnded() {
  if (moment_ && moment_->kind == Moment::Kind::AfterStep) due_ = true;
  Point();
}

void PowerCutWatch::Freeze() {
  events_.Add("host", "power-cut", moment_ ? moment_->label : std::string());
  const auto until = std::chrono::steady_clock::now() + kFreezeLimit;
  while (std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  events_.Add("host", "freeze-timeout", "nobody cut the power within 60 s");
  // Nothing of the package may run again: no unload, no clean-up.
  std::_Exit(3);
}

} // namespace rehearsal

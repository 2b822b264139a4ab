#include "host.h"

#include <algorithm>
#include <exception>

#include "journal/journal.h"
#include "package.h"

namespace zulpos {

namespace {
constexpr const char* kDialogPrefix = "dialog: ";

std::string lower_ascii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return text;
}

std::string trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The C interface's callbacks: nothing may leave them but a result, so a
// failure becomes -1 and zulpos tells what it was once the routine returns.
int ZUL_CALL dialog_callback(void* user, const char* text, const char* s2, const char* s3, const char* yesNo,
                             int kind, const char* s6, const char* context, int withReceipt, const void*) {
  try {
    return static_cast<ConsoleHost*>(user)->Dialog(
        {text, s2, s3, yesNo, kind, s6, context, withReceipt, false});
  } catch (const std::exception& error) {
    RememberCallbackFailure(error.what());
    return ZUL_ERROR;
  }
}

int ZUL_CALL network_callback(void* user, const char* caption) {
  try {
    return static_cast<ConsoleHost*>(user)->ChooseNetwork(caption);
  } catch (const std::exception& error) {
    RememberCallbackFailure(error.what());
    return ZUL_ERROR;
  }
}
} // namespace

std::string DialogJournalLine(const DialogCall& call) {
  return journal::Line({call.text, call.s2, call.s3, call.yesNo, std::to_string(call.kind), call.s6,
                        call.context, std::to_string(call.withReceipt), "", call.answer ? "true" : "false"});
}

std::string DialogLines(const std::string& cp1252_text) {
  const std::string indent(std::string(kDialogPrefix).size(), ' ');
  std::string lines = kDialogPrefix;
  // CR LF, CR and LF each end a line, as they do in the package's lists.
  std::size_t start = 0;
  for (bool first = true;; first = false) {
    const std::size_t end = cp1252_text.find_first_of("\r\n", start);
    lines += (first ? "" : "\n" + indent) + ToTerminal(cp1252_text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + (cp1252_text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (start == cp1252_text.size()) break;
  }
  return lines;
}

bool AskYesNo(std::istream& in, std::ostream& prompt) {
  for (;;) {
    prompt << "[y/n] " << std::flush;
    std::string line;
    if (!std::getline(in, line)) {
      prompt << "\n";
      return false;
    }
    const std::string answer = lower_ascii(FromTerminal(trim(line)));
    if (answer == "y" || answer == "yes" || answer == "s" || answer == "sim") return true;
    if (answer == "n" || answer == "no" || answer == "nao" || answer == "n\xE3o") return false;
  }
}

ConsoleHost::ConsoleHost(HostOptions options, std::istream& in, Output& out)
    : options_(std::move(options)), in_(in), out_(out) {}

ConsoleHost::~ConsoleHost() {
  if (!installed_) return;
  api().zul_SetDialog(nullptr, nullptr);
  api().zul_SetNetworkChooser(nullptr, nullptr);
}

void ConsoleHost::Install() {
  Checked(api().zul_SetDialog(dialog_callback, this));
  // With a terminal and no --network, the package's own terminal dialog asks.
  const bool ask_terminal = !options_.network && options_.interactive;
  Checked(api().zul_SetNetworkChooser(ask_terminal ? nullptr : network_callback, this));
  installed_ = true;
}

bool ConsoleHost::Dialog(DialogCall call) {
  bool shown = false;
  if (call.yesNo == "S") {
    if (next_answer_ < options_.answers.size()) call.answer = options_.answers[next_answer_++];
    else if (options_.interactive) {
      // The terminal shows the question it asks about.
      out_.Text(DialogLines(call.text));
      call.answer = AskYesNo(in_, out_.stream());
      shown = true;
    }
  }
  if (!options_.journal_path.empty()) journal::Append(options_.journal_path, DialogJournalLine(call));
  if (!shown) {
    out_.Text(DialogLines(call.text));
    if (call.yesNo == "S") out_.Text(call.answer ? "answer: yes" : "answer: no");
  }
  return call.answer;
}

int ConsoleHost::ChooseNetwork(const std::string& caption) {
  out_.Text("network " + DialogLines(caption));
  const std::string code = options_.network.value_or("2");
  out_.Text("answer: " + code);
  return std::stoi(code);
}

} // namespace zulpos

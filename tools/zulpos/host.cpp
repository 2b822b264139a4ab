#include "host.h"

#include <algorithm>

#include "zul00500/host_services.h"
#include "zul00500/string_list.h"

namespace zulpos {

namespace {
constexpr const char* kDialogPrefix = "dialog: ";

std::string lower_ascii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return text;
}
} // namespace

std::string NetworkClick(const std::string& code) {
  if (code == "1") return "btnTecBan";
  if (code == "2") return "btnOutros";
  if (code == "3") return "btnHcard";
  if (code == "9") return "bbtEncerra";
  return {};
}

std::string DialogLines(const std::string& cp1252_text) {
  const std::string indent(std::string(kDialogPrefix).size(), ' ');
  std::string lines = kDialogPrefix;
  // CR LF, CR and LF each end a line, as they do in the package's lists.
  zul00500::StringList text;
  text.SetText(cp1252_text);
  for (std::size_t i = 0; i < text.Count(); ++i) lines += (i == 0 ? "" : "\n" + indent) + ToTerminal(text[i]);
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
    const std::string answer = lower_ascii(FromTerminal(zul00500::Trim(line)));
    if (answer == "y" || answer == "yes" || answer == "s" || answer == "sim") return true;
    if (answer == "n" || answer == "no" || answer == "nao" || answer == "n\xE3o") return false;
  }
}

// Shows the network dialog on standard output and lets the terminal or the
// fixed answer choose.
class ConsoleHost::Chooser : public zul00500::NetworkChooser {
public:
  Chooser(std::shared_ptr<zul00500::NetworkChooser> inner, bool terminal, Output& out)
      : inner_(std::move(inner)), terminal_(terminal), out_(out) {}

  void Run(zul00500::TfrmCartaoDebito& form) override {
    // The terminal chooser prints the caption and the choices itself.
    if (!terminal_) out_.Text("network " + DialogLines(form.Caption));
    inner_->Run(form);
    if (!terminal_ && form.ModalResult != zul00500::mrNone)
      out_.Text("answer: " + std::to_string(static_cast<int>(form.ModalResult)));
  }

private:
  std::shared_ptr<zul00500::NetworkChooser> inner_;
  bool terminal_;
  Output& out_;
};

ConsoleHost::ConsoleHost(HostOptions options, std::istream& in, Output& out)
    : options_(std::move(options)), in_(in), out_(out),
      services_(std::make_shared<zul00500::ScriptedHostServices>()) {
  for (const bool answer : options_.answers) services_->PushAnswer(answer);
  services_->SetFallback([this](const zul00500::MensagemCall& call) { return AskTerminal(call); });
  services_->SetObserver([this](const zul00500::MensagemCall& call) { Show(call); });
  if (!options_.journal_path.empty()) services_->SetJournalFile(options_.journal_path);

  const bool ask_terminal = !options_.network && options_.interactive;
  std::shared_ptr<zul00500::NetworkChooser> inner;
  if (ask_terminal) inner = std::make_shared<zul00500::TerminalChooser>();
  else inner = std::make_shared<FixedChooser>(NetworkClick(options_.network.value_or("2")));
  chooser_ = std::make_shared<Chooser>(std::move(inner), ask_terminal, out_);
}

ConsoleHost::~ConsoleHost() {
  if (!installed_) return;
  zul00500::SetHostServices(nullptr);
  zul00500::SetNetworkChooser(nullptr);
}

void ConsoleHost::Install() {
  zul00500::SetHostServices(services_);
  zul00500::SetNetworkChooser(chooser_);
  installed_ = true;
}

bool ConsoleHost::AskTerminal(const zul00500::MensagemCall& call) {
  if (!options_.interactive) return false;
  out_.Text(DialogLines(call.text));
  shown_by_prompt_ = true;
  return AskYesNo(in_, out_.stream());
}

void ConsoleHost::Show(const zul00500::MensagemCall& call) {
  if (shown_by_prompt_) {
    shown_by_prompt_ = false;
    return;
  }
  out_.Text(DialogLines(call.text));
  if (call.yesNo == "S") out_.Text(call.answer ? "answer: yes" : "answer: no");
}

} // namespace zulpos

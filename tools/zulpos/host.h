// The host's side of the package's dialogs: yes/no questions answered from
// --answer, then from the terminal (or no), the network dialog answered from
// --network or the terminal, every dialog shown on standard output and, on
// request, journalled to a file.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output.h"
#include "zul00500/form.h"
#include "zul00500/scripted_host.h"

namespace zulpos {

struct HostOptions {
  std::vector<bool> answers;
  // "1", "2", "3" or "9"; unset: the terminal asks, or "2" without one.
  std::optional<std::string> network;
  std::string journal_path; // empty: no journal
  bool interactive = false; // standard input is a terminal
};

// The control of the network dialog that gives the answer `code` ("1", "2",
// "3", "9"); empty for any other code.
std::string NetworkClick(const std::string& code);

// "dialog: TEXT" in UTF-8; further lines of a text with line ends are indented
// under the first.
std::string DialogLines(const std::string& cp1252_text);

// Reads a yes/no answer from a terminal: y, yes, s, sim mean yes; n, no, nao,
// não mean no (any letter case). Anything else is asked again; end of input
// is no.
bool AskYesNo(std::istream& in, std::ostream& prompt);

// Clicks the same control in every network dialog it is shown: a host that
// runs several sales keeps its answer.
class FixedChooser : public zul00500::ScriptedChooser {
public:
  explicit FixedChooser(std::string click) : click_(std::move(click)) {}
  void Run(zul00500::TfrmCartaoDebito& form) override {
    Push(click_);
    ScriptedChooser::Run(form);
  }

private:
  std::string click_;
};

class ConsoleHost {
public:
  ConsoleHost(HostOptions options, std::istream& in, Output& out);
  // Puts the package's default services and chooser back.
  ~ConsoleHost();
  ConsoleHost(const ConsoleHost&) = delete;
  ConsoleHost& operator=(const ConsoleHost&) = delete;

  // Hands the services and the chooser to the package.
  void Install();

  zul00500::ScriptedHostServices& services() { return *services_; }

private:
  class Chooser;

  bool AskTerminal(const zul00500::MensagemCall& call);
  void Show(const zul00500::MensagemCall& call);

  HostOptions options_;
  std::istream& in_;
  Output& out_;
  std::shared_ptr<zul00500::ScriptedHostServices> services_;
  std::shared_ptr<zul00500::NetworkChooser> chooser_;
  bool installed_ = false;
  // The terminal already showed the dialog it asked about.
  bool shown_by_prompt_ = false;
};

} // namespace zulpos

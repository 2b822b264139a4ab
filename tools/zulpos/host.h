// The host's side of the package's dialogs: yes/no questions answered from
// --answer, then from the terminal (or no), the network dialog answered from
// --network or the terminal, every dialog shown on standard output and, on
// request, journalled to a file. Handed to the package as the C interface's
// dialog and network-chooser callbacks.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "output.h"

namespace zulpos {

struct HostOptions {
  std::vector<bool> answers;
  // "1", "2", "3" or "9"; unset: the terminal asks, or "2" without one.
  std::optional<std::string> network;
  std::string journal_path; // empty: no journal
  bool interactive = false; // standard input is a terminal
};

// One dialog as the package showed it: Mensagem's nine arguments (the
// dataset is always none) and the answer.
struct DialogCall {
  std::string text, s2, s3, yesNo;
  int kind = 0;
  std::string s6, context;
  int withReceipt = 0;
  bool answer = false;
};

// The dialog's journal line: its nine arguments (the dataset as empty) and
// the answer, TAB-separated and escaped.
std::string DialogJournalLine(const DialogCall& call);

// "dialog: TEXT" in UTF-8; further lines of a text with line ends are indented
// under the first.
std::string DialogLines(const std::string& cp1252_text);

// Reads a yes/no answer from a terminal: y, yes, s, sim mean yes; n, no, nao,
// não mean no (any letter case). Anything else is asked again; end of input
// is no.
bool AskYesNo(std::istream& in, std::ostream& prompt);

class ConsoleHost {
public:
  ConsoleHost(HostOptions options, std::istream& in, Output& out);
  // Puts the package's default dialog and network dialog back.
  ~ConsoleHost();
  ConsoleHost(const ConsoleHost&) = delete;
  ConsoleHost& operator=(const ConsoleHost&) = delete;

  // Hands the callbacks to the package.
  void Install();

  // What the callbacks do (public for the tests).
  bool Dialog(DialogCall call);
  // The network dialog's answer, 1, 2, 3 or 9.
  int ChooseNetwork(const std::string& caption);

private:
  bool AskTerminal(const DialogCall& call);

  HostOptions options_;
  std::istream& in_;
  Output& out_;
  std::size_t next_answer_ = 0;
  bool installed_ = false;
};

} // namespace zulpos

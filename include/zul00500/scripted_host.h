// Host services for tests and the command-line host: dialogs are answered
// from a queue, recorded, optionally shown and journalled to a file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "zul00500/host_services.h"

namespace zul00500 {

struct MensagemCall {
  std::string text, s2, s3, yesNo;
  int kind = 0;
  std::string s6, context;
  int withReceipt = 0;
  bool answer = false;
};

class ScriptedHostServices : public HostServices {
public:
  // Answers for yes/no dialogs, used in order.
  void PushAnswer(bool yes) { answers_.push_back(yes); }
  // What a yes/no dialog gets once the answers are used up: by default no.
  void SetFallback(std::function<bool(const MensagemCall&)> fallback) { fallback_ = std::move(fallback); }
  // Called for every dialog after it was answered (to show it, for example).
  void SetObserver(std::function<void(const MensagemCall&)> observer) { observer_ = std::move(observer); }
  // Appends one line per dialog to this file (see JournalLine).
  void SetJournalFile(std::string path) { journal_path_ = std::move(path); }

  bool Mensagem(const std::string& text, const std::string& s2, const std::string& s3,
                const std::string& yesNo, int kind, const std::string& s6, const std::string& context,
                int withReceipt, const ClientDataSet* dataset) override;

  const std::vector<MensagemCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // The nine arguments (the dataset as empty) and the answer, TAB-separated,
  // with CR, LF, TAB, backslash and other bytes below 32 escaped.
  static std::string JournalLine(const MensagemCall& call);

private:
  std::vector<bool> answers_;
  std::size_t next_answer_ = 0;
  std::function<bool(const MensagemCall&)> fallback_;
  std::function<void(const MensagemCall&)> observer_;
  std::string journal_path_;
  std::vector<MensagemCall> calls_;
};

// Escapes CR, LF, TAB, backslash and bytes below 32 (and any byte listed in
// `extra`) as \r \n \t \\ \xNN.
std::string EscapeJournalField(const std::string& text, const std::string& extra = {});

} // namespace zul00500

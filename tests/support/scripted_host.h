// Host services for tests: dialogs are answered from a queue, recorded and
// optionally shown.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/host_services.h"

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

  bool Mensagem(const std::string& text, const std::string& s2, const std::string& s3,
                const std::string& yesNo, int kind, const std::string& s6, const std::string& context,
                int withReceipt, const ClientDataSet* dataset) override;

  const std::vector<MensagemCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

private:
  std::vector<bool> answers_;
  std::size_t next_answer_ = 0;
  std::function<bool(const MensagemCall&)> fallback_;
  std::function<void(const MensagemCall&)> observer_;
  std::vector<MensagemCall> calls_;
};

} // namespace zul00500

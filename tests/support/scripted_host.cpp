#include "support/scripted_host.h"

namespace zul00500 {

bool ScriptedHostServices::Mensagem(const std::string& text, const std::string& s2, const std::string& s3,
                                    const std::string& yesNo, int kind, const std::string& s6,
                                    const std::string& context, int withReceipt, const ClientDataSet*) {
  MensagemCall call{text, s2, s3, yesNo, kind, s6, context, withReceipt, false};
  if (yesNo == "S") {
    if (next_answer_ < answers_.size()) call.answer = answers_[next_answer_++];
    else if (fallback_) call.answer = fallback_(call);
  }
  calls_.push_back(call);
  if (observer_) observer_(call);
  return call.answer;
}

} // namespace zul00500

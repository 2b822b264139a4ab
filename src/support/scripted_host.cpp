#include "zul00500/scripted_host.h"

#include <cstdio>
#include <iterator>

#include "platform/file_system.h"

namespace zul00500 {

std::string EscapeJournalField(const std::string& text, const std::string& extra) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\\') out += "\\\\";
    else if (byte < 32 || extra.find(c) != std::string::npos) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else out += c;
  }
  return out;
}

std::string ScriptedHostServices::JournalLine(const MensagemCall& call) {
  const std::string fields[] = {call.text, call.s2, call.s3, call.yesNo, std::to_string(call.kind),
                                call.s6, call.context, std::to_string(call.withReceipt), "",
                                call.answer ? "true" : "false"};
  std::string line = EscapeJournalField(fields[0]);
  for (std::size_t i = 1; i < std::size(fields); ++i) line += '\t' + EscapeJournalField(fields[i]);
  return line;
}

bool ScriptedHostServices::Mensagem(const std::string& text, const std::string& s2, const std::string& s3,
                                    const std::string& yesNo, int kind, const std::string& s6,
                                    const std::string& context, int withReceipt, const ClientDataSet*) {
  MensagemCall call{text, s2, s3, yesNo, kind, s6, context, withReceipt, false};
  if (yesNo == "S") {
    if (next_answer_ < answers_.size()) call.answer = answers_[next_answer_++];
    else if (fallback_) call.answer = fallback_(call);
  }
  calls_.push_back(call);
  if (!journal_path_.empty()) platform::fs().append_file(journal_path_, JournalLine(call) + "\n");
  if (observer_) observer_(call);
  return call.answer;
}

} // namespace zul00500

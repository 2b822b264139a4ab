#include "tefsim/answers.h"

#include <algorithm>
#include <cstdio>

#include "platform/date_time.h"
#include "platform/text_encoding.h"

namespace tefsim {

using zul00500::StringList;

namespace {

std::string digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

// "123456" cents as "1234,56", the way a Brazilian receipt shows it; a value
// that is not all digits is shown as it came.
std::string amount_text(std::string cents) {
  if (cents.empty() || cents.find_first_not_of("0123456789") != std::string::npos) return cents;
  while (cents.size() < 3) cents.insert(cents.begin(), '0');
  return cents.substr(0, cents.size() - 2) + "," + cents.substr(cents.size() - 2);
}

std::string line(const std::string& id, const std::string& value) { return id + " = " + value; }

// 013-000: an authorization code made from the document number.
std::string authorization(const std::string& document) {
  return "A" + document.substr(document.empty() ? 0 : 1);
}

// The sequence written back: the request's, or one that surely differs.
std::string other_sequence(std::string sequence) {
  if (sequence.empty()) return "0";
  char& last = sequence.back();
  last = (last >= '0' && last <= '8') ? static_cast<char>(last + 1) : '0';
  return sequence;
}

// Index of the line holding field `id`, or -1.
int field_index(const StringList& lines, const std::string& id) {
  for (std::size_t i = 0; i < lines.Count(); ++i)
    if (lines[i].compare(0, id.size() + 2, id + " =") == 0) return static_cast<int>(i);
  return -1;
}

// Receipt lines, each a quoted text as managers write them.
std::vector<std::string> receipt_text(const StringList& request, const Transaction& t) {
  const auto when = zul00500::platform::decode_date_time(t.time);
  const bool cheque = request.Field("000-000 ") == "CHQ";
  return {
      "     TEFSIM " + t.network + "     ",
      cheque ? "CONSULTA DE CHEQUE" : "COMPROVANTE DE VENDA - CARTAO",
      "DOC " + t.document + "  AUT " + authorization(t.document),
      digits(when.day, 2) + "/" + digits(when.month, 2) + "/" + digits(when.year, 4) + " " +
          digits(when.hour, 2) + ":" + digits(when.minute, 2) + ":" + digits(when.second, 2),
      "VALOR R$ " + amount_text(request.Field("003-000 ")),
      "TRANSACAO APROVADA",
  };
}

// A count field and its numbered lines: "028-000 = 2", "029-001 = \"...\"".
void add_block(StringList& answer, const std::string& count_id, const std::vector<std::string>& text) {
  answer.Add(line(count_id, std::to_string(text.size())));
  const int line_field = std::stoi(count_id.substr(0, 3)) + 1;
  for (std::size_t i = 0; i < text.size(); ++i)
    answer.Add(line(digits(line_field, 3) + "-" + digits(static_cast<int>(i) + 1, 3), "\"" + text[i] + "\""));
}

// The scenario's edits: fields set or added (before "999-999"), fields left
// out, raw lines replaced.
void apply_edits(StringList& answer, const Behaviour& behaviour) {
  for (const auto& [id, value] : behaviour.fields) {
    const int at = field_index(answer, id);
    if (at >= 0) {
      answer[at] = line(id, value);
      continue;
    }
    std::vector<std::string> lines = answer.lines();
    const int end = field_index(answer, "999-999");
    lines.insert(end >= 0 ? lines.begin() + end : lines.end(), line(id, value));
    answer.Clear();
    for (std::string& text : lines) answer.Add(std::move(text));
  }
  if (!behaviour.omitted.empty()) {
    StringList kept;
    for (const std::string& text : answer.lines())
      if (text.size() < 7 || !behaviour.omitted.contains(text.substr(0, 7))) kept.Add(text);
    answer = kept;
  }
  for (const auto& [number, text] : behaviour.lines) {
    const auto index = static_cast<std::size_t>(number - 1);
    if (index < answer.Count()) answer[index] = text;
    else answer.Add(text);
  }
}

// The error answer "XXX": the request's sequence and the reason.
StringList error_answer(const StringList& request, const Behaviour& behaviour) {
  StringList answer{"000-000 = XXX", line("001-000", request.Field("001-000 ")),
                    line("030-000", behaviour.has_message ? behaviour.message : "OPERACAO NAO REALIZADA"),
                    "999-999 = 0"};
  apply_edits(answer, behaviour);
  return answer;
}

using AnswerBuilder = StringList (*)(const StringList&, const Behaviour&, const Transaction&);

// The answer file of each operation that gets one.
AnswerBuilder answer_builder(std::string_view operation) {
  if (operation == "CRT" || operation == "CHQ") return sale_answer;
  if (operation == "CNC") return cancellation_answer;
  return nullptr;
}

// A package does not take away a cancellation answer it turns down, so the
// right one replaces a stray answer after this pause instead of after pickup.
constexpr std::uint32_t kReplaceStrayMs = 1000;

} // namespace

bool has_answer_file(std::string_view operation) { return answer_builder(operation) != nullptr; }

std::string default_network(std::string_view root) {
  using zul00500::platform::cp1252_equal_ignoring_case;
  if (cp1252_equal_ignoring_case(root, "c:\\tef_disc\\")) return "TECBAN";
  if (cp1252_equal_ignoring_case(root, "c:\\HiperTEF\\")) return "HCard";
  return "REDEX";
}

StringList status_file(const StringList& request, const Behaviour& behaviour) {
  StringList status;
  const std::string header = request.empty() ? std::string() : request[0];
  switch (behaviour.status) {
  case StatusKind::Empty:
    return status;
  case StatusKind::Echo:
    status.Add(header);
    break;
  case StatusKind::WrongHeader:
    status.Add(header + " ");
    break;
  case StatusKind::Header:
    status.Add(behaviour.status_header);
    break;
  }
  const std::string sequence = request.Value("001-000 ");
  status.Add("001-000 =" + (sequence.empty() ? std::string(" ") : sequence));
  status.Add("999-999 = 0");
  return status;
}

StringList sale_answer(const StringList& request, const Behaviour& behaviour, const Transaction& t) {
  const std::string sequence = request.Field("001-000 ");
  const auto when = zul00500::platform::decode_date_time(t.time);
  const std::string date = digits(when.day, 2) + digits(when.month, 2) + digits(when.year, 4);
  const std::string time = digits(when.hour, 2) + digits(when.minute, 2) + digits(when.second, 2);
  auto message = [&](const char* standard) { return behaviour.has_message ? behaviour.message : standard; };

  if (behaviour.outcome == Outcome::Error) return error_answer(request, behaviour);

  StringList answer;
  const bool approved = behaviour.outcome != Outcome::Refuse;
  answer.Add(line("000-000", request.Field("000-000 ")));
  answer.Add(line("001-000", sequence));
  answer.Add(line("003-000", request.Field("003-000 ")));
  answer.Add(line("009-000", approved ? "0" : "05"));
  answer.Add(line("010-000", t.network));
  answer.Add(line("012-000", t.document));
  if (approved) answer.Add(line("013-000", authorization(t.document)));
  answer.Add(line("022-000", date));
  answer.Add(line("023-000", time));
  if (approved) {
    // Thirty characters; the host is handed characters 13 to 23.
    answer.Add(line("027-000",
                    "TEFSIM" + date.substr(0, 4) + date.substr(6, 2) + "00000" + t.document + time + "0"));
    if (behaviour.outcome == Outcome::Approve) {
      const std::vector<std::string> receipt = receipt_text(request, t);
      add_block(answer, "028-000", receipt);
      const std::pair<const char*, const char*> extra[] = {
          {"710-000", "VIA UNICA"}, {"712-000", "VIA CLIENTE"}, {"714-000", "VIA ESTABELECIMENTO"}};
      for (const auto& [id, title] : extra) {
        if (!behaviour.extra_blocks.contains(id)) continue;
        std::vector<std::string> copy = receipt;
        copy.insert(copy.begin(), title);
        add_block(answer, id, copy);
      }
    } else {
      answer.Add(line("028-000", "0"));
    }
  }
  answer.Add(line("030-000", message(approved ? "TRANSACAO APROVADA" : "TRANSACAO NEGADA")));
  if (approved) {
    answer.Add(line("709-000", "0"));
    answer.Add(line("748-000", "TEFSIM" + t.document));
  }
  answer.Add("999-999 = 0");
  apply_edits(answer, behaviour);
  return answer;
}

StringList cancellation_answer(const StringList& request, const Behaviour& behaviour, const Transaction& t) {
  if (behaviour.outcome == Outcome::Error) return error_answer(request, behaviour);
  const bool approved = behaviour.outcome != Outcome::Refuse;
  StringList answer{"000-000 = CNC", line("001-000", request.Field("001-000 ")),
                    line("009-000", approved ? "0" : "05"), line("010-000", t.network),
                    line("012-000", t.document)};
  if (behaviour.outcome == Outcome::Approve) {
    const auto when = zul00500::platform::decode_date_time(t.time);
    add_block(answer, "028-000",
              {"     TEFSIM " + t.network + "     ", "COMPROVANTE DE CANCELAMENTO",
               "DOC " + request.Field("012-000 ") + "  CANC " + t.document,
               digits(when.day, 2) + "/" + digits(when.month, 2) + "/" + digits(when.year, 4) + " " +
                   digits(when.hour, 2) + ":" + digits(when.minute, 2) + ":" + digits(when.second, 2),
               "VALOR R$ " + amount_text(request.Field("003-000 ")), "CANCELAMENTO OK"});
  } else {
    answer.Add(line("028-000", "0"));
  }
  const char* standard = approved ? "CANCELAMENTO OK" : "CANCELAMENTO NEGADO";
  answer.Add(line("030-000", behaviour.has_message ? behaviour.message : standard));
  answer.Add("999-999 = 0");
  apply_edits(answer, behaviour);
  return answer;
}

std::size_t torn_cut(std::string_view bytes) {
  const std::size_t line_end = bytes.find_first_of("\r\n");
  return (line_end == std::string_view::npos ? bytes.size() : line_end) / 2;
}

namespace {
// Each step as two: its first piece when it was due, the rest later.
std::vector<Step> torn(const std::vector<Step>& steps, std::uint32_t pause_ms) {
  std::vector<Step> pieces;
  for (const Step& step : steps) {
    Step first = step;
    first.piece = Piece::First;
    first.what += ", first piece";
    Step rest = step;
    rest.delay_ms = pause_ms;
    rest.after_pickup = false;
    rest.piece = Piece::Rest;
    rest.what += ", rest";
    pieces.push_back(std::move(first));
    pieces.push_back(std::move(rest));
  }
  return pieces;
}

// Every file the manager writes for `request`, each whole.
std::vector<Step> plan_whole_files(const StringList& request, const Behaviour& behaviour,
                                   const Transaction& t) {
  std::vector<Step> steps;
  if (behaviour.silent) return steps;
  steps.push_back({behaviour.delay_ms, false, kStatusName, status_file(request, behaviour), "status"});

  const std::string operation = request.Field("000-000 ");
  const AnswerBuilder build = answer_builder(operation);
  if (build == nullptr || behaviour.answer_silent) return steps;
  StringList answer = build(request, behaviour, t);
  if (behaviour.other_sequence_first) {
    StringList stray = answer;
    if (const int at = field_index(stray, "001-000"); at >= 0)
      stray[at] = line("001-000", other_sequence(request.Field("001-000 ")));
    steps.push_back({behaviour.answer_delay_ms, false, kAnswerName, stray, "answer of another sequence"});
    const bool picked_up = operation != "CNC";
    steps.push_back({picked_up ? 0 : kReplaceStrayMs, picked_up, kAnswerName, answer, "answer"});
  } else {
    steps.push_back({behaviour.answer_delay_ms, false, kAnswerName, answer, "answer"});
  }
  steps.back().bulk_shape = behaviour.bulk_shape;
  steps.back().bulk_mb = behaviour.bulk_mb;
  return steps;
}

// The answer written by a slow writer: up to `byte`, then the rest.
std::vector<Step> paused(const std::vector<Step>& steps, std::uint32_t byte, std::uint32_t pause_ms) {
  std::vector<Step> pieces;
  for (const Step& step : steps) {
    if (step.name != kAnswerName || step.piece != Piece::Whole) {
      pieces.push_back(step);
      continue;
    }
    Step first = step;
    first.piece = Piece::First;
    first.cut = std::min<std::size_t>(byte, step_bytes(step).size());
    first.what += ", first " + std::to_string(*first.cut) + " bytes";
    Step rest = first;
    rest.delay_ms = pause_ms;
    rest.after_pickup = false;
    rest.piece = Piece::Rest;
    rest.what = step.what + ", rest";
    pieces.push_back(std::move(first));
    pieces.push_back(std::move(rest));
  }
  return pieces;
}

} // namespace

std::vector<Step> plan_answer(const StringList& request, const Behaviour& behaviour, const Transaction& t) {
  std::vector<Step> steps = plan_whole_files(request, behaviour, t);
  if (behaviour.torn_ms) steps = torn(steps, *behaviour.torn_ms);
  if (behaviour.pause_at_byte) steps = paused(steps, *behaviour.pause_at_byte, behaviour.pause_ms);
  return steps;
}

std::string step_bytes(const Step& step) {
  std::string text = step.lines.Text();
  if (step.bulk_mb == 0 || step.name != kAnswerName) return text;
  const std::size_t size = static_cast<std::size_t>(step.bulk_mb) * 1024 * 1024;
  std::string bulk;
  if (step.bulk_shape == 'l') bulk = "029-999 = \"" + std::string(size, 'X') + "\"\r\n";
  else if (step.bulk_shape == 'f') bulk.assign(size, '\n');
  else
    for (bulk.reserve(size + 16); bulk.size() < size;) bulk += "XXXXXXXXXXXXXX\r\n";
  const std::size_t last = text.rfind("999-999 = 0");
  text.insert(last == std::string::npos ? text.size() : last, bulk);
  return text;
}

std::string one_line(const StringList& lines) {
  std::string text;
  for (const std::string& each : lines.lines()) text += (text.empty() ? "" : " | ") + each;
  return text.empty() ? "(no line)" : text;
}

} // namespace tefsim

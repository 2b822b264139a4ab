#include "tefsim/scenario.h"

#include <charconv>
#include <limits>

namespace tefsim {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view strip(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::uint32_t to_number(std::string_view text, const char* what) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    throw ScenarioError(std::string(what) + " must be a whole number, not \"" + std::string(text) + "\"");
  return value;
}

// "709-000": three digits, "-", three digits.
std::string field_id(std::string_view text) {
  const bool ok = text.size() == 7 && text[3] == '-' && [&] {
    for (std::size_t i = 0; i < 7; ++i)
      if (i != 3 && (text[i] < '0' || text[i] > '9')) return false;
    return true;
  }();
  if (!ok) throw ScenarioError("a field id looks like 709-000, not \"" + std::string(text) + "\"");
  return std::string(text);
}

// Splits "WORD REST" at the first blank.
std::pair<std::string_view, std::string_view> first_word(std::string_view text) {
  text = strip(text);
  std::size_t blank = 0;
  while (blank < text.size() && !is_blank(text[blank])) ++blank;
  return {text.substr(0, blank), strip(text.substr(blank))};
}

enum class Argument { None, Number, Text, OptionalText };

struct Directive {
  const char* heading; // starts a group in the help
  const char* word;
  Argument argument;
  const char* synopsis;
  const char* help;
  void (*apply)(Behaviour&, std::string_view);
};

// The one list of directives: parsing, applying and --help all read it.
const Directive kDirectives[] = {
    {"Status file, every operation:", "answer", Argument::None, "answer",
     "status file as a manager writes it (undoes silent, delay, headers)",
     [](Behaviour& b, std::string_view) {
       b.silent = false;
       b.delay_ms = 0;
       b.status = StatusKind::Echo;
     }},
    {nullptr, "silent", Argument::None, "silent", "take the request and write nothing at all",
     [](Behaviour& b, std::string_view) { b.silent = true; }},
    {nullptr, "delay", Argument::Number, "delay MS", "wait MS milliseconds before writing the status file",
     [](Behaviour& b, std::string_view a) { b.delay_ms = to_number(a, "delay"); }},
    {nullptr, "wrong-header", Argument::None, "wrong-header",
     "status file's first line: the request's header and a blank",
     [](Behaviour& b, std::string_view) { b.status = StatusKind::WrongHeader; }},
    {nullptr, "header", Argument::Text, "header TEXT", "status file's first line: TEXT",
     [](Behaviour& b, std::string_view a) {
       b.status = StatusKind::Header;
       b.status_header = std::string(a);
     }},
    {nullptr, "empty-status", Argument::None, "empty-status", "status file with no line at all",
     [](Behaviour& b, std::string_view) { b.status = StatusKind::Empty; }},
    {nullptr, "torn", Argument::Number, "torn MS",
     "write each file in place in two pieces, MS milliseconds apart, the first\n"
     "                          ending in the middle of the first line (status and answer)",
     [](Behaviour& b, std::string_view a) { b.torn_ms = to_number(a, "torn"); }},
    {nullptr, "pause-at", Argument::Text, "pause-at BYTE MS",
     "write the answer file in place, pausing MS milliseconds after its first\n"
     "                          BYTE bytes (a slow writer; choose a line end)",
     [](Behaviour& b, std::string_view a) {
       const auto [byte, pause] = first_word(a);
       b.pause_at_byte = to_number(byte, "pause-at's byte");
       b.pause_ms = to_number(pause, "pause-at's pause");
     }},
    {nullptr, "bulk", Argument::Text, "bulk SHAPE MB",
     "MB megabytes more in the answer before its closing line, SHAPE line (one\n"
     "                          receipt line), lines (short lines) or feeds (bare line feeds)",
     [](Behaviour& b, std::string_view a) {
       const auto [shape, size] = first_word(a);
       if (shape != "line" && shape != "lines" && shape != "feeds")
         throw ScenarioError("bulk's shape is line, lines or feeds, not \"" + std::string(shape) + "\"");
       b.bulk_shape = shape == "line" ? 'l' : shape == "lines" ? 's' : 'f';
       b.bulk_mb = to_number(size, "bulk's size");
     }},
    {"Answer file, sales and cancellations (CRT, CHQ, CNC):", "approve", Argument::None, "approve",
     "approved, with receipt lines (the default)",
     [](Behaviour& b, std::string_view) { b.outcome = Outcome::Approve; }},
    {nullptr, "approve-no-receipt", Argument::None, "approve-no-receipt",
     "approved, 028-000 = 0 and no receipt lines",
     [](Behaviour& b, std::string_view) { b.outcome = Outcome::ApproveNoReceipt; }},
    {nullptr, "refuse", Argument::None, "refuse", "refused: 009-000 = 05 and a refusal message",
     [](Behaviour& b, std::string_view) { b.outcome = Outcome::Refuse; }},
    {nullptr, "error", Argument::None, "error",
     "the error answer \"000-000 = XXX\" with its reason in 030-000",
     [](Behaviour& b, std::string_view) { b.outcome = Outcome::Error; }},
    {nullptr, "network", Argument::Text, "network NAME",
     "010-000 (default TECBAN on c:\\tef_disc\\, HCard on c:\\HiperTEF\\, REDEX elsewhere)",
     [](Behaviour& b, std::string_view a) { b.network = std::string(a); }},
    {nullptr, "message", Argument::OptionalText, "message TEXT",
     "030-000, the operator message (may be empty)",
     [](Behaviour& b, std::string_view a) {
       b.has_message = true;
       b.message = std::string(a);
     }},
    {nullptr, "answer-delay", Argument::Number, "answer-delay MS",
     "wait MS milliseconds after the status file",
     [](Behaviour& b, std::string_view a) { b.answer_delay_ms = to_number(a, "answer-delay"); }},
    {nullptr, "answer-silent", Argument::None, "answer-silent", "status file only, the answer never comes",
     [](Behaviour& b, std::string_view) { b.answer_silent = true; }},
    {nullptr, "other-sequence-first", Argument::None, "other-sequence-first",
     "an answer of another sequence first, the right one once the package took it\n"
     "                          (a cancellation's: a second later, over it)",
     [](Behaviour& b, std::string_view) { b.other_sequence_first = true; }},
    {nullptr, "blocks", Argument::Text, "blocks ID...",
     "add receipt blocks 710, 712 and/or 714 (\"blocks 710 714\")",
     [](Behaviour& b, std::string_view a) {
       for (auto [word, rest] = first_word(a); !word.empty(); std::tie(word, rest) = first_word(rest)) {
         if (word != "710" && word != "712" && word != "714")
           throw ScenarioError("blocks are 710, 712 or 714, not \"" + std::string(word) + "\"");
         b.extra_blocks.insert(std::string(word) + "-000");
       }
     }},
    {nullptr, "field", Argument::Text, "field ID VALUE",
     "set field ID (\"field 709-000 1250\"), added when missing",
     [](Behaviour& b, std::string_view a) {
       const auto [id, value] = first_word(a);
       b.fields[field_id(id)] = std::string(value);
     }},
    {nullptr, "omit", Argument::Text, "omit ID", "leave field ID out of the answer",
     [](Behaviour& b, std::string_view a) { b.omitted.insert(field_id(a)); }},
    {nullptr, "line", Argument::Text, "line N TEXT",
     "answer line N replaced by TEXT (1 is the header, 2 the sequence)",
     [](Behaviour& b, std::string_view a) {
       const auto [number, text] = first_word(a);
       const std::uint32_t n = to_number(number, "line");
       if (n == 0 || n > 10000) throw ScenarioError("line numbers start at 1");
       b.lines[static_cast<int>(n)] = std::string(text);
     }},
};

// A selector naming an operation the package never sends would never match:
// a typo, not a scenario.
void check_operation(std::string_view operation) {
  for (const char* known : {"*", "ATV", "CRT", "CHQ", "CNC", "CNF", "NCN"})
    if (operation == known) return;
  throw ScenarioError("unknown operation \"" + std::string(operation) +
                      "\" (ATV, CRT, CHQ, CNC, CNF, NCN or *)");
}

const Directive& find_directive(std::string_view word) {
  for (const Directive& directive : kDirectives)
    if (word == directive.word) return directive;
  throw ScenarioError("unknown directive \"" + std::string(word) + "\"");
}

} // namespace

Scenario::Rule Scenario::parse(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) throw ScenarioError("expected \"SELECTOR: DIRECTIVE\"");

  Rule rule;
  std::string_view selector = strip(line.substr(0, colon));
  std::size_t op_end = 0;
  while (op_end < selector.size() && selector[op_end] != '#' && !is_blank(selector[op_end])) ++op_end;
  rule.operation = std::string(selector.substr(0, op_end));
  if (rule.operation.empty()) throw ScenarioError("the selector names no operation");
  check_operation(rule.operation);
  std::string_view turn = strip(selector.substr(op_end));
  if (!turn.empty() && turn.front() == '#') turn = strip(turn.substr(1));
  if (!turn.empty()) {
    const bool onwards = turn.back() == '+';
    if (onwards) turn.remove_suffix(1);
    rule.first = to_number(turn, "the request number");
    if (rule.first == 0) throw ScenarioError("requests are counted from 1");
    rule.last = onwards ? 0 : rule.first;
  }

  const auto [word, argument] = first_word(line.substr(colon + 1));
  const Directive& directive = find_directive(word);
  if (directive.argument == Argument::None && !argument.empty())
    throw ScenarioError("\"" + std::string(word) + "\" takes no argument");
  if ((directive.argument == Argument::Number || directive.argument == Argument::Text) && argument.empty())
    throw ScenarioError("\"" + std::string(word) + "\" needs an argument: " + directive.synopsis);
  rule.directive = directive.word;
  rule.argument = std::string(argument);
  // Applying it once checks the argument now rather than at the request.
  Behaviour scratch;
  directive.apply(scratch, rule.argument);
  return rule;
}

void Scenario::add_line(std::string_view line, const std::string& origin) {
  try {
    rules_.push_back(parse(line));
  } catch (const ScenarioError& e) {
    throw ScenarioError(origin + ": \"" + std::string(strip(line)) + "\": " + e.what());
  }
}

void Scenario::add_text(std::string_view text, const std::string& origin) {
  std::vector<Rule> parsed;
  unsigned number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = strip(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (line.empty() || line.front() == '#') continue;
    try {
      parsed.push_back(parse(line));
    } catch (const ScenarioError& e) {
      throw ScenarioError(origin + " line " + std::to_string(number) + ": " + e.what());
    }
  }
  rules_.insert(rules_.end(), parsed.begin(), parsed.end());
}

Behaviour Scenario::behaviour_for(std::string_view operation, unsigned turn) const {
  Behaviour behaviour;
  for (const Rule& rule : rules_) {
    if (rule.operation != "*" && rule.operation != operation) continue;
    if (turn < rule.first || (rule.last != 0 && turn > rule.last)) continue;
    find_directive(rule.directive).apply(behaviour, rule.argument);
  }
  return behaviour;
}

std::string directive_help() {
  std::string text;
  for (const Directive& directive : kDirectives) {
    if (directive.heading) text += std::string(text.empty() ? "" : "\n") + directive.heading + "\n";
    std::string synopsis = directive.synopsis;
    synopsis.resize(std::max<std::size_t>(synopsis.size() + 2, 24), ' ');
    text += "  " + synopsis + directive.help + "\n";
  }
  return text;
}

} // namespace tefsim

#include "virtual_printer/failure_plan.h"

#include <charconv>

#include "virtual_printer/procedures.h"

namespace virtual_printer {

namespace {

bool matches(std::uint64_t number, const FailureRule& rule) {
  return rule.onwards ? number >= rule.nth : number == rule.nth;
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string known_names() {
  std::string names;
  for (const auto name : kProcedureNames) names += std::string(name) + ", ";
  for (const auto command : kFrameworkCommands) names += std::string(command) + ", ";
  names.resize(names.size() - 2);
  return names;
}

// "N" or "N+", N from 1.
void read_count(std::string_view text, std::string_view rule, FailureRule& out) {
  if (!text.empty() && text.back() == '+') {
    out.onwards = true;
    text.remove_suffix(1);
  }
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, out.nth);
  if (text.empty() || error != std::errc() || last != end)
    throw FailureRulesError(std::string(rule), "\"" + std::string(text) + "\" is not a call number");
  if (out.nth == 0) throw FailureRulesError(std::string(rule), "calls are counted from 1");
}

FailureRule read_rule(std::string_view rule, std::string_view rules) {
  if (rule.empty())
    throw FailureRulesError(std::string(rules), "a rule is empty (no text, two commas, or a comma at an end)");
  FailureRule out;
  if (rule.front() == '#') {
    read_count(rule.substr(1), rule, out);
    return out;
  }
  const auto colon = rule.find(':');
  if (colon == std::string_view::npos)
    throw FailureRulesError(std::string(rule), "expected \"#N\", \"#N+\", \"NAME:N\" or \"NAME:N+\"");
  const std::string_view name = trim_blanks(rule.substr(0, colon));
  if (!ProcedureFromName(name) && !IsFrameworkCommand(name))
    throw FailureRulesError(std::string(rule),
                           "\"" + std::string(name) +
                               "\" is no printer procedure or command; known: " + known_names());
  out.name = name;
  read_count(trim_blanks(rule.substr(colon + 1)), rule, out);
  return out;
}

} // namespace

bool FailurePlan::Fails(const CallNumbers& call) const {
  for (const auto& rule : rules_) {
    if (rule.name.empty()) {
      if (matches(call.overall, rule)) return true;
    } else if (rule.name == call.procedure) {
      if (matches(call.of_procedure, rule)) return true;
    } else if (!call.command.empty() && rule.name == call.command) {
      if (matches(call.of_command, rule)) return true;
    }
  }
  return false;
}

FailurePlan ParseFailureRules(std::string_view rules) {
  FailurePlan plan;
  for (std::string_view rest = rules;;) {
    const auto comma = rest.find(',');
    plan.Add(read_rule(trim_blanks(rest.substr(0, comma)), rules));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return plan;
}

std::string FormatFailureRules(const FailurePlan& plan) {
  std::string text;
  for (const auto& rule : plan.rules()) {
    if (!text.empty()) text += ',';
    text += rule.name.empty() ? "#" : rule.name + ":";
    text += std::to_string(rule.nth);
    if (rule.onwards) text += '+';
  }
  return text;
}

} // namespace virtual_printer

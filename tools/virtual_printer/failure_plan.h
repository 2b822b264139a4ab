// Which calls of the virtual printer fail. A failing call returns false and
// prints nothing, like a printer that does not respond.
//
// Text form (what zulpos takes after --printer-fail): rules separated by
// commas, blanks around a rule ignored.
//
//   #N        the N-th call overall
//   #N+       every call from the N-th overall on
//   NAME:N    the N-th call of NAME
//   NAME:N+   every call of NAME from the N-th on
//
// NAME is a procedure ("Usa_CompNFis", "Guilhotina", ...) or a command of the
// framework printer ("AbreCCD", "ImprimeCCD", "UsaRG", "FechaCCD": a call of
// Abre_Comp_NFiscalVinc with "CCD" and that command). Calls are counted from
// 1, overall, per procedure and per command, failed calls included; the
// command form counts as a call of Abre_Comp_NFiscalVinc too. A call fails
// when any rule matches it. Example: "Usa_CompNFis:3,ImprimeCCD:2+,#7".
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace virtual_printer {

// A failure list that cannot be read; rule() is the rule at fault.
class FailureRulesError : public std::runtime_error {
public:
  FailureRulesError(std::string rule, const std::string& reason)
      : std::runtime_error("read the printer failure rule \"" + rule + "\": " + reason),
        rule_(std::move(rule)) {}
  const std::string& rule() const { return rule_; }

private:
  std::string rule_;
};

struct FailureRule {
  std::string name;      // procedure or command; empty: every call counts
  std::uint64_t nth = 1; // from 1
  bool onwards = false;  // this call and every later one

  bool operator==(const FailureRule&) const = default;
};

// Where a call stands in the counts (each from 1, this call included).
struct CallNumbers {
  std::uint64_t overall = 0;
  std::string_view procedure;
  std::uint64_t of_procedure = 0;
  std::string_view command; // empty unless the command form
  std::uint64_t of_command = 0;
};

class FailurePlan {
public:
  FailurePlan() = default;
  explicit FailurePlan(std::vector<FailureRule> rules) : rules_(std::move(rules)) {}

  void Add(FailureRule rule) { rules_.push_back(std::move(rule)); }
  void Add(const FailurePlan& other) {
    rules_.insert(rules_.end(), other.rules_.begin(), other.rules_.end());
  }
  void Clear() { rules_.clear(); }
  bool empty() const { return rules_.empty(); }
  const std::vector<FailureRule>& rules() const { return rules_; }

  bool Fails(const CallNumbers& call) const;

private:
  std::vector<FailureRule> rules_;
};

// Reads the text form. Throws FailureRulesError naming the first bad rule.
FailurePlan ParseFailureRules(std::string_view rules);
// The text form of a plan; ParseFailureRules reads it back to the same plan.
std::string FormatFailureRules(const FailurePlan& plan);

} // namespace virtual_printer

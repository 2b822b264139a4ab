#include "rehearsal/judge.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "rehearsal/evidence.h"
#include "rehearsal/text.h"

namespace rehearsal {

namespace {

// Values the manager hands out: attended, they are the real manager's.
const std::set<std::string> kManagerFields = {"010-000", "012-000", "013-000",
                                              "022-000", "023-000", "027-000"};

std::string join(const std::vector<std::string>& items, const char* separator = "\n") {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

std::string numbers(const std::vector<int>& list) {
  std::string text;
  for (const int number : list) text += (text.empty() ? "" : ", ") + std::to_string(number);
  return text.empty() ? "none" : text;
}

// A dialog's text on one line per line, as the book writes it.
std::string dialog_text(const Dialog& dialog) {
  std::string text;
  for (const std::string& line : SplitLines(dialog.text)) text += (text.empty() ? "" : "\n") + line;
  return dialog.network ? "network: " + text : text;
}

class Judgement {
public:
  Judgement(const Case& rehearsed, const CaseRecord& record, bool attended)
      : case_(rehearsed), record_(record), attended_(attended) {}

  std::vector<Mark> Marks() {
    for (std::size_t i = 0; i < case_.steps.size(); ++i) Step(static_cast<int>(i));
    const Expectations& expect = case_.expect;
    if (expect.operations) Operations(*expect.operations);
    Transactions("confirmed", "confirmed", expect.confirmed);
    Transactions("not_confirmed", "not confirmed", expect.not_confirmed);
    Transactions("open", "open", expect.open);
    if (expect.dialogs) Dialogs(*expect.dialogs);
    InOrder("paper", "the paper", expect.paper, SplitLines(record_.paper), true);
    Absent("paper_absent", "the paper", expect.paper_absent, SplitLines(record_.paper), true);
    InOrder("log", "the card log", expect.log, SplitLines(record_.card_log), false);
    Absent("log_absent", "the card log", expect.log_absent, SplitLines(record_.card_log), false);
    return std::move(marks_);
  }

private:
  Mark& Add(std::string what, std::string expected, std::string actual, bool passed, int line) {
    Mark mark;
    mark.what = std::move(what);
    mark.expected = std::move(expected);
    mark.actual = std::move(actual);
    mark.passed = passed;
    mark.line = line;
    marks_.push_back(std::move(mark));
    return marks_.back();
  }

  int Line(const char* key) const {
    const auto found = case_.expect.lines.find(key);
    return found == case_.expect.lines.end() ? 0 : found->second;
  }

  void Step(int index) {
    const rehearsal::Step& step = case_.steps[static_cast<std::size_t>(index)];
    const std::string name = "step " + std::to_string(index + 1) + " (" + step.action + ")";
    const std::vector<std::string> none;
    const auto& returns = index < static_cast<int>(record_.step_returns.size())
                              ? record_.step_returns[static_cast<std::size_t>(index)]
                              : none;
    const bool cut =
        std::find(record_.cut_steps.begin(), record_.cut_steps.end(), index) != record_.cut_steps.end();
    const std::vector<bool> manager =
        attended_ && step.action == "sale" ? ApprovalsIn(index) : std::vector<bool>();
    for (std::size_t i = 0; i < step.expect.size(); ++i) {
      const bool decided = attended_ && step.action == "sale";
      const bool expected = decided ? i < manager.size() && manager[i] : step.expect[i];
      if (decided && expected != step.expect[i]) {
        // The host is judged on what the manager answered; the case itself
        // could not show what it is for.
        Mark& premise = Add(name + " payment " + std::to_string(i + 1) + ": the manager " +
                                (step.expect[i] ? "approves" : "refuses") + " it, as the case needs",
                            step.expect[i] ? "approved" : "refused or not answered",
                            expected ? "the manager approved it" : "the manager refused it or never answered",
                            false, step.line);
        premise.skipped = premise.premise_unmet = true;
      }
      const std::string actual = i < returns.size() ? returns[i]
                                 : cut              ? "no result: the power failed first"
                                                    : "no result: not called";
      Add(name + (step.action == "sale" ? " payment " + std::to_string(i + 1) : "") + " returns",
          std::string(expected ? "true" : "false") + (decided ? " (as the manager answered)" : ""), actual,
          actual == (expected ? "true" : "false"), step.line);
    }
    if (step.power_cut)
      Add(name + ": the power fails at " + step.power_cut->label, "the host is killed there",
          cut ? "the host was killed there" : "the moment never came: the step ran to its end", cut,
          step.line);
  }

  // Attended: whether each answer the package read during step `index`
  // approved; an answer of a sequence the package did not ask for is
  // another's.
  std::vector<bool> ApprovalsIn(int index) const {
    std::set<std::string> asked;
    for (const Operation& operation : record_.operations)
      if (const auto found = operation.fields.find("001-000"); found != operation.fields.end())
        asked.insert(found->second);
    std::int64_t from = -1, to = -1;
    for (const TimelineEvent& event : record_.events)
      if (event.kind == "step" && event.text.rfind("step " + std::to_string(index + 1) + ":", 0) == 0) {
        from = event.ms;
        to = event.end_ms;
      }
    std::vector<bool> approvals;
    for (const TimelineEvent& event : record_.events) {
      if (event.kind != "answer" || event.ms < from || (to >= 0 && event.ms > to)) continue;
      if (event.detail.rfind("package", 0) != 0) continue; // the folder watch may have missed it
      if (event.file.size() < 3 || event.file.compare(event.file.size() - 3, 3, "001") != 0) continue;
      const auto fields = FieldsOf(event.bytes);
      const auto value = [&](const char* id) {
        const auto found = fields.find(id);
        return found == fields.end() ? std::string() : found->second;
      };
      if (!asked.count(value("001-000"))) continue;
      approvals.push_back(value("000-000") != "XXX" && value("009-000") == "0");
    }
    return approvals;
  }

  bool Matches(const Operation& actual, const ExpectedOperation& expected) const {
    if (actual.code != expected.code) return false;
    if (!expected.root.empty() && actual.root != expected.root) return false;
    for (const auto& [id, value] : expected.fields) {
      if (attended_ && kManagerFields.count(id)) continue;
      const auto found = actual.fields.find(id);
      if (found == actual.fields.end() || found->second != value) return false;
    }
    return true;
  }

  void Operations(std::vector<ExpectedOperation> expected) {
    // Attended, these are the requests the package wrote (its own record),
    // activity checks included.
    const std::vector<Operation>& operations = record_.operations;
    const bool with_root = case_.roots.size() > 1;
    std::vector<std::string> wanted, seen;
    bool passed = expected.size() == operations.size();
    for (std::size_t i = 0; i < std::max(expected.size(), operations.size()); ++i) {
      const ExpectedOperation* like = i < expected.size() ? &expected[i] : nullptr;
      if (like) wanted.push_back(like->text);
      if (i < operations.size()) {
        const Operation& actual = operations[i];
        const bool same = like && Matches(actual, *like);
        passed = passed && same;
        seen.push_back(ToUtf8(DescribeOperation(actual, like, with_root || (like && !like->root.empty()))) +
                       (same || !like ? "" : "   \xE2\x86\x90 differs"));
      }
    }
    Mark& mark = Add("the manager sees these requests, in order", join(wanted),
                     seen.empty() ? "none" : join(seen), passed, Line("operations"));
    if (attended_)
      mark.expected += "\n(attended: as the package wrote them; the values the manager hands out left out)";
  }

  void Transactions(const char* key, const std::string& ending,
                    const std::optional<std::vector<int>>& expected) {
    if (!expected) return;
    std::vector<int> actual;
    std::set<int> unobserved;
    std::vector<std::string> details;
    for (const Transaction& transaction : record_.transactions) {
      if (transaction.Ending() == ending) actual.push_back(transaction.number);
      if (transaction.Ending() == "not observed") unobserved.insert(transaction.number);
      details.push_back(std::to_string(transaction.number) + ": " + ToUtf8(transaction.Ending()));
    }
    std::vector<int> sorted = *expected;
    std::sort(sorted.begin(), sorted.end());
    // A transaction whose ending was not observed is held neither for nor
    // against the host: the rest decides, and the mark says what is missing.
    std::vector<int> observed_expected;
    for (const int number : sorted)
      if (!unobserved.count(number)) observed_expected.push_back(number);
    const bool missing = observed_expected.size() != sorted.size();
    Mark& mark = Add("transactions that end " + ending, numbers(sorted),
                     numbers(actual) + (details.empty() ? "" : "  (" + join(details, "; ") + ")"),
                     observed_expected == actual && !missing, Line(key));
    if (observed_expected == actual && missing) mark.skipped = mark.unobserved = true;
  }

  void Dialogs(const std::vector<std::string>& expected) {
    std::vector<std::string> wanted, seen;
    bool passed = expected.size() == record_.dialogs.size();
    for (std::size_t i = 0; i < std::max(expected.size(), record_.dialogs.size()); ++i) {
      if (i < expected.size()) wanted.push_back(ToUtf8(expected[i]));
      if (i >= record_.dialogs.size()) continue;
      const std::string text = dialog_text(record_.dialogs[i]);
      passed = passed && i < expected.size() && Contains(text, expected[i]);
      const std::string& answer = record_.dialogs[i].answer;
      std::string shown = ToUtf8(text);
      std::replace(shown.begin(), shown.end(), '\n', ' ');
      if (!answer.empty()) shown += "  [" + answer + "]";
      seen.push_back(shown);
    }
    Mark& mark = Add("the dialogs shown, in order", join(wanted), seen.empty() ? "none" : join(seen), passed,
                     Line("dialogs"));
    mark.skipped = attended_; // the manager's messages are its own
  }

  // Each text on a line, each after the line of the one before.
  void InOrder(const char* key, const std::string& where,
               const std::optional<std::vector<std::string>>& expected, const std::vector<std::string>& lines,
               bool manager_text) {
    if (!expected) return;
    std::size_t from = 0;
    for (const std::string& text : *expected) {
      std::size_t found = from;
      while (found < lines.size() && !Contains(lines[found], text)) ++found;
      std::string actual;
      if (found < lines.size()) actual = "line " + std::to_string(found + 1) + ": " + ToUtf8(lines[found]);
      else {
        const bool earlier = std::any_of(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(from),
                                         [&](const std::string& line) { return Contains(line, text); });
        actual = earlier ? "only before the line of the text expected before it" : "on no line";
      }
      Mark& mark = Add(where + " has a line with this, after the one before", ToUtf8(text), actual,
                       found < lines.size(), Line(key));
      mark.skipped = attended_ && manager_text;
      if (found < lines.size()) from = found + 1;
    }
  }

  void Absent(const char* key, const std::string& where, const std::optional<std::vector<std::string>>& texts,
              const std::vector<std::string>& lines, bool manager_text) {
    if (!texts) return;
    for (const std::string& text : *texts) {
      const auto found = std::find_if(lines.begin(), lines.end(),
                                      [&](const std::string& line) { return Contains(line, text); });
      Mark& mark = Add(where + " has no line with this", ToUtf8(text),
                       found == lines.end()
                           ? "on no line"
                           : "line " + std::to_string(found - lines.begin() + 1) + ": " + ToUtf8(*found),
                       found == lines.end(), Line(key));
      mark.skipped = attended_ && manager_text;
    }
  }

  const Case& case_;
  const CaseRecord& record_;
  bool attended_;
  std::vector<Mark> marks_;
};

} // namespace

std::string DescribeOperation(const Operation& operation, const ExpectedOperation* like, bool with_root) {
  std::string text = (with_root ? operation.root + ": " : "") + operation.code;
  std::vector<std::string> ids;
  if (like && !like->fields.empty())
    for (const auto& [id, value] : like->fields) ids.push_back(id);
  else if (operation.code == "CRT" || operation.code == "CHQ") ids = {"003-000", "500-000"};
  else if (operation.code == "CNC") ids = {"003-000", "010-000", "012-000"};
  else if (operation.code == "CNF" || operation.code == "NCN") ids = {"010-000", "012-000"};
  for (const std::string& id : ids) {
    const auto found = operation.fields.find(id);
    text += " " + id + "=" + (found == operation.fields.end() ? "(none)" : found->second);
  }
  return text;
}

std::string DescribeStep(const Step& step) {
  const auto money = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return std::string(text);
  };
  const Printing& p = step.printing;
  const std::string printer = "printer type " + std::to_string(p.printer_type) + ", mode " + p.mode +
                              (p.printer_fail.empty() ? "" : ", the printer fails at " + p.printer_fail);
  std::string text = step.action + ": ";
  if (step.action == "sale") {
    std::vector<std::string> amounts;
    double total = 0;
    for (const double amount : step.payments) {
      amounts.push_back(money(amount));
      total += amount;
    }
    text += "DoTEF for " + join(amounts, ", ") + " of " + money(step.total.value_or(total)) + " (kind " +
            step.kind + ")";
  } else if (step.action == "print") {
    text += "ImprCupons on the virtual fiscal printer, " + printer;
  } else if (step.action == "cancel") {
    text += "CancelaTEF of " + ToUtf8(step.network) + " " + ToUtf8(step.document) + ", " + step.cents +
            " cents" + (step.print ? ", " + printer : ", no receipt");
  } else if (step.action == "pending") {
    text +=
        "CancelaPendencia of " + std::to_string(step.transactions.value_or(1)) + " transactions, " + printer;
  } else if (step.action == "scan") {
    text += "CheckIntPosFiles (the leftover scan)";
  } else if (step.action == "check") {
    text += "CheckGPAtivo(\"ATV\")";
  } else if (step.action == "network") {
    text += "CheckDirTef for kind " + step.kind;
  } else if (step.action == "idle") {
    text += "the till stands idle for " + std::to_string(step.milliseconds) + " ms";
  }
  if (!step.answers.empty()) {
    std::vector<std::string> answers;
    for (const bool answer : step.answers) answers.push_back(answer ? "yes" : "no");
    text += " \xC2\xB7 answers " + join(answers, ", ");
  }
  if (step.network_choice) text += " \xC2\xB7 network dialog: " + std::to_string(*step.network_choice);
  if (!step.expect.empty()) {
    std::vector<std::string> results;
    for (const bool result : step.expect) results.push_back(result ? "true" : "false");
    text += " \xC2\xB7 expects " + join(results, ", ");
  }
  if (step.restart) text = "(the host starts again) " + text;
  if (step.power_cut) text += " \xC2\xB7 \xE2\x9A\xA1 power cut: " + step.power_cut->label;
  if (!step.note.empty()) text += " \xE2\x80\x94 " + step.note;
  return text;
}

std::vector<Mark> Judge(const Case& rehearsed, const CaseRecord& record, bool attended) {
  std::vector<Mark> marks = Judgement(rehearsed, record, attended).Marks();
  if (!record.problem.empty()) {
    Mark mark;
    mark.what = "the case runs to its end";
    mark.expected = "every start of the host ends or is cut as the book says";
    mark.actual = record.problem;
    marks.insert(marks.begin(), mark);
  }
  return marks;
}

} // namespace rehearsal

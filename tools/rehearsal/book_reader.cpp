// The TOML form of a book: every mistake names its line.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

#include "rehearsal/book.h"
#include "rehearsal/text.h"
#include "rehearsal/toml_reader.h"
#include "tefsim/scenario.h"
#include "virtual_printer/failure_plan.h"

namespace rehearsal {

std::string RootPath(const std::string& name) {
  if (name == "disc") return "c:\\tef_disc\\";
  if (name == "hiper") return "c:\\HiperTEF\\";
  return "c:\\tef_dial\\";
}

namespace {

bool is_root(const std::string& name) {
  return std::find(std::begin(kRootNames), std::end(kRootNames), name) != std::end(kRootNames);
}

bool is_field_id(std::string_view text) {
  if (text.size() != 7 || text[3] != '-') return false;
  for (std::size_t i = 0; i < 7; ++i)
    if (i != 3 && (text[i] < '0' || text[i] > '9')) return false;
  return true;
}

std::string cents_of(double amount) { return std::to_string(std::llround(amount * 100)); }

// The keys every step takes, then those of each action.
#define REHEARSAL_COMMON_KEYS "do", "note", "answers", "network_choice", "power_cut", "restart", "expect"
#define REHEARSAL_PRINTING_KEYS                                                                              \
  "printer_type", "mode", "copy", "report1", "report2", "std1", "std2", "printer_fail", "cutter", "txns"

class BookReader {
public:
  BookReader(const std::string& text, const std::string& origin) : toml_(text, origin) {}

  Book Read() {
    const toml::table& root = toml_.root();
    toml_.CheckKeys(root, {"title", "signoff", "case"}, "the book");
    Book book;
    book.origin = toml_.origin();
    book.title = toml_.String(root, "title").value_or("");
    if (const toml::table* signoff = toml_.Table(root, "signoff")) {
      toml_.CheckKeys(*signoff, {"ran_by", "store", "pinpad", "cards"}, "the sign-off");
      book.signoff.ran_by = toml_.String(*signoff, "ran_by").value_or("");
      book.signoff.store = toml_.String(*signoff, "store").value_or("");
      book.signoff.pinpad = toml_.String(*signoff, "pinpad").value_or("");
      book.signoff.cards = toml_.String(*signoff, "cards").value_or("");
    }
    const toml::array* cases = toml_.Array(root, "case");
    if (!cases || cases->empty()) toml_.Fail(1, "the book has no case: add one with [[case]]");
    std::set<std::string> names;
    for (const toml::node& node : *cases) {
      if (!node.is_table()) toml_.Fail(node, "each case is a table: [[case]]");
      Case read = ReadCase(*node.as_table());
      if (!names.insert(read.name).second) toml_.Fail(read.line, "a second case named \"" + read.name + "\"");
      book.cases.push_back(std::move(read));
    }
    return book;
  }

private:
  Case ReadCase(const toml::table& table) {
    toml_.CheckKeys(table,
                    {"name", "purpose", "operator", "network_case", "roots", "stopped", "manager", "given",
                     "step", "expect", "timeout"},
                    "a case");
    Case result;
    result.line = TomlReader::Line(table);
    const auto name = toml_.String(table, "name");
    if (!name || name->empty()) toml_.Fail(table, "a case needs a name");
    const bool plain = std::all_of(name->begin(), name->end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
    if (!plain)
      toml_.Fail(*table.get("name"), "a case's name is made of a-z, 0-9 and -, not \"" + *name + "\"");
    result.name = *name;
    result.purpose = toml_.String(table, "purpose").value_or("");
    result.operator_text = toml_.String(table, "operator").value_or("");
    result.network_case = toml_.String(table, "network_case").value_or("");
    if (const auto seconds = toml_.Integer(table, "timeout")) {
      if (*seconds < 1 || *seconds > 3600) toml_.Fail(*table.get("timeout"), "timeout is 1 to 3600 seconds");
      result.timeout_seconds = static_cast<int>(*seconds);
    }
    if (const auto roots = RootList(table, "roots")) result.roots = *roots;
    if (result.roots.empty()) toml_.Fail(*table.get("roots"), "a case needs at least one root");
    if (const auto stopped = RootList(table, "stopped")) result.stopped = *stopped;
    for (const std::string& root : result.stopped)
      if (std::find(result.roots.begin(), result.roots.end(), root) == result.roots.end())
        toml_.Fail(*table.get("stopped"), "the stopped root \"" + root + "\" is not among the roots");
    if (const toml::table* manager = toml_.Table(table, "manager")) ReadManager(*manager, result);
    if (const toml::array* given = toml_.Array(table, "given"))
      for (const toml::node& file : *given) result.given.push_back(ReadGiven(file));
    const toml::array* steps = toml_.Array(table, "step");
    if (!steps || steps->empty())
      toml_.Fail(table, "the case \"" + result.name + "\" has no step: add [[case.step]]");
    for (const toml::node& step : *steps) {
      if (!step.is_table()) toml_.Fail(step, "each step is a table: [[case.step]]");
      result.steps.push_back(ReadStep(*step.as_table()));
    }
    CheckStarts(result);
    if (const toml::table* expect = toml_.Table(table, "expect")) result.expect = ReadExpectations(*expect);
    return result;
  }

  std::optional<std::vector<std::string>> RootList(const toml::table& table, std::string_view key) {
    auto roots = toml_.Strings(table, key);
    if (!roots) return std::nullopt;
    for (const std::string& root : *roots)
      if (!is_root(root)) toml_.Fail(*table.get(key), "unknown root \"" + root + "\" (dial, disc or hiper)");
    return roots;
  }

  void ReadManager(const toml::table& table, Case& result) {
    for (auto&& [key, node] : table) {
      const std::string root(key.str());
      if (!is_root(root)) toml_.Fail(node, "unknown root \"" + root + "\" (dial, disc or hiper)");
      if (std::find(result.roots.begin(), result.roots.end(), root) == result.roots.end())
        toml_.Fail(node, "the manager of \"" + root + "\" is for a root the case does not install");
      if (!node.is_string()) toml_.Fail(node, "a manager's behaviour is a text of scenario lines");
      const std::string text = ToCp1252(node.as_string()->get());
      CheckScenario(node, text, "the " + root + " manager's scenario");
      result.manager[root] = text;
      result.manager_lines[root] = TomlReader::Line(node);
    }
  }

  // tefsim's own parser judges each line, so the book and tefsim agree.
  void CheckScenario(const toml::node& node, const std::string& text, const std::string& origin) {
    std::size_t index = 0;
    for (const std::string& line : SplitLines(text)) {
      const std::size_t start = line.find_first_not_of(" \t");
      if (start != std::string::npos && line[start] != '#') {
        try {
          tefsim::Scenario().add_line(line, origin);
        } catch (const tefsim::ScenarioError& error) {
          toml_.Fail(toml_.TextLine(node, index), ToUtf8(error.what()));
        }
      }
      ++index;
    }
  }

  GivenFile ReadGiven(const toml::node& node) {
    if (!node.is_table()) toml_.Fail(node, "each given file is a table: [[case.given]]");
    const toml::table& table = *node.as_table();
    toml_.CheckKeys(table, {"path", "text"}, "a given file");
    GivenFile file;
    file.line = TomlReader::Line(table);
    const auto path = toml_.String(table, "path");
    const bool drive = path && path->size() > 3 && std::isalpha(static_cast<unsigned char>((*path)[0])) &&
                       (*path)[1] == ':' && (*path)[2] == '\\';
    const bool host = path && path->rfind("host:", 0) == 0 && path->size() > 5;
    if (!drive && !host)
      toml_.Fail(table, "a given file's path is a drive path ('c:\\tef_dial\\resp\\intpos.001') or one "
                        "under the host's directory ('host:Dados\\TefDisc\\intpos.001')");
    if (path->find("..") != std::string::npos)
      toml_.Fail(*table.get("path"), "a given file's path has no ..");
    file.path = ToCp1252(*path);
    const auto text = toml_.String(table, "text");
    if (!text) toml_.Fail(table, "a given file needs its text");
    for (const std::string& line : SplitLines(ToCp1252(*text))) file.bytes += line + "\r\n";
    return file;
  }

  Step ReadStep(const toml::table& table) {
    Step step;
    step.line = TomlReader::Line(table);
    const auto action = toml_.String(table, "do");
    if (!action)
      toml_.Fail(table, "a step needs do = \"sale\" (or print, cancel, pending, scan, check, network, idle)");
    step.action = *action;
    if (step.action == "sale")
      toml_.CheckKeys(table, {REHEARSAL_COMMON_KEYS, "pay", "total", "kind"}, "a sale step");
    else if (step.action == "print")
      toml_.CheckKeys(table,
                      {REHEARSAL_COMMON_KEYS, REHEARSAL_PRINTING_KEYS, "voucher1", "voucher2", "amount"},
                      "a print step");
    else if (step.action == "cancel")
      toml_.CheckKeys(table,
                      {REHEARSAL_COMMON_KEYS, REHEARSAL_PRINTING_KEYS, "network", "document", "amount",
                       "sequence", "f022", "f023", "print"},
                      "a cancel step");
    else if (step.action == "pending")
      toml_.CheckKeys(table, {REHEARSAL_COMMON_KEYS, REHEARSAL_PRINTING_KEYS}, "a pending step");
    else if (step.action == "network")
      toml_.CheckKeys(table, {REHEARSAL_COMMON_KEYS, "kind", "printer_type"}, "a network step");
    else if (step.action == "idle") toml_.CheckKeys(table, {REHEARSAL_COMMON_KEYS, "ms"}, "an idle step");
    else if (step.action == "scan" || step.action == "check")
      toml_.CheckKeys(table, {REHEARSAL_COMMON_KEYS}, "a " + step.action + " step");
    else
      toml_.Fail(*table.get("do"), "unknown step \"" + step.action +
                                       "\" (sale, print, cancel, pending, scan, check, network, idle)");
    step.note = toml_.String(table, "note").value_or("");
    step.restart = toml_.Bool(table, "restart").value_or(false);
    ReadAnswers(table, step);
    ReadActionValues(table, step);
    ReadPrinting(table, step.printing, step.transactions);
    if (const toml::node* cut = table.get("power_cut")) step.power_cut = ReadMoment(*cut, step);
    ReadExpect(table, step);
    return step;
  }

  void ReadAnswers(const toml::table& table, Step& step) {
    if (const auto answers = toml_.Strings(table, "answers"))
      for (const std::string& answer : *answers) {
        if (answer != "y" && answer != "n")
          toml_.Fail(*table.get("answers"), "answers are \"y\" or \"n\", not \"" + answer + "\"");
        step.answers.push_back(answer == "y");
      }
    if (const toml::node* choice = table.get("network_choice")) {
      const long long value = choice->is_integer() ? choice->as_integer()->get() : -1;
      if (value != 1 && value != 2 && value != 3 && value != 9)
        toml_.Fail(*choice, "network_choice is 1 (TecBan), 2 (other networks), 3 (Hipercard) or 9 (closed)");
      step.network_choice = static_cast<int>(value);
    }
  }

  // What the package takes as a payment or a transaction's amount: 0.01 or more.
  double Payment(const toml::node& node) const {
    const double amount = toml_.Amount(node);
    if (std::llround(amount * 100) < 1) toml_.Fail(node, "an amount paid or cancelled is 0.01 or more");
    return amount;
  }

  void ReadActionValues(const toml::table& table, Step& step) {
    if (step.action == "sale") {
      const toml::node* pay = table.get("pay");
      if (!pay) toml_.Fail(table, "a sale step needs pay = [amount, ...]");
      if (const toml::array* list = pay->as_array())
        for (const toml::node& amount : *list) step.payments.push_back(Payment(amount));
      else step.payments.push_back(Payment(*pay));
      if (step.payments.empty()) toml_.Fail(*pay, "a sale pays at least one amount");
      if (const toml::node* total = table.get("total")) step.total = Payment(*total);
    }
    if (const auto kind = toml_.String(table, "kind")) {
      if (kind->size() != 1 || !std::isalpha(static_cast<unsigned char>((*kind)[0])))
        toml_.Fail(*table.get("kind"), "kind is one letter (C, D, V, A, Q...), not \"" + *kind + "\"");
      step.kind = *kind;
    } else if (step.action == "network") {
      toml_.Fail(table, "a network step needs kind = \"D\" (one letter)");
    }
    if (step.action == "cancel") {
      for (const char* key : {"network", "document", "amount"})
        if (!table.get(key)) toml_.Fail(table, std::string("a cancel step needs ") + key);
      step.network = ToCp1252(*toml_.String(table, "network"));
      step.document = ToCp1252(*toml_.String(table, "document"));
      step.cents = cents_of(Payment(*table.get("amount")));
      step.sequence = toml_.String(table, "sequence").value_or("");
      step.field022 = toml_.String(table, "f022").value_or("");
      step.field023 = toml_.String(table, "f023").value_or("");
      step.print = toml_.Bool(table, "print").value_or(true);
    }
    if (step.action == "print") step.amount = toml_.Amount(table, "amount");
    if (step.action == "network")
      step.printer_type = static_cast<int>(toml_.Integer(table, "printer_type").value_or(0));
    if (step.action == "idle") {
      const auto ms = toml_.Integer(table, "ms");
      if (!ms || *ms < 0 || *ms > 600'000) toml_.Fail(table, "an idle step needs ms = 0 to 600000");
      step.milliseconds = static_cast<int>(*ms);
    }
  }

  void ReadPrinting(const toml::table& table, Printing& printing, std::optional<int>& transactions) {
    if (const auto type = toml_.Integer(table, "printer_type"))
      printing.printer_type = static_cast<int>(*type);
    if (const auto mode = toml_.String(table, "mode")) {
      if (*mode != "F" && *mode != "N") toml_.Fail(*table.get("mode"), "mode is \"F\" or \"N\"");
      printing.mode = *mode;
    }
    if (const auto copy = toml_.String(table, "copy")) {
      if (*copy != "S" && *copy != "N") toml_.Fail(*table.get("copy"), "copy is \"S\" or \"N\"");
      printing.copy = *copy;
    }
    const std::pair<const char*, std::string*> texts[] = {
        {"voucher1", &printing.voucher1}, {"voucher2", &printing.voucher2}, {"report1", &printing.report1},
        {"report2", &printing.report2},   {"std1", &printing.standard1},    {"std2", &printing.standard2}};
    for (const auto& [key, value] : texts)
      if (const auto text = toml_.String(table, key)) *value = ToCp1252(*text);
    if (const auto rules = toml_.String(table, "printer_fail")) {
      try {
        virtual_printer::ParseFailureRules(*rules);
      } catch (const virtual_printer::FailureRulesError& error) {
        toml_.Fail(*table.get("printer_fail"), error.what());
      }
      printing.printer_fail = *rules;
    }
    printing.cutter = toml_.Bool(table, "cutter").value_or(true);
    if (const auto count = toml_.Integer(table, "txns")) {
      if (*count < 0 || *count > 99) toml_.Fail(*table.get("txns"), "txns is 0 to 99");
      transactions = static_cast<int>(*count);
    }
  }

  Moment ReadMoment(const toml::node& node, const Step& step) {
    Moment moment;
    const toml::table* options = node.as_table();
    std::string name;
    if (node.is_string()) name = node.as_string()->get();
    else if (options) {
      toml_.CheckKeys(*options, {"moment", "payment", "receipt", "occurrence", "line", "call", "text"},
                      "a power cut");
      name = toml_.String(*options, "moment").value_or("");
    } else {
      toml_.Fail(node, "power_cut is a moment's name or a table { moment = \"...\" }");
    }
    moment.label = name;
    auto number = [&](const char* key) {
      const auto value = options ? toml_.Integer(*options, key) : std::nullopt;
      if (value && (*value < 1 || *value > 99))
        toml_.Fail(*options->get(key), std::string(key) + " is 1 to 99");
      return value ? static_cast<int>(*value) : 0;
    };
    auto text = [&](const char* key) {
      const auto value = options ? toml_.String(*options, key) : std::nullopt;
      if (!value || value->empty())
        toml_.Fail(node, "the moment \"" + name + "\" needs " + key + " = \"...\"");
      return *value;
    };
    if (name == "after-answer") {
      if (step.action != "sale") toml_.Fail(node, "after-answer is a moment of a sale step");
      moment.kind = Moment::Kind::AfterAnswer;
      moment.number = number("payment");
      if (moment.number == 0) moment.number = static_cast<int>(step.payments.size());
      if (moment.number > static_cast<int>(step.payments.size()))
        toml_.Fail(node, "the sale has no payment " + std::to_string(moment.number));
    } else if (name == "mid-receipt") {
      if (step.action != "print" && step.action != "cancel" && step.action != "pending")
        toml_.Fail(node, "mid-receipt is a moment of a print, cancel or pending step");
      moment.kind = Moment::Kind::MidReceipt;
      moment.number = std::max(1, number("receipt"));
    } else if (name == "during-scan") {
      if (step.action != "scan" && step.action != "sale")
        toml_.Fail(node, "during-scan is a moment of a scan or sale step");
      moment.kind = Moment::Kind::DuringScan;
    } else if (name == "after-step") {
      moment.kind = Moment::Kind::AfterStep;
    } else if (name == "log") {
      moment.kind = Moment::Kind::LogLine;
      moment.text = ToCp1252(text("line"));
      moment.number = std::max(1, number("occurrence"));
    } else if (name == "printer-call") {
      moment.kind = Moment::Kind::PrinterCall;
      moment.text = text("call");
      try {
        if (virtual_printer::ParseFailureRules(moment.text).rules().size() != 1) throw BookError("");
      } catch (const std::exception&) {
        toml_.Fail(node, "call is one printer call: NAME:N or #N, not \"" + moment.text + "\"");
      }
    } else if (name == "dialog") {
      moment.kind = Moment::Kind::Dialog;
      moment.text = ToCp1252(text("text"));
    } else {
      toml_.Fail(node,
                 "unknown moment \"" + name +
                     "\" (after-answer, mid-receipt, during-scan, after-step, log, printer-call, dialog)");
    }
    return moment;
  }

  void ReadExpect(const toml::table& table, Step& step) {
    const toml::node* expect = table.get("expect");
    if (!expect) return;
    if (expect->is_boolean()) step.expect.push_back(expect->as_boolean()->get());
    else if (const toml::array* list = expect->as_array()) {
      for (const toml::node& item : *list) {
        if (!item.is_boolean()) toml_.Fail(item, "expect takes true or false, or a list of them");
        step.expect.push_back(item.as_boolean()->get());
      }
    } else {
      toml_.Fail(*expect, "expect takes true or false, or a list of them");
    }
    const std::size_t results = step.action == "sale" ? step.payments.size() : 1;
    if (step.action == "idle") toml_.Fail(*expect, "an idle step has no result to expect");
    if (step.expect.size() > results)
      toml_.Fail(*expect, "expect has " + std::to_string(step.expect.size()) + " results for " +
                              std::to_string(results) +
                              (step.action != "sale" ? " routine call"
                               : results == 1        ? " payment"
                                                     : " payments"));
  }

  // A print step prints the receipts of the sale before it, in the same
  // start of the host: no power cut and no restart in between.
  void CheckStarts(const Case& result) {
    bool sale = false;
    for (const Step& step : result.steps) {
      if (step.restart) sale = false;
      if (step.action == "print" && !sale)
        toml_.Fail(step.line, "a print step needs a sale step before it in the same start of the host "
                              "(no power cut or restart in between)");
      if (step.action == "sale") sale = true;
      if (step.power_cut) sale = false;
    }
  }

  Expectations ReadExpectations(const toml::table& table) {
    toml_.CheckKeys(table,
                    {"operations", "confirmed", "not_confirmed", "open", "paper", "paper_absent", "dialogs",
                     "log", "log_absent"},
                    "the expectations");
    Expectations expect;
    for (auto&& [key, node] : table) expect.lines[std::string(key.str())] = TomlReader::Line(node);
    if (const auto operations = toml_.Strings(table, "operations")) {
      expect.operations.emplace();
      for (const std::string& text : *operations)
        expect.operations->push_back(ReadOperation(*table.get("operations"), text));
    }
    const std::pair<const char*, std::optional<std::vector<int>>*> numbers[] = {
        {"confirmed", &expect.confirmed}, {"not_confirmed", &expect.not_confirmed}, {"open", &expect.open}};
    for (const auto& [key, list] : numbers) {
      const toml::array* array = toml_.Array(table, key);
      if (!array) continue;
      list->emplace();
      for (const toml::node& item : *array) {
        if (!item.is_integer() || item.as_integer()->get() < 1)
          toml_.Fail(item, std::string(key) + " lists transaction numbers, from 1");
        (*list)->push_back(static_cast<int>(item.as_integer()->get()));
      }
    }
    const std::pair<const char*, std::optional<std::vector<std::string>>*> texts[] = {
        {"paper", &expect.paper},
        {"paper_absent", &expect.paper_absent},
        {"dialogs", &expect.dialogs},
        {"log", &expect.log},
        {"log_absent", &expect.log_absent}};
    for (const auto& [key, list] : texts)
      if (auto values = toml_.Strings(table, key)) {
        for (std::string& value : *values) value = ToCp1252(value);
        *list = std::move(values);
      }
    return expect;
  }

  // "[ROOT: ]OP[ FIELD=VALUE]..."; a value runs to the next " FIELD=".
  ExpectedOperation ReadOperation(const toml::node& node, const std::string& text) {
    ExpectedOperation operation;
    operation.text = text;
    std::string rest = ToCp1252(text);
    if (const std::size_t colon = rest.find(':'); colon != std::string::npos && colon < 6) {
      operation.root = rest.substr(0, colon);
      if (!is_root(operation.root))
        toml_.Fail(node, "unknown root \"" + operation.root + "\" in \"" + text + "\"");
      rest = rest.substr(rest.find_first_not_of(' ', colon + 1));
    }
    const std::size_t blank = rest.find(' ');
    operation.code = rest.substr(0, blank);
    static const std::set<std::string> codes = {"ATV", "CRT", "CHQ", "CNC", "CNF", "NCN"};
    if (!codes.count(operation.code))
      toml_.Fail(node, "unknown operation \"" + operation.code + "\" in \"" + text +
                           "\" (ATV, CRT, CHQ, CNC, CNF, NCN)");
    std::string fields = blank == std::string::npos ? "" : rest.substr(blank + 1);
    while (!fields.empty()) {
      const std::size_t equals = fields.find('=');
      const std::string id = fields.substr(0, equals);
      if (equals == std::string::npos || !is_field_id(id))
        toml_.Fail(node,
                   "\"" + text + "\": after the operation come FIELD=VALUE pairs such as 003-000=10000");
      std::size_t next = fields.find(' ', equals);
      while (next != std::string::npos && !(is_field_id(fields.substr(next + 1, 7)) &&
                                            fields.size() > next + 8 && fields[next + 8] == '='))
        next = fields.find(' ', next + 1);
      operation.fields[id] =
          fields.substr(equals + 1, next == std::string::npos ? std::string::npos : next - equals - 1);
      fields = next == std::string::npos ? "" : fields.substr(next + 1);
    }
    return operation;
  }

  TomlReader toml_;
};

#undef REHEARSAL_COMMON_KEYS
#undef REHEARSAL_PRINTING_KEYS

} // namespace

Book ReadBook(const std::string& text, const std::string& origin) { return BookReader(text, origin).Read(); }

Book BuiltinBook() { return ReadBook(BuiltinBookText(), "built-in book"); }

} // namespace rehearsal

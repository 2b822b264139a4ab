// JSON: the report's facts for other tools, written through toml++'s JSON
// formatter (keys in alphabetical order).
#include <sstream>

#include "rehearsal/reports.h"
#include "rehearsal/text.h"
#include "rehearsal/toml_reader.h"

namespace rehearsal {

namespace {

toml::array strings(const std::vector<std::string>& items, bool cp1252) {
  toml::array array;
  for (const std::string& item : items) array.push_back(cp1252 ? ToUtf8(item) : item);
  return array;
}

toml::table marks_of(const Mark& mark) {
  return toml::table{{"what", mark.what},
                     {"expected", mark.expected},
                     {"actual", mark.actual},
                     {"passed", mark.passed},
                     {"skipped", mark.skipped},
                     {"not_observed", mark.unobserved},
                     {"premise_not_met", mark.premise_unmet},
                     {"book_line", mark.line}};
}

toml::table event_of(const TimelineEvent& event) {
  toml::table table{{"ms", event.ms},
                    {"lane", LaneName(event.lane)},
                    {"kind", event.kind},
                    {"text", ToUtf8(event.text)},
                    {"detail", ToUtf8(event.detail)}};
  if (event.end_ms >= 0) table.insert("end_ms", event.end_ms);
  if (event.is_file) {
    table.insert("file", ToUtf8(event.file));
    table.insert("content", ToUtf8(event.bytes));
  }
  return table;
}

toml::table case_of(const CaseRecord& record) {
  toml::array marks, events, operations, transactions, dialogs, returns, cuts;
  for (const Mark& mark : record.marks) marks.push_back(marks_of(mark));
  for (const TimelineEvent& event : record.events) events.push_back(event_of(event));
  for (const Operation& operation : record.operations) {
    toml::table fields;
    for (const auto& [id, value] : operation.fields) fields.insert(id, ToUtf8(value));
    operations.push_back(toml::table{{"ms", operation.ms},
                                     {"root", operation.root},
                                     {"code", operation.code},
                                     {"fields", std::move(fields)}});
  }
  for (const Transaction& t : record.transactions)
    transactions.push_back(toml::table{{"number", t.number},
                                       {"origin", ToUtf8(t.origin)},
                                       {"root", t.root},
                                       {"sequence", ToUtf8(t.sequence)},
                                       {"operation", t.operation},
                                       {"network", ToUtf8(t.network)},
                                       {"document", ToUtf8(t.document)},
                                       {"cents", t.cents},
                                       {"confirmations", t.confirmations},
                                       {"non_confirmations", t.non_confirmations},
                                       {"ends", t.Ending()}});
  for (const Dialog& dialog : record.dialogs)
    dialogs.push_back(toml::table{
        {"text", ToUtf8(dialog.text)}, {"answer", ToUtf8(dialog.answer)}, {"network", dialog.network}});
  for (const auto& step : record.step_returns) returns.push_back(strings(step, false));
  for (const int step : record.cut_steps) cuts.push_back(step + 1);
  toml::array failures;
  for (const std::size_t at : record.paper_failures) failures.push_back(static_cast<std::int64_t>(at));
  return toml::table{{"number", record.index + 1},
                     {"name", record.name},
                     {"purpose", record.purpose},
                     {"network_case", record.network_case},
                     {"passed", record.status() == Status::Pass},
                     {"status", StatusKey(record.status())},
                     {"verdict", record.Verdict()},
                     {"timed_out", record.timed_out},
                     {"run_error", record.run_error},
                     {"printer_failures_at", std::move(failures)},
                     {"seconds", static_cast<double>(record.duration_ms) / 1000},
                     {"problem", record.problem},
                     {"first_failure", record.FirstFailure()},
                     {"steps", strings(record.steps, false)},
                     {"step_returns", std::move(returns)},
                     {"power_cut_steps", std::move(cuts)},
                     {"expectations", std::move(marks)},
                     {"operations", std::move(operations)},
                     {"transactions", std::move(transactions)},
                     {"dialogs", std::move(dialogs)},
                     {"paper", ToUtf8(record.paper)},
                     {"card_log", strings(SplitLines(record.card_log), true)},
                     {"events", std::move(events)},
                     {"files", record.folder}};
}

} // namespace

std::string JsonReport(const BookRecord& book) {
  toml::array cases;
  for (const CaseRecord& record : book.cases) cases.push_back(case_of(record));
  toml::table counts;
  for (const Status status : kStatuses) counts.insert(StatusKey(status), book.Count(status));
  const Identity& id = book.identity;
  const toml::table root{{"$schema", kJsonSchemaName},
                         {"format_version", kJsonFormatVersion},
                         {"title", book.title},
                         {"book", book.origin},
                         {"attended", book.attended},
                         {"started", book.started},
                         {"versions", book.versions},
                         {"identity", toml::table{{"book_sha256", id.book_sha256},
                                                  {"book_copy", id.book_copy},
                                                  {"package_path", id.package_path},
                                                  {"package_version", id.package_version},
                                                  {"package_sha256", id.package_sha256},
                                                  {"tools_version", id.tools_version},
                                                  {"machine", id.machine},
                                                  {"started", id.started_iso}}},
                         {"signoff", toml::table{{"ran_by", book.signoff.ran_by},
                                                 {"store", book.signoff.store},
                                                 {"pinpad", book.signoff.pinpad},
                                                 {"cards", book.signoff.cards}}},
                         {"seconds", static_cast<double>(book.duration_ms) / 1000},
                         {"cases_run", book.Run()},
                         {"cases_passed", book.Passed()},
                         {"counts", std::move(counts)},
                         {"cases", std::move(cases)}};
  std::ostringstream out;
  out << toml::json_formatter{root} << "\n";
  return out.str();
}

} // namespace rehearsal

// JUnit XML as CI systems read it: one test case per case of the book, a
// `failure` for failed expectations, an `error` where the run could not
// judge (a timeout, an observation missing, the rehearsal's own trouble),
// `skipped` for a case not run, with no expectation or whose premise the
// manager did not meet; the identity of the run as `properties`.
#include <cstdio>
#include <sstream>

#include "rehearsal/reports.h"
#include "rehearsal/text.h"

namespace rehearsal {

namespace {

using html::Escape;

std::string junit_seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(ms) / 1000);
  return text;
}

// "rehearsal.Supermarket_script": CI systems split a classname at its dots
// into package and class, so the book's title (or its file's name without
// the folder and extension) keeps letters, digits, - and _ only; the same
// book gives the same name wherever it runs.
std::string class_name(const BookRecord& book) {
  std::string name = book.title;
  if (name.empty()) {
    name = book.origin;
    if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos)
      name = name.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
  }
  for (char& c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
    if (!plain) c = '_';
  }
  return "rehearsal." + name;
}

// What the run could not judge: an error, not a failure of the host.
bool is_error(const CaseRecord& record) {
  return record.timed_out || record.run_error || record.status() == Status::NotObserved;
}

void property(std::ostringstream& out, const std::string& name, const std::string& value) {
  out << "<property name=\"" << Escape(name) << "\" value=\"" << Escape(value) << "\"/>\n";
}

void properties(std::ostringstream& out, const BookRecord& book) {
  const Identity& id = book.identity;
  out << "<properties>\n";
  property(out, "book", book.origin);
  property(out, "book.sha256", id.book_sha256);
  if (!id.book_copy.empty()) property(out, "book.copy", id.book_copy);
  property(out, "package.path", id.package_path);
  property(out, "package.version", id.package_version);
  property(out, "package.sha256", id.package_sha256);
  property(out, "tools.version", id.tools_version);
  property(out, "machine", id.machine);
  property(out, "started", id.started_iso);
  property(out, "attended", book.attended ? "true" : "false");
  property(out, "signoff.ran_by", book.signoff.ran_by);
  property(out, "signoff.store", book.signoff.store);
  property(out, "signoff.pinpad", book.signoff.pinpad);
  property(out, "signoff.cards", book.signoff.cards);
  for (const CaseRecord& record : book.cases)
    if (!record.network_case.empty()) property(out, "network_case." + record.name, record.network_case);
  out << "</properties>\n";
}

std::string failed_marks(const CaseRecord& record) {
  std::string details;
  if (!record.problem.empty()) details += record.problem + "\n";
  for (const Mark& mark : record.marks)
    if ((!mark.passed && !mark.skipped) || mark.unobserved)
      details += std::string(mark.unobserved ? "not observed: " : "") + mark.what +
                 (mark.line > 0 ? " (book line " + std::to_string(mark.line) + ")" : "") +
                 "\n  expected: " + mark.expected + "\n  actual:   " + mark.actual + "\n";
  return details;
}

std::string evidence_of(const CaseRecord& record) {
  std::string evidence = record.purpose + "\n";
  for (const Mark& mark : record.marks)
    evidence += std::string(mark.premise_unmet ? "[premise not met] "
                            : mark.unobserved  ? "[not observed] "
                            : mark.skipped     ? "[-] "
                            : mark.passed      ? "[ok] "
                                               : "[FAIL] ") +
                mark.what + "\n";
  if (!record.folder.empty()) evidence += "files: " + record.folder + "\n";
  return evidence;
}

} // namespace

std::string JUnitReport(const BookRecord& book) {
  const std::string suite = class_name(book);
  int failures = 0, errors = 0, skipped = 0;
  for (const CaseRecord& record : book.cases) {
    const Status status = record.status();
    if (status == Status::Pass) continue;
    if (is_error(record)) ++errors;
    else if (status == Status::Fail) ++failures;
    else ++skipped;
  }
  const std::string counts = "tests=\"" + std::to_string(book.cases.size()) + "\" failures=\"" +
                             std::to_string(failures) + "\" errors=\"" + std::to_string(errors) +
                             "\" skipped=\"" + std::to_string(skipped) + "\" time=\"" +
                             junit_seconds(book.duration_ms) + "\"";
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"" << Escape(suite) << "\" " << counts
      << ">\n<testsuite name=\"" << Escape(suite) << "\" " << counts << " timestamp=\""
      << Escape(book.identity.started_iso) << "\" hostname=\"" << Escape(book.identity.machine) << "\">\n";
  properties(out, book);
  for (const CaseRecord& record : book.cases) {
    out << "<testcase classname=\"" << Escape(suite) << "\" name=\"" << Escape(record.name) << "\" time=\""
        << junit_seconds(record.duration_ms) << "\">\n";
    const Status status = record.status();
    const std::string why = record.FirstFailure();
    if (status == Status::Pass) {
    } else if (is_error(record)) {
      const char* type = record.timed_out ? "timeout" : record.run_error ? "rehearsal" : "not-observed";
      out << "<error message=\"" << Escape(why) << "\" type=\"" << type << "\">"
          << Escape(failed_marks(record)) << "</error>\n";
    } else if (status == Status::Fail) {
      out << "<failure message=\"" << Escape(why) << "\" type=\"expectation\">"
          << Escape(failed_marks(record)) << "</failure>\n";
    } else {
      out << "<skipped message=\"" << Escape(why) << "\"/>\n";
    }
    if (status != Status::NotRun) out << "<system-out>" << Escape(evidence_of(record)) << "</system-out>\n";
    out << "</testcase>\n";
  }
  out << "</testsuite>\n</testsuites>\n";
  return out.str();
}

} // namespace rehearsal

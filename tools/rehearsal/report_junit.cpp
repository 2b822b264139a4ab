// JUnit XML: one test case per case, a failure with every failed
// expectation, the evidence's summary as the test's output.
#include <cstdio>
#include <sstream>

#include "rehearsal/reports.h"
#include "rehearsal/text.h"

namespace rehearsal {

namespace {

std::string seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(ms) / 1000);
  return text;
}

std::string suite_name(const BookRecord& book) {
  std::string name = "rehearsal." + (book.title.empty() ? book.origin : book.title);
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
}

} // namespace

std::string JUnitReport(const BookRecord& book) {
  using html::Escape;
  const std::string suite = suite_name(book);
  std::ostringstream out;
  const int skipped = book.PremisesNotMet();
  const int failures = static_cast<int>(book.cases.size()) - book.Passed() - skipped;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"" << Escape(suite) << "\" tests=\""
      << book.cases.size() << "\" failures=\"" << failures << "\" time=\"" << seconds(book.duration_ms)
      << "\">\n"
      << "<testsuite name=\"" << Escape(suite) << "\" tests=\"" << book.cases.size() << "\" failures=\""
      << failures << "\" errors=\"0\" skipped=\"" << skipped << "\" time=\"" << seconds(book.duration_ms)
      << "\" timestamp=\"" << Escape(book.started) << "\">\n";
  for (const CaseRecord& record : book.cases) {
    out << "<testcase classname=\"" << Escape(suite) << "\" name=\"" << Escape(record.name) << "\" time=\""
        << seconds(record.duration_ms) << "\">\n";
    if (record.PremiseNotMet()) {
      out << "<skipped message=\"" << Escape(record.FirstFailure()) << "\"/>\n";
    } else if (!record.passed) {
      std::string details;
      if (!record.problem.empty()) details += record.problem + "\n";
      for (const Mark& mark : record.marks)
        if (!mark.passed && !mark.skipped)
          details += mark.what + (mark.line > 0 ? " (book line " + std::to_string(mark.line) + ")" : "") +
                     "\n  expected: " + mark.expected + "\n  actual:   " + mark.actual + "\n";
      out << "<failure message=\"" << Escape(record.FirstFailure()) << "\" type=\"expectation\">"
          << Escape(details) << "</failure>\n";
    }
    std::string evidence = record.purpose + "\n";
    for (const Mark& mark : record.marks)
      evidence += std::string(mark.premise_unmet ? "[premise not met] "
                              : mark.unobserved  ? "[not observed] "
                              : mark.skipped     ? "[-] "
                              : mark.passed      ? "[ok] "
                                                 : "[FAIL] ") +
                  mark.what + "\n";
    evidence += "files: " + record.folder + "\n";
    out << "<system-out>" << Escape(evidence) << "</system-out>\n</testcase>\n";
  }
  out << "</testsuite>\n</testsuites>\n";
  return out.str();
}

} // namespace rehearsal

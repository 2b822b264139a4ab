// The HTML report: one page, well-formed (it parses as XML too), readable
// without script or network, on screen and printed.
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <utility>

#include "rehearsal/report_style.h"
#include "rehearsal/reports.h"
#include "rehearsal/text.h"

namespace rehearsal {

namespace html {

std::string Escape(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    case '\'':
      out += "&#39;";
      break;
    default:
      // XML allows no other control character; a record may hold one.
      if (static_cast<unsigned char>(c) < 32 && c != '\n' && c != '\t' && c != '\r') out += "\xEF\xBF\xBD";
      else out += c;
    }
  }
  return out;
}

std::string Text(const std::string& cp1252) { return Escape(ToUtf8(cp1252)); }

} // namespace html

namespace {

using html::Escape;
using html::Text;

std::string seconds(std::int64_t ms, int decimals = 1) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f s", decimals, static_cast<double>(ms) / 1000);
  return text;
}

std::string case_id(const CaseRecord& record) { return "case-" + record.name; }

// The case's class in the page: pass, fail, or skip (any other status:
// not held against the host, not a pass either).
const char* state(const CaseRecord& record) {
  const Status status = record.status();
  return status == Status::Pass ? "pass" : status == Status::Fail ? "fail" : "skip";
}

std::string badge(const CaseRecord& record) {
  return std::string("<span class=\"badge ") + state(record) + "\">" + record.Verdict() + "</span>";
}

// A file's bytes as written: code page 1252 shown as such, every line end
// and control byte made visible.
std::string file_body(const std::string& bytes) {
  std::string out;
  std::string run;
  const auto flush = [&] { out += Text(std::exchange(run, {})); };
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      flush();
      out += "<span class=\"eol\">\xE2\x90\x8D\xE2\x90\x8A</span>\n";
      ++i;
    } else if (c == '\r' || c == '\n') {
      flush();
      out += c == '\r' ? "<span class=\"eol\">\xE2\x90\x8D</span>\n"
                       : "<span class=\"eol\">\xE2\x90\x8A</span>\n";
    } else if (static_cast<unsigned char>(c) < 32) {
      flush();
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      out += std::string("<span class=\"eol\">") + hex + "</span>";
    } else {
      run += c;
    }
  }
  flush();
  return out;
}

class Page {
public:
  explicit Page(const BookRecord& book) : book_(book) {}

  std::string Render() {
    out_ << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
         << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
         << "<title>Rehearsal: " << Escape(Title()) << "</title>\n<style>" << ReportStyle() << "</style>\n"
         << "</head>\n<body>\n";
    Header();
    Identification();
    Summary();
    SignOffBlock();
    out_ << "<main>\n";
    for (const CaseRecord& record : book_.cases)
      if (!record.not_run) Case(record);
    out_ << "</main>\n</body>\n</html>\n";
    return out_.str();
  }

private:
  std::string Title() const { return book_.title.empty() ? book_.origin : book_.title; }

  void Header() {
    const int passed = book_.Passed();
    const bool all = passed == book_.Run() && passed > 0;
    out_ << "<header class=\"book\">\n<h1>Certification rehearsal <small>" << Escape(Title())
         << "</small></h1>\n"
         << "<p class=\"facts\">" << Escape(book_.origin) << " \xC2\xB7 started " << Escape(book_.started)
         << " \xC2\xB7 " << Escape(book_.versions) << " \xC2\xB7 "
         << (book_.attended ? "attended: the real manager answered; the exchange as the package made it"
                            : "the managers played by tefsim")
         << "</p>\n<p class=\"verdict " << (all ? "pass" : "fail") << "\">" << passed << " of " << book_.Run()
         << " cases passed";
    for (const Status status : kStatuses)
      if (status != Status::Pass && book_.Count(status) > 0)
        out_ << " \xC2\xB7 " << book_.Count(status) << " " << StatusCounted(status);
    out_ << " \xC2\xB7 " << seconds(book_.duration_ms) << "</p>\n</header>\n";
  }

  // What the run was: the book (its hash, the copy whose lines the marks
  // name), the package, the tools, the machine and the date with its zone.
  void Identification() {
    const Identity& id = book_.identity;
    out_ << "<section class=\"identity\" id=\"identity\">\n<h2>What was run</h2>\n<table class=\"small\">\n";
    const auto row = [&](const char* what, const std::string& value) {
      out_ << "<tr><th>" << what << "</th><td>" << value << "</td></tr>\n";
    };
    std::string book = Escape(book_.origin) + "<br/><code>SHA-256 " + Escape(id.book_sha256) + "</code>";
    if (!id.book_copy.empty())
      book += "<br/>its text: <a href=\"" + Escape(id.book_copy) + "\">" + Escape(id.book_copy) + "</a>";
    row("Book", book);
    row("Package",
        Escape(id.package_path) + "<br/>version " + Escape(id.package_version) + "<br/><code>SHA-256 " +
            Escape(id.package_sha256.empty() ? "(its file could not be read)" : id.package_sha256) +
            "</code>");
    row("Tools", Escape(id.tools_version));
    row("Machine", Escape(id.machine));
    row("Started", Escape(id.started_iso));
    row("Manager", book_.attended ? "the real manager (attended)" : "tefsim, the simulator");
    out_ << "</table>\n</section>\n";
  }

  // For the certifier's signature: who ran it, where, with what; the
  // network's own case numbers are in the summary. Blank ones are lines to
  // fill in by hand.
  void SignOffBlock() {
    const BookSignOff& s = book_.signoff;
    out_ << "<section class=\"signoff\" id=\"signoff\">\n<h2>Sign-off</h2>\n<table class=\"signoff\">\n";
    const auto row = [&](const char* what, const std::string& value) {
      out_ << "<tr><th>" << what << "</th><td>" << (value.empty() ? "" : Escape(value)) << "</td></tr>\n";
    };
    row("Rehearsal run by", s.ran_by);
    row("Store and till", s.store);
    row("Pinpad", s.pinpad);
    row("Cards used", s.cards);
    row("Certifier", "");
    row("Date", "");
    row("Signature", "");
    out_ << "</table>\n</section>\n";
  }

  void Summary() {
    const bool numbers = std::any_of(book_.cases.begin(), book_.cases.end(),
                                     [](const CaseRecord& c) { return !c.network_case.empty(); });
    out_ << "<nav class=\"summary\" id=\"summary\">\n<h2>Summary</h2>\n<table class=\"summary\">\n"
         << "<thead><tr><th>#</th><th>Case</th>" << (numbers ? "<th>Network's case</th>" : "")
         << "<th>Purpose</th><th>Result</th><th>Time</th><th>Why it is not a "
            "pass</th></tr></thead>\n<tbody>\n";
    for (const CaseRecord& record : book_.cases) {
      out_ << "<tr class=\"" << state(record) << "\"><td class=\"num\">" << record.index + 1 << "</td><td>";
      if (record.not_run) out_ << Escape(record.name);
      else out_ << "<a href=\"#" << case_id(record) << "\">" << Escape(record.name) << "</a>";
      out_ << "</td>";
      if (numbers) out_ << "<td>" << Escape(record.network_case) << "</td>";
      out_ << "<td>" << Escape(record.purpose) << "</td><td>" << badge(record) << "</td><td class=\"time\">"
           << (record.not_run ? std::string() : seconds(record.duration_ms)) << "</td><td class=\"why\">"
           << Escape(record.FirstFailure()) << "</td></tr>\n";
    }
    out_ << "</tbody>\n</table>\n</nav>\n";
  }

  void Case(const CaseRecord& record) {
    const std::string id = case_id(record);
    out_ << "<section class=\"case " << state(record) << "\" id=\"" << id << "\">\n"
         << "<h2><span class=\"num\">" << record.index + 1 << ".</span> " << Escape(record.name) << " "
         << badge(record) << " <span class=\"time\">" << seconds(record.duration_ms) << "</span></h2>\n"
         << "<p class=\"purpose\">" << Escape(record.purpose) << "</p>\n";
    if (!record.network_case.empty())
      out_ << "<p class=\"purpose\">The network's case " << Escape(record.network_case) << "</p>\n";
    if (book_.attended && !record.operator_text.empty())
      out_ << "<p class=\"operator\">At the pinpad: " << Escape(record.operator_text) << "</p>\n";
    if (!record.problem.empty()) out_ << "<p class=\"problem\">" << Escape(record.problem) << "</p>\n";
    out_ << "<ol class=\"steps\">\n";
    for (const std::string& step : record.steps) out_ << "<li>" << Escape(step) << "</li>\n";
    out_ << "</ol>\n<figure class=\"timeline\">" << TimelineSvg(record, id) << "\n<figcaption>"
         << "Seconds from the case's start. <span class=\"key\" style=\"background:#dbe9fe\"></span>host "
            "process"
         << "<span class=\"key\" style=\"background:#e7dffa\"></span>routine call"
         << "<span class=\"key\" style=\"background:#3b82f6\"></span>request"
         << "<span class=\"key\" style=\"background:#cbd5e1\"></span>status"
         << "<span class=\"key\" style=\"background:#f59e0b\"></span>answer"
         << "<span class=\"key\" style=\"background:#475569\"></span>printer call"
         << "<span class=\"key\" style=\"background:#10b981\"></span>dialog"
         << "<span class=\"key\" style=\"background:#b42318\"></span>power cut. "
         << "Each mark links to its line below.</figcaption>\n</figure>\n";
    out_ << "<div class=\"evidence\">\n<div class=\"main\">\n";
    Marks(record);
    Transactions(record);
    Dialogs(record);
    Events(record, id);
    out_ << "</div>\n<aside>\n<h3>The paper</h3>\n";
    Paper(record);
    out_ << "</aside>\n</div>\n";
    CardLog(record);
    Raw(record);
    out_ << "<p class=\"back\"><a href=\"#summary\">Back to the summary</a></p>\n</section>\n";
  }

  void Marks(const CaseRecord& record) {
    out_ << "<h3>Expectations</h3>\n";
    if (record.marks.empty()) {
      out_ << "<p>The book expects nothing of this case.</p>\n";
      return;
    }
    out_ << "<table class=\"marks\">\n<thead><tr><th></th><th>Expectation</th><th>Expected</th>"
         << "<th>What happened</th></tr></thead>\n<tbody>\n";
    for (const Mark& mark : record.marks) {
      const char* state = mark.skipped ? "skip" : mark.passed ? "pass" : "fail";
      const char* sign = mark.skipped ? "\xE2\x80\x93" : mark.passed ? "\xE2\x9C\x93" : "\xE2\x9C\x97";
      out_ << "<tr class=\"" << state << "\"><td class=\"mark\" title=\"" << state << "\">" << sign
           << "</td><td>" << Escape(mark.what);
      if (mark.line > 0) out_ << " <span class=\"line\">book line " << mark.line << "</span>";
      if (mark.premise_unmet)
        out_ << " <span class=\"line\">(premise not met: not held against the host)</span>";
      else if (mark.unobserved)
        out_ << " <span class=\"line\">(not observed: not held against the host)</span>";
      else if (mark.skipped) out_ << " <span class=\"line\">(decided by the manager: not checked)</span>";
      out_ << "</td><td><pre>" << Escape(mark.expected) << "</pre></td><td class=\"actual\"><pre>"
           << Escape(mark.actual) << "</pre></td></tr>\n";
    }
    out_ << "</tbody>\n</table>\n";
  }

  void Transactions(const CaseRecord& record) {
    if (record.transactions.empty()) return;
    out_ << "<h3>Transactions</h3>\n<table class=\"small\">\n<thead><tr><th>#</th><th>Approved as</th>"
         << "<th>Sequence</th><th>Network</th><th>Document</th><th>Cents</th><th>Ends</th></tr></"
            "thead>\n<tbody>\n";
    for (const Transaction& t : record.transactions)
      out_ << "<tr><td>" << t.number << "</td><td>" << Text(t.operation + " \xB7 " + t.origin) << "</td><td>"
           << Text(t.root + " " + t.sequence) << "</td><td>" << Text(t.network) << "</td><td>"
           << Text(t.document) << "</td><td>" << Text(t.cents) << "</td><td>" << Text(t.Ending())
           << "</td></tr>\n";
    out_ << "</tbody>\n</table>\n";
  }

  void Dialogs(const CaseRecord& record) {
    out_ << "<h3>Dialogs</h3>\n";
    if (record.dialogs.empty()) {
      out_ << "<p>None was shown.</p>\n";
      return;
    }
    out_ << "<ol class=\"dialogs\">\n";
    for (const Dialog& dialog : record.dialogs) {
      std::string text;
      for (const std::string& line : SplitLines(dialog.text))
        text += (text.empty() ? "" : "<br/>") + Text(line);
      out_ << "<li>" << (dialog.network ? "<em>network dialog:</em> " : "") << text;
      if (!dialog.answer.empty()) out_ << " <span class=\"answer\">[" << Text(dialog.answer) << "]</span>";
      out_ << "</li>\n";
    }
    out_ << "</ol>\n";
  }

  void Events(const CaseRecord& record, const std::string& id) {
    out_ << "<h3>Events</h3>\n<ol class=\"events\">\n";
    for (std::size_t i = 0; i < record.events.size(); ++i) {
      const TimelineEvent& event = record.events[i];
      out_ << "<li id=\"" << id << "-e" << i << "\" class=\"" << Escape(event.kind) << "\"><span class=\"t\">"
           << seconds(event.ms, 3) << "</span><span class=\"lane\">" << LaneName(event.lane)
           << "</span><span>";
      if (event.is_file) {
        out_ << "<details class=\"file\"><summary>" << Text(event.file) << " \xE2\x80\x94 "
             << Text(event.text) << "</summary><pre class=\"file\">" << file_body(event.bytes)
             << "</pre><span class=\"encoding\">" << event.bytes.size()
             << " bytes as written, code page 1252; \xE2\x90\x8D\xE2\x90\x8A marks CR LF"
             << "</span></details>";
      } else {
        out_ << Text(event.text);
        if (event.end_ms >= 0)
          out_ << " <span class=\"encoding\">until " << seconds(event.end_ms, 3) << "</span>";
        if (!event.detail.empty()) out_ << " <span class=\"encoding\">" << Text(event.detail) << "</span>";
      }
      out_ << "</span></li>\n";
    }
    out_ << "</ol>\n";
  }

  // The paper as the customer gets it: slips between the cutter's cuts, the
  // place of each power cut torn across, each printer failure marked where
  // the paper stood.
  void Paper(const CaseRecord& record) {
    out_ << "<div class=\"receipt\">\n";
    if (record.paper.empty() && record.paper_failures.empty()) {
      out_ << "<p class=\"empty\">Nothing was printed.</p>\n</div>\n";
      return;
    }
    // (offset, marker), in the order they came; at one offset, failures first.
    std::vector<std::pair<std::size_t, const char*>> marks;
    for (const std::size_t at : record.paper_failures)
      marks.emplace_back(at, "<div class=\"tear\">\xE2\x9C\x97 the printer failed here</div>\n");
    for (const std::size_t at : record.paper_cuts)
      marks.emplace_back(at, "<div class=\"tear\">\xE2\x9A\xA1 power cut: the host was killed here</div>\n");
    std::stable_sort(marks.begin(), marks.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t next = 0;
    std::size_t at = 0;
    std::string slip;
    const auto close = [&] {
      if (!slip.empty()) out_ << "<div class=\"slip\"><pre>" << slip << "</pre></div>\n";
      slip.clear();
    };
    for (const std::string& line : SplitLines(record.paper)) {
      for (; next < marks.size() && marks[next].first <= at; ++next) {
        close();
        out_ << marks[next].second;
      }
      at += line.size() + 1;
      if (line.rfind("8<", 0) == 0) {
        close();
        out_ << "<div class=\"cut\">\xE2\x9C\x82 - - - - the cutter cut here - - - -</div>\n";
        continue;
      }
      slip += Text(line) + "\n";
    }
    close();
    for (; next < marks.size(); ++next) out_ << marks[next].second;
    out_ << "</div>\n";
  }

  void CardLog(const CaseRecord& record) {
    const auto lines = SplitLines(record.card_log);
    out_ << "<details class=\"cardlog\"><summary><strong>The card log</strong> (" << lines.size()
         << " lines, beside the host program)</summary>\n<pre class=\"cardlog\">";
    for (const std::string& line : lines) out_ << Text(line) << "\n";
    out_ << "</pre></details>\n";
  }

  void Raw(const CaseRecord& record) {
    out_ << "<details class=\"raw\"><summary>Raw files (" << record.raw_files.size() << ")</summary>\n<ul>\n";
    for (const std::string& file : record.raw_files) {
      const std::string shown = file.substr(std::min(file.size(), record.folder.size() + 1));
      out_ << "<li><a href=\"" << Escape(file) << "\">" << Escape(shown) << "</a></li>\n";
    }
    out_ << "</ul>\n</details>\n";
  }

  const BookRecord& book_;
  std::ostringstream out_;
};

} // namespace

std::string HtmlReport(const BookRecord& book) { return Page(book).Render(); }

} // namespace rehearsal

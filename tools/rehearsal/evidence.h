// Puts a case's records in order: the runner's notes, the host part's event
// journal, tefsim's logs and kept files (or, attended, the files seen), the
// paper and the card log become one CaseRecord on the case's clock.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rehearsal/book.h"
#include "rehearsal/manager_watch.h"
#include "rehearsal/record.h"

namespace rehearsal {

// A file's fields the way the package looks them up: the text before a
// line's first "=" trimmed is the name, the rest trimmed the value; the first
// line of a name wins.
std::map<std::string, std::string> FieldsOf(const std::string& bytes);

// An answer that must be confirmed or not: approved (009-000 = 0) sale or
// cancellation, except a card sale without receipt lines.
bool NeedsSettlement(const std::map<std::string, std::string>& fields);

// Said of a routine call the host's end cut short (a power cut, a timeout):
// it was still waiting.
inline constexpr const char* kNeverReturned = "never returned: still waiting when the host was killed";

class Evidence {
public:
  Evidence(CaseRecord& record, std::int64_t t0) : record_(record), t0_(t0) {}

  void AddEvents(const std::vector<TimelineEvent>& events);
  void ReadHostEvents(const std::string& journal);
  // A leftover answer given before the start is a transaction too.
  void AddGiven(const GivenFile& file);
  // tefsim's log of `root` ("dial"), with the folders of its kept requests
  // and written files.
  void ReadManager(const std::string& root, const std::string& log, const std::string& requests,
                   const std::string& written);
  // Attended: the requests, statuses and answers as the package itself
  // wrote and read them (the host journal's "file" lane, exchange_record.h)
  // make the requests and the transactions.
  void UsePackageExchange();
  // Attended: what the folder watch saw. It shows what the manager did on
  // its own (a request taken, a status or answer written); it makes no
  // request, and an answer only it saw is a transaction whose ending is not
  // observed.
  void AddSeen(const std::vector<SeenFile>& seen);
  void ReadPaper(const std::string& bytes) { record_.paper = bytes; }
  void ReadCardLog(const std::string& host_dir);
  // Orders the events, numbers and settles the transactions, lists the raw
  // files of `folder` (under the record's folder, as the report links them).
  void Finish(const std::string& folder);

private:
  struct Approval {
    std::int64_t ms;
    bool given;
    std::string origin;
    std::string root; // "dial"
    std::map<std::string, std::string> fields;
    bool observed = true;
  };
  // An exchange file the package wrote, renamed, read or removed.
  struct PackageFile {
    std::int64_t ms;
    std::string operation, path, bytes, to, package_ms;
  };
  void ManagerFile(std::int64_t ms, const std::string& root, const std::string& name, const std::string& what,
                   const std::string& bytes, const std::string& label, const std::string& verb);
  void Request(std::int64_t ms, const std::string& root, const std::string& bytes);
  void FileGone(std::int64_t ms, const std::string& file, const std::string& text,
                const std::string& detail = {});
  void NumberTransactions();
  void Settle();

  CaseRecord& record_;
  std::int64_t t0_;
  std::vector<Approval> approvals_;
  std::vector<PackageFile> package_files_;
};

} // namespace rehearsal

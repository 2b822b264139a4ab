// The exchange as the package itself made it, recorded in the host's event
// journal: every request it wrote, every status and answer it read, every
// exchange file it renamed or removed, told by the package's file observer
// (zul_SetFileObserver) the moment the operation ended. Nothing is guessed
// from the folders, so a file that lives a millisecond is recorded too.
//
// Journal lines (host_events.h) of the lane "file":
//   MS <TAB> file <TAB> OPERATION <TAB> PATH <TAB> BYTES <TAB> TO <TAB> PACKAGE-MS
// OPERATION is "write", "rename" (BYTES what was written to PATH before it
// went to TO), "read" or "remove"; PACKAGE-MS the package's monotonic clock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "rehearsal/host_events.h"

namespace rehearsal {

// True for a file of an exchange root's request or response folder
// ("c:\tef_dial\resp\intpos.sts", any letter case).
bool IsExchangeFile(std::string_view path);
// An exchange root's name ("dial") and the path's rest under it
// ("resp\intpos.001"); the name is empty for a path under no root.
std::pair<std::string, std::string> SplitRootPath(std::string_view path);

class ExchangeRecord {
public:
  using Sink = std::function<void(const std::string& kind, const std::string& path, const std::string& bytes,
                                  const std::string& to, std::uint64_t package_ms)>;
  explicit ExchangeRecord(Sink sink) : sink_(std::move(sink)) {}

  // One operation the package told of.
  void Told(std::string_view operation, const std::string& path, const std::string& to,
            std::string_view bytes, std::uint64_t package_ms);

private:
  Sink sink_;
  std::map<std::string, std::string> written_; // what each file holds as the package wrote it
  std::map<std::string, std::string> read_;    // the last bytes read, until the file changes
};

// The sink that appends to a host event journal.
ExchangeRecord::Sink JournalSink(EventJournal& journal);

} // namespace rehearsal

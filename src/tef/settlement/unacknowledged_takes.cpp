#include "tef/settlement/unacknowledged_takes.h"

#include "platform/file_system.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"

namespace zul00500 {

namespace {

constexpr const char* kRecordName = "SemResposta";
// A line per root and operation: a few hundred bytes. More is none of ours.
constexpr std::size_t kRecordMaxBytes = 64 * 1024;

std::string record_path() { return dsDirBkpTef + kNotesFolder + kRecordName; }

std::string line_of(const std::string& root, const std::string& operation) {
  return operation + " = " + root;
}

// The lines of the record; none when it cannot be read (a record lost costs
// what it did before it was kept: the doubt is forgotten).
StringList read_record() {
  StringList lines;
  try {
    platform::FileSystem& fs = platform::fs();
    if (fs.file_exists(record_path())) lines.SetText(fs.read_part(record_path(), 0, kRecordMaxBytes));
  } catch (const FileError&) {
  }
  return lines;
}

void write_record(const StringList& lines) {
  try {
    platform::FileSystem& fs = platform::fs();
    if (lines.Count() == 0) {
      fs.remove_file(record_path());
      return;
    }
    fs.create_directories(dsDirBkpTef + kNotesFolder);
    WriteFileInOneStep(record_path(), lines.Text());
  } catch (const FileError&) {
  }
}

} // namespace

void RememberUnacknowledgedTake(const std::string& root, const std::string& operation) {
  RememberUnacknowledgedTakeInThisProcess(root, operation);
  StringList lines = read_record();
  if (lines.IndexOf(line_of(root, operation)) >= 0) return;
  lines.Add(line_of(root, operation));
  write_record(lines);
}

void ForgetUnacknowledgedTake(const std::string& root, const std::string& operation) {
  ForgetUnacknowledgedTakeInThisProcess(root, operation);
  const StringList lines = read_record();
  if (lines.IndexOf(line_of(root, operation)) < 0) return;
  StringList kept;
  for (const std::string& line : lines.lines())
    if (line != line_of(root, operation)) kept.Add(line);
  write_record(kept);
}

bool LateStatusMayCome(const std::string& root, const std::string& operation) {
  return UnacknowledgedTakeInThisProcess(root, operation) ||
         read_record().IndexOf(line_of(root, operation)) >= 0;
}

} // namespace zul00500

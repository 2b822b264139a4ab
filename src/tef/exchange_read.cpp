#include "tef/exchange_read.h"

#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/errors.h"

namespace zul00500 {

namespace {

std::optional<std::string> read_part_if_there(const std::string& path, std::size_t max_bytes,
                                              bool* not_regular = nullptr) {
  platform::FileSystem& fs = platform::fs();
  try {
    return fs.read_part(path, 0, max_bytes);
  } catch (const FileBusyError&) {
    return std::nullopt;
  } catch (const NotRegularFile&) {
    PutAwayNotRegular(path);
    if (not_regular) *not_regular = true;
    return std::nullopt;
  } catch (const FileError&) {
    if (!fs.file_exists(path)) return std::nullopt;
    throw;
  }
}

} // namespace

void PutAwayNotRegular(const std::string& path) {
  platform::FileSystem& fs = platform::fs();
  // One that stays is told once, not on every look of a wait.
  static std::string told;
  const std::string line = "Zul00500 - Arquivo " + path + " n\xE3o \xE9 um arquivo comum";
  if (fs.remove_file(path)) {
    told.clear();
    LogCartao(line + ", removido");
  } else if (!fs.directory_exists(path) && told != path) {
    told = path;
    LogCartao(line + ", n\xE3o removido");
  }
}

void TellDirectoryInPlace(const std::string& path) {
  LogCartao("Zul00500 - Arquivo " + path +
            " n\xE3o \xE9 um arquivo comum (diret\xF3rio), deixado onde est\xE1");
}

std::optional<std::string> ReadIfThere(const std::string& path) {
  return read_part_if_there(path, kMaxExchangeBytes + 1);
}

std::optional<std::string> ReadIfThere(const std::string& path, bool& not_regular) {
  not_regular = false;
  return read_part_if_there(path, kMaxExchangeBytes + 1, &not_regular);
}

std::optional<std::string> ReadHead(const std::string& path) { return read_part_if_there(path, kHeadBytes); }

bool OverLimit(std::string_view bytes) {
  if (bytes.size() > kMaxExchangeBytes) return true;
  std::size_t line_ends = 0;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] == '\n' || (bytes[at] == '\r' && (at + 1 == bytes.size() || bytes[at + 1] != '\n')))
      if (++line_ends > kMaxExchangeLines) return true;
  }
  return false;
}

bool EndsWithLineEnd(std::string_view bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

bool EndsMidLineEnd(std::string_view bytes) {
  if (bytes.empty() || bytes.back() != '\r') return false;
  const std::size_t first_line_end = bytes.find_first_of("\r\n");
  return first_line_end + 1 < bytes.size() && bytes[first_line_end] == '\r' && bytes[first_line_end + 1] == '\n';
}

StringList WholeLines(std::string_view bytes) {
  // Up to the last line end within the first lines.
  std::size_t end = 0, lines = 0;
  for (std::size_t at = 0; at < bytes.size() && lines < kHeadLines; ++at) {
    if (bytes[at] == '\n' || (bytes[at] == '\r' && (at + 1 == bytes.size() || bytes[at + 1] != '\n'))) {
      end = at + 1;
      ++lines;
    }
  }
  StringList list;
  list.SetText(bytes.substr(0, end));
  return list;
}

void LoadExchangeFile(StringList& list, const std::string& path) {
  const std::string bytes = platform::fs().read_part(path, 0, kMaxExchangeBytes + 1);
  if (OverLimit(bytes))
    throw FileError("read", path,
                    "it holds more than " + std::to_string(kMaxExchangeBytes) + " bytes or " +
                        std::to_string(kMaxExchangeLines) + " lines, more than any answer");
  list.SetText(bytes);
}

} // namespace zul00500

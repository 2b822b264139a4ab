#include "tef/exchange_read.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/problems.h"

namespace zul00500 {

namespace {

std::optional<std::string> read_part_if_there(const std::string& path, std::size_t max_bytes,
                                              NotRead* why = nullptr) {
  platform::FileSystem& fs = platform::fs();
  const auto nothing = [why](NotRead reason) -> std::optional<std::string> {
    if (why) *why = reason;
    return std::nullopt;
  };
  try {
    return fs.read_part(path, 0, max_bytes);
  } catch (const FileBusyError&) {
    return nothing(NotRead::Unreadable);
  } catch (const UnreadableFile&) {
    return nothing(NotRead::Unreadable);
  } catch (const NotRegularFile&) {
    PutAwayNotRegular(path);
    return nothing(NotRead::NotRegular);
  } catch (const FileError&) {
    if (!fs.file_exists(path)) return nothing(NotRead::Gone);
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

std::optional<std::string> ReadIfThere(const std::string& path, NotRead& why) {
  why = NotRead::Gone;
  return read_part_if_there(path, kMaxExchangeBytes + 1, &why);
}

bool Unreadable(const std::string& path) {
  try {
    // Opening it is the test: nothing is read.
    platform::fs().read_part(path, 0, 0);
  } catch (const FileBusyError&) {
    return true;
  } catch (const UnreadableFile&) {
    return true;
  } catch (const FileError&) {
  }
  return false;
}

bool StaysUnreadable(const std::string& path) {
  constexpr std::uint32_t kPauseMs = 250;
  const platform::Stopwatch waited;
  for (;;) {
    if (!Unreadable(path)) return false;
    if (waited.elapsed_ms() >= kUnreadableMs) return true;
    platform::pause(kPauseMs);
  }
}

void PassOverUnreadable(const std::string& path) {
  ReportPassedOver(path);
  LogCartao("Zul00500 - Arquivo " + path + " ileg\xEDvel, deixado onde est\xE1 (n\xE3o lido nem removido)");
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

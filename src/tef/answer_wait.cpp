#include "tef/answer_wait.h"

#include "platform/clock.h"
#include "support/card_log.h"
#include "support/string_list.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/settlement/memory.h"

namespace zul00500 {

AnswerWatch::Look AnswerWatch::Take(const std::string& path, StringList& list) {
  changed_ = false;
  NotRead why = NotRead::Gone;
  std::optional<std::string> bytes = ReadIfThere(path, why);
  if (!bytes) {
    seen_.reset();
    if (why == NotRead::NotRegular) return Look::NotRegular;
    return why == NotRead::Unreadable ? Look::Unreadable : Look::NotYet;
  }
  const std::uint64_t now = platform::clock().monotonic_ms();
  if (bytes != seen_) {
    changed_ = true;
    seen_ = bytes;
    seen_since_ms_ = now;
  }
  if (bytes == rejected_) return Look::NotYet;
  // Never parsed: a file of bare line feeds would make a line of each.
  if (OverLimit(*bytes)) return Look::TooLarge;
  StringList lines;
  lines.SetText(*bytes);
  // A closing line whose CR LF is half written is no close yet: a copy
  // taken now would lack the answer's last byte.
  const bool closed = EndsClosed(lines, *bytes);
  if (closed) RememberClosingLine(path);
  else {
    const std::uint64_t quiet = now - seen_since_ms_;
    const bool whole = LooksWhole(lines);
    if (!whole) return quiet < kAnswerStalledMs ? Look::NotYet : Look::Stalled;
    // A manager seen to write the closing line may only be pausing.
    const std::uint64_t needed = WritesClosingLine(path) ? kAnswerStalledMs : kAnswerQuietMs;
    if (quiet < needed) return Look::NotYet;
    LogCartao("Zul00500 - Resposta sem 999-999 = 0 aceita ap\xF3s " + std::to_string(needed) +
              " ms sem mudan\xE7"
              "a: " +
              path);
  }
  last_whole_ = std::move(bytes);
  list = std::move(lines);
  return Look::Whole;
}

} // namespace zul00500

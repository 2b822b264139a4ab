#include "support/card_log.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/regional.h"
#include "support/state.h"

namespace zul00500 {

// One line per call; the file is opened, extended and closed each time, and
// a new file starts every month. Failures are not caught: a log that cannot
// be written stops the operation that was logging.
void LogCartao(const std::string& message) {
  const double now = platform::clock().now();
  const platform::RegionalSettings& settings = platform::regional();
  const std::string path =
      HostDirectoryLong() + "\\LogTef" + platform::FormatDateTime("MMYY", now, settings) + ".txt";
  platform::fs().append_file(path, platform::DateTimeToStr(now, settings) + " - " + message + "\r\n");
}

} // namespace zul00500

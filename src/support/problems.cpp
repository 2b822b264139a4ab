#include "support/problems.h"

#include "support/card_log.h"

namespace zul00500 {

namespace {
// Everything runs on the host's user-interface thread.
std::vector<std::string> reported;
std::vector<std::string> passed_over;
} // namespace

void ReportProblem(const std::string& text) noexcept {
  try {
    reported.push_back(text);
  } catch (...) {
  }
}

std::vector<std::string> TakeReportedProblems() {
  std::vector<std::string> taken;
  taken.swap(reported);
  return taken;
}

void ReportPassedOver(const std::string& path) noexcept {
  try {
    for (const std::string& known : passed_over)
      if (known == path) return;
    passed_over.push_back(path);
  } catch (...) {
  }
}

std::vector<std::string> TakePassedOver() {
  std::vector<std::string> taken;
  taken.swap(passed_over);
  return taken;
}

void LogSettled(const std::string& message) noexcept {
  try {
    LogCartao(message);
  } catch (const std::exception& error) {
    ReportProblem(std::string("the card log could not be written: ") + error.what());
  }
}

} // namespace zul00500

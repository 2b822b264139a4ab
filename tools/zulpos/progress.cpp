#include "progress.h"

#include <exception>

#include "output.h"
#include "package.h"

namespace zulpos {

std::chrono::milliseconds SteadyNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

Progress::Progress(std::ostream& terminal, std::string manager, Clock now)
    : terminal_(terminal), manager_(std::move(manager)), now_(std::move(now)) {}

Progress::~Progress() {
  Clear();
  if (!out_) return;
  api().zul_SetMessagePump(nullptr, nullptr);
  out_->SetBeforeWrite(nullptr);
}

void Progress::Install(Output& out) {
  Checked(api().zul_SetMessagePump(&Progress::Pump, this));
  out_ = &out;
  out.SetBeforeWrite([this] { Clear(); });
}

int ZUL_CALL Progress::Pump(void* user, int wait) {
  try {
    static_cast<Progress*>(user)->Cycle(wait != 0);
    return ZUL_TRUE;
  } catch (const std::exception& error) {
    RememberCallbackFailure(error.what());
    return ZUL_ERROR;
  }
}

void Progress::Cycle(bool answer) {
  const std::chrono::milliseconds now = now_();
  if (!waiting_ || answer != answer_ || now - last_ > kGap) {
    Clear(); // the last wait's line
    start_ = now;
    answer_ = answer;
    waiting_ = true;
  }
  last_ = now;
  const auto waited = now - start_;
  if (waited < kShowAfter) return;
  const std::string seconds = std::to_string(waited.count() / 1000) + " s";
  if (!answer_ && !hinted_ && waited >= kHintAfter) {
    hinted_ = true;
    Clear();
    terminal_ << "zulpos: is the TEF manager running? To start one: " << manager_ << "\n";
    waiting_ = true; // Clear ends the wait; this one goes on
  }
  // Short enough for one line of a narrow terminal, or "\r" cannot rewrite it.
  Show(answer_ ? "zulpos: waiting " + seconds + " for the TEF manager's answer"
               : "zulpos: waiting " + seconds + " for the TEF manager's status file (gives up at 15 s)");
}

void Progress::Show(const std::string& line) {
  if (line == shown_) return;
  // Spaces cover what a longer line left; no terminal codes, so that any
  // console shows it.
  const std::size_t cover = shown_.size() > line.size() ? shown_.size() - line.size() : 0;
  terminal_ << "\r" << line << std::string(cover, ' ') << std::flush;
  shown_ = line;
}

void Progress::Clear() {
  waiting_ = false;
  if (shown_.empty()) return;
  terminal_ << "\r" << std::string(shown_.size(), ' ') << "\r" << std::flush;
  shown_.clear();
}

} // namespace zulpos

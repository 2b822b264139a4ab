// The SVG timeline of one case.
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "rehearsal/reports.h"

namespace rehearsal {

namespace {

constexpr int kWidth = 980;
constexpr int kLabelWidth = 120;
constexpr int kPlotLeft = 130;
constexpr int kPlotRight = 965;
constexpr int kTop = 26;
constexpr int kLaneHeight = 50;
constexpr int kLabelRows = 3;

int lane_index(Lane lane) { return static_cast<int>(lane); }

std::string timeline_seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(ms) / 1000);
  return text;
}

// A short label for a marker; empty: none.
std::string label_of(const TimelineEvent& event) {
  if (event.lane == Lane::Manager && event.is_file) {
    if (event.kind == "request") {
      const std::size_t colon = event.text.rfind(": ");
      return colon == std::string::npos ? "req" : event.text.substr(colon + 2);
    }
    return event.kind == "status" ? "sts" : "ans";
  }
  if (event.kind == "printer-failed") return "failed";
  if (event.kind == "printer") {
    if (event.text == "Usa_CompNFis") return "text";
    if (event.text == "Guilhotina") return "cut";
    return event.text.substr(0, 6);
  }
  if (event.lane == Lane::Dialog) return event.text.substr(0, 14);
  return {};
}

class Timeline {
public:
  Timeline(const CaseRecord& record, std::string prefix) : record_(record), prefix_(std::move(prefix)) {
    for (const TimelineEvent& event : record.events) end_ = std::max({end_, event.ms, event.end_ms});
    end_ = std::max<std::int64_t>(end_, 1000);
    // Room after the last event for its label.
    end_ += std::max<std::int64_t>(end_ / 12, 300);
  }

  std::string Svg() {
    const int height = kTop + kLaneHeight * 5 + 8;
    out_ << "<svg class=\"timeline\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << kWidth << " "
         << height << "\" width=\"" << kWidth << "\" height=\"" << height
         << "\" role=\"img\" aria-label=\"Timeline of " << html::Escape(record_.name) << "\">";
    Lanes(height);
    Axis(height);
    for (std::size_t i = 0; i < record_.events.size(); ++i) Event(record_.events[i], i);
    out_ << "</svg>";
    return out_.str();
  }

private:
  double X(std::int64_t ms) const {
    return kPlotLeft + static_cast<double>(std::max<std::int64_t>(ms, 0)) * (kPlotRight - kPlotLeft) /
                           static_cast<double>(end_);
  }
  static int LaneTop(Lane lane) { return kTop + lane_index(lane) * kLaneHeight; }

  void Lanes(int height) {
    for (const Lane lane : kLanes) {
      const int top = LaneTop(lane);
      out_ << "<rect class=\"lane lane-" << LaneName(lane) << "\" x=\"0\" y=\"" << top << "\" width=\""
           << kWidth << "\" height=\"" << kLaneHeight << "\"/>";
      out_ << "<text class=\"lane-title\" x=\"8\" y=\"" << top + kLaneHeight / 2 + 4 << "\">"
           << LaneTitle(lane) << "</text>";
    }
    out_ << "<line class=\"axis\" x1=\"" << kLabelWidth << "\" y1=\"" << kTop << "\" x2=\"" << kLabelWidth
         << "\" y2=\"" << height - 8 << "\"/>";
  }

  void Axis(int height) {
    static const std::int64_t steps[] = {100,   200,   500,   1000,  2000,   5000,
                                         10000, 15000, 30000, 60000, 120000, 300000};
    std::int64_t step = steps[std::size(steps) - 1];
    for (const std::int64_t candidate : steps)
      if (end_ / candidate <= 12) {
        step = candidate;
        break;
      }
    for (std::int64_t ms = 0; ms <= end_; ms += step) {
      const double x = X(ms);
      out_ << "<line class=\"grid\" x1=\"" << x << "\" y1=\"" << kTop - 4 << "\" x2=\"" << x << "\" y2=\""
           << height - 8 << "\"/>";
      char text[16];
      std::snprintf(text, sizeof text, step < 1000 ? "%.1f s" : "%.0f s", static_cast<double>(ms) / 1000);
      out_ << "<text class=\"tick\" x=\"" << x << "\" y=\"" << kTop - 8 << "\">" << text << "</text>";
    }
  }

  void Open(const TimelineEvent& event, std::size_t index) {
    out_ << "<a href=\"#" << prefix_ << "-e" << index << "\"><title>" << timeline_seconds(event.ms) << " \xC2\xB7 "
         << html::Text(event.text) << (event.detail.empty() ? "" : " \xC2\xB7 " + html::Text(event.detail))
         << "</title>";
  }

  void Event(const TimelineEvent& event, std::size_t index) {
    const int top = LaneTop(event.lane);
    const double x = X(event.ms);
    if (event.kind == "power-cut" || event.kind == "kill") {
      if (event.kind == "power-cut") {
        Open(event, index);
        // The label goes left of the line near the right edge.
        const bool left = x > kPlotRight - 80;
        out_ << "<line class=\"power-cut\" x1=\"" << x << "\" y1=\"" << kTop << "\" x2=\"" << x << "\" y2=\""
             << kTop + 5 * kLaneHeight << "\"/><text class=\"power-cut-label\" x=\"" << (left ? x - 3 : x + 3)
             << "\" y=\"" << kTop + 12 << "\"" << (left ? " text-anchor=\"end\"" : "")
             << ">\xE2\x9A\xA1 power cut</text></a>";
      } else {
        Open(event, index);
        out_ << "<path class=\"kill\" d=\"M" << x - 5 << " " << top + 17 << "l10 10m0 -10l-10 10\"/></a>";
      }
      return;
    }
    if (event.end_ms >= 0) {
      Span(event, index, top, x);
      return;
    }
    Open(event, index);
    const int middle = top + 36;
    if (event.kind == "log") {
      out_ << "<line class=\"mark-log\" x1=\"" << x << "\" y1=\"" << middle - 4 << "\" x2=\"" << x
           << "\" y2=\"" << middle + 8 << "\"/>";
    } else if (event.is_file) {
      out_ << "<rect class=\"mark-file file-" << event.kind << "\" x=\"" << x - 4 << "\" y=\"" << middle - 5
           << "\" width=\"8\" height=\"10\"/>";
    } else if (event.lane == Lane::Dialog) {
      out_ << "<path class=\"mark-dialog\" d=\"M" << x << " " << middle - 6 << "l6 6l-6 6l-6 -6z\"/>";
    } else if (event.kind == "printer-failed") {
      out_ << "<path class=\"kill\" d=\"M" << x - 5 << " " << middle - 5 << "l10 10m0 -10l-10 10\"/>";
    } else if (event.lane == Lane::Printer) {
      out_ << "<rect class=\"mark-printer\" x=\"" << x - 3.5 << "\" y=\"" << middle - 3.5
           << "\" width=\"7\" height=\"7\"/>";
    } else {
      out_ << "<circle class=\"mark-" << event.kind << "\" cx=\"" << x << "\" cy=\"" << middle
           << "\" r=\"4\"/>";
    }
    Label(event, top, x);
    out_ << "</a>";
  }

  // A bar from the event to its end: a host process, a step, a routine call.
  void Span(const TimelineEvent& event, std::size_t index, int top, double x) {
    const bool step = event.kind == "step";
    const double width = std::max(2.0, X(event.end_ms) - x);
    const int y = top + (step ? 30 : 14);
    const int bar = step ? 10 : 14;
    Open(event, index);
    out_ << "<rect class=\"span span-" << event.kind << "\" x=\"" << x << "\" y=\"" << y << "\" width=\""
         << width << "\" height=\"" << bar << "\" rx=\"3\"/>";
    std::string text = event.text;
    if (event.kind == "call") text = text.substr(0, text.find('('));
    if (step) text = text.substr(text.find(": ") == std::string::npos ? 0 : text.find(": ") + 2);
    if (width > static_cast<double>(text.size()) * 6.2 + 6)
      out_ << "<text class=\"span-label\" x=\"" << x + 4 << "\" y=\"" << y + bar - 3 << "\">"
           << html::Text(text) << "</text>";
    out_ << "</a>";
  }

  // Labels above markers, in the first of three rows with room.
  void Label(const TimelineEvent& event, int top, double x) {
    const std::string text = label_of(event);
    if (text.empty()) return;
    const double width = static_cast<double>(text.size()) * 6.0 + 4;
    double& last = free_from_[{lane_index(event.lane), 0}];
    for (int row = 0; row < kLabelRows; ++row) {
      double& end = row == 0 ? last : free_from_[{lane_index(event.lane), row}];
      if (x - width / 2 < end) continue;
      end = x + width / 2;
      out_ << "<text class=\"mark-label\" x=\"" << x << "\" y=\"" << top + 10 + row * 9 << "\">"
           << html::Text(text) << "</text>";
      return;
    }
  }

  const CaseRecord& record_;
  std::string prefix_;
  std::int64_t end_ = 0;
  std::ostringstream out_;
  std::map<std::pair<int, int>, double> free_from_;
};

} // namespace

std::string TimelineSvg(const CaseRecord& record, const std::string& id_prefix) {
  return Timeline(record, id_prefix).Svg();
}

} // namespace rehearsal

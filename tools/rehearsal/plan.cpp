#include "rehearsal/plan.h"

#include <sstream>

#include "rehearsal/toml_reader.h"
#include "tool_platform/files.h"
#include "zulpos/output.h"

namespace rehearsal {

void WritePlan(const HostPlan& plan, const std::string& path) {
  // TOML is UTF-8; Windows paths are code page 1252.
  using zulpos::PathToTerminal;
  const toml::table table{{"book", PathToTerminal(plan.book)},
                          {"case", plan.case_index},
                          {"first_step", plan.first_step},
                          {"end_step", plan.end_step},
                          {"start", plan.start},
                          {"host_dir", PathToTerminal(plan.host_dir)},
                          {"drive_root", PathToTerminal(plan.drive_root)},
                          {"events", PathToTerminal(plan.events)},
                          {"paper", PathToTerminal(plan.paper)},
                          {"lease", PathToTerminal(plan.lease)}};
  std::ostringstream text;
  text << table << "\n";
  tool_platform::write_file(path, text.str());
}

HostPlan ReadPlan(const std::string& path) {
  const TomlReader toml(tool_platform::read_file(path), path);
  const toml::table& table = toml.root();
  HostPlan plan;
  const auto text = [&](const char* key) {
    const auto value = toml.String(table, key);
    if (!value) toml.Fail(1, std::string("the plan has no ") + key);
    return zulpos::PathFromTerminal(*value);
  };
  const auto number = [&](const char* key) {
    const auto value = toml.Integer(table, key);
    if (!value) toml.Fail(1, std::string("the plan has no ") + key);
    return static_cast<int>(*value);
  };
  plan.book = text("book");
  plan.case_index = number("case");
  plan.first_step = number("first_step");
  plan.end_step = number("end_step");
  plan.start = number("start");
  plan.host_dir = text("host_dir");
  plan.drive_root = text("drive_root");
  plan.events = text("events");
  plan.paper = text("paper");
  plan.lease = text("lease");
  return plan;
}

} // namespace rehearsal

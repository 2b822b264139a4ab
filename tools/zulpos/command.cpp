#include "command.h"

namespace zulpos {

CLI::Option* AddRepeatable(CLI::App& app, const std::string& name, std::vector<std::string>& values,
                           const std::string& value_name, const std::string& help) {
  return app.add_option(name, values, help)->type_name(value_name)->allow_extra_args(false);
}

CLI::Option* AddFlag(CLI::App& app, const std::string& name, bool& value, const std::string& help) {
  return app.add_flag(name, value, help)->disable_flag_override();
}

CLI::Option* AddFileOperand(CLI::App& app, std::string& file, const std::string& help) {
  return app.add_option("FILE", file, help)->required();
}

} // namespace zulpos

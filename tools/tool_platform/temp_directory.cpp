// The standard library covers both platforms here, so there is one file.
#include "tool_platform/temp_directory.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "tool_platform/error.h"

namespace tool_platform {

std::string make_temp_directory(const std::string& prefix) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  if (error) throw Error("find the temporary folder", "", error.message());
  std::random_device seed;
  std::mt19937_64 random(seed());
  const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < 10; ++i) name += digits[random() % (sizeof digits - 1)];
    const fs::path folder = base / name;
    // create_directory is false, without an error, when the name is taken:
    // then another name is tried, so no one else's folder is ever reused.
    if (fs::create_directory(folder, error)) {
      fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
      return folder.string();
    }
    if (error) throw Error("create a temporary folder", folder.string(), error.message());
  }
  throw Error("create a temporary folder", (base / prefix).string(), "every name tried was taken");
}

bool remove_directory_tree(const std::string& native_path) {
  std::error_code error;
  std::filesystem::remove_all(native_path, error);
  return !error && !std::filesystem::exists(native_path, error);
}

} // namespace tool_platform

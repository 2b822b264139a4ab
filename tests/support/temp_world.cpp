#include "support/temp_world.h"

#include "platform/file_system.h"
#include "platform/process.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

namespace zul00500::testing {

namespace {
std::filesystem::path make_unique_folder() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        base / ("zul00500-test-" + std::to_string(random() % 1'000'000'000'000));
    if (std::filesystem::create_directory(candidate)) return candidate;
  }
  throw std::runtime_error("cannot make a temporary folder under " + base.string());
}
} // namespace

TempWorld::TempWorld() {
  const std::filesystem::path root = make_unique_folder();
  // The system's own form, as the package's paths come back from it.
  root_ = std::filesystem::path(root).make_preferred().string();
  host_dir_ = (root / "host").string();
  std::filesystem::create_directory(root / "host");
  platform::set_drive_root(root_);
  platform::set_host_executable_path(host_exe());
}

TempWorld::~TempWorld() {
  platform::set_host_executable_path("");
  platform::set_drive_root("");
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TempWorld::native(const std::string& path) { return platform::native_fs().native_path(path); }

} // namespace zul00500::testing

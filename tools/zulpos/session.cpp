#include "session.h"

#include <filesystem>

#include "output.h"
#include "package.h"
#include "tool_platform/error.h"

namespace zulpos {

namespace {
bool is_separator(char c) { return c == '\\' || c == '/'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// True when `path` lies in `folder`, letter case and the kind of separator aside.
bool lies_in(const std::string& path, std::string folder) {
  while (!folder.empty() && is_separator(folder.back())) folder.pop_back();
  if (folder.empty() || path.size() < folder.size()) return false;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (is_separator(path[i]) && is_separator(folder[i])) continue;
    if (lower(path[i]) != lower(folder[i])) return false;
  }
  return path.size() == folder.size() || is_separator(path[folder.size()]);
}
} // namespace

std::string WhereThePackageLooks(const std::string& host_dir, const std::optional<std::string>& drive_root) {
  const bool drive_path =
      host_dir.size() >= 2 && host_dir[1] == ':' &&
      ((host_dir[0] >= 'a' && host_dir[0] <= 'z') || (host_dir[0] >= 'A' && host_dir[0] <= 'Z'));
  if (!drive_root || drive_root->empty() || !drive_path || lies_in(host_dir, *drive_root)) return host_dir;
  std::filesystem::path mapped = std::filesystem::path(*drive_root) / std::string(1, lower(host_dir[0]));
  std::string rest = host_dir.substr(2);
  std::size_t start = 0;
  while (start < rest.size()) {
    std::size_t end = start;
    while (end < rest.size() && !is_separator(rest[end])) ++end;
    if (end > start) mapped /= rest.substr(start, end - start);
    start = end + 1;
  }
  return mapped.string();
}

std::string SessionHostDirectory(const SessionOptions& options, const std::string& program_path) {
  return WhereThePackageLooks(
      options.host_dir.value_or(std::filesystem::path(program_path).parent_path().string()),
      options.drive_root);
}

PackageSession::PackageSession(const SessionOptions& options, const std::string& program_path)
    : options_(options), host_dir_(SessionHostDirectory(options, program_path)) {
  // They come first, so that the package finds the short form of the
  // directory when it derives its own from it.
  const std::filesystem::path host(host_dir_);
  for (const std::filesystem::path& folder :
       {host / "Dados" / "Cadastros", host / "Dados" / "TefDisc" / "Pendente"}) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw tool_platform::Error("make the folder", folder.string(), error.message());
  }
  if (options_.drive_root) Checked(api().zul_SetDriveRoot(PackagePath(*options_.drive_root).c_str()));
  if (options_.host_dir) Checked(api().zul_SetHostDirectory(PackagePath(*options_.host_dir).c_str()));
}

PackageSession::~PackageSession() {
  // The drive root goes first: the package derives its directories again
  // when the host directory is reset, and must find the real one then.
  if (options_.drive_root) api().zul_SetDriveRoot("");
  if (options_.host_dir) api().zul_SetHostDirectory("");
}

} // namespace zulpos

#include "session.h"

#include <filesystem>

#include "package.h"

namespace zulpos {

PackageSession::PackageSession(const SessionOptions& options, const std::string& program_path)
    : options_(options),
      host_dir_(options.host_dir.value_or(std::filesystem::path(program_path).parent_path().string())) {
  // They come first, so that the package finds the short form of the
  // directory when it derives its own from it.
  const std::filesystem::path host(host_dir_);
  std::filesystem::create_directories(host / "Dados" / "Cadastros");
  std::filesystem::create_directories(host / "Dados" / "TefDisc" / "Pendente");
  if (options_.drive_root) Checked(api().zul_SetDriveRoot(options_.drive_root->c_str()));
  if (options_.host_dir) Checked(api().zul_SetHostDirectory(options_.host_dir->c_str()));
}

PackageSession::~PackageSession() {
  if (options_.host_dir) api().zul_SetHostDirectory("");
  if (options_.drive_root) api().zul_SetDriveRoot("");
}

} // namespace zulpos

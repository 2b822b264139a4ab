#include "session.h"

#include "platform/file_system.h"
#include "platform/process.h"
#include "zul00500/state.h"

namespace zulpos {

namespace {
// Only the directory counts; the name keeps the path one of a program.
#ifdef _WIN32
constexpr const char* kProgramName = "\\zulpos.exe";
#else
constexpr const char* kProgramName = "/zulpos";
#endif

// Resets what the session set, whatever happens after it set it.
void restore_overrides(const SessionOptions& options) {
  if (options.host_dir) zul00500::platform::set_host_executable_path("");
  if (options.drive_root) zul00500::platform::set_drive_root("");
}
} // namespace

PackageSession::PackageSession(const SessionOptions& options) : options_(options) {
  namespace platform = zul00500::platform;
  if (options_.drive_root) platform::set_drive_root(*options_.drive_root);
  if (options_.host_dir) platform::set_host_executable_path(*options_.host_dir + kProgramName);
  try {
    // The package never makes these; a real host's installation ships them.
    // They come first so that the short form of the directory exists.
    const std::string host = zul00500::HostDirectoryLong();
    platform::fs().create_directories(host + "\\Dados\\Cadastros");
    platform::fs().create_directories(host + "\\Dados\\TefDisc\\Pendente");
  } catch (...) {
    restore_overrides(options_);
    throw;
  }
  zul00500::Initialize();
}

PackageSession::~PackageSession() {
  zul00500::Finalize();
  restore_overrides(options_);
}

} // namespace zulpos

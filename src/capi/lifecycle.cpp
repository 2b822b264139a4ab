// Load and unload, the version, the last error, and the integrators' helpers.
#include "capi/boundary.h"
#include "platform/module_entry.h"
#include "platform/process.h"
#include "zul00500/dataset.h"
#include "zul00500/state.h"

using namespace zul00500;
using namespace zul00500::capi;

namespace zul00500::platform {

// As the host's module loader does after loading the package and before
// unloading it. Nothing can be reported from here, so nothing may escape.
void on_module_load() noexcept { ::Initialize(); }
// At process exit the package's strings may be gone already (a host that
// never unloads it), and emptying them serves nobody.
void on_module_unload(bool process_exiting) noexcept {
  if (!process_exiting) ::Finalize();
}

} // namespace zul00500::platform

int ZUL_CALL Initialize(void) {
  return RunRoutine("Initialize", [] {
    zul00500::Initialize();
    return ZUL_TRUE;
  });
}

int ZUL_CALL Finalize(void) {
  return RunRoutine("Finalize", [] {
    zul00500::Finalize();
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_Version(char* value, int capacity) { return CopyOut(ZUL_PACKAGE_VERSION, value, capacity); }

int ZUL_CALL zul_LastError(char* value, int capacity) {
  return Guarded("zul_LastError", [&] { return CopyOut(LastErrorText(), value, capacity); });
}

int ZUL_CALL zul_SetDriveRoot(const char* folder) {
  return Guarded("zul_SetDriveRoot", [&] {
    platform::set_drive_root(In(folder));
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_SetHostDirectory(const char* directory) {
  return Guarded("zul_SetHostDirectory", [&] {
    std::string folder = In(directory);
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    // Only the directory of the program's path counts; the name stands for
    // a program there.
    platform::set_host_executable_path(folder.empty() ? "" : folder + "\\zulhost");
    HostDirectoryChanged();
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_DescribeDataSet(const char* path, ZulList lines) {
  return Guarded("zul_DescribeDataSet", [&] {
    StringList& list = ListOf(lines, "lines");
    // Described in full before the list changes: a damaged file leaves it as it was.
    StringList described;
    for (const std::string& line : DescribeDataSetFile(In(path))) described.Add(line);
    list = std::move(described);
    return ZUL_TRUE;
  });
}

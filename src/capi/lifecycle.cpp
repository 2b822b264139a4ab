// Load and unload, the version, the last error, and the integrators' helpers.
#include "capi/boundary.h"
#include "platform/module_entry.h"
#include "platform/process.h"
#include "support/dataset.h"
#include "support/state.h"
#include "tef/settlement/memory.h"
#include "zul_source_id.h"

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
  return Guarded("Initialize", [] {
    if (zul00500::Initialize()) ForgetSettledInThisProcess();
    // As a new process: no outcome, no printing run.
    ResetOutcome();
    RunPayments().clear();
    return ZUL_TRUE;
  });
}

int ZUL_CALL Finalize(void) {
  return Guarded("Finalize", [] {
    if (zul00500::Finalize()) ForgetSettledInThisProcess();
    // As a new process: no outcome, no printing run.
    ResetOutcome();
    RunPayments().clear();
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_Version(char* value, int capacity) {
  return Reader("zul_Version", [&] {
    static_assert(ZUL_BUILD_VERSION_MAJOR == ZUL_VERSION_MAJOR &&
                      ZUL_BUILD_VERSION_MINOR == ZUL_VERSION_MINOR &&
                      ZUL_BUILD_VERSION_PATCH == ZUL_VERSION_PATCH,
                  "the build's version is the header's");
    return CopyOut(ZUL_BUILD_DESCRIPTION, value, capacity);
  });
}

int ZUL_CALL zul_VersionNumber(void) {
  ClearLastError();
  return ZUL_VERSION_NUMBER;
}

// The readers of the last error leave it as it is.
int ZUL_CALL zul_LastError(char* value, int capacity) {
  try {
    return CopyOut(LastErrorText(), value, capacity);
  } catch (...) {
    return 0; // no memory to join the text: nothing to tell
  }
}

int ZUL_CALL zul_LastErrorCode(void) { return LastErrorCode(); }

const char* ZUL_CALL zul_ErrorName(int code) {
  switch (code) {
  case ZUL_OK:
    return "ZUL_OK";
  case ZUL_E_FILE:
    return "ZUL_E_FILE";
  case ZUL_E_FILE_BUSY:
    return "ZUL_E_FILE_BUSY";
  case ZUL_E_NUMBER:
    return "ZUL_E_NUMBER";
  case ZUL_E_DATASET:
    return "ZUL_E_DATASET";
  case ZUL_E_ARGUMENT:
    return "ZUL_E_ARGUMENT";
  case ZUL_E_CALLBACK:
    return "ZUL_E_CALLBACK";
  case ZUL_E_NO_PRINTER_PROC:
    return "ZUL_E_NO_PRINTER_PROC";
  case ZUL_E_MEMORY:
    return "ZUL_E_MEMORY";
  case ZUL_E_OTHER:
    return "ZUL_E_OTHER";
  case ZUL_E_REENTRANT:
    return "ZUL_E_REENTRANT";
  case ZUL_E_PENDING_SALE:
    return "ZUL_E_PENDING_SALE";
  case ZUL_NOTE_TRUNCATED:
    return "ZUL_NOTE_TRUNCATED";
  case ZUL_NOTE_TILL_BUSY:
    return "ZUL_NOTE_TILL_BUSY";
  case ZUL_NOTE_PROBLEM:
    return "ZUL_NOTE_PROBLEM";
  case ZUL_NOTE_PENDING_SALE:
    return "ZUL_NOTE_PENDING_SALE";
  case ZUL_NOTE_WITHDRAWN:
    return "ZUL_NOTE_WITHDRAWN";
  case ZUL_NOTE_UNREADABLE:
    return "ZUL_NOTE_UNREADABLE";
  case ZUL_OUTCOME_NONE:
    return "ZUL_OUTCOME_NONE";
  case ZUL_OUTCOME_DONE:
    return "ZUL_OUTCOME_DONE";
  case ZUL_OUTCOME_APPROVED:
    return "ZUL_OUTCOME_APPROVED";
  case ZUL_OUTCOME_APPROVED_NO_RECEIPT:
    return "ZUL_OUTCOME_APPROVED_NO_RECEIPT";
  case ZUL_OUTCOME_REFUSED:
    return "ZUL_OUTCOME_REFUSED";
  case ZUL_OUTCOME_MANAGER_ERROR:
    return "ZUL_OUTCOME_MANAGER_ERROR";
  case ZUL_OUTCOME_NOT_ACTIVE:
    return "ZUL_OUTCOME_NOT_ACTIVE";
  case ZUL_OUTCOME_NO_DIRECTORY:
    return "ZUL_OUTCOME_NO_DIRECTORY";
  case ZUL_OUTCOME_OPERATOR_STOPPED:
    return "ZUL_OUTCOME_OPERATOR_STOPPED";
  case ZUL_OUTCOME_NETWORK_CLOSED:
    return "ZUL_OUTCOME_NETWORK_CLOSED";
  case ZUL_OUTCOME_TILL_BUSY:
    return "ZUL_OUTCOME_TILL_BUSY";
  case ZUL_OUTCOME_CANCEL_APPROVED:
    return "ZUL_OUTCOME_CANCEL_APPROVED";
  case ZUL_OUTCOME_CANCEL_REFUSED:
    return "ZUL_OUTCOME_CANCEL_REFUSED";
  case ZUL_OUTCOME_WITHDRAWN:
    return "ZUL_OUTCOME_WITHDRAWN";
  case ZUL_OUTCOME_NOT_PRINTED:
    return "ZUL_OUTCOME_NOT_PRINTED";
  default:
    return "ZUL_E_UNKNOWN";
  }
}

int ZUL_CALL zul_SetDriveRoot(const char* folder) {
  return Guarded("zul_SetDriveRoot", [&] {
    const std::string root = In(folder);
    platform::set_drive_root(root);
    // The host directory may now live elsewhere, in another short form.
    if (!root.empty()) PrepareHostDirectories(HostPlacement::OnlyWhenMoved);
    HostDirectoryChanged();
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
    // Made first, so that the directories are derived from their short form.
    if (!folder.empty()) PrepareHostDirectories(HostPlacement::Always);
    HostDirectoryChanged();
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_DescribeDataSet(const char* path, ZulList lines) {
  return Reader("zul_DescribeDataSet", [&] {
    StringList& list = ListOf(lines, "lines");
    // Described in full before the list changes: a damaged file leaves it as it was.
    StringList described;
    for (const std::string& line : DescribeDataSetFile(In(path))) described.Add(line);
    list = std::move(described);
    return ZUL_TRUE;
  });
}

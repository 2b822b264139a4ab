// Only in the DLL: the entry point Windows calls when a process attaches or
// detaches it. The C runtime has made the static objects before the attach
// and destroys them after the detach. A detach with `reserved` set comes from
// a process that is ending without FreeLibrary: nothing needs tidying then.
#include "platform/module_entry.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) zul00500::platform::on_module_load();
  else if (reason == DLL_PROCESS_DETACH) zul00500::platform::on_module_unload(reserved != nullptr);
  return TRUE;
}

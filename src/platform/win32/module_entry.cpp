// Only in the DLL: the entry point Windows calls when a process attaches or
// detaches it. The C runtime has made the static objects before the attach
// and destroys them after the detach.
#include "platform/module_entry.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) zul00500::platform::on_module_load();
  else if (reason == DLL_PROCESS_DETACH) zul00500::platform::on_module_unload();
  return TRUE;
}

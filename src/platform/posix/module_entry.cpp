// Only in the shared library: an ELF constructor and destructor run when a
// process loads and unloads it, after its static objects are made and before
// they go.
//
// A process that leaves main without dlclose is different: exit() first runs
// the handlers registered since the library was loaded, which destroy its
// static objects, and only then the destructor. A handler registered at load
// notes that the process is exiting, so the destructor knows. With dlclose
// that handler runs after the destructor, and a library the program is linked
// to registers it before the loader's own exit handler: there the destructor
// runs first, with everything in place.
#include "platform/module_entry.h"

#include <cstdlib>

namespace {

bool process_exiting = false;

void note_exit() { process_exiting = true; }

__attribute__((constructor)) void module_loaded() {
  std::atexit(note_exit);
  zul00500::platform::on_module_load();
}

__attribute__((destructor)) void module_unloading() { zul00500::platform::on_module_unload(process_exiting); }

} // namespace

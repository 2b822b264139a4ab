// Only in the shared library: an ELF constructor and destructor run when a
// process loads and unloads it, after its static objects are made and before
// they go.
#include "platform/module_entry.h"

namespace {

__attribute__((constructor)) void module_loaded() { zul00500::platform::on_module_load(); }

__attribute__((destructor)) void module_unloading() { zul00500::platform::on_module_unload(); }

} // namespace

// The shared library's own entry point: the platform's loader calls it when a
// process loads the library and when it unloads it (DllMain on Windows, a
// constructor and a destructor on ELF). What to do then is the package's
// business; these are defined above the platform layer. Both must not throw.
#pragma once

namespace zul00500::platform {

void on_module_load() noexcept;
// `process_exiting`: the process is ending without having unloaded the
// library; the library's static objects may be destroyed already.
void on_module_unload(bool process_exiting) noexcept;

} // namespace zul00500::platform

/* A host that loads the package with dlopen and leaves main without dlclose,
 * as many do: the process's exit must not trip over the package's state
 * (its unload-time Finalize once wrote into strings already destroyed).
 * The test PackageExit.WithoutUnloadingIsClean runs it under valgrind.
 *
 *   exit_without_unload LIBRARY HOST_DIR */
#include <dlfcn.h>
#include <stdio.h>

#include "Pkg_Zul00500.h"

int main(int argc, char** argv) {
  void* library;
  ZulFn_zul_SetHostDirectory* set_host_directory;
  ZulFn_zul_SetStr* set_str;
  if (argc != 3) {
    fprintf(stderr, "usage: exit_without_unload LIBRARY HOST_DIR\n");
    return 2;
  }
  library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "%s\n", dlerror());
    return 2;
  }
  *(void**)&set_host_directory = dlsym(library, "zul_SetHostDirectory");
  *(void**)&set_str = dlsym(library, "zul_SetStr");
  if (!set_host_directory || !set_str) return 2;
  /* Long texts, so that the package's strings hold memory of their own. */
  set_host_directory(argv[2]);
  set_str("stNrCupom", "a receipt number longer than any short string keeps");
  return 0;
}

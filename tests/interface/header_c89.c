/* The host's header compiles as strict C89, every warning an error: a host
 * written in old C, or a binding generator that reads C, takes it as it is. */
#include "Pkg_Zul00500.h"

int zul_header_compiles(ZulList list, ZulDialogProc dialog);

int zul_header_compiles(ZulList list, ZulDialogProc dialog) {
  return (list != 0) + (dialog != 0) + ZUL_TRUE + ZUL_FALSE + ZUL_ERROR + ZUL_PATH_CAPACITY;
}

/* Linked to the package built beside it: it loads with the program and
   tells its version. */
#include <stdio.h>
#include <string.h>

#include "Pkg_Zul00500.h"

int main(void) {
  char version[32];
  if (zul_Version(version, (int)sizeof version) <= 0) return 1;
  printf("Pkg_Zul00500 %s\n", version);
  return strcmp(version, ZUL_EXPECTED_VERSION) == 0 ? 0 : 1;
}

/* Linked to the package built beside it: it loads with the program and
   tells its version. */
#include <stdio.h>
#include <string.h>

#include "Pkg_Zul00500.h"

int main(void) {
  /* "0.1.0 (source, kind)": the numbers come first. */
  char version[128];
  const size_t numbers = strlen(ZUL_EXPECTED_VERSION);
  const int length = zul_Version(version, (int)sizeof version);
  if (length <= 0 || length >= (int)sizeof version) return 1;
  printf("Pkg_Zul00500 %s\n", version);
  return strncmp(version, ZUL_EXPECTED_VERSION, numbers) == 0 && version[numbers] == ' ' ? 0 : 1;
}

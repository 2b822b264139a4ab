#include "unit/linked_package.h"

namespace zul00500::testing {

const zulpos::PackageApi& LinkedPackageApi() {
  static const zulpos::PackageApi routines = [] {
    zulpos::PackageApi bound;
#define ZUL_TEST_BIND(name) bound.name = &::name;
    ZULPOS_PACKAGE_ROUTINES(ZUL_TEST_BIND)
#undef ZUL_TEST_BIND
    return bound;
  }();
  return routines;
}

} // namespace zul00500::testing

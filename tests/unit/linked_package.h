// zulpos's view of the package bound to the C interface linked into the
// test program (the static build), so that its code runs in virtual time
// against the same package state the tests look at.
#pragma once

#include "zulpos/package.h"

namespace zul00500::testing {

const zulpos::PackageApi& LinkedPackageApi();

// Makes zulpos use the linked package for as long as it lives.
class UseLinkedPackage : public zulpos::UsePackage {
public:
  UseLinkedPackage() : UsePackage(&LinkedPackageApi()) {}
};

} // namespace zul00500::testing

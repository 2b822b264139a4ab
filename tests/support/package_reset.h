// A fresh process for a test that restarts the package in one process: the
// exported variables a restart would find empty, emptied, and the input lock
// lifted.
#pragma once

namespace zul00500::testing {

void ResetPackageVariables();

} // namespace zul00500::testing

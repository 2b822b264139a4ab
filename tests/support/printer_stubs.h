// The host's printer procedures for tests that print but do not look at the
// printer: every call succeeds.
#pragma once

#include <string>

namespace zul00500::testing {

// Assigns every printer procedure one that returns true; the standard
// printer's text is appended to `printed` when one is given.
void AnswerEveryPrinterCall(std::string* printed = nullptr);
// Leaves every printer procedure unassigned again.
void ClearPrinterProcedures();

} // namespace zul00500::testing

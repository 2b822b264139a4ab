// Each expectation of a case against its record: a mark apiece, with what
// was expected and what happened, in UTF-8 for the reports.
#pragma once

#include <vector>

#include "rehearsal/book.h"
#include "rehearsal/record.h"

namespace rehearsal {

// Attended, what the manager decides (a sale's approval, its messages, its
// receipt lines, the values it hands out) is taken from its actual answers or
// left unchecked, and the marks say so.
std::vector<Mark> Judge(const Case& rehearsed, const CaseRecord& record, bool attended);

// "dial: CNF 012-000=000001": an operation as the book writes one, with the
// fields `like` names (or the usual ones); the root when `with_root`.
std::string DescribeOperation(const Operation& operation, const ExpectedOperation* like, bool with_root);

// "sale: DoTEF for 40.00, 60.00 of 100.00 (kind C) · expects true, true": a
// step as the report lists it (UTF-8).
std::string DescribeStep(const Step& step);

} // namespace rehearsal

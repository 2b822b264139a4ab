// Whether a JSON document keeps to a JSON Schema, for the tests of the
// schemas the tools ship beside what they write. It knows the keywords those
// schemas use (type, properties, required, additionalProperties, items, enum,
// const, minimum, $ref to "#/$defs/NAME", and the annotations) and refuses a
// schema that uses any other, so that a schema cannot quietly check less
// than it seems to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zul00500::testing {

// Every place where `document` departs from `schema` ("/cases/0/status: not
// one of the enum"); empty when it keeps to it. A schema or document that is
// not JSON, or a keyword not known, is reported the same way.
std::vector<std::string> SchemaViolations(std::string_view schema, std::string_view document);

} // namespace zul00500::testing

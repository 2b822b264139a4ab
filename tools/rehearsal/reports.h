// The rehearsal's reports, drawn from its records alone: a self-contained
// HTML page (inline CSS and SVG, no script, nothing fetched) that a person
// reads on screen or on paper, JUnit XML for the integrator's CI, and JSON
// with the same facts for other tools. All UTF-8.
#pragma once

#include <string>

#include "rehearsal/record.h"

namespace rehearsal {

std::string HtmlReport(const BookRecord& book);
std::string JUnitReport(const BookRecord& book);
std::string JsonReport(const BookRecord& book);

// The JSON's form, which `format_version` names: a new version only when a
// field changes its meaning or goes. 1 had no version field.
inline constexpr int kJsonFormatVersion = 2;
// Its JSON Schema (rehearsal.schema.json, compiled in), written beside it.
inline constexpr const char* kJsonSchemaName = "rehearsal.schema.json";
const std::string& JsonSchema();

// One case's timeline: an SVG with a lane each for the host, the package,
// the manager's files, the printer and the dialogs; each event links to its
// line of the case's event list (`id_prefix` + "-e" + its index).
std::string TimelineSvg(const CaseRecord& record, const std::string& id_prefix);

namespace html {
// Escapes & < > " ' of UTF-8 text.
std::string Escape(const std::string& utf8);
// Code page 1252 text, converted and escaped.
std::string Text(const std::string& cp1252);
} // namespace html

} // namespace rehearsal

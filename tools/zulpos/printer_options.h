// The virtual fiscal printer as every printing command sets it up from its
// options: journal and paper files, failures, and what the framework printer
// answers to "UsaRG".
#pragma once

#include <string>
#include <vector>

#include "options.h"
#include "virtual_printer/virtual_printer.h"

namespace zulpos {

// --printer-journal FILE, --paper FILE, --printer-fail SPEC, --printer-uses-rg.
std::vector<OptionSpec> PrinterOptions();

// Sets `printer` up as the options say and installs it. The journal and paper
// files start empty: each run shows only what it printed. Throws UsageError
// for a failure list that cannot be read.
void SetUpPrinter(virtual_printer::VirtualPrinter& printer, const ParsedOptions& options);

} // namespace zulpos

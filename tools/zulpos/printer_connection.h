// The virtual fiscal printer connected to the package as a host connects its
// printer packages: one callback per procedure, through the setter of its type
// (zul_SetPrinterProc1 to zul_SetPrinterProc5).
#pragma once

#include "virtual_printer/virtual_printer.h"

namespace zulpos {

// Whether the paper cutter is connected: a host whose printer has none leaves
// Guilhotina unassigned, and the package then cuts nothing.
enum class Cutter { Assigned, Unassigned };

class PrinterConnection {
public:
  explicit PrinterConnection(virtual_printer::VirtualPrinter& printer, Cutter cutter = Cutter::Assigned);
  // Leaves every procedure unassigned again: none may outlive the printer.
  ~PrinterConnection();
  PrinterConnection(const PrinterConnection&) = delete;
  PrinterConnection& operator=(const PrinterConnection&) = delete;
};

} // namespace zulpos

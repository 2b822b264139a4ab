// A fixture for the C interface: the sale's world (virtual time, fake
// managers), the routines called by their C names, the virtual printer
// connected through the typed printer setters, and every C callback put back to the
// platform's default afterwards.
#pragma once

#include <string>

#include "Pkg_Zul00500.h"
#include "support/sale_world.h"
#include "unit/linked_package.h"
#include "virtual_printer/virtual_printer.h"
#include "zulpos/printer_connection.h"

namespace zul00500::testing {

class CInterfaceWorld : public SaleWorld {
protected:
  ~CInterfaceWorld() override {
    zul_SetDialog(nullptr, nullptr);
    zul_SetTranslate(nullptr, nullptr);
    zul_SetMessageText(nullptr, nullptr);
    zul_SetNetworkChooser(nullptr, nullptr);
    zul_SetMessagePump(nullptr, nullptr);
  }

  // The last error's text, read the way a host reads it.
  static std::string LastError() {
    std::string text(static_cast<std::size_t>(zul_LastError(nullptr, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(zul_LastError(text.data(), static_cast<int>(text.size()))));
    return text;
  }

  UseLinkedPackage package_;
  virtual_printer::VirtualPrinter printer_;
};

} // namespace zul00500::testing

// A fixture for the C interface: the sale's world (virtual time, fake
// managers), the routines called by their C names, the virtual printer
// connected through the typed printer setters, and every C callback put back to the
// platform's default afterwards.
#pragma once

#include <string>

#include "Pkg_Zul00500.h"
#include "support/capi_last_error.h"
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
  static std::string LastError() { return CapiLastError(); }

  // Whether `list` holds the line `line`, read through the C interface.
  static bool Holds(ZulList list, const std::string& line) {
    for (int i = 0; i < zul_ListCount(list); ++i) {
      std::string text(static_cast<std::size_t>(zul_ListGet(list, i, nullptr, 0)) + 1, '\0');
      text.resize(static_cast<std::size_t>(zul_ListGet(list, i, text.data(), static_cast<int>(text.size()))));
      if (text == line) return true;
    }
    return false;
  }

  UseLinkedPackage package_;
  virtual_printer::VirtualPrinter printer_;
};

// The C interface's world with a host's variables for DoTEF.
class CSaleWorld : public CInterfaceWorld {
protected:
  // One DoTEF with the fixture's buffers; `receipts` in and out.
  int Pay(double amount, double due, ZulList& receipts, int document_capacity = sizeof document_) {
    return ::DoTEF("ctx", amount, due, "C", &receipts, &approved_, &transaction_, &extra_, document_,
                   document_capacity, f748_, sizeof f748_, f013_, sizeof f013_, f027_, sizeof f027_);
  }

  int approved_ = -1;
  int transaction_ = 0;
  double extra_ = -1;
  char document_[ZUL_FIELD_CAPACITY] = "doc";
  char f748_[ZUL_F748_CAPACITY] = "f748";
  char f013_[ZUL_FIELD_CAPACITY] = "f013";
  char f027_[ZUL_F027_CAPACITY] = "f027";
};

} // namespace zul00500::testing

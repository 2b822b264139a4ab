// Errors the package raises. Where a file or a conversion fails, the routine
// cleans up and lets one of these reach the host; each names the operation,
// the object (a path, a field, a procedure) and the system's reason.
#pragma once

#include "platform/error.h"

namespace zul00500 {

// The base of every error, and the file errors, belong to the platform:
// the file-system seam throws them, and the package raises them as its own.
using platform::Error;
using platform::FileBusyError;
using platform::FileError;
using platform::NotRegularFile;
using platform::UnreadableFile;

// A text that should hold a number does not (a count, an amount, a backup
// extension).
class ConvertError : public Error {
public:
  using Error::Error;
};

// A dataset file exists but is not a data packet we can read.
class DataSetError : public Error {
public:
  using Error::Error;
};

// Another till held an exchange root, or another program the host
// directory, for longer than a routine waits for it: two tills share one
// manager, a configuration error.
class TillBusyError : public Error {
public:
  using Error::Error;
};

// A fiscal-printer procedure the host never assigned was called.
class PrinterProcedureError : public Error {
public:
  using Error::Error;
};

} // namespace zul00500

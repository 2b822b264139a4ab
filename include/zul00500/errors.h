// Errors the package raises. Where a file or a conversion fails, the routine
// cleans up and lets one of these reach the host; each names the operation,
// the object (a path, a field, a procedure) and the system's reason.
#pragma once

#include <stdexcept>
#include <string>

namespace zul00500 {

class Error : public std::runtime_error {
public:
  Error(std::string operation, std::string object, std::string reason);

  const std::string& operation() const { return operation_; }
  const std::string& object() const { return object_; }
  const std::string& reason() const { return reason_; }

private:
  std::string operation_;
  std::string object_;
  std::string reason_;
};

// A file could not be read, written, created, appended to or renamed.
class FileError : public Error {
public:
  using Error::Error;
};

// A file exists but another program holds it open without sharing it (a
// sharing or lock violation on Windows). For a file the manager is writing
// this means "not yet", never "bad".
class FileBusyError : public FileError {
public:
  using FileError::FileError;
};

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

// What the seams throw when the system refuses an operation: the operation,
// the object (a path) and the system's reason, in one readable text. They
// sit at the bottom of the package so that the platform depends on nothing
// above it; the package's own errors (support/errors.h) derive from Error,
// and a file error raised here reaches the host as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace zul00500::platform {

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

// A file could not be read, written, created, appended to, flushed or
// renamed.
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

// The volume has no room left for what was written (or the user's quota
// is spent). Unlike a directory refused for a moment, this lasts until a
// person frees room: the caller may give up on a copy it cannot make.
class NoSpaceError : public FileError {
public:
  using FileError::FileError;
};

// A file is there, but the system will not let this process read it: it
// belongs to another user and is not readable to us (mode 000), or Windows
// denies access to it. Unlike FileBusyError this is no "not yet": a file
// that stays so is passed over and left where it is.
class UnreadableFile : public FileError {
public:
  using FileError::FileError;
};

// What is there is no regular file: a symbolic link (or, on Windows, any
// reparse point), a FIFO, a device, a socket or a directory. Exchange files
// are regular files another program wrote; anything else is never followed
// nor read, for opening it could block for ever (a FIFO), never end (a
// device) or reach another program's files (a link).
class NotRegularFile : public FileError {
public:
  using FileError::FileError;
};

} // namespace zul00500::platform

// The package as zulpos reaches it: the routines of its C interface
// (Pkg_Zul00500.h), found by name in the shared library loaded at run time,
// as any host program loads it. Nothing of the package's C++ inside is used.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "Pkg_Zul00500.h"

namespace tool_platform {
class SharedLibrary;
}

namespace zulpos {

// The routines zulpos calls.
#define ZULPOS_PACKAGE_ROUTINES(X)                                                                           \
  X(DoTEF)                                                                                                   \
  X(CheckGPAtivo)                                                                                            \
  X(VerificaRetorno)                                                                                         \
  X(CheckIntPosFiles)                                                                                        \
  X(GetSequence)                                                                                             \
  X(ImprCupons)                                                                                              \
  X(ImprCupom)                                                                                               \
  X(CancelaTEF)                                                                                              \
  X(CancelaPendencia)                                                                                        \
  X(CheckDirTef)                                                                                             \
  X(zul_Version)                                                                                             \
  X(zul_LastError)                                                                                           \
  X(zul_ListNew)                                                                                             \
  X(zul_ListFree)                                                                                            \
  X(zul_ListCount)                                                                                           \
  X(zul_ListGet)                                                                                             \
  X(zul_ListText)                                                                                            \
  X(zul_ListLoadFromFile)                                                                                    \
  X(zul_ListSaveToFile)                                                                                      \
  X(zul_GetStr)                                                                                              \
  X(zul_GetInt)                                                                                              \
  X(zul_GetFloat)                                                                                            \
  X(zul_SetPrinterProc1)                                                                                     \
  X(zul_SetPrinterProc2)                                                                                     \
  X(zul_SetPrinterProc3)                                                                                     \
  X(zul_SetPrinterProc4)                                                                                     \
  X(zul_SetPrinterProc5)                                                                                     \
  X(zul_SetDialog)                                                                                           \
  X(zul_SetNetworkChooser)                                                                                   \
  X(zul_SetMessagePump)                                                                                      \
  X(zul_SetFileObserver)                                                                                     \
  X(zul_SetDriveRoot)                                                                                        \
  X(zul_SetHostDirectory)                                                                                    \
  X(zul_DescribeDataSet)

struct PackageApi {
#define ZULPOS_API_MEMBER(name) decltype(&::name) name = nullptr;
  ZULPOS_PACKAGE_ROUTINES(ZULPOS_API_MEMBER)
#undef ZULPOS_API_MEMBER
};

// The routines in use. Throws std::logic_error when no package is loaded.
const PackageApi& api();
// Makes `routines` the ones in use (null: none) for as long as the object
// lives; the previous ones come back after.
class UsePackage {
public:
  explicit UsePackage(const PackageApi* routines);
  ~UsePackage();
  UsePackage(const UsePackage&) = delete;
  UsePackage& operator=(const UsePackage&) = delete;

private:
  const PackageApi* previous_;
};

// The package's library cannot be loaded, or lacks a routine zulpos calls.
class LoadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The shared library loaded, its routines bound and in use. Loading runs the
// package's Initialize, dropping it unloads the package (Finalize).
class LoadedPackage {
public:
  // Throws LoadError when the library cannot be loaded or lacks a routine
  // zulpos needs.
  explicit LoadedPackage(const std::string& path);
  ~LoadedPackage();
  LoadedPackage(const LoadedPackage&) = delete;
  LoadedPackage& operator=(const LoadedPackage&) = delete;

private:
  std::unique_ptr<tool_platform::SharedLibrary> library_;
  PackageApi routines_;
  std::unique_ptr<UsePackage> in_use_;
};

// Where zulpos looks for the package when --package does not say: beside
// the program (the Windows layout), then in ../lib (the build tree's), then
// in the installed library folder, then the system's search by name.
std::string DefaultPackagePath(const std::string& program_path);

// A routine ended with -1: the package's error text, plus what zulpos's own
// callback reported when one of them failed.
class PackageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The result of a routine (1 or 0) as a bool; throws PackageError for -1.
bool Checked(int result);
// What the last routine that did not fail noted (a value cut to fit, a card
// log that could not be written after the manager took a settlement).
std::string LastNote();
// Checked(), and what the routine noted goes to standard error: its result
// stands, but the operator must hear of it.
bool CheckedWithNotes(int result);
// A callback of zulpos failed while the package was calling it: remembered
// until the routine's -1 reaches Checked().
void RememberCallbackFailure(const std::string& text);

// zul_Version() of the package in use.
std::string PackageVersion();
// zulpos's own version: that of the package it was built with.
const char* ZulposVersion();

// The exported variables.
std::string GetStr(const char* name);
int GetInt(const char* name);
double GetFloat(const char* name);

// A string list of the package, freed with the object.
class List {
public:
  List();                         // a new, empty one
  explicit List(ZulList adopted); // one the package made (DoTEF's receipts)
  ~List();
  List(const List&) = delete;
  List& operator=(const List&) = delete;

  ZulList handle() const { return handle_; }
  int Count() const;
  std::string Line(int index) const;
  std::string Text() const;
  // Paths in Windows form are resolved as the package resolves them.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

private:
  ZulList handle_;
};

} // namespace zulpos
